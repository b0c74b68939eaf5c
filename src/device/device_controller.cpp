// Commands, sending, timers and the port of the device logic. The reply
// handlers are in device_replies.cpp.
#include "device/device_controller.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>

#include "device/device_frame.h"

namespace orb {
namespace {

constexpr const char* kCaptionWarning = ORB_TEXT("core", "警告");
constexpr const char* kTimeout = ORB_TEXT("core", "通信超时！");

int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string WithNumber(const char* tmpl, int n) {
    return FillTemplate(tmpl, {std::to_string(n)});
}

}  // namespace

std::string TransferShortfallText(std::string_view reason, const TransferState& t, std::string_view what) {
    const std::string arrived = std::to_string(t.arrived);
    const std::string announced = std::to_string(t.announced);
    std::string s(reason);
    s += "：";
    // The two transfers have templates of their own, which the window translates.
    if (what == kProbeItemsText)
        s += FillTemplate(ORB_TEXT("core", "已收到%1条探管数据，共%2条"), {arrived, announced});
    else if (what == kMarkItemsText)
        s += FillTemplate(ORB_TEXT("core", "已收到%1条同步标记，共%2条"), {arrived, announced});
    else
        s += "已收到" + arrived + "条" + std::string(what) + "，共" + announced + "条";
    return s;
}

std::string TransferGapsText(const TransferState& t, std::string_view what) {
    std::string s = TransferShortfallText(kStatusIncomplete, t, what);
    s += "，缺少" + std::to_string(CountOf(t.missing)) + "条（序号" + RangesText(t.missing) + "）。";
    return s;
}

std::string BadCountText(std::string_view device, int32_t count) {
    // One template per device, so the window can translate the whole text.
    const char* tmpl =
        device == "探管"
            ? ORB_TEXT("core", "探管回复的数据数量无效（%1），没有读取任何数据，原有数据保持不变。")
        : device == "同步器"
            ? ORB_TEXT("core", "同步器回复的数据数量无效（%1），没有读取任何数据，原有数据保持不变。")
            : nullptr;
    if (!tmpl)
        return std::string(device) +
               FillTemplate("回复的数据数量无效（%1），没有读取任何数据，原有数据保持不变。",
                            {std::to_string(count)});
    return FillTemplate(tmpl, {std::to_string(count)});
}

DateTimeFields LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    DateTimeFields f;
    f.year = tm.tm_year + 1900;
    f.month = tm.tm_mon + 1;
    f.day = tm.tm_mday;
    f.hour = tm.tm_hour;
    f.minute = tm.tm_min;
    f.second = tm.tm_sec;
    f.dayOfWeek = tm.tm_wday;
    f.dayOfYear = tm.tm_yday + 1;
    return f;
}

DeviceController::DeviceController(LinkPort& port, TimerService& timers, DeviceOperator& op,
                                   DeviceTable& table, SurveyEdits& edits)
    : port_(port),
      timers_(timers),
      op_(op),
      table_(table),
      edits_(edits),
      doc_(edits.document()),
      scanner_([this](std::span<const uint8_t> frame) { DispatchReply(frame); }),
      localNow_(LocalNow),
      monoNow_(SteadyMs) {}

DeviceController::DeviceController(LinkPort& port, TimerService& timers, DeviceOperator& op,
                                   DeviceTable& table, COrbDoc& doc)
    : port_(port),
      timers_(timers),
      op_(op),
      table_(table),
      ownEdits_(std::make_unique<SurveyEdits>(doc)),
      edits_(*ownEdits_),
      doc_(doc),
      scanner_([this](std::span<const uint8_t> frame) { DispatchReply(frame); }),
      localNow_(LocalNow),
      monoNow_(SteadyMs) {}

DeviceController::~DeviceController() = default;

DateTimeFields DeviceController::Now() const {
    return localNow_();
}

// ---- Sequences -------------------------------------------------------------

void DeviceController::Begin(Sequence s, Step step) {
    // A command that starts ends whatever ran before it.
    if (sequence_ != s) End();
    sequence_ = s;
    step_ = step;
}

void DeviceController::End() {
    if (sequence_ == Sequence::kRealTime) timers_.Stop(timer_id::kRealTime);
    if (sequence_ == Sequence::kClear) timers_.Stop(timer_id::kClearAnimation);
    timers_.Stop(timer_id::kStreamWatch);
    sequence_ = Sequence::kNone;
    step_ = Step::kNone;
}

