// File commands of the main window: new, open, save, save as, the recent
// files and the save question.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include "app/command_ids.h"
#include "app/dialog_folder.h"
#include "app/main_frame.h"
#include "app/orb_view.h"
#include "app/recovery_journal.h"
#include "app/ui_language.h"
#include "document/tlm_file.h"

namespace orb {

namespace {

const char* const kRecentGroup = "Recent File List";

std::filesystem::path NativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

bool PassesExtensionRule(const QString& path) {
    return HasTlmExtension(QFileInfo(path).fileName().toStdU16String());
}

QString Text(const std::string& s, const char* fallback) {
    return CoreText(s.empty() ? std::string_view(fallback) : std::string_view(s));
}

}  // namespace

QString CMainFrame::AskFileName(bool save) {
    QFileDialog dlg(this, save ? tr("另存为") : tr("打开"));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setNameFilters({tr("TLM文件 (*.TLM)"), tr("所有文件 (*.*)")});
    dlg.setDefaultSuffix(QStringLiteral("TLM"));
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setDirectory(pathName_.isEmpty() ? StartFolder() : QFileInfo(pathName_).absolutePath());
    if (save) dlg.selectFile(DocumentTitle());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().constFirst();
}

bool CMainFrame::SaveModified() {
    if (!doc_.IsModified()) return true;
    QMessageBox box(QMessageBox::Warning, OrbText(kProductCaption), OrbText(kSaveQuestion),
                    QMessageBox::NoButton, this);
    QPushButton* save = box.addButton(tr("保存(&S)"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(tr("不保存(&N)"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(tr("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == discard) return true;
    if (box.clickedButton() != save) return false;
    const QString path = AskFileName(true);
    if (path.isEmpty() || !PassesExtensionRule(path)) return false;
    return SaveDocumentFile(path);
}

QString CMainFrame::DocumentTitle() const {
    return pathName_.isEmpty() ? tr("无标题") : QFileInfo(pathName_).fileName();
}

void CMainFrame::OnFileNew() {
    if (!SaveModified()) return;
    pathName_.clear();
    edits_.ClearSurvey();
    emit surveyStored();
    view_->OnInitialUpdate();
}

void CMainFrame::OpenSurveyFile() {
    if (!SaveModified()) return;
    const QString path = AskFileName(false);
    if (path.isEmpty()) return;
    // A file with another extension is refused without a message, but the
    // table is reloaded all the same.
    if (PassesExtensionRule(path))
        LoadDocumentFile(path);
    else
        model_.ReloadTable();
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
    return SaveModified() && LoadDocumentFile(path);
}

bool CMainFrame::LoadDocumentFile(const QString& path) {
    pathName_ = path;
    TlmLoadResult result = LoadTlmFile(NativePath(path));
    bool ok = true;
    switch (result.status) {
        case TlmLoadStatus::kLoaded: {
            const std::string notice = result.contextNotice;
            const bool trailing = result.trailingBytes > 0;
            // The notice reloads the table, with the well's quality references.
            edits_.ReplaceSurvey(std::move(result.document));
            emit surveyStored();
            RestoreSurveyContext(notice);
            if (trailing) SetStatusText(CoreText(kTlmTrailingNote));
            AddRecentFile(path);
            return true;
        }
        case TlmLoadStatus::kEmpty:
            AddRecentFile(path);
            break;
        case TlmLoadStatus::kMismatch:
        case TlmLoadStatus::kDamaged:
            QMessageBox::warning(this, CoreText(kTlmMismatchCaption),
                                 Text(result.message, kTlmMismatchMessage));
            ok = false;
            break;
        case TlmLoadStatus::kOpenFailed:
            QMessageBox::warning(this, QStringLiteral("Orb"), Text(result.message, kOpenFailedMessage));
            RemoveRecentFile(path);
            ok = false;
            break;
    }
    model_.ReloadTable();
    return ok;
}

void CMainFrame::SaveSurveyFile() {
    const QString path = AskFileName(true);
    if (path.isEmpty() || !PassesExtensionRule(path)) return;
    SaveDocumentFile(path);
}

bool CMainFrame::SaveDocumentFile(const QString& path) {
    StoreSessionContext();
    const FileResult result = SaveTlmFile(NativePath(path), doc_);
    if (!result.ok()) {
        QMessageBox::warning(this, QStringLiteral("Orb"), Text(result.message, kSaveFailedMessage));
        return false;
    }
    pathName_ = path;
    edits_.MarkSaved();
    if (RecoveryJournal* journal = FrameRecoveryJournal(this)) journal->SurveySaved();
    emit surveyStored();
    AddRecentFile(path);
    return true;
}

QStringList CMainFrame::RecentFiles() const {
    QSettings settings;
    settings.beginGroup(QString::fromLatin1(kRecentGroup));
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString f = settings.value(QStringLiteral("File%1").arg(i)).toString();
        // A survey moved or deleted since is dropped rather than offered.
        if (!f.isEmpty() && QFileInfo::exists(f)) files.append(f);
    }
    return files;
}

void CMainFrame::AddRecentFile(const QString& path) {
    // A survey opened or saved is also where the next file dialog starts.
    RememberFolderOf(path);
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(full);
    files.prepend(full);
    QSettings settings;
    settings.beginGroup(QString::fromLatin1(kRecentGroup));
    for (int i = 0; i < kRecentFileCount; ++i)
        settings.setValue(QStringLiteral("File%1").arg(i + 1), i < files.size() ? files[i] : QString());
    settings.endGroup();
    UpdateRecentFilesMenu();
}

void CMainFrame::RemoveRecentFile(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(QFileInfo(path).absoluteFilePath());
    QSettings settings;
    settings.beginGroup(QString::fromLatin1(kRecentGroup));
    for (int i = 0; i < kRecentFileCount; ++i)
        settings.setValue(QStringLiteral("File%1").arg(i + 1), i < files.size() ? files[i] : QString());
    settings.endGroup();
    UpdateRecentFilesMenu();
}

void CMainFrame::UpdateRecentFilesMenu() {
    const QStringList files = RecentFiles();
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* a = Action(cmd::kFileMru1 + i);
        if (i < files.size()) {
            QString shown = QDir::toNativeSeparators(files[i]);
            if (shown.size() > 60) shown = QStringLiteral("…") + shown.right(59);
            a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown.replace(u'&', QStringLiteral("&&"))));
            a->setVisible(true);
            a->setEnabled(true);
        } else {
            // With no recent file the first entry stays as a disabled caption.
            a->setText(tr("最近的文件"));
            a->setVisible(i == 0);
            a->setEnabled(false);
        }
    }
}

}  // namespace orb
