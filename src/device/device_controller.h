// The device logic of the main window: the probe, synchronizer and port
// commands, the reply dispatcher with every reply type, the download chains
// and the timers. Plain C++: it reaches the line, the timers, the operator and
// the table only through the interfaces of device_interfaces.h, and changes
// the survey only through its edit operations (the table follows their
// notices). Everything runs on one thread (the window's); the
// owner turns the serial port's arrival notification into a queued call of
// OnBytesArrived and timer expiry into OnTimer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/calibration.h"
#include "core/ole_date.h"
#include "core/ui_text.h"
#include "device/device_frame.h"
#include "device/device_interfaces.h"
#include "device/frame_scanner.h"
#include "device/index_ranges.h"
#include "device/line_log.h"
#include "document/orb_doc.h"
#include "document/survey_edits.h"

namespace orb {

// Menu command ids routed to the device logic.
namespace device_cmd {
inline constexpr int kProbeTest = 32781;
inline constexpr int kProbeInfo = 32782;
inline constexpr int kProbeRealTime = 32783;
inline constexpr int kProbeDownload = 32784;
inline constexpr int kProbeWorkMode = 32786;
inline constexpr int kPortSelect = 32791;
inline constexpr int kProbeClock = 32819;
inline constexpr int kSyncTest = 32820;
inline constexpr int kSyncClock = 32821;
inline constexpr int kSyncDownload = 32822;
inline constexpr int kSyncClear = 32823;
}  // namespace device_cmd

// Buttons of the clock dialog.
namespace clock_button {
inline constexpr int kReadProbe = 1044;
inline constexpr int kSetProbe = 1045;
inline constexpr int kReadSync = 1046;
inline constexpr int kSetSync = 1047;
}  // namespace clock_button

// Timer ids. The main window's timers keep their numbers; the clock dialog's
// own timers 1..3 are 101..103 here so that one service can run them all.
namespace timer_id {
inline constexpr int kRealTime = 2;
inline constexpr int kClearAnimation = 3;
inline constexpr int kReply = 10;
inline constexpr int kStreamWatch = 11;
inline constexpr int kClockNow = 101;
inline constexpr int kClockReadProbe = 102;
inline constexpr int kClockReadSync = 103;
}  // namespace timer_id

inline constexpr int kReplyTimeoutMs = 2000;
inline constexpr int kRealTimePeriodMs = 1000;
inline constexpr int kClearAnimationPeriodMs = 1300;
inline constexpr int kClockTimerPeriodMs = 1000;
// A sample or mark stream counts as stopped after no item for this long, or
// for three times the mean gap between its items when that is longer.
inline constexpr int kStreamStopMs = 5000;
inline constexpr int kStreamWatchPeriodMs = 500;
inline constexpr const char* kStatusIncomplete = ORB_TEXT("core", "数据读取不完整");
// What a cut transfer had received (TransferShortfallText).
inline constexpr std::string_view kProbeItemsText = "探管数据";
inline constexpr std::string_view kMarkItemsText = "同步标记";

// A count from a device is trusted for reserving memory only up to here;
// every frame that arrives is still accepted.
inline constexpr int32_t kMaxReserve = 1000000;

// The state of the last sample or mark transfer, for progress displays and
// for callers that must know when it ended.
struct TransferState {
    bool counted = false;   // the count reply arrived
    int32_t announced = 0;  // the count
    int64_t arrived = 0;    // item frames accepted since the count
    bool complete = false;  // the last announced item arrived, or the count was 0
    // The count reply announced a negative number: a bad reply, nothing was
    // stored and the transfer ended there.
    bool badCount = false;
    int32_t badCountValue = 0;
    IndexRanges indexes;  // the item indexes that arrived
    // Once complete: the announced indexes that never arrived (line noise).
    std::vector<IndexRange> missing;
    // The last item arrived, yet others did not: the data are incomplete.
    bool Gaps() const { return complete && !missing.empty(); }
    // Counted with data announced, and not all of them arrived.
    bool Incomplete() const { return counted && announced > 0 && (!complete || !missing.empty()); }
};

// The command sequences of the device logic. Each one is started only by its
// command and ended by its last reply, a reply time-out, the closing of its
// dialog or the start of another command. A reply that belongs to no running
// sequence (or to another step of it) changes no document data and asks
// nothing of the operator.
enum class Sequence { kNone, kInformation, kDownload, kRealTime, kWorkMode, kMarkTransfer, kClear };

// What the running sequence waits for.
enum class Step {
    kNone,
    kInformation,  // 0x04
    kCalibration,  // 0x31 packets
    kToolFace,     // 0x09
    kCount,        // the sample or mark count
    kItems,        // samples or marks
    kModeWritten,  // 0x05
    kCleared,      // 0x02
    kPolling,      // real-time samples 0x19
};

// "串口连接已断开：已收到100条探管数据，共420条": why a transfer ended early and
// how far it got.
std::string TransferShortfallText(std::string_view reason, const TransferState& t, std::string_view what);
// "数据读取不完整：已收到277条探管数据，共280条，缺少3条（序号10-11, 200）。": a
// transfer that reached its last item with items lost on the way.
std::string TransferGapsText(const TransferState& t, std::string_view what);
// "探管回复的数据数量无效（-1），没有读取任何数据，原有数据保持不变。"
std::string BadCountText(std::string_view device, int32_t count);

class DeviceController {
public:
    DeviceController(LinkPort& port, TimerService& timers, DeviceOperator& op, DeviceTable& table,
                     SurveyEdits& edits);
    // With an edit path of its own over `doc` (tests, benchmarks).
    DeviceController(LinkPort& port, TimerService& timers, DeviceOperator& op, DeviceTable& table,
                     COrbDoc& doc);
    ~DeviceController();

