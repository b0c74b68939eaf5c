// The whole report on a paged device: a printer (also inside a print
// preview) or a PDF file. One renderer serves all of them.
#pragma once

#include <QtCore/QString>
#include <QtGui/QPagedPaintDevice>

class QPrinter;

#include "report/report_layout.h"

namespace orb {

// The report's offsets are device units laid out for a 600 dpi page (rows
// 120 units apart); printers and previews are given this logical resolution
// so that the page looks the same on every printer.
inline constexpr int kReportDotsPerInch = 600;

// Sets the printer's logical resolution to kReportDotsPerInch. Call before
// the print dialog or the preview.
void SetUpReportPrinter(QPrinter& printer);

// Paints pages firstPage..lastPage (from 1; lastPage 0 = the last page of the
// job) with `painter`, which must be active on `device`; a new device page is
// started between report pages. Returns the number of pages painted.
int PaintReport(QPainter& painter, QPagedPaintDevice& device, const ReportInput& in, int firstPage = 1,
                int lastPage = 0);

// Writes the report as an A4 PDF at `dotsPerInch` device units per inch.
// The file is replaced only when the whole document was written. Needs a
// QGuiApplication (fonts). On failure returns false with a reason in *error.
bool WriteReportPdf(const QString& path, const ReportInput& in, int dotsPerInch = kReportDotsPerInch,
                    QString* error = nullptr);

}  // namespace orb
