// Commands, sending, timers and the port of the device logic. The reply
// handlers are in device_replies.cpp.
#include "device/device_controller.h"

#include <ctime>
#include <string>

#include "device/device_frame.h"

namespace orb {
namespace {

constexpr const char* kCaptionWarning = "警告";

std::string WithNumber(const char* before, int n, const char* after = "") {
    return before + std::to_string(n) + after;
}

}  // namespace

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
      localNow_(LocalNow) {}

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
      localNow_(LocalNow) {}

DeviceController::~DeviceController() = default;

DateTimeFields DeviceController::Now() const {
    return localNow_();
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
        op_.SetStatusText("程序准备就绪");
        if (lineLog_) lineLog_->Sent(frame);
        port_.Write(frame);
    } else {
        timers_.Stop(timer_id::kReply);
        op_.MessageBox("串口没有打开", "警告！", MessageIcon::kWarning, MessageButtons::kOk);
    }
    timers_.Start(timer_id::kReply, kReplyTimeoutMs);
}

void DeviceController::OnBytesArrived() {
    if (port_.Read(receiveBuffer) > 0) scanner_.Scan(receiveBuffer);
}

// ---- Probe menu ------------------------------------------------------------

void DeviceController::OnProbeTest() {
    SendFrame(ProbeCommTestFrame());
}

void DeviceController::OnProbeInfo() {
    infoRequested = 1;
    SendFrame(ProbeInformationFrame());
}

void DeviceController::OnProbeRealTime() {
    realTimeActive = 1;
    Progress(0);
    RequestCalibration();
    op_.ShowRealTimeDialog();
    realTimeActive = 0;
    timers_.Stop(timer_id::kRealTime);
}

void DeviceController::OnProbeDownload() {
    table_.SetShowAll(true);
    SendFrame(ProbeInformationFrame());
    table_.SetReverseOrder(false);
    downloadRequested = 1;
}

void DeviceController::OnProbeWorkMode() {
    SendFrame(ProbeInformationFrame());
    const MessageAnswer go = op_.MessageBox("重新设置延时时间将会清空探管中的存储数据，是否继续？", "请确认",
                                            MessageIcon::kNone, MessageButtons::kYesNo);
    if (go != MessageAnswer::kYes) return;
    int32_t delay = workDelayMinutes;
    int32_t interval = workIntervalSeconds;
    if (!op_.ShowWorkModeDialog(delay, interval)) return;
    workDelayMinutes = delay;
    workIntervalSeconds = interval;
    SendFrame(ProbeWorkModeFrame(workDelayMinutes, workIntervalSeconds));
}

// ---- Clock dialog ----------------------------------------------------------

void DeviceController::OnClockDialog() {
    clockDialogOpen = true;
    timers_.Start(timer_id::kClockNow, kClockTimerPeriodMs);
    op_.ShowClockDialog();
    clockDialogOpen = false;
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
            SendFrame(ProbeSetClockFrame(Now()));
            break;
        case clock_button::kSetSync:
            SendFrame(SyncSetClockFrame(Now()));
            break;
        default:
            break;
    }
}

// ---- Synchronizer menu -----------------------------------------------------

void DeviceController::OnSyncTest() {
    SendFrame(SyncCommTestFrame());
}

void DeviceController::OnSyncDownload() {
    SendFrame(SyncSendMarksFrame());
}

void DeviceController::OnSyncClear() {
    const MessageAnswer go = op_.MessageBox("将会清空同步器中所有数据，是否继续?", kCaptionWarning,
                                            MessageIcon::kQuestion, MessageButtons::kOkCancel);
    if (go != MessageAnswer::kOk) return;
    SendFrame(SyncClearFrame());
    op_.SetStatusText("清空中，稍候....");
    Progress(0);
    timers_.Start(timer_id::kClearAnimation, kClearAnimationPeriodMs);
    clearProgress = 0;
}

// ---- Timers ----------------------------------------------------------------

void DeviceController::OnTimer(int id) {
    switch (id) {
        case timer_id::kReply:
            timers_.Stop(timer_id::kReply);
            op_.MessageBox("通信超时！", kCaptionWarning, MessageIcon::kWarning, MessageButtons::kOk);
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
            SendFrame(ProbeReadClockFrame());
            break;
        case timer_id::kClockReadSync:
            SendFrame(SyncReadClockFrame());
            break;
        default:
            break;
    }
}

// ---- Port ------------------------------------------------------------------

void DeviceController::SearchPorts() {
    receiveBuffer.fill = 0;
    bool found = false;
    for (int n = 1; n <= 29 && !found; ++n) {
        portNumber = n;
        if (port_.Open(n)) {
            op_.MessageBox(WithNumber("串口", n, "已打开"), "", MessageIcon::kNone, MessageButtons::kOk);
            found = true;
        }
    }
    if (!found) {
        portNumber = 1;
        op_.MessageBox("未找到有效串口", "", MessageIcon::kError, MessageButtons::kOk);
    }
    realTimeActive = 0;
    infoRequested = 0;
    downloadRequested = 0;
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
    op_.MessageBox(opened ? WithNumber("串口已切换为", portNumber) : std::string("串口打开失败"), "",
                   MessageIcon::kNone, MessageButtons::kOk);
}

}  // namespace orb
