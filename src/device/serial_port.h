// The serial line to the probe and the synchronizer on Linux: raw 9600 8N1,
// exclusive use, one event thread that only reports arriving characters.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <thread>

#include "device/frame_scanner.h"
#include "device/port_list.h"

namespace orb {

enum class SerialError {
    kNone,
    kAlreadyOpen,       // Open while a port is open
    kNoSuchDevice,      // no such port number or device node
    kPermissionDenied,  // the user may not open it (not in the dialout group)
    kBusy,              // another program holds it
    kNotATerminal,      // the path is no serial device
    kOther,
};

// Short English text for logs and command-line tools.
const char* SerialErrorText(SerialError e);

// errno of a failed open(2) as a SerialError.
SerialError SerialErrorFromErrno(int err);

class SerialPort {
public:
    static constexpr uint8_t kStateClosed = 0xFF;
    static constexpr uint8_t kStateOpen = 1;
    static constexpr uint8_t kStateStopping = 0;
    static constexpr std::size_t kMaxRead = 64;

    // Called on the event thread whenever characters have arrived and the
    // previous notification has been answered by a Read, and once when the
    // line hangs up (hungUp() is true then). It must only hand
    // the news to the thread that reads (post an event); never Read or Close
    // from it.
    using Notify = std::function<void()>;

    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens port number n (1-based) of the port list.
    SerialError Open(Notify notify, int n, const PortListOptions& options);
    // Opens the device at `path` and records `n` as the port number.
    SerialError OpenPath(Notify notify, const std::string& path, int n);
    // Stops and joins the event thread, restores the line settings found at
    // open, gives up exclusive use and closes the device. Returns whether a
    // device was closed without error; false when nothing was open.
    bool Close();

    uint8_t state() const { return state_.load(); }
    int portNumber() const { return portNumber_; }
    const std::string& path() const { return path_; }
    // True once the device reported a hang-up (unplugged); the port stays
    // open until Close.
    bool hungUp() const { return hungUp_.load(); }

    // Bytes waiting in the driver's input queue.
    std::size_t BytesWaiting() const;
    // Appends min(64, waiting, free space) bytes to `buffer` and returns the
    // number read. Also re-arms the arrival notification, except when the
    // buffer is full while characters wait (then starved() is true until a
    // Read with room).
    std::size_t Read(ReceiveBuffer& buffer);
    bool starved() const { return starved_; }
    // Writes the whole frame; returns when it is handed to the driver (false
    // on error or when the line does not take it within two seconds).
    bool Write(std::span<const uint8_t> frame);

    // Diagnostics: kernel id of the event thread (0 when none) and how many
    // times its wait has returned.
    pid_t eventThreadId() const { return threadId_.load(); }
    uint64_t wakeCount() const { return wakeCount_.load(); }

private:
    void EventLoop();
    void Rearm();
    void Release();

    int fd_ = -1;
    int stopFd_ = -1;
    int rearmFd_ = -1;
    termios saved_{};
    std::string path_;
    int portNumber_ = 0;
    Notify notify_;
    std::thread thread_;
    std::atomic<uint8_t> state_{kStateClosed};
    std::atomic<bool> hungUp_{false};
    bool starved_ = false;  // only the reader's thread touches it
    std::atomic<pid_t> threadId_{0};
    std::atomic<uint64_t> wakeCount_{0};
};

// The read path of the receive notification: reads what is waiting into
// `buffer` and, when something was read, runs `scanner` over it. Returns the
// number of bytes read.
std::size_t OnBytesArrived(SerialPort& port, ReceiveBuffer& buffer, FrameScanner& scanner);

}  // namespace orb
