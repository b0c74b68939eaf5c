#include "device/device_frame.h"

#include <algorithm>
#include <cstring>

namespace orb {
namespace {

constexpr uint8_t kCommandPreamble[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

uint8_t BcdByte(int n) {
    return static_cast<uint8_t>(ToBcd(n) & 0xFF);
}

std::vector<uint8_t> ProbeCommand0(ProbeCommand code) {
    return BuildCommandFrame(DeviceFrame::kProbeGroup, static_cast<uint8_t>(code));
}

std::vector<uint8_t> SyncCommand0(SyncCommand code) {
    return BuildCommandFrame(DeviceFrame::kSyncGroup, static_cast<uint8_t>(code));
}

bool HasType(std::span<const uint8_t> frame, ReplyType type) {
    const auto t = ReplyTypeOf(frame);
    return t && *t == static_cast<uint8_t>(type);
}

// Seven consecutive clock bytes in the devices' stored order:
// second, minute, hour, day, day of week (unused), month, year.
BcdClock ClockFromSecondFirst(std::span<const uint8_t> frame, std::size_t pos) {
    BcdClock c;
    c.second = frame[pos];
    c.minute = frame[pos + 1];
    c.hour = frame[pos + 2];
    c.day = frame[pos + 3];
    c.month = frame[pos + 5];
    c.year = frame[pos + 6];
    return c;
}

}  // namespace

uint8_t XorChecksum(std::span<const uint8_t> bytes) {
    uint8_t x = 0;
    for (uint8_t b : bytes) x ^= b;
    return x;
}

std::vector<uint8_t> HexTemplateToBytes(std::string_view text) {
    std::vector<uint8_t> out;
    out.reserve(text.size() / 3 + 1);
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= text.size()) break;  // a lone last character is dropped
        const int hi = HexDigit(text[i]);
        const int lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) break;  // not a template: keep what was converted
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
        i += 2;
    }
    return out;
}

uint32_t ToBcd(int n) {
    uint32_t result = 0;
    int shift = 0;
    while (n > 0 && shift < 32) {
        result |= static_cast<uint32_t>(n % 10) << shift;
        n /= 10;
        shift += 4;
    }
    return result;
}

int FromBcd(uint8_t b) {
    return (b >> 4) * 10 + (b & 0x0F);
}

std::string BytesToHex(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) s.push_back(' ');
        s.push_back(kDigits[bytes[i] >> 4]);
        s.push_back(kDigits[bytes[i] & 0x0F]);
    }
    return s;
}

std::vector<uint8_t> BuildCommandFrame(uint8_t group, uint8_t code, std::span<const uint8_t> payload) {
    const std::size_t n = std::min<std::size_t>(payload.size(), 255);
    std::vector<uint8_t> f(std::begin(kCommandPreamble), std::end(kCommandPreamble));
    f.reserve(DeviceFrame::kCommandOverhead + n);
    f.push_back(DeviceFrame::kAddress);
    f.push_back(group);
    f.push_back(code);
    f.push_back(static_cast<uint8_t>(n));
    f.insert(f.end(), payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(n));
    f.push_back(XorChecksum(std::span<const uint8_t>(f).subspan(6)));
    return f;
}

std::vector<uint8_t> ProbeCommTestFrame() {
    return ProbeCommand0(ProbeCommand::kCommTest);
}
std::vector<uint8_t> ProbeClearFrame() {
    return ProbeCommand0(ProbeCommand::kClear);
}
std::vector<uint8_t> ProbeSendStoredFrame() {
    return ProbeCommand0(ProbeCommand::kSendStored);
}
std::vector<uint8_t> ProbeInformationFrame() {
    return ProbeCommand0(ProbeCommand::kInformation);
}
std::vector<uint8_t> ProbeToolFaceOffsetFrame() {
    return HexTemplateToBytes(kProbeToolFaceOffsetTemplate);
}
std::vector<uint8_t> ProbeRealTimeSampleFrame() {
    return ProbeCommand0(ProbeCommand::kRealTimeSample);
}
std::vector<uint8_t> ProbeReadClockFrame() {
    return ProbeCommand0(ProbeCommand::kReadClock);
}
std::vector<uint8_t> ProbeReadCalibrationFrame() {
    return ProbeCommand0(ProbeCommand::kReadCalibration);
}

