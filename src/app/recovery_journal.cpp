#include "app/recovery_journal.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include "app/device_bridge.h"
#include "app/main_frame.h"
#include "device/journal_replay.h"

namespace orb {
namespace {

QString Utf8(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

RecoveryJournal::RecoveryJournal(CMainFrame* frame, const QString& folder)
    // A child of the device side: the journal watches its device logic and
    // must be gone before that is.
    : QObject(FrameDevice(frame)), frame_(frame), folder_(folder) {
    if (folder_.isEmpty()) {
        folder_ =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/journal");
    }
    journal_ = std::make_unique<TransferJournal>(FrameDevice(frame)->controller(), folder_.toStdString());
    journal_->SetFailureReporter([this](const std::string& text) { frame_->SetStatusText(Utf8(text)); });
}

RecoveryJournal::~RecoveryJournal() = default;

MessageAnswer RecoveryJournal::Ask(const QString& text) {
    if (answerHook) return answerHook(text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Orb"), text, QMessageBox::NoButton, frame_);
    QPushButton* recover = box.addButton(tr("恢复"), QMessageBox::AcceptRole);
    box.addButton(tr("丢弃"), QMessageBox::DestructiveRole);
    box.setDefaultButton(recover);
    box.exec();
    return box.clickedButton() == recover ? MessageAnswer::kYes : MessageAnswer::kNo;
}

bool RecoveryJournal::OfferRecovery() {
    const std::vector<std::string> pending = journal_->folder().Pending();
    if (pending.empty()) return false;
    QString text = tr("上次接收的数据尚未保存：\n");
    for (const std::string& p : pending)
        text += Utf8(DescribeJournal(ReadJournalFile(p))) + QLatin1Char('\n');
    text += tr("是否恢复？");
    if (Ask(text) == MessageAnswer::kYes) {
        Recover(pending);
        return true;
    }
    // Kept in the recovery folder, never deleted.
    for (const std::string& p : pending) journal_->folder().Retire(p);
    return false;
}

void RecoveryJournal::Recover(const std::vector<std::string>& paths) {
    std::vector<JournalContents> journals;
    for (const std::string& p : paths) {
        // Held by this survey until it is saved; one taken meanwhile is skipped.
        if (journal_->Adopt(p)) journals.push_back(ReadJournalFile(p));
    }
    DeviceBridge* bridge = FrameDevice(frame_);
    const ReplayResult r = ReplayJournals(journals, frame_->Document(), *bridge);
    bridge->controller().workIntervalSeconds = r.workIntervalSeconds;
    // The replay wrote the document below the edit path: hand the result over
    // as a new survey, so the table, the quality checks and the trajectory
    // follow it, and keep it marked as never saved.
    COrbDoc recovered;
    recovered.ReplaceWith(std::move(frame_->Document()));
    frame_->Edits().ReplaceSurvey(std::move(recovered));
    frame_->Document().SetModified(true);
    QString status = tr("已恢复未保存的数据：%1条探管数据，%2条同步器数据")
                         .arg(frame_->Document().RecordCount())
                         .arg(frame_->Document().MarkCount());
    for (const std::string& d : r.damage) status += QStringLiteral("；") + Utf8(d);
    frame_->SetStatusText(status);
}

void RecoveryJournal::SurveySaved() {
    journal_->RetireAll();
}

RecoveryJournal* InstallRecoveryJournal(CMainFrame* frame, const QString& folder) {
    auto* journal = new RecoveryJournal(frame, folder);
    QObject::connect(frame, &CMainFrame::startupFinished, journal, &RecoveryJournal::OfferRecovery,
                     Qt::SingleShotConnection);
    return journal;
}

RecoveryJournal* FrameRecoveryJournal(const CMainFrame* frame) {
    return frame ? frame->findChild<RecoveryJournal*>() : nullptr;
}

}  // namespace orb