void DeviceController::Progress(int position) {
    op_.SetProgress(position < 0 ? 0 : position > 100 ? 100 : position);
}

bool DeviceController::OnCommand(int id) {
    switch (id) {
        case device_cmd::kProbeTest:
            OnProbeTest();
            return true;
        case device_cmd::kProbeInfo:
            OnProbeInfo();
            return true;
        case device_cmd::kProbeRealTime:
            OnProbeRealTime();
            return true;
        case device_cmd::kProbeDownload:
            OnProbeDownload();
            return true;
        case device_cmd::kProbeWorkMode:
            OnProbeWorkMode();
            return true;
        case device_cmd::kPortSelect:
            OnPortSelect();
            return true;
        case device_cmd::kProbeClock:
        case device_cmd::kSyncClock:
            OnClockDialog();
            return true;
        case device_cmd::kSyncTest:
            OnSyncTest();
            return true;
        case device_cmd::kSyncDownload:
            OnSyncDownload();
            return true;
        case device_cmd::kSyncClear:
            OnSyncClear();
            return true;
        default:
            return false;
    }
}

// ---- Sending -------------------------------------------------------------

void DeviceController::SendFrame(std::span<const uint8_t> frame) {
    if (port_.IsOpen() && port_.PortNumber() != 0) {
        op_.SetStatusText(ORB_TEXT("core", "程序准备就绪"));
        if (lineLog_) lineLog_->Sent(frame);
        port_.Write(frame);
    } else {
        timers_.Stop(timer_id::kReply);
        op_.MessageBox(ORB_TEXT("core", "串口没有打开"), ORB_TEXT("core", "警告！"), MessageIcon::kWarning,
                       MessageButtons::kOk);
    }
    timers_.Start(timer_id::kReply, kReplyTimeoutMs);
}

void DeviceController::OnBytesArrived() {
    if (port_.Read(receiveBuffer) > 0) scanner_.Scan(receiveBuffer);
}

// ---- Probe menu ------------------------------------------------------------

void DeviceController::OnProbeTest() {
    commTestPending_ = true;
    SendFrame(ProbeCommTestFrame());
}

void DeviceController::OnProbeInfo() {
    Begin(Sequence::kInformation, Step::kInformation);
    SendFrame(ProbeInformationFrame());
}

void DeviceController::OnProbeRealTime() {
    Begin(Sequence::kRealTime, Step::kCalibration);
    realTimeActive = 1;
    Progress(0);
    RequestCalibration();
    op_.ShowRealTimeDialog();
    realTimeActive = 0;
    timers_.Stop(timer_id::kRealTime);
    // Replies still under way for the closed dialog find no sequence.
    if (sequence_ == Sequence::kRealTime) End();
}

// A download replaces the records, a mark transfer the marks; matching only
// ever adds checked stations, so records alone are no reason to ask.
bool DeviceController::MayReplaceSurvey(bool marks) {
    const bool replaces = marks ? doc_.MarkCount() > 0 : doc_.RecordCount() > 0;
    return !doc_.IsModified() || !replaces || op_.AskSaveChanges();
}

void DeviceController::OnProbeDownload() {
    if (!MayReplaceSurvey(false)) return;
    Begin(Sequence::kDownload, Step::kInformation);
    table_.SetShowAll(true);
    SendFrame(ProbeInformationFrame());
    table_.SetReverseOrder(false);
}

void DeviceController::OnProbeWorkMode() {
    Begin(Sequence::kWorkMode, Step::kInformation);
    SendFrame(ProbeInformationFrame());
    AskWorkMode();
    if (sequence_ == Sequence::kWorkMode && step_ != Step::kModeWritten) End();
}

void DeviceController::AskWorkMode() {
    const bool unsaved = unsavedDownload && doc_.RecordCount() > 0;
    MessageAnswer go;
    if (sampleTransfer.Incomplete()) {
        // The probe still holds what the last download lost on the line.
        go = op_.MessageBox(
            FillTemplate(
                ORB_TEXT(
                    "core",
                    "上次读取的探管数据不完整（已收到%1条，共%2条），重新设置将清空探管中的数据。是否继续？"),
                {std::to_string(sampleTransfer.arrived), std::to_string(sampleTransfer.announced)}),
            ORB_TEXT("core", "请确认"), MessageIcon::kWarning, MessageButtons::kYesNoSafe);
    } else if (unsaved) {
        go = op_.MessageBox(ORB_TEXT("core", "探管数据尚未保存，重新设置将清空探管中的数据。是否继续？"),
                            ORB_TEXT("core", "请确认"), MessageIcon::kWarning, MessageButtons::kYesNoSafe);
    } else {
        go = op_.MessageBox(ORB_TEXT("core", "重新设置延时时间将会清空探管中的存储数据，是否继续？"),
                            ORB_TEXT("core", "请确认"), MessageIcon::kNone, MessageButtons::kYesNoSafe);
    }
    if (go != MessageAnswer::kYes) return;
    int32_t delay = workDelayMinutes;
    int32_t interval = workIntervalSeconds;
    if (!op_.ShowWorkModeDialog(delay, interval)) return;
    workDelayMinutes = delay;
    workIntervalSeconds = interval;
    Begin(Sequence::kWorkMode, Step::kModeWritten);
    SendFrame(ProbeWorkModeFrame(workDelayMinutes, workIntervalSeconds));
}

