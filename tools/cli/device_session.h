// The device commands of orb-cli: the same DeviceController as the window,
// driven by a poll() loop on the real port, with the terminal as operator.
// Messages are the program's own texts: information on standard output,
// warnings and errors on standard error; a download draws a progress bar on
// standard error when it is a terminal.
#pragma once

#include <CLI/CLI.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/device_controller.h"
#include "device/line_log.h"
#include "device/poll_loop.h"
#include "device/transfer_journal.h"
#include "document/orb_doc.h"
#include "view/survey_table_model.h"

namespace orbcli {

// Exit statuses of the device commands (0, 1 and 2 as for every command).
inline constexpr int kExitIncomplete = 3;   // the stream stopped or the line hung up
inline constexpr int kExitTimeout = 4;      // "通信超时！"
inline constexpr int kExitPort = 5;         // no port could be opened
inline constexpr int kExitDeclined = 6;     // a confirmation was refused
inline constexpr int kExitMissing = 7;      // the transfer reached its end, but items were lost on the line
inline constexpr int kExitBadReply = 8;     // the device announced a negative count: nothing stored
inline constexpr int kExitDeadline = 9;     // the command's overall deadline (--deadline) passed
inline constexpr int kExitNotWritten = 10;  // -o FILE exists and nothing new arrived: FILE left as it was

// Without --deadline a device command may take this long, plus three times
// the line time of the items its count replies announce.
inline constexpr std::chrono::seconds kDefaultDeadline(60);

// The survey table model behind the device table interface.
class ModelDeviceTable final : public orb::DeviceTable {
public:
    explicit ModelDeviceTable(orb::SurveyTableModel& model) : model_(model) {}
    void SetShowAll(bool on) override;
    void SetReverseOrder(bool on) override;
    std::size_t MatchStations(int32_t workIntervalSeconds) override;
    void RefreshTable() override { model_.RefreshTable(); }

private:
    orb::SurveyTableModel& model_;
};

class DeviceSession final : public orb::DeviceOperator {
public:
    DeviceSession();
    ~DeviceSession() override;

    // Opens --port (a path or a port-list number) or searches the ports, and
    // starts the line log of --trace. 0 or an exit status.
    int Connect();

    // How a Run ended.
    enum class End { kDone, kTimeout, kStalled, kHungUp, kInterrupted, kDeadline };
    // Runs the loop until `done`, a time-out message, a hang-up, or no frame
    // for `stallLimit` while no command waits for its answer.
    End Run(const std::function<bool()>& done,
            std::chrono::milliseconds stallLimit = std::chrono::milliseconds(5000));
    // Exit status for an ending; prints the interruption message of a
    // transfer (how many of the announced items arrived).
    int Finish(End end, const orb::TransferState& transfer, const char* what);

    // The overall deadline without --deadline: `base` from Connect on, plus
    // the line time of what the count replies announce (0: none).
    void SetDefaultDeadline(std::chrono::milliseconds base) { defaultDeadline_ = base; }
    bool DeadlinePassed() const;
    // The deadline in force, for the message (0: none).
    std::chrono::milliseconds Deadline() const;

    orb::DeviceController& dc() { return *dc_; }
    // The session's receive journals (after Connect).
    orb::TransferJournal& journal() { return *journal_; }
    orb::COrbDoc& doc() { return doc_; }
    bool timedOut() const { return timedOut_; }

    // Operator behaviour.
    bool assumeYes = false;                                // --yes
    int32_t workDelay = 0, workInterval = 0;               // workmode values
    std::function<void()> clockAction;                     // run in the clock dialog
    int realTimeCount = 0;                                 // 0: until interrupted
    bool showProgress = false;                             // a download's bar
    const orb::TransferState* progressTransfer = nullptr;  // what the bar counts

    // DeviceOperator.
    orb::MessageAnswer MessageBox(std::string_view text, std::string_view caption, orb::MessageIcon icon,
                                  orb::MessageButtons buttons) override;
    bool ShowPortDialog(int& portNumber) override;
    // The session's document is always new: nothing to save.
    bool AskSaveChanges() override { return true; }
    void ShowInfoDialog(const orb::ProbeInfoView& info) override;
    bool ShowWorkModeDialog(int32_t& delayMinutes, int32_t& intervalSeconds) override;
    void ShowRealTimeDialog() override;
    void UpdateRealTime(const orb::RealTimeTexts& texts) override;
    void ShowClockDialog() override;
    void SetClockField(int field, std::string_view text) override;
    void SetStatusText(std::string_view text) override { status_ = text; }
    void SetProgress(int position) override;

    void ClearTimeout() { timedOut_ = false; }
    bool Shown(std::string_view text) const;

    std::vector<std::string> messages;  // every message shown, in order
    bool declined = false;              // a question was answered no
    bool infoShown = false;
    std::string deviceClock;  // field 1043
    int realTimeUpdates = 0;
    End modalEnd = End::kDone;  // how the last modal dialog's loop ended

private:
    void DrawProgress(bool final);
    void ClearProgressLine();

    orb::COrbDoc doc_;
    orb::SurveyEdits edits_{doc_};
    std::unique_ptr<orb::SurveyTableModel> model_;
    std::unique_ptr<ModelDeviceTable> table_;
    std::unique_ptr<orb::SerialLinkPort> port_;
    orb::PollTimers timers_;
    std::unique_ptr<orb::PollLoop> loop_;
    std::unique_ptr<orb::DeviceController> dc_;
    std::unique_ptr<orb::TransferJournal> journal_;
    orb::LineLog lineLog_;
    std::chrono::steady_clock::time_point lastFrame_;
    std::chrono::steady_clock::time_point lastDraw_;
    std::chrono::steady_clock::time_point transferStart_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::milliseconds defaultDeadline_ = kDefaultDeadline;
    std::string status_;
    bool timedOut_ = false;
    bool barShown_ = false;
};

// The folder of the receive journals: --journal or the window's.
std::string JournalFolderPath();

// Saves the session's document to `path` and retires its journals; 0 or
// kExitFileError (reported).
int SaveSessionDocument(DeviceSession& s, const std::string& path);

// -o of a transfer: `path` is written when `primary` (the transfer the
// command is for) announced at least one item, or when it does not exist yet
// and some transfer was counted; a failed or empty transfer never replaces
// an existing file. Returns `rc`, or the save's or kExitNotWritten's status.
int SaveTransfers(DeviceSession& s, const std::string& path, int rc, const orb::TransferState& primary);

// Adds "-o FILE.tlm".
void AddOutputOption(CLI::App& sub, std::string& path, bool required);

}  // namespace orbcli
