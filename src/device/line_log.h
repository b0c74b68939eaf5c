// The communication log: every frame sent to a device and every reply frame
// accepted from one, one line each, with the wall-clock time and the
// direction. Field engineers attach it to a problem report, and
// `orb-devsim --replay LOG` plays its replies back as the devices' answers.
//
// Format (UTF-8 text, LF line ends):
//   # orb line log 1
//   2025-06-07 10:15:30.123456 TX FF FF FF FF FF FF 01 46 04 00 43
//   2025-06-07 10:15:30.140211 RX FF FF FF FF FF C6 01 04 ...
// Lines starting with '#' are comments. TX = program to device, RX = a reply
// frame the scanner accepted. Bytes are two uppercase hex digits separated by
// single spaces. The time is local time with microseconds. Each line is one
// write of the shared frame recorder, so a crash never costs the last lines.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "device/frame_recorder.h"

namespace orb {

class LineLog {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    LineLog();
    ~LineLog();
    LineLog(const LineLog&) = delete;
    LineLog& operator=(const LineLog&) = delete;

    // Starts a new log at `path` (replacing the file). False when it cannot
    // be created; the log is then off.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return recorder_.IsOpen(); }

    void Sent(std::span<const uint8_t> frame) { Write("TX", frame); }
    void Received(std::span<const uint8_t> frame) { Write("RX", frame); }

    // Tests fix the time.
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    // One log line without its line end.
    static std::string FormatLine(std::chrono::system_clock::time_point t, const char* direction,
                                  std::span<const uint8_t> frame);

private:
    void Write(const char* direction, std::span<const uint8_t> frame);

    FrameRecorder recorder_;
    Clock clock_;
};

}  // namespace orb
