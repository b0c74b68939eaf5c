// The window side of the device logic: the serial port whose arrival
// notification becomes a queued call on the user-interface thread, QTimers by
// id, the operator as real message boxes and dialogs, and the survey table of
// the main frame's display modes. The device logic changes the survey through
// the frame's edit operations. A child of the main frame, found with findChild.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "app/ui_language.h"
#include "device/device_controller.h"
#include "device/device_interfaces.h"
#include "device/port_list.h"
#include "device/serial_port.h"

class QTimer;

namespace orb {

class CMainFrame;
class CRealDisDlg;
class CRtcProbeDlg;

// Added after "串口打开失败" when the device exists but the user may not open it.
inline constexpr const char* kPermissionHint =
    QT_TRANSLATE_NOOP("Orb",
                      "没有打开该串口的权限。请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），"
                      "然后重新登录。");

class DeviceBridge final : public QObject,
                           public LinkPort,
                           public TimerService,
                           public DeviceOperator,
                           public DeviceTable {
    Q_OBJECT
public:
    explicit DeviceBridge(CMainFrame* frame);
    ~DeviceBridge() override;

    // The program's port list. Until it is set the window starts without a
    // port search (window tests that never touch a device).
    static void Configure(const PortListOptions& options);
    static bool Configured();
    static const PortListOptions& Options();

    DeviceController& controller() { return *dc_; }
    // Start-up: the port search of ports 1..29 (when configured).
    void StartupSearch();
    SerialError lastOpenError() const { return lastError_; }
    const SerialPort& serialPort() const { return serial_; }

    // Test hook: when set, message boxes are not shown; the hook gets the
    // text and caption and gives the answer.
    std::function<MessageAnswer(const QString& text, const QString& caption)> messageHook;
    // Every message text shown (or given to the hook), in order.
    QStringList messages;

    // LinkPort.
    bool Open(int n) override;
    void Close() override;
    bool IsOpen() const override;
    bool HungUp() const override { return serial_.hungUp(); }
    int PortNumber() const override { return serial_.portNumber(); }
    void Write(std::span<const uint8_t> frame) override;
    std::size_t Read(ReceiveBuffer& buffer) override { return serial_.Read(buffer); }

    // TimerService.
    void Start(int id, int periodMs) override;
    void Stop(int id) override;

    // DeviceOperator (device_bridge_operator.cpp).
    MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons buttons) override;
    bool ShowPortDialog(int& portNumber) override;
    bool AskSaveChanges() override;
    void ShowInfoDialog(const ProbeInfoView& info) override;
    bool ShowWorkModeDialog(int32_t& delayMinutes, int32_t& intervalSeconds) override;
    void ShowRealTimeDialog() override;
    void UpdateRealTime(const RealTimeTexts& texts) override;
    void ShowClockDialog() override;
    void SetClockField(int field, std::string_view text) override;
    void SetStatusText(std::string_view text) override;
    void SetProgress(int position) override;

    // DeviceTable.
    void SetShowAll(bool showAll) override;
    void SetReverseOrder(bool reverseOrder) override;
    std::size_t MatchStations(int32_t workIntervalSeconds) override;
    void RefreshTable() override;

private:
    // The queued receive notification; Dispatch reads and handles the replies.
    void ReadArrived();
    void Dispatch();

    CMainFrame* frame_;
    SerialPort serial_;
    SerialError lastError_ = SerialError::kNone;
    bool hangUpReported_ = false;
    QHash<int, QTimer*> timers_;
    QPointer<CRealDisDlg> realDlg_;
    QPointer<CRtcProbeDlg> clockDlg_;
    std::unique_ptr<DeviceController> dc_;
};

// The bridge of a main frame (created with the frame).
DeviceBridge* FrameDevice(const CMainFrame* frame);

}  // namespace orb
