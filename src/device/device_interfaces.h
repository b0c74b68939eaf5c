// The outside world of the device logic: the serial line, the timers, the
// operator (message boxes, dialogs, status bar) and the survey table. The
// window implements them with its widgets, orb-cli with the terminal, the
// tests with fakes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/survey_record.h"
#include "device/frame_scanner.h"

namespace orb {

// One serial port at a time, addressed by its number in the port list.
class LinkPort {
public:
    virtual ~LinkPort() = default;
    // Opens port n; false when it cannot be opened (nothing is open then).
    virtual bool Open(int n) = 0;
    // Safe when nothing is open.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // True once an open port's line has hung up (device unplugged).
    virtual bool HungUp() const = 0;
    // 0 when nothing is open.
    virtual int PortNumber() const = 0;
    // Writes one complete frame; errors are not reported.
    virtual void Write(std::span<const uint8_t> frame) = 0;
    // Appends min(64, bytes waiting, buffer's free space) bytes to `buffer`;
    // returns how many.
    virtual std::size_t Read(ReceiveBuffer& buffer) = 0;
};

// Timers by id and period; a started timer fires every period until stopped,
// and starting a running one restarts it. Expiry comes back through
// DeviceController::OnTimer(id).
class TimerService {
public:
    virtual ~TimerService() = default;
    virtual void Start(int id, int periodMs) = 0;
    virtual void Stop(int id) = 0;
};

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };
// kOkCancelSafe and kYesNoSafe: a destructive question whose default button
// is the safe one (Cancel, No).
enum class MessageButtons { kOk, kOkCancel, kYesNo, kOkCancelSafe, kYesNoSafe };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };
inline bool IsYesNo(MessageButtons b) {
    return b == MessageButtons::kYesNo || b == MessageButtons::kYesNoSafe;
}
inline bool IsOkCancel(MessageButtons b) {
    return b == MessageButtons::kOkCancel || b == MessageButtons::kOkCancelSafe;
}

// What the probe information dialog shows: the values and their field texts
// (UTF-8), already formatted.
struct ProbeInfoView {
    std::string probeNumber;    // 1015
    std::string probeModel;     // 1016 "TALO" / "TALOE"
    std::string probeCapacity;  // 1020 "8000" / "10081"
    std::string delayText;      // 1019 "%d分"
    std::string intervalText;   // 1017 "%d秒"
    std::string storedText;     // 1021 "%d"
    std::string batteryText;    // 1018 "%0.2f"
    std::string chargeText;     // 1022 "%0.0f%%"
    int chargePercent = 0;      // progress bar 1024, 0..100
    int storagePercent = 0;     // progress bar 1023, 0..100
};

// The eight real-time fields 1001..1008: inclination, azimuth, gravity tool
// face, magnetic tool face, total gravity, total magnetic field, dip,
// temperature.
using RealTimeTexts = std::array<std::string, 8>;

// Field ids of the clock dialog.
inline constexpr int kClockFieldNow = 1042;
inline constexpr int kClockFieldDevice = 1043;
// Beside 1043: which device the reading came from ("探管" / "同步器").
inline constexpr int kClockFieldDeviceName = 1048;

// The operator. Every Show* call is modal: it returns when the operator has
// closed the dialog, and replies keep arriving meanwhile (the window's
// nested event loop, orb-cli's own loop).
class DeviceOperator {
public:
    virtual ~DeviceOperator() = default;
    virtual MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    // The port dialog; on OK `portNumber` holds the typed number.
    virtual bool ShowPortDialog(int& portNumber) = 0;
    virtual void ShowInfoDialog(const ProbeInfoView& info) = 0;
    // A download or mark transfer is about to replace a modified survey: the
    // save question (save / don't save / cancel); false = cancelled.
    virtual bool AskSaveChanges() = 0;
    // On OK `delayMinutes` and `intervalSeconds` hold the accepted values
    // (1..999 and 1..59, checked by the dialog).
    virtual bool ShowWorkModeDialog(int32_t& delayMinutes, int32_t& intervalSeconds) = 0;
    virtual void ShowRealTimeDialog() = 0;
    virtual void UpdateRealTime(const RealTimeTexts& texts) = 0;
    virtual void ShowClockDialog() = 0;
    // Only called while the clock dialog is open.
    virtual void SetClockField(int field, std::string_view text) = 0;
    virtual void SetStatusText(std::string_view text) = 0;
    // 0..100.
    virtual void SetProgress(int position) = 0;
};

// The survey table's display modes and the station matching, as the device
// logic drives them; the rows follow the survey's change notices by
// themselves. The window and orb-cli adapt their SurveyTableModel to it.
class DeviceTable {
public:
    virtual ~DeviceTable() = default;
    virtual void SetShowAll(bool showAll) = 0;
    virtual void SetReverseOrder(bool reverseOrder) = 0;
    // Station matching with the given tolerance base (through the edit
    // operations, so the new check marks show). Returns the number of marks
    // that picked a record.
    virtual std::size_t MatchStations(int32_t workIntervalSeconds) = 0;
    // The rows again from the records and marks (an empty mark transfer
    // leaves the records' rows, not an empty table).
    virtual void RefreshTable() = 0;
};

}  // namespace orb
