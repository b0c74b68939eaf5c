// A small event loop for running the device logic without a window
// (orb-cli, benchmarks): the real serial port behind the LinkPort interface,
// timers kept as deadlines, and a poll() loop that turns the port's arrival
// notification and expired timers into calls of the DeviceController. The
// loop may be entered again from inside a handler (a "modal dialog").
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "device/device_controller.h"
#include "device/device_interfaces.h"
#include "device/port_list.h"
#include "device/serial_port.h"

namespace orb {

// SerialPort as a LinkPort. The arrival notification makes NotifyFd()
// readable; the loop drains it and calls OnBytesArrived.
class SerialLinkPort final : public LinkPort {
public:
    explicit SerialLinkPort(PortListOptions options);
    ~SerialLinkPort() override;
    SerialLinkPort(const SerialLinkPort&) = delete;
    SerialLinkPort& operator=(const SerialLinkPort&) = delete;

    bool Open(int n) override;
    void Close() override;
    bool IsOpen() const override { return port_.state() == SerialPort::kStateOpen; }
    bool HungUp() const override { return port_.hungUp(); }
    int PortNumber() const override { return port_.portNumber(); }
    void Write(std::span<const uint8_t> frame) override { port_.Write(frame); }
    std::size_t Read(ReceiveBuffer& buffer) override {
        const std::size_t n = port_.Read(buffer);
        bytesRead_ += n;
        return n;
    }
    // Bytes read since construction.
    uint64_t bytesRead() const { return bytesRead_; }

    int NotifyFd() const { return notifyFd_; }
    // Clears the notification; true when one was pending.
    bool TakeNotification();
    SerialError lastError() const { return lastError_; }
    const PortListOptions& options() const { return options_; }
    SerialPort& port() { return port_; }

private:
    PortListOptions options_;
    SerialPort port_;
    int notifyFd_ = -1;
    SerialError lastError_ = SerialError::kNone;
    uint64_t bytesRead_ = 0;
};

// Timers as deadlines on the steady clock.
class PollTimers final : public TimerService {
public:
    using Clock = std::chrono::steady_clock;

    void Start(int id, int periodMs) override;
    void Stop(int id) override { timers_.erase(id); }
    bool IsRunning(int id) const { return timers_.count(id) != 0; }
    std::optional<Clock::time_point> NextDeadline() const;
    // The ids due at `now`, each moved one period on.
    std::vector<int> TakeDue(Clock::time_point now);

private:
    struct Timer {
        std::chrono::milliseconds period;
        Clock::time_point due;
    };
    std::map<int, Timer> timers_;
};

class PollLoop {
public:
    enum class Result { kStopped, kHungUp };

    PollLoop(SerialLinkPort& port, PollTimers& timers) : port_(port), timers_(timers) {}
    void SetController(DeviceController* dc) { dc_ = dc; }

    // Reads arriving bytes and fires timers until `stop` returns true (asked
    // before every wait) or the line hangs up. Bytes still waiting at a
    // hang-up are read and dispatched first.
    Result RunUntil(const std::function<bool()>& stop);

private:
    void ReadRemaining();
    void ReadWaiting();

    SerialLinkPort& port_;
    PollTimers& timers_;
    DeviceController* dc_ = nullptr;
};

}  // namespace orb
