// Print, print preview, direct print and printer setup of the main window.
// Every job first asks for the print mode; all of them draw the report with
// the one renderer of app/canvas on the frame's printer.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/canvas/report_output.h"
#include "app/command_guard.h"
#include "app/command_ids.h"
#include "app/dialog_folder.h"
#include "app/main_frame.h"
#include "app/print_set_dlg.h"
#include "app/trajectory_report.h"
#include "report/report_layout.h"

namespace orb {

namespace {

const char* const kOneSelectionOnly = QT_TRANSLATE_NOOP("Orb", "只能选择一组数据！");
const char* const kNoPrinter =
    QT_TRANSLATE_NOOP("Orb", "没有可用的打印机。请先安装打印机，或在“打印”对话框中选择打印到文件。");

// Paints the pages the printer's range asks for (all by default).
bool PrintReport(QPrinter& printer, const ReportInput& in) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const bool range = printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0;
    const int painted =
        PaintReport(painter, printer, in, range ? printer.fromPage() : 1, range ? printer.toPage() : 0);
    return painter.end() && painted > 0;
}

// A printer that a job can go to without asking: a PDF file that has a name,
// or an installed printer.
bool CanPrintWithoutDialog(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) return !printer.outputFileName().isEmpty();
    return printer.isValid() && !QPrinterInfo::availablePrinters().isEmpty();
}

}  // namespace

void CMainFrame::ConnectPrintCommands() {
    printSetDlg_ = new CPrintSetDlg(this);
    const auto on = [this](int id, void (CMainFrame::*slot)()) {
        ConnectCommand(Action(id), this, [this, slot] { (this->*slot)(); });
        Action(id)->setEnabled(true);
    };
    on(cmd::kFilePageSetup, &CMainFrame::OnFilePageSetup);
    on(cmd::kFilePrint, &CMainFrame::OnFilePrint);
    on(cmd::kFilePrintDirect, &CMainFrame::OnFilePrintDirect);
    on(cmd::kFilePrintPreview, &CMainFrame::OnFilePrintPreview);
}

CPrintSetDlg& CMainFrame::printSetDlg() const {
    return *printSetDlg_;
}

QPrinter& CMainFrame::printer() {
    if (!printer_) {
        printer_ = std::make_shared<QPrinter>(QPrinter::HighResolution);
        SetUpReportPrinter(*printer_);
    }
    return *printer_;
}

ReportInput CMainFrame::MakeReport() const {
    ReportInput in = MakeReportInput(doc_, model_, printSetDlg_->mode(),
                                     [this](std::size_t i) { return model_.RelativeTimeText(i); });
    // The trajectory page at the end, when the operator asked for it.
    AddTrajectoryPage(in, QString::fromStdU16String(wellInfo_.wellNumber), wellInfo_.magneticDeclination);
    return in;
}

void CMainFrame::PreparePrinting() {
    // A cancelled mode dialog keeps the previous mode; the job goes on.
    if (printSetDlg_->exec() != QDialog::Accepted) return;
    if (printSetDlg_->mode() == PrintMode::SinglePoint && SinglePointSelectionAmbiguous(doc_)) {
        QMessageBox::warning(this, tr("警告"), OrbText(kOneSelectionOnly));
    }
}

void CMainFrame::ProposePdfFile(QPrinter& p) const {
    // Printing to a file (the choice when no printer is installed) starts in
    // the survey's folder, named after the survey, unless a file was chosen
    // earlier in this run.
    const bool toFile =
        p.outputFormat() == QPrinter::PdfFormat || QPrinterInfo::availablePrinters().isEmpty();
    if (!toFile || !p.outputFileName().isEmpty()) return;
    const QString folder = pathName_.isEmpty() ? StartFolder() : QFileInfo(pathName_).absolutePath();
    p.setOutputFileName(
        QDir(folder).filePath(QFileInfo(DocumentTitle()).completeBaseName() + QStringLiteral(".pdf")));
}

void CMainFrame::OnFilePageSetup() {
    QPageSetupDialog dlg(&printer(), this);
    dlg.exec();
}

void CMainFrame::OnFilePrint() {
    PreparePrinting();
    QPrinter& p = printer();
    SetUpReportPrinter(p);
    const ReportInput in = MakeReport();
    ProposePdfFile(p);
    QPrintDialog dlg(&p, this);
    dlg.setMinMax(1, ReportPageCount(in));
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dlg.exec() != QDialog::Accepted) return;
    if (!PrintReport(p, in)) QMessageBox::warning(this, QStringLiteral("Orb"), tr("打印失败。"));
}

void CMainFrame::OnFilePrintDirect() {
    QPrinter& p = printer();
    if (!CanPrintWithoutDialog(p)) {
        QMessageBox::warning(this, QStringLiteral("Orb"), OrbText(kNoPrinter));
        return;
    }
    PreparePrinting();
    SetUpReportPrinter(p);
    p.setPrintRange(QPrinter::AllPages);
    if (!PrintReport(p, MakeReport())) QMessageBox::warning(this, QStringLiteral("Orb"), tr("打印失败。"));
}

void CMainFrame::OnFilePrintPreview() {
    PreparePrinting();
    QPrinter& p = printer();
    SetUpReportPrinter(p);
    const ReportInput in = MakeReport();
    QPrintPreviewDialog dlg(&p, this);
    dlg.setWindowTitle(tr("打印预览"));
    connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [&in](QPrinter* printer) {
        QPainter painter(printer);
        PaintReport(painter, *printer, in);
    });
    dlg.exec();
}

}  // namespace orb