std::vector<uint8_t> ProbeWorkModeFrame(int32_t delayMinutes, int32_t intervalSeconds) {
    std::array<uint8_t, 32> p{};  // payload = frame bytes 10..41
    const auto delay = static_cast<uint16_t>(delayMinutes & 0xFFFF);
    const auto interval = static_cast<uint16_t>(intervalSeconds & 0xFFFF);
    for (std::size_t i = 0; i < 3; ++i) {
        StoreLE<uint16_t>(p, 0 + 2 * i, 9290);
        StoreLE<uint16_t>(p, 6 + 2 * i, 650);
        StoreLE<uint16_t>(p, 16 + 2 * i, delay);
        StoreLE<uint16_t>(p, 22 + 2 * i, interval);
    }
    std::fill(p.begin() + 12, p.begin() + 16, uint8_t{0xFF});
    StoreLE<uint16_t>(p, 28, 2008);
    p[30] = 0x00;
    p[31] = 0x81;
    return BuildCommandFrame(DeviceFrame::kProbeGroup, static_cast<uint8_t>(ProbeCommand::kWorkMode), p);
}

std::vector<uint8_t> ProbeSetClockFrame(const DateTimeFields& t) {
    std::array<uint8_t, 9> p{};
    p[0] = 0x06;
    StoreLE<uint16_t>(p, 1, static_cast<uint16_t>(t.year));
    p[3] = BcdByte(t.year - 2000);
    p[4] = BcdByte(t.month);
    p[5] = BcdByte(t.day);
    p[6] = BcdByte(t.hour);
    p[7] = BcdByte(t.minute);
    p[8] = BcdByte(t.second);
    return BuildCommandFrame(DeviceFrame::kProbeGroup, static_cast<uint8_t>(ProbeCommand::kSetClock), p);
}

std::vector<uint8_t> SyncCommTestFrame() {
    return HexTemplateToBytes(kSyncCommTestTemplate);
}
std::vector<uint8_t> SyncClearFrame() {
    return HexTemplateToBytes(kSyncClearTemplate);
}
std::vector<uint8_t> SyncSendMarksFrame() {
    return HexTemplateToBytes(kSyncReadMarksTemplate);
}
std::vector<uint8_t> SyncReadClockFrame() {
    return SyncCommand0(SyncCommand::kReadClock);
}

std::vector<uint8_t> SyncSetClockFrame(const DateTimeFields& t) {
    const std::array<uint8_t, 6> p = {BcdByte(t.year), BcdByte(t.month),  BcdByte(t.day),
                                      BcdByte(t.hour), BcdByte(t.minute), BcdByte(t.second)};
    return BuildCommandFrame(DeviceFrame::kSyncGroup, static_cast<uint8_t>(SyncCommand::kSetClock), p);
}

