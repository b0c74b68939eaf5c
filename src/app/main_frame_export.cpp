// TXT and Excel export commands of the main window: the format dialog, the
// save dialog and its extension rule, then the export of the table's checked
// rows with the frame's declination.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

#include "app/command_guard.h"
#include "app/command_ids.h"
#include "app/dialog_folder.h"
#include "app/main_frame.h"
#include "app/txt_set_dlg.h"
#include "app/ui_language.h"
#include "report/excel_export.h"
#include "report/txt_export.h"

namespace orb {

namespace {

const char* const kTxtFilter = QT_TRANSLATE_NOOP("Orb", "txt文件 (*.txt)");
const char* const kAllFilesFilter = QT_TRANSLATE_NOOP("Orb", "所有文件 (*.*)");
const char* const kXlsFilter = QT_TRANSLATE_NOOP("Orb", "Microsoft Office Excel 工作表(*.xls)");
const char* const kXlsxFilter = QT_TRANSLATE_NOOP("Orb", "Microsoft Office Excel 工作簿(*.xlsx)");

// The logic takes the path as the file system spells it.
std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

void CMainFrame::ConnectExportCommands() {
    txtSetDlg_ = new CTxtSetDlg(this);
    ConnectCommand(Action(cmd::kExportText), this, [this] { OnExportText(); });
    ConnectCommand(Action(cmd::kExportExcel), this, [this] { OnExportExcel(); });
    Action(cmd::kExportText)->setEnabled(true);
    Action(cmd::kExportExcel)->setEnabled(true);
}

CTxtSetDlg& CMainFrame::txtSetDlg() const {
    return *txtSetDlg_;
}

QString CMainFrame::AskExportFileName(const QStringList& filters, const QString& defaultSuffix) {
    QFileDialog dlg(this, tr("另存为"));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setNameFilters(filters);
    dlg.setDefaultSuffix(defaultSuffix);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDirectory(StartFolder());
    // Choosing the .xlsx filter makes a bare name an .xlsx workbook.
    connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg, defaultSuffix](const QString& filter) {
        dlg.setDefaultSuffix(filter.contains(QStringLiteral("*.xlsx")) ? QStringLiteral("xlsx")
                                                                       : defaultSuffix);
    });
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    RememberFolderOf(dlg.selectedFiles().constFirst());
    return dlg.selectedFiles().constFirst();
}

void CMainFrame::BeginLongWork(const QString& status) {
    statusBeforeWork_ = StatusTextPane()->text();
    SetStatusText(status);
    SetProgress(0);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The export blocks the event loop: show the text before it starts.
    StatusTextPane()->repaint();
}

void CMainFrame::EndLongWork(bool ok) {
    QApplication::restoreOverrideCursor();
    SetProgress(ok ? 100 : 0);
    SetStatusText(statusBeforeWork_);
}

void CMainFrame::OnExportText() {
    if (txtSetDlg_->exec() != QDialog::Accepted) return;
    const QString path =
        AskExportFileName({OrbText(kTxtFilter), OrbText(kAllFilesFilter)}, QStringLiteral("txt"));
    // Only names ending exactly in .txt or .TXT are written; others end the
    // command without a word. The name is kept as typed.
    if (path.isEmpty() || !IsTxtExportPath(path.toStdString())) return;
    BeginLongWork(tr("正在导出文本文件……"));
    const FileResult result =
        ExportTxt(model_, txtSetDlg_->format(), wellInfo_.magneticDeclination, LocalPath(path));
    EndLongWork(result.ok());
    if (!result.ok()) QMessageBox::warning(this, QStringLiteral("Orb"), CoreText(result.message));
}

void CMainFrame::OnExportExcel() {
    const QString path =
        AskExportFileName({OrbText(kXlsFilter), OrbText(kXlsxFilter)}, QStringLiteral("xls"));
    if (path.isEmpty() || ExcelFormatOfPath(path.toStdString()) == ExcelFormat::None) return;
    BeginLongWork(tr("正在导出Excel表格……"));
    const FileResult result = ExportExcel(model_, wellInfo_.magneticDeclination, LocalPath(path));
    EndLongWork(result.ok());
    if (result.ok()) {
        QMessageBox box(QMessageBox::NoIcon, QString(), CoreText(result.message), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Orb"), CoreText(result.message), QMessageBox::Ok,
                    this);
    if (!result.detail.empty()) box.setInformativeText(CoreText(result.detail));
    box.exec();
}

}  // namespace orb
