// What the simulated probe and synchronizer hold and how the line misbehaves,
// read from a JSON scenario file or built in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

#include "core/calibration.h"
#include "core/ole_date.h"

namespace devsim {

struct StoredSampleSpec {
    int16_t temperatureTenths = 200;
    std::array<int16_t, 6> raw{};  // gx gy gz mx my mz
    orb::DateTimeFields time;
    uint16_t batteryTenths = 76;
};

// What a stretch of samples shows, so that a finder of still periods can be
// judged against it.
enum class SegmentKind { kTravel, kStop, kRotation, kVibration, kDrift };
struct SampleSegment {
    SegmentKind kind = SegmentKind::kTravel;
    int first = 0;  // sample indexes, both included
    int last = 0;
};
const char* SegmentKindName(SegmentKind kind);  // "travel", "stop", ...

struct MarkSpec {
    int32_t sequence = 0;
    orb::DateTimeFields time;
};

// Chooses reply frames by kind ("sample", "calibration", ...; "*" for every
// kind) and by their 0-based number among the frames of that kind sent so
// far; no numbers means every frame of the kind.
struct FrameSelector {
    std::string kind;
    std::vector<int> numbers;
    bool Matches(const std::string& k, int number) const;
};

struct FaultSpec {
    uint64_t seed = 1;
    int garbageBytes = 0;                      // random bytes (never 0xFF) before chosen replies
    std::vector<FrameSelector> garbageBefore;  // empty: before every reply
    int splitMaxChunk = 0;                     // > 0: replies go out in random writes of 1..max bytes
    std::vector<FrameSelector> corruptChecksum;
    std::vector<FrameSelector> dropReply;
    int stopAfterSamples = -1;      // the sample stream ends after K samples
    int hangUpAfterSamples = -1;    // the line hangs up after K samples
    bool longHeaderFrames = false;  // a long-header status frame before every reply group
    // Each byte of a reply frame is corrupted (XOR with a random non-zero
    // value) with this probability; only frames of `corruptReplies` when given.
    double corruptRate = 0;
    std::vector<FrameSelector> corruptReplies;
    // >= 0: after a hang-up the port disappears (its link is removed) and a
    // new pseudo-terminal comes back under the same link after this pause.
    int reconnectAfterMs = -1;
    // Chosen replies go out again every `repeatEveryMs` for as long as the
    // simulator runs, after their first sending (whole, never split).
    std::vector<FrameSelector> repeatReply;
    int repeatEveryMs = 100;
};

struct Scenario {
    // Probe.
    std::string probeNumber = "TALOE20931";
    int16_t delayMinutes = 5;
    int16_t intervalSeconds = 10;
    uint16_t batteryTenths = 79;
    float toolFaceOffset = 0.0f;
    // What the clock shows when the simulator starts (civil seconds); none: host local time.
    std::optional<int64_t> probeClockAtStart;
    orb::ProbeCalibration calibration = orb::ProbeCalibration::Default();
    std::vector<StoredSampleSpec> samples;
    // What the sample count reply announces (any int32, negative included);
    // none: the number of samples.
    std::optional<int32_t> announcedSamples;
    std::vector<SampleSegment> segments;  // what the samples of a multishot run show
    bool realTimeAttitudeForm = false;    // real-time replies as a ready 80-byte block
    uint8_t probeAddress = 0x01;
    int probeClearDelayMs = 400;
    // Real-time samples: temperature and raw counts around which they jitter.
    int16_t realTimeTemperatureTenths = 200;
    std::array<int16_t, 6> realTimeRaw{0, 0, 4500, 2400, 0, 3800};

    // Synchronizer.
    std::optional<int64_t> syncClockAtStart;
    std::vector<MarkSpec> marks;  // mark frames in sending order
    int32_t announcedMarks = -1;  // -1: marks.size()
    int32_t keptMarks = -1;       // -1: marks.size()
    uint8_t syncAddress = 0x40;
    int syncClearDelayMs = 4000;

    FaultSpec faults;
};

// Reads a scenario; throws std::runtime_error naming the offending field.
// `hostNow` (civil seconds) places a synthetic survey that gives no start.
Scenario ScenarioFromJson(const nlohmann::json& j, int64_t hostNow);
// The file must be a regular file (a FIFO is never waited for) of at most
// kMaxScenarioBytes; the message then says why not.
inline constexpr std::size_t kMaxScenarioBytes = std::size_t{16} << 20;
Scenario LoadScenario(const std::string& path, int64_t hostNow);
// A deviated well of 60 stations with a generated calibration and a mark near
// each station, timed to end a few minutes before `hostNow` (civil seconds).
Scenario DefaultScenario(int64_t hostNow);

}  // namespace devsim
