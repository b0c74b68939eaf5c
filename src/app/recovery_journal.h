// The window's receive journals: every transfer of the main frame's device
// logic is journalled in the application data folder, saving the survey
// retires the journals, and at start-up journals that were never retired
// lead to the recovery question (恢复 replays them into the document, 丢弃
// retires them). A child of the main frame.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "device/device_interfaces.h"
#include "device/transfer_journal.h"

namespace orb {

class CMainFrame;

class RecoveryJournal final : public QObject {
    Q_OBJECT
public:
    // Journals in `folder` (empty: the application data location + "/journal").
    RecoveryJournal(CMainFrame* frame, const QString& folder = {});
    ~RecoveryJournal() override;

    const QString& folder() const { return folder_; }
    // The question for the pending journals, if any; true when recovered.
    bool OfferRecovery();
    // The survey was saved: it holds the data of every journal so far.
    void SurveySaved();

    // Test hook: the recovery question's answer (kYes 恢复, kNo 丢弃),
    // given the question's text.
    std::function<MessageAnswer(const QString& text)> answerHook;

private:
    MessageAnswer Ask(const QString& text);
    void Recover(const std::vector<std::string>& paths);

    CMainFrame* frame_;
    QString folder_;
    std::unique_ptr<TransferJournal> journal_;
};

// Journals the frame's transfers and asks about the pending ones once the
// window's start-up has finished.
RecoveryJournal* InstallRecoveryJournal(CMainFrame* frame, const QString& folder = {});
// The frame's journals, when installed.
RecoveryJournal* FrameRecoveryJournal(const CMainFrame* frame);

}  // namespace orb
