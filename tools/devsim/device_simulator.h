// The simulated probe and synchronizer: command bytes in, reply writes out.
// No I/O and no clock of its own, so tests drive it directly; the line loop
// (sim_line.h) paces the writes onto a pseudo-terminal.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "devsim/replay_script.h"
#include "devsim/scenario.h"

namespace devsim {

// One write to the line.
struct Output {
    std::vector<uint8_t> bytes;
    int delayMs = 0;      // pause before this write (after the previous one went out)
    bool hangUp = false;  // hang the line up after this write
    // >= 0: once written, the same bytes go out again this many ms later,
    // for ever (a device that keeps repeating a reply).
    int repeatMs = -1;
};

class DeviceSimulator {
public:
    // Host local wall-clock time as civil seconds (see civil_time.h).
    using HostClock = std::function<int64_t()>;

    explicit DeviceSimulator(Scenario scenario, HostClock clock);

    // Feeds bytes that arrived from the program; returns the writes that
    // answer every complete command among them, in order. Partial commands
    // wait for the rest; a command with a wrong checksum is not answered.
    std::vector<Output> Receive(std::span<const uint8_t> bytes);

    // Called with every complete command frame received with a correct checksum.
    std::function<void(std::span<const uint8_t>)> onCommand;
    // Called for every reply frame that random corruption changed: its kind,
    // its number among the frames of that kind and how many bytes changed.
    std::function<void(const std::string& kind, int number, int bytes)> onCorrupt;

    // Plays a recorded session back instead of the scenario's devices
    // (the script must outlive the simulator); the faults still apply.
    void SetReplay(ReplayScript* script) { replay_ = script; }

    const Scenario& scenario() const { return s_; }
    int64_t ProbeClockNow() const { return clock_() + probeOffset_; }
    int64_t SyncClockNow() const { return clock_() + syncOffset_; }

private:
    struct Reply {
        std::string kind;  // name used by the fault selectors
        std::vector<uint8_t> frame;
    };
    using Replies = std::vector<Reply>;

    void Handle(std::span<const uint8_t> command, std::vector<Output>& out);
    Replies ProbeReplies(uint8_t code, std::span<const uint8_t> payload, bool& hangUp, int& delayMs);
    Replies SyncReplies(uint8_t code, std::span<const uint8_t> payload, int& delayMs);
    Replies SampleStream(bool& hangUp);
    std::vector<uint8_t> ProbeReply(uint8_t type, std::span<const uint8_t> data) const;
    std::vector<uint8_t> SyncReply(uint8_t type, std::span<const uint8_t> data) const;
    void Emit(const Replies& replies, int delayMs, bool hangUp, std::vector<Output>& out);
    std::vector<uint8_t> Garbage();
    int Corrupt(std::vector<uint8_t>& bytes, std::size_t from);

    Scenario s_;
    HostClock clock_;
    std::vector<uint8_t> pending_;
    std::map<std::string, int> sent_;  // frames of each kind sent so far
    std::mt19937_64 rng_;
    std::mt19937_64 corruptRng_;  // its own stream: the other faults stay as they were
    int64_t probeOffset_ = 0;     // device clock minus host clock, seconds
    int64_t syncOffset_ = 0;
    ReplayScript* replay_ = nullptr;
};

}  // namespace devsim
