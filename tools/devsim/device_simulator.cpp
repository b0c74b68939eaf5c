#include "devsim/device_simulator.h"

#include <algorithm>

#include "core/calibration.h"
#include "device/device_frame.h"
#include "devsim/civil_time.h"
#include "devsim/replies.h"

namespace devsim {
namespace {

using orb::DeviceFrame;

constexpr std::size_t kMaxPending = 1 << 16;
// No command carries more; a longer "payload" means we locked onto noise.
constexpr std::size_t kMaxPayload = 64;

bool IsCommandHeader(std::span<const uint8_t> b, std::size_t i) {
    if (b.size() - i < 8) return false;
    for (std::size_t k = 0; k < 6; ++k) {
        if (b[i + k] != 0xFF) return false;
    }
    return b[i + 6] == DeviceFrame::kAddress &&
           (b[i + 7] == DeviceFrame::kProbeGroup || b[i + 7] == DeviceFrame::kSyncGroup);
}

bool AnySelects(const std::vector<FrameSelector>& selectors, const std::string& kind, int number) {
    return std::any_of(selectors.begin(), selectors.end(),
                       [&](const FrameSelector& s) { return s.Matches(kind, number); });
}

// A clock-set payload as civil seconds; nothing when the fields are no date.
std::optional<int64_t> SetTime(int year, uint8_t mo, uint8_t d, uint8_t h, uint8_t mi, uint8_t s) {
    orb::DateTimeFields f{
        year, orb::FromBcd(mo), orb::FromBcd(d), orb::FromBcd(h), orb::FromBcd(mi), orb::FromBcd(s)};
    const orb::DateTimeFields back = CivilFields(CivilSeconds(f));
    if (f.month < 1 || f.month > 12 || back.day != f.day || f.hour > 23 || f.minute > 59 || f.second > 59) {
        return std::nullopt;
    }
    return CivilSeconds(f);
}

}  // namespace

DeviceSimulator::DeviceSimulator(Scenario scenario, HostClock clock)
    : s_(std::move(scenario)),
      clock_(clock ? std::move(clock) : HostClock(LocalCivilNow)),
      rng_(s_.faults.seed),
      corruptRng_(s_.faults.seed ^ 0x9E3779B97F4A7C15ULL) {
    const int64_t now = clock_();
    probeOffset_ = s_.probeClockAtStart ? *s_.probeClockAtStart - now : 0;
    syncOffset_ = s_.syncClockAtStart ? *s_.syncClockAtStart - now : 0;
}

std::vector<Output> DeviceSimulator::Receive(std::span<const uint8_t> bytes) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    std::vector<Output> out;
    const std::span<const uint8_t> b(pending_);
    std::size_t i = 0;         // scan position
    std::size_t consumed = 0;  // everything before this is handled
    while (true) {
        while (i < b.size() && !IsCommandHeader(b, i)) ++i;
        if (b.size() - i < 10) break;  // no header, or not yet its N byte
        const std::size_t n = b[i + 9];
        const std::size_t total = DeviceFrame::kCommandOverhead + n;
        if (n <= kMaxPayload && b.size() - i < total) break;  // wait for the rest
        const auto frame = b.subspan(i, std::min(total, b.size() - i));
        if (n > kMaxPayload || orb::XorChecksum(frame.subspan(6, 4 + n)) != frame.back()) {
            ++i;  // not a command: look for the next header
            continue;
        }
        if (onCommand) onCommand(frame);
        Handle(frame, out);
        i += total;
        consumed = i;
    }
    // Keep an unfinished command, or the tail that may start one.
    const std::size_t tail = i < b.size() ? i : b.size() - std::min<std::size_t>(b.size(), 7);
    pending_.erase(pending_.begin(),
                   pending_.begin() + static_cast<std::ptrdiff_t>(std::max(consumed, tail)));
    if (pending_.size() > kMaxPending) pending_.erase(pending_.begin(), pending_.end() - 7);
    return out;
}

void DeviceSimulator::Handle(std::span<const uint8_t> command, std::vector<Output>& out) {
    const uint8_t group = command[DeviceFrame::kGroupPos];
    const uint8_t code = command[DeviceFrame::kCodePos];
    const auto payload = command.subspan(DeviceFrame::kPayloadPos, command[DeviceFrame::kPayloadSizePos]);
    bool hangUp = false;
    int delayMs = 0;
    if (replay_) {
        Replies recorded;
        for (auto& frame : replay_->Answer(command)) recorded.push_back({"replay", std::move(frame)});
        Emit(recorded, delayMs, hangUp, out);
        return;
    }
    const Replies replies = group == DeviceFrame::kProbeGroup ? ProbeReplies(code, payload, hangUp, delayMs)
                                                              : SyncReplies(code, payload, delayMs);
    Emit(replies, delayMs, hangUp, out);
}