std::vector<uint8_t> BuildReplyFrame(uint8_t type, std::span<const uint8_t> data, uint8_t address) {
    const std::size_t n = std::min<std::size_t>(data.size(), 255);
    std::vector<uint8_t> f = {
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, DeviceFrame::kReplyMarker, address, type, static_cast<uint8_t>(n)};
    f.reserve(DeviceFrame::kReplyOverhead + n);
    f.insert(f.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
    f.push_back(XorChecksum(std::span<const uint8_t>(f).subspan(5)));
    return f;
}

std::vector<uint8_t> BuildLongHeaderFrame(uint8_t byte13, std::span<const uint8_t> data) {
    const std::size_t n = std::min<std::size_t>(data.size(), 255);
    std::vector<uint8_t> f(11, 0xFF);
    f.reserve(DeviceFrame::kLongHeaderOverhead + n);
    f.push_back(0xE1);
    f.push_back(0x00);
    f.push_back(byte13);
    f.push_back(static_cast<uint8_t>(n));
    f.insert(f.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
    f.push_back(XorChecksum(std::span<const uint8_t>(f).subspan(11)));
    return f;
}

std::optional<uint8_t> ReplyTypeOf(std::span<const uint8_t> frame) {
    return ReadLE<uint8_t>(frame, DeviceFrame::kTypePos);
}

std::size_t ReplyDataCount(std::span<const uint8_t> frame) {
    return frame.size() > DeviceFrame::kReplyOverhead ? frame.size() - DeviceFrame::kReplyOverhead : 0;
}

DateTimeFields DecodeBcdClock(const BcdClock& c) {
    DateTimeFields f;
    f.year = 2000 + FromBcd(c.year);
    f.month = FromBcd(c.month);
    f.day = FromBcd(c.day);
    f.hour = FromBcd(c.hour);
    f.minute = FromBcd(c.minute);
    f.second = FromBcd(c.second);
    return f;
}

std::optional<ProbeInformation> ReadProbeInformation(std::span<const uint8_t> frame) {
    if (!HasType(frame, ReplyType::kInformation) || ReplyDataCount(frame) < 31) return std::nullopt;
    ProbeInformation info;
    for (std::size_t i = 10; i < 20 && frame[i] != 0; ++i)
        info.probeNumber.push_back(static_cast<char>(frame[i]));
    info.storedCount = *ReadLE<int32_t>(frame, 20);
    info.delayMinutes = *ReadLE<int16_t>(frame, 26);
    info.intervalSeconds = *ReadLE<int16_t>(frame, 32);
    info.batteryTenths = *ReadLE<uint16_t>(frame, 38);
    return info;
}

std::optional<CalibrationPacket> ReadCalibrationPacket(std::span<const uint8_t> frame) {
    if (!HasType(frame, ReplyType::kCalibration) || ReplyDataCount(frame) < 34) return std::nullopt;
    CalibrationPacket p;
    p.index = *ReadLE<uint16_t>(frame, 9);
    std::copy_n(frame.begin() + 11, 32, p.data.begin());
    return p;
}

std::optional<float> ReadToolFaceOffset(std::span<const uint8_t> frame) {
    if (!HasType(frame, ReplyType::kToolFaceOffset) || ReplyDataCount(frame) < 4) return std::nullopt;
    return ReadLE<float>(frame, 9);
}

std::optional<int32_t> ReadSampleCount(std::span<const uint8_t> frame) {
    if (!HasType(frame, ReplyType::kStoredSamples) || frame.size() != 14) return std::nullopt;
    return ReadLE<int32_t>(frame, 9);
}

std::optional<StoredSample> ReadStoredSample(std::span<const uint8_t> frame) {
    if (!HasType(frame, ReplyType::kStoredSamples) || frame.size() == 14 || frame.size() < 38) {
        return std::nullopt;
    }
    StoredSample s;
    s.index = *ReadLE<int32_t>(frame, 9);
    s.temperatureTenths = *ReadLE<int16_t>(frame, 13);
    for (std::size_t k = 0; k < 6; ++k) s.raw[k] = *ReadLE<int16_t>(frame, 15 + 2 * k);
    s.time = ClockFromSecondFirst(frame, 27);
    s.batteryTenths = *ReadLE<uint16_t>(frame, 35);
    return s;
}

std::optional<RealTimeSample> ReadRealTimeSample(std::span<const uint8_t> frame) {
    if (!HasType(frame, ReplyType::kRealTimeSample)) return std::nullopt;
    RealTimeSample s;
    if (frame.size() == 34) {
        s.temperatureTenths = *ReadLE<int16_t>(frame, 9);
        for (std::size_t k = 0; k < 6; ++k) s.raw[k] = *ReadLE<int16_t>(frame, 11 + 2 * k);
        return s;
    }
    if (ReplyDataCount(frame) < sizeof(AttitudeSample)) return std::nullopt;
    s.ready = true;
    for (std::size_t k = 0; k < s.attitude.v.size(); ++k) s.attitude.v[k] = *ReadLE<float>(frame, 9 + 4 * k);
    return s;
}

std::optional<BcdClock> ReadClockReply(std::span<const uint8_t> frame) {
    if (!HasType(frame, ReplyType::kClockSet) && !HasType(frame, ReplyType::kClockRead)) return std::nullopt;
    std::size_t pos = 13;
    if (frame.size() == 16) {
        pos = 9;
    } else if (ReplyDataCount(frame) < 10) {
        return std::nullopt;
    }
    BcdClock c;
    c.year = frame[pos];
    c.month = frame[pos + 1];
    c.day = frame[pos + 2];
    c.hour = frame[pos + 3];
    c.minute = frame[pos + 4];
    c.second = frame[pos + 5];
    return c;
}

std::optional<MarkCount> ReadMarkCount(std::span<const uint8_t> frame) {
    if (!HasType(frame, ReplyType::kMarks) || frame.size() != 18) return std::nullopt;
    return MarkCount{*ReadLE<int32_t>(frame, 9), *ReadLE<int32_t>(frame, 13)};
}

std::optional<SyncMark> ReadSyncMark(std::span<const uint8_t> frame) {
    if (!HasType(frame, ReplyType::kMarks) || frame.size() != 53) return std::nullopt;
    SyncMark m;
    m.frameIndex = *ReadLE<int32_t>(frame, 9);
    m.sequence = *ReadLE<int32_t>(frame, 17);
    m.time = ClockFromSecondFirst(frame, 25);
    return m;
}

}  // namespace orb
