// The event script that drives fuzz_frame_dispatch, shared with the seed
// generator so that recorded sessions replay exactly. Each event is an opcode
// byte (its low three bits) followed by its arguments:
//   0 command:      index into kCommands (ignored while a modal dialog is open)
//   1 timer:        index into kTimers
//   2 raw bytes:    n - 1, then n bytes for the line
//   3 reply frame:  type, LEN, LEN data bytes; opcode bits 3.. pick the address
//   4 clock button: index into kClockButtons (only while the clock dialog is open)
//   5 port event:   e (e % 4: hang-up, port gone, port back as 1 + (e >> 2) % 3, port dialog)
//   6 close:        closes the innermost modal dialog
//   7 long frame:   byte 13, LEN, LEN data bytes of a FF x11 E1 00 frame
// Bit 7 of the opcodes 2, 3 and 7 makes the bytes arrive slowly: one
// notification is handled, the rest waits on the line.
// Modal dialogs read their answers in line: the work-mode dialog three bytes
// (delay, interval, OK when odd), the port dialog two (number % 32, OK when odd).
#pragma once

#include <array>

#include "device/device_controller.h"

namespace orb::fuzz {

enum Op : uint8_t {
    kOpCommand = 0,
    kOpTimer = 1,
    kOpRaw = 2,
    kOpFrame = 3,
    kOpClockButton = 4,
    kOpPort = 5,
    kOpClose = 6,
    kOpLongFrame = 7,
    kOpSlow = 0x80,
};

inline constexpr std::array<int, 11> kCommands = {
    device_cmd::kProbeTest,     device_cmd::kProbeInfo,     device_cmd::kProbeRealTime,
    device_cmd::kProbeDownload, device_cmd::kProbeWorkMode, device_cmd::kPortSelect,
    device_cmd::kProbeClock,    device_cmd::kSyncTest,      device_cmd::kSyncDownload,
    device_cmd::kSyncClear,     device_cmd::kSyncClock};

inline constexpr std::array<int, 6> kTimers = {timer_id::kReply,          timer_id::kRealTime,
                                               timer_id::kClearAnimation, timer_id::kClockNow,
                                               timer_id::kClockReadProbe, timer_id::kClockReadSync};

inline constexpr std::array<int, 4> kClockButtons = {clock_button::kReadProbe, clock_button::kSetProbe,
                                                     clock_button::kReadSync, clock_button::kSetSync};

template <std::size_t N>
uint8_t IndexOf(const std::array<int, N>& a, int id) {
    for (std::size_t i = 0; i < N; ++i) {
        if (a[i] == id) return static_cast<uint8_t>(i);
    }
    return 0;
}

}  // namespace orb::fuzz