std::vector<uint8_t> DeviceSimulator::ProbeReply(uint8_t type, std::span<const uint8_t> data) const {
    return orb::BuildReplyFrame(type, data, s_.probeAddress);
}

std::vector<uint8_t> DeviceSimulator::SyncReply(uint8_t type, std::span<const uint8_t> data) const {
    return orb::BuildReplyFrame(type, data, s_.syncAddress);
}

DeviceSimulator::Replies DeviceSimulator::ProbeReplies(uint8_t code, std::span<const uint8_t> payload,
                                                       bool& hangUp, int& delayMs) {
    using orb::ProbeCommand;
    switch (static_cast<ProbeCommand>(code)) {
        case ProbeCommand::kCommTest:
            return {{"commTest", ProbeReply(0x00, AckData())}};
        case ProbeCommand::kClear:
            s_.samples.clear();
            delayMs = s_.probeClearDelayMs;
            return {{"clear", ProbeReply(0x02, AckData())}};
        case ProbeCommand::kSendStored:
            return SampleStream(hangUp);
        case ProbeCommand::kInformation:
            return {
                {"information",
                 ProbeReply(0x04, InformationData(s_.probeNumber, static_cast<int32_t>(s_.samples.size()),
                                                  s_.delayMinutes, s_.intervalSeconds, s_.batteryTenths))}};
        case ProbeCommand::kWorkMode:
            if (payload.size() >= 28) {  // delay at frame byte 26, interval at 32
                s_.delayMinutes = *orb::ReadLE<int16_t>(payload, 16);
                s_.intervalSeconds = *orb::ReadLE<int16_t>(payload, 22);
            }
            return {{"workMode", ProbeReply(0x05, AckData())}};
        case ProbeCommand::kToolFaceOffset:
            return {{"toolFaceOffset", ProbeReply(0x09, ToolFaceOffsetData(s_.toolFaceOffset))}};
        case ProbeCommand::kSetClock:
            if (payload.size() >= 9) {
                const auto t = SetTime(2000 + orb::FromBcd(payload[3]), payload[4], payload[5], payload[6],
                                       payload[7], payload[8]);
                if (t) probeOffset_ = *t - clock_();
            }
            return {{"clockSet", ProbeReply(0x0E, ProbeClockData(CivilFields(ProbeClockNow())))}};
        case ProbeCommand::kRealTimeSample: {
            std::array<int16_t, 6> raw = s_.realTimeRaw;
            for (auto& r : raw) r = static_cast<int16_t>(r + static_cast<int>(rng_() % 7) - 3);
            if (!s_.realTimeAttitudeForm) {
                return {{"realTime", ProbeReply(0x19, RealTimeRawData(s_.realTimeTemperatureTenths, raw))}};
            }
            orb::AttitudeSample a;
            a.v[orb::AttitudeSample::kTemperature] = static_cast<float>(s_.realTimeTemperatureTenths) / 10.0f;
            for (std::size_t k = 0; k < 6; ++k) a.v[orb::AttitudeSample::kRawGx + k] = raw[k];
            orb::ComputeAttitude(s_.calibration, a);
            return {{"realTime", ProbeReply(0x19, RealTimeAttitudeData(a))}};
        }
        case ProbeCommand::kReadClock:
            return {{"clockRead", ProbeReply(0x21, ProbeClockData(CivilFields(ProbeClockNow())))}};
        case ProbeCommand::kReadCalibration: {
            Replies r;
            for (uint16_t i = 0; i < 32; ++i) {
                r.push_back({"calibration", ProbeReply(0x31, CalibrationPacketData(s_.calibration, i))});
            }
            return r;
        }
    }
    return {};  // unknown commands go unanswered
}

DeviceSimulator::Replies DeviceSimulator::SampleStream(bool& hangUp) {
    const auto count = static_cast<int32_t>(s_.samples.size());
    Replies r{{"sampleCount", ProbeReply(0x03, SampleCountData(s_.announcedSamples.value_or(count)))}};
    const int hangAfter = s_.faults.hangUpAfterSamples;
    if (hangAfter == 0) hangUp = true;
    for (int32_t k = 0; k < count && !hangUp; ++k) {
        if (s_.faults.stopAfterSamples >= 0 && k >= s_.faults.stopAfterSamples) break;
        r.push_back({"sample", ProbeReply(0x03, SampleData(k, s_.samples[static_cast<std::size_t>(k)]))});
        if (hangAfter > 0 && k + 1 == hangAfter) hangUp = true;
    }
    // A line that comes back after the hang-up serves whole downloads.
    if (hangUp) s_.faults.hangUpAfterSamples = -1;
    return r;
}