// ---- Clock dialog ----------------------------------------------------------

void DeviceController::OnClockDialog() {
    clockDialogOpen = true;
    timers_.Start(timer_id::kClockNow, kClockTimerPeriodMs);
    op_.ShowClockDialog();
    clockDialogOpen = false;
    clockFromProbe_.clear();
    timers_.Stop(timer_id::kClockNow);
    timers_.Stop(timer_id::kClockReadProbe);
    timers_.Stop(timer_id::kClockReadSync);
}

void DeviceController::OnClockButton(int button) {
    switch (button) {
        case clock_button::kReadProbe:
            timers_.Start(timer_id::kClockReadProbe, kClockTimerPeriodMs);
            break;
        case clock_button::kReadSync:
            timers_.Start(timer_id::kClockReadSync, kClockTimerPeriodMs);
            break;
        case clock_button::kSetProbe:
            SendClockFrame(ProbeSetClockFrame(Now()), true);
            break;
        case clock_button::kSetSync:
            SendClockFrame(SyncSetClockFrame(Now()), false);
            break;
        default:
            break;
    }
}

// Both devices answer a clock command with the same reply types; the answers
// come in the order of the commands, so the oldest waiting one names the device.
void DeviceController::SendClockFrame(std::span<const uint8_t> frame, bool probe) {
    // A reply lost on the line must not shift every later name.
    if (clockFromProbe_.size() >= 4) clockFromProbe_.clear();
    clockFromProbe_.push_back(probe);
    SendFrame(frame);
}

// ---- Synchronizer menu -----------------------------------------------------

void DeviceController::OnSyncTest() {
    commTestPending_ = true;
    SendFrame(SyncCommTestFrame());
}

void DeviceController::OnSyncDownload() {
    if (!MayReplaceSurvey(true)) return;
    Begin(Sequence::kMarkTransfer, Step::kCount);
    SendFrame(SyncSendMarksFrame());
}

void DeviceController::OnSyncClear() {
    const MessageAnswer go =
        op_.MessageBox(ORB_TEXT("core", "将会清空同步器中所有数据，是否继续?"), kCaptionWarning,
                       MessageIcon::kQuestion, MessageButtons::kOkCancelSafe);
    if (go != MessageAnswer::kOk) return;
    Begin(Sequence::kClear, Step::kCleared);
    SendFrame(SyncClearFrame());
    op_.SetStatusText(ORB_TEXT("core", "清空中，稍候...."));
    Progress(0);
    timers_.Start(timer_id::kClearAnimation, kClearAnimationPeriodMs);
    clearProgress = 0;
}

// ---- Timers ----------------------------------------------------------------

void DeviceController::OnTimer(int id) {
    switch (id) {
        case timer_id::kReply:
            OnReplyTimeout();
            break;
        case timer_id::kStreamWatch:
            OnStreamWatch();
            break;
        case timer_id::kRealTime:
            SendFrame(ProbeRealTimeSampleFrame());
            break;
        case timer_id::kClearAnimation:
            // The clear may take longer than the reply time-out.
            timers_.Stop(timer_id::kReply);
            Progress(clearProgress);
            if (clearProgress <= 100) clearProgress += 7;
            break;
        case timer_id::kClockNow: {
            const DateTimeFields t = Now();
            const OleDateTime d = MakeOleDateTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
            if (clockDialogOpen)
                op_.SetClockField(kClockFieldNow, FormatOleDate(d.value, d.status, "%Y/%m/%d -- %H:%M:%S"));
            break;
        }
        case timer_id::kClockReadProbe:
            SendClockFrame(ProbeReadClockFrame(), true);
            break;
        case timer_id::kClockReadSync:
            SendClockFrame(SyncReadClockFrame(), false);
            break;
        default:
            break;
    }
}