    // ---- Entry points -------------------------------------------------
    // Any device menu command by id; false for an id it does not handle.
    bool OnCommand(int id);
    void OnProbeTest();
    void OnProbeInfo();
    void OnProbeRealTime();
    void OnProbeDownload();
    void OnProbeWorkMode();
    void OnClockDialog();  // 32819 and 32821
    void OnClockButton(int button);
    void OnSyncTest();
    void OnSyncDownload();
    void OnSyncClear();
    void OnPortSelect();
    // Start-up: ports 1..29, the first that opens; then the flags are cleared.
    void SearchPorts();
    // The receive notification: read what waits, scan, dispatch.
    void OnBytesArrived();
    void OnTimer(int id);
    // The owner saw the line hang up: a running sequence ends and says so.
    void OnLineHungUp();
    // The survey was saved, opened or started anew: its records are no longer
    // an unsaved download.
    void SurveyStored() { unsavedDownload = false; }

    // Writes one command frame (or reports the closed port) and restarts
    // the reply timer.
    void SendFrame(std::span<const uint8_t> frame);
    // Handles one accepted reply frame.
    void DispatchReply(std::span<const uint8_t> frame);

    // ---- Hooks ----------------------------------------------------------
    void SetLineLog(LineLog* log) { lineLog_ = log; }
    // Local time of the PC; tests fix it.
    void SetLocalClock(std::function<DateTimeFields()> now) { localNow_ = std::move(now); }
    // Called with every accepted reply frame before it is handled, in
    // arrival order (the receive journal records them).
    void SetFrameObserver(std::function<void(std::span<const uint8_t>)> observer) {
        frameObserver_ = std::move(observer);
    }
    // Monotonic milliseconds for the stream watch; tests drive it.
    void SetMonotonicClock(std::function<int64_t()> nowMs) { monoNow_ = std::move(nowMs); }
    // Called after every dispatched reply with its type byte.
    void SetReplyObserver(std::function<void(uint8_t type)> observer) {
        replyObserver_ = std::move(observer);
    }

    // ---- State (names as the window knows them) ---------------------------
    Sequence sequence() const { return sequence_; }
    Step step() const { return step_; }
    // 1 while the real-time dialog is open.
    int32_t realTimeActive = 0;
    bool InfoRequested() const { return sequence_ == Sequence::kInformation; }
    bool DownloadRequested() const { return sequence_ == Sequence::kDownload && step_ == Step::kInformation; }
    // The records came from the probe and were not saved since.
    bool unsavedDownload = false;

    std::string probeNumber;
    std::string probeModel;
    std::string probeCapacity;
    int32_t storedCount = 0;
    float batteryVoltage = 0;

    int32_t workDelayMinutes = 5;
    int32_t workIntervalSeconds = 10;

