#include "app/canvas/qt_canvas.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QPaintDevice>
#include <algorithm>
#include <cmath>

#include "app/canvas/report_fonts.h"

namespace orb {

QtCanvas::QtCanvas(QPainter& painter)
    : QtCanvas(painter, painter.device()->logicalDpiX(), painter.device()->logicalDpiY()) {}

QtCanvas::QtCanvas(QPainter& painter, double dotsPerInchX, double dotsPerInchY)
    : painter_(painter), dpiX_(dotsPerInchX), dpiY_(dotsPerInchY) {
    ResetPen();
}

void QtCanvas::SetFont(std::string_view face, int tenthsOfPoint) {
    auto key = std::make_pair(std::string(face), tenthsOfPoint);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) it = fonts_.emplace(key, ReportFont(face, tenthsOfPoint, dpiY_)).first;
    painter_.setFont(it->second);
    const double ems = ReportFaceAscent(face);
    ascent_ = ems > 0 ? static_cast<int>(std::lround(ems * it->second.pixelSize()))
                      : QFontMetrics(it->second, painter_.device()).ascent();
}

void QtCanvas::DrawText(int x, int y, std::string_view utf8) {
    // (x, y) is the top-left corner of the text cell; Qt draws at the baseline.
    const QString text =
        filter_ ? filter_(utf8) : QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    painter_.drawText(QPoint(x, y + ascent_), text);
}

void QtCanvas::SetPen(CanvasPenStyle style, int width, CanvasColor color) {
    QPen pen(QColor(color.r, color.g, color.b));
    pen.setWidth(width);
    pen.setCapStyle(Qt::FlatCap);
    if (style == CanvasPenStyle::DashDot) {
        // A one-unit pen on a 600 dpi device would give dashes too short to
        // see; size the pattern as on a 96 dpi screen (9 on, 6 off, 3 on, 6 off).
        const double unit = std::max(1.0, dpiX_ / 96.0) / std::max(1, width);
        pen.setDashPattern({9 * unit, 6 * unit, 3 * unit, 6 * unit});
    }
    painter_.setPen(pen);
}

void QtCanvas::ResetPen() {
    SetPen(CanvasPenStyle::Solid, 1, CanvasColor{0, 0, 0});
}

void QtCanvas::DrawLine(int x1, int y1, int x2, int y2) {
    painter_.drawLine(x1, y1, x2, y2);
}

void QtCanvas::DrawBitmap(int x, int y, int resourceId) {
    const QImage image = LoadBitmapResource(resourceId);
    if (image.isNull()) return;
    // Pixel for pixel: one image pixel per device unit, and no lossy
    // recompression in a PDF.
    const bool lossless = painter_.testRenderHint(QPainter::LosslessImageRendering);
    painter_.setRenderHint(QPainter::LosslessImageRendering, true);
    painter_.drawImage(QRect(x, y, image.width(), image.height()), image);
    painter_.setRenderHint(QPainter::LosslessImageRendering, lossless);
}

QImage LoadBitmapResource(int resourceId) {
    if (resourceId != kBannerBitmapId) return {};
    // One image for every page, so a PDF stores the picture once.
    static const QImage banner(QStringLiteral(":/orb/banner_313.png"));
    return banner;
}

}  // namespace orb