void DeviceController::OnReplyTimeout() {
    timers_.Stop(timer_id::kReply);
    clockFromProbe_.clear();
    commTestPending_ = false;
    const bool calibrationCut = InCalibrationChain(Step::kCalibration) && calibrationArrived_ != 0;
    End();
    if (calibrationCut) {
        op_.SetStatusText(ORB_TEXT("core", "标定参数读取不完整"));
        op_.MessageBox(ORB_TEXT("core", "通信超时！标定参数读取不完整，仍使用原有的标定参数。"),
                       kCaptionWarning, MessageIcon::kWarning, MessageButtons::kOk);
        return;
    }
    op_.MessageBox(kTimeout, kCaptionWarning, MessageIcon::kWarning, MessageButtons::kOk);
}

// ---- Interrupted transfers -------------------------------------------------

void DeviceController::StartStreamWatch() {
    streamStartMs_ = lastItemMs_ = MonoNow();
    timers_.Start(timer_id::kStreamWatch, kStreamWatchPeriodMs);
}

// A device that sends the same item again and again is no stream that goes
// on: only new indexes keep the stream watch from ending the transfer.
bool DeviceController::ItemArrived(TransferState& t, int64_t index) {
    if (!t.indexes.Add(index)) return false;
    ++t.arrived;
    lastItemMs_ = MonoNow();
    return true;
}

void DeviceController::OnStreamWatch() {
    const bool samples = Expects(Sequence::kDownload, Step::kItems);
    if (!samples && !Expects(Sequence::kMarkTransfer, Step::kItems)) {
        timers_.Stop(timer_id::kStreamWatch);
        return;
    }
    const TransferState& t = samples ? sampleTransfer : markTransfer;
    const int64_t now = MonoNow();
    int64_t limit = kStreamStopMs;
    if (t.arrived > 1) limit = std::max(limit, 3 * (lastItemMs_ - streamStartMs_) / t.arrived);
    if (now - lastItemMs_ >= limit) TransferCut(ORB_TEXT("core", "数据流中断"));
}

void DeviceController::OnLineHungUp() {
    if (sequence_ == Sequence::kNone) return;
    TransferCut(ORB_TEXT("core", "串口连接已断开"));
}

// Ends the running sequence early; a sample or mark transfer keeps what
// arrived and says how much that was.
void DeviceController::TransferCut(std::string_view reason) {
    const bool samples = Expects(Sequence::kDownload, Step::kItems);
    const bool marks = Expects(Sequence::kMarkTransfer, Step::kItems);
    timers_.Stop(timer_id::kReply);
    End();
    std::string text(reason);
    if (samples || marks) {
        op_.SetStatusText(kStatusIncomplete);
        text = TransferShortfallText(reason, samples ? sampleTransfer : markTransfer,
                                     samples ? kProbeItemsText : kMarkItemsText);
    }
    op_.MessageBox(text, kCaptionWarning, MessageIcon::kWarning, MessageButtons::kOk);
}

// ---- Port ------------------------------------------------------------------

void DeviceController::SearchPorts() {
    receiveBuffer.fill = 0;
    bool found = false;
    for (int n = 1; n <= 29 && !found; ++n) {
        portNumber = n;
        if (port_.Open(n)) {
            op_.MessageBox(WithNumber(ORB_TEXT("core", "串口%1已打开"), n), "", MessageIcon::kNone,
                           MessageButtons::kOk);
            found = true;
        }
    }
    if (!found) {
        portNumber = 1;
        op_.MessageBox(ORB_TEXT("core", "未找到有效串口"), "", MessageIcon::kError, MessageButtons::kOk);
    }
    realTimeActive = 0;
    commTestPending_ = false;
    End();
}

void DeviceController::OnPortSelect() {
    int n = portNumber;
    if (!op_.ShowPortDialog(n)) return;
    portNumber = n;
    // A line that hung up is no open port: choosing its number again reopens it.
    const int current = port_.IsOpen() && !port_.HungUp() ? port_.PortNumber() : 0;
    if (portNumber == current) return;
    port_.Close();
    const bool opened = port_.Open(portNumber);
    op_.MessageBox(opened ? WithNumber(ORB_TEXT("core", "串口已切换为%1"), portNumber)
                          : std::string(ORB_TEXT("core", "串口打开失败")),
                   "", MessageIcon::kNone, MessageButtons::kOk);
}

}  // namespace orb