    float toolFaceOffset = 0;
    AttitudeSample realTimeSample;
    ProbeCalibration calibration = ProbeCalibration::Default();
    CalibrationPackets calibrationPackets;
    int32_t expectedSamples = 0;

    int32_t expectedMarks = 0;
    int32_t keptMarks = 0;
    int32_t lastMarkSequence = -1;
    int32_t clearProgress = 0;

    int32_t portNumber = 1;
    ReceiveBuffer receiveBuffer;

    bool clockDialogOpen = false;
    TransferState sampleTransfer;
    TransferState markTransfer;

    // The sampling delay and interval are the survey's (the document's).
    SurveyTiming timing() const { return edits_.document().timing(); }
    const COrbDoc& document() const { return edits_.document(); }
    // The information dialog's texts for the current values.
    ProbeInfoView InfoView() const;

private:
    void Begin(Sequence s, Step step);
    void End();
    bool Expects(Sequence s, Step step) const { return sequence_ == s && step_ == step; }
    // The shared calibration and tool-face steps of download and real time.
    bool InCalibrationChain(Step step) const {
        return (sequence_ == Sequence::kDownload || sequence_ == Sequence::kRealTime) && step_ == step;
    }
    void OnReplyTimeout();
    void StartStreamWatch();
    void OnStreamWatch();
    void TransferCut(std::string_view reason);
    // False when the item's index had arrived before in this transfer.
    bool ItemArrived(TransferState& t, int64_t index);
    // The last announced item arrived: complete, or complete with gaps.
    void TransferEnded(TransferState& t, const char* what);
    void RefuseCount(TransferState& t, int32_t count, const char* device);
    void AskWorkMode();
    void DropUncounted(const char* text);
    // False when the operator cancels the save question.
    bool MayReplaceSurvey(bool marks);
    void Progress(int position);
    void OnInformation(std::span<const uint8_t> frame);
    void RequestCalibration();
    void OnCalibrationPacket(std::span<const uint8_t> frame);
    void OnToolFaceOffset(std::span<const uint8_t> frame);
    void OnStoredSamples(std::span<const uint8_t> frame);
    void OnSampleCount(int32_t count);
    void OnSample(std::span<const uint8_t> frame);
    void OnMarks(std::span<const uint8_t> frame);
    void OnMarkCount(int32_t expected, int32_t kept);
    void OnMark(std::span<const uint8_t> frame);
    void OnClockReply(std::span<const uint8_t> frame);
    void SendClockFrame(std::span<const uint8_t> frame, bool probe);
    void OnRealTimeSample(std::span<const uint8_t> frame);
    void OnClearFinished();
    void MatchIfBothPresent();
    DateTimeFields Now() const;
    int64_t MonoNow() const { return monoNow_(); }

    LinkPort& port_;
    TimerService& timers_;
    DeviceOperator& op_;
    DeviceTable& table_;
    std::unique_ptr<SurveyEdits> ownEdits_;
    SurveyEdits& edits_;
    const COrbDoc& doc_;
    FrameScanner scanner_;
    uint32_t calibrationArrived_ = 0;  // bit i: packet i of the current read arrived
    Sequence sequence_ = Sequence::kNone;
    // A communication test waits for its answer; it runs beside a sequence.
    bool commTestPending_ = false;
    Step step_ = Step::kNone;
    // The devices of the clock commands still waiting for their answers, oldest first.
    std::deque<bool> clockFromProbe_;
    int64_t streamStartMs_ = 0;  // the count reply
    int64_t lastItemMs_ = 0;
    LineLog* lineLog_ = nullptr;
    std::function<DateTimeFields()> localNow_;
    std::function<int64_t()> monoNow_;
    std::function<void(uint8_t)> replyObserver_;
    std::function<void(std::span<const uint8_t>)> frameObserver_;
};

// The real-time dialog's eight texts ("%2.2f", "%2.1f" x3, "%2.4f" x2,
// "%2.1f" x2), independent of the process locale.
RealTimeTexts FormatRealTime(const AttitudeSample& s);

// A survey record from one stored sample: attitude under `cal`, both tool
// faces reduced by `toolFaceOffset`, time from the BCD clock.
SurveyRecord RecordFromSample(const StoredSample& sample, const ProbeCalibration& cal, float toolFaceOffset);

// The PC's local time now.
DateTimeFields LocalNow();

}  // namespace orb