DeviceSimulator::Replies DeviceSimulator::SyncReplies(uint8_t code, std::span<const uint8_t> payload,
                                                      int& delayMs) {
    using orb::SyncCommand;
    switch (static_cast<SyncCommand>(code)) {
        case SyncCommand::kCommTest:
            return {{"syncCommTest", SyncReply(0x00, AckData())}};
        case SyncCommand::kClear:
            s_.marks.clear();
            s_.announcedMarks = s_.keptMarks = -1;
            delayMs = s_.syncClearDelayMs;
            return {{"syncClear", SyncReply(0x02, AckData())}};
        case SyncCommand::kSendMarks: {
            const auto frames = static_cast<int32_t>(s_.marks.size());
            const int32_t announced = s_.announcedMarks >= 0 ? s_.announcedMarks : frames;
            const int32_t kept = s_.keptMarks >= 0 ? s_.keptMarks : frames;
            Replies r{{"markCount", SyncReply(0x13, MarkCountData(announced, kept))}};
            for (int32_t i = 0; i < frames; ++i) {
                r.push_back({"mark", SyncReply(0x13, MarkData(i, s_.marks[static_cast<std::size_t>(i)]))});
            }
            return r;
        }
        case SyncCommand::kSetClock:
            if (payload.size() >= 6) {
                const auto t = SetTime(2000 + orb::FromBcd(payload[0]), payload[1], payload[2], payload[3],
                                       payload[4], payload[5]);
                if (t) syncOffset_ = *t - clock_();
            }
            return {{"syncClockSet", SyncReply(0x0E, SyncClockData(CivilFields(SyncClockNow())))}};
        case SyncCommand::kReadClock:
            return {{"syncClockRead", SyncReply(0x21, SyncClockData(CivilFields(SyncClockNow())))}};
    }
    return {};
}

std::vector<uint8_t> DeviceSimulator::Garbage() {
    std::vector<uint8_t> g(static_cast<std::size_t>(s_.faults.garbageBytes));
    for (auto& b : g) b = static_cast<uint8_t>(rng_() % 0xFF);  // never 0xFF: no false headers
    return g;
}

// Corrupts each byte from `from` on with the fault's rate; returns how many.
int DeviceSimulator::Corrupt(std::vector<uint8_t>& bytes, std::size_t from) {
    int changed = 0;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        const double u = static_cast<double>(corruptRng_() >> 11) * 0x1.0p-53;
        if (u >= s_.faults.corruptRate) continue;
        bytes[i] ^= static_cast<uint8_t>(1 + corruptRng_() % 255);
        ++changed;
    }
    return changed;
}

void DeviceSimulator::Emit(const Replies& replies, int delayMs, bool hangUp, std::vector<Output>& out) {
    const FaultSpec& f = s_.faults;
    const std::size_t first = out.size();
    Replies all;
    if (f.longHeaderFrames && !replies.empty()) {
        const uint8_t status[2] = {0x00, static_cast<uint8_t>(replies.size())};
        all.push_back({"longHeader", orb::BuildLongHeaderFrame(0x01, status)});
    }
    all.insert(all.end(), replies.begin(), replies.end());
    for (const Reply& r : all) {
        const int number = sent_[r.kind]++;
        if (AnySelects(f.dropReply, r.kind, number)) continue;
        std::vector<uint8_t> bytes;
        if (f.garbageBytes > 0 && (f.garbageBefore.empty() || AnySelects(f.garbageBefore, r.kind, number))) {
            bytes = Garbage();
        }
        bytes.insert(bytes.end(), r.frame.begin(), r.frame.end());
        if (AnySelects(f.corruptChecksum, r.kind, number)) bytes.back() ^= 0x5A;
        if (f.corruptRate > 0 && (f.corruptReplies.empty() || AnySelects(f.corruptReplies, r.kind, number))) {
            const int changed = Corrupt(bytes, bytes.size() - r.frame.size());
            if (changed > 0 && onCorrupt) onCorrupt(r.kind, number, changed);
        }
        const bool repeat = AnySelects(f.repeatReply, r.kind, number);
        if (f.splitMaxChunk <= 0 || repeat) {
            out.push_back({std::move(bytes), 0, false});
            if (repeat) out.push_back({r.frame, f.repeatEveryMs, false, f.repeatEveryMs});
            continue;
        }
        for (std::size_t pos = 0; pos < bytes.size();) {
            const std::size_t n = std::min<std::size_t>(bytes.size() - pos,
                                                        1 + rng_() % static_cast<unsigned>(f.splitMaxChunk));
            out.push_back({std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                                                bytes.begin() + static_cast<std::ptrdiff_t>(pos + n)),
                           1, false});  // a pause so the pieces arrive as separate reads
            pos += n;
        }
    }
    if (hangUp && out.size() == first) out.push_back({{}, 0, false});
    if (out.size() > first) {
        out[first].delayMs = delayMs;
        out.back().hangUp = hangUp;
    }
}

}  // namespace devsim
