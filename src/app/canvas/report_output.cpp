#include "app/canvas/report_output.h"

#include <QtCore/QBuffer>
#include <QtCore/QFile>
#include <QtGui/QPageLayout>
#include <QtGui/QPdfWriter>
#include <QtPrintSupport/QPrinter>
#include <algorithm>

#include "app/canvas/qt_canvas.h"
#include "core/atomic_file.h"

namespace orb {

namespace {

bool Fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

}  // namespace

void SetUpReportPrinter(QPrinter& printer) {
    printer.setResolution(kReportDotsPerInch);
}

int PaintReport(QPainter& painter, QPagedPaintDevice& device, const ReportInput& in, int firstPage,
                int lastPage) {
    if (in.doc == nullptr || !painter.isActive()) return 0;
    const int pages = ReportPageCount(in);
    const int last = lastPage <= 0 ? pages : std::min(lastPage, pages);
    QtCanvas canvas(painter);
    int painted = 0;
    for (int page = std::max(firstPage, 1); page <= last; ++page) {
        if (painted > 0) device.newPage();
        painter.save();
        RenderReportPage(canvas, in, page);
        painter.restore();
        ++painted;
    }
    return painted;
}

bool WriteReportPdf(const QString& path, const ReportInput& in, int dotsPerInch, QString* error) {
    if (in.doc == nullptr) return Fail(error, QStringLiteral("no document"));
    if (dotsPerInch < 72 || dotsPerInch > 4800) {
        return Fail(error, QStringLiteral("resolution out of range 72..4800 dpi"));
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(dotsPerInch);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(QStringLiteral("电子单多点测斜记录"));
        writer.setCreator(QStringLiteral("Orb"));
        QPainter painter(&writer);
        if (!painter.isActive()) return Fail(error, QStringLiteral("cannot start the PDF"));
        PaintReport(painter, writer, in);
        if (!painter.end()) return Fail(error, QStringLiteral("cannot finish the PDF"));
    }
    const QByteArray& bytes = buffer.data();
    const FileResult written = WriteFileAtomically(QFile::encodeName(path).toStdString(),
                                                   std::string_view(bytes.constData(), bytes.size()));
    return written.ok() || Fail(error, QString::fromStdString(written.message));
}

}  // namespace orb
