// Port, timers and table of the window's device logic.
#include "app/device_bridge.h"

#include <QTimer>

#include "app/command_guard.h"
#include "app/main_frame.h"
#include "view/sync_matcher.h"

namespace orb {

namespace {

struct BridgeConfig {
    PortListOptions options;
    bool configured = false;
};

BridgeConfig& Config() {
    static BridgeConfig config;
    return config;
}

}  // namespace

void DeviceBridge::Configure(const PortListOptions& options) {
    Config().options = options;
    Config().configured = true;
}

bool DeviceBridge::Configured() {
    return Config().configured;
}

const PortListOptions& DeviceBridge::Options() {
    return Config().options;
}

DeviceBridge* FrameDevice(const CMainFrame* frame) {
    return frame->findChild<DeviceBridge*>(QString(), Qt::FindDirectChildrenOnly);
}

DeviceBridge::DeviceBridge(CMainFrame* frame) : QObject(frame), frame_(frame) {
    dc_ = std::make_unique<DeviceController>(*this, *this, *this, *this, frame->Edits());
    connect(frame, &CMainFrame::surveyStored, this, [this] { dc_->SurveyStored(); });
}

DeviceBridge::~DeviceBridge() {
    // Joins the event thread; a notification still queued dies with this object.
    serial_.Close();
    // Whatever hangs on the device logic (the receive journal) goes before it.
    while (!children().isEmpty()) delete children().constFirst();
}

void DeviceBridge::StartupSearch() {
    if (Configured()) dc_->SearchPorts();
}

// ---- LinkPort ----------------------------------------------------------------

bool DeviceBridge::Open(int n) {
    // The event thread only posts; reading and scanning run on this thread.
    auto notify = [this] {
        QMetaObject::invokeMethod(this, &DeviceBridge::ReadArrived, Qt::QueuedConnection);
    };
    lastError_ = serial_.Open(notify, n, Options());
    hangUpReported_ = false;
    return lastError_ == SerialError::kNone;
}

void DeviceBridge::ReadArrived() {
    // Device replies are commands too: memory that runs out in one ends it.
    RunCommand(frame_, [this] { Dispatch(); });
}

void DeviceBridge::Dispatch() {
    dc_->OnBytesArrived();
    if (serial_.hungUp() && !hangUpReported_) {
        hangUpReported_ = true;
        dc_->OnLineHungUp();
        return;
    }
    // A read inside a reply's dialog found the buffer full and left the rest
    // waiting without a new notification; now that the reply is done there is
    // room again, and this read re-arms the notification.
    if (serial_.starved() && dc_->receiveBuffer.FreeSpace() > 0) dc_->OnBytesArrived();
}

void DeviceBridge::Close() {
    serial_.Close();
}

bool DeviceBridge::IsOpen() const {
    return serial_.state() == SerialPort::kStateOpen;
}

void DeviceBridge::Write(std::span<const uint8_t> frame) {
    serial_.Write(frame);
}

// ---- TimerService --------------------------------------------------------------

void DeviceBridge::Start(int id, int periodMs) {
    QTimer*& t = timers_[id];
    if (!t) {
        t = new QTimer(this);
        connect(t, &QTimer::timeout, this,
                [this, id] { RunCommand(frame_, [this, id] { dc_->OnTimer(id); }); });
    }
    t->start(periodMs);
}

void DeviceBridge::Stop(int id) {
    if (QTimer* t = timers_.value(id)) t->stop();
}

// ---- DeviceTable -----------------------------------------------------------------

void DeviceBridge::SetShowAll(bool showAll) {
    SurveyTableModel& m = frame_->TableModel();
    if (showAll == m.showAll()) return;
    if (showAll) {
        m.ShowAll();
    } else {
        m.ShowSelected();
    }
}

void DeviceBridge::SetReverseOrder(bool reverseOrder) {
    SurveyTableModel& m = frame_->TableModel();
    if (reverseOrder != m.reverseOrder()) m.ReverseDisplay();
}

std::size_t DeviceBridge::MatchStations(int32_t workIntervalSeconds) {
    return MatchSyncMarks(frame_->Edits(), workIntervalSeconds);
}

void DeviceBridge::RefreshTable() {
    frame_->TableModel().RefreshTable();
}

}  // namespace orb
