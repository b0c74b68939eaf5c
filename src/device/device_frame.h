// Frames of the probe / synchronizer serial protocol: layouts, the XOR
// checksum, hexadecimal command templates, packed BCD, a builder for every
// command and a bounds-checked reader for every reply. Pure byte work, no I/O.
//
// Command frame (program to device), 11 + N bytes:
//   FF FF FF FF FF FF | 01 | group | code | N | payload[N] | XOR(bytes 6 .. 9+N)
// Reply frame (device to program), 10 + LEN bytes:
//   FF FF FF FF FF | C6 | address (01, 40, 41) | type | LEN | data[LEN] | XOR(bytes 5 .. 8+LEN)
// Long-header reply, 16 + LEN bytes (consumed, never acted on):
//   FF x11 | E1 | 00 | byte 13 | LEN | data[LEN] | XOR(bytes 11 .. 14+LEN)
// All data positions below are frame byte positions; numbers are little-endian.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/calibration.h"
#include "core/ole_date.h"

namespace orb {

struct DeviceFrame {
    static constexpr uint8_t kAddress = 0x01;
    static constexpr uint8_t kProbeGroup = 0x46;
    static constexpr uint8_t kSyncGroup = 0x47;
    static constexpr std::size_t kCommandOverhead = 11;  // frame length = 11 + N
    static constexpr std::size_t kGroupPos = 7;
    static constexpr std::size_t kCodePos = 8;
    static constexpr std::size_t kPayloadSizePos = 9;
    static constexpr std::size_t kPayloadPos = 10;

    static constexpr uint8_t kReplyMarker = 0xC6;
    static constexpr std::size_t kReplyOverhead = 10;  // frame length = 10 + LEN
    static constexpr std::size_t kAddressPos = 6;
    static constexpr std::size_t kTypePos = 7;
    static constexpr std::size_t kLenPos = 8;
    static constexpr std::size_t kDataPos = 9;

    static constexpr std::size_t kLongHeaderSize = 13;      // FF x11, E1, 00
    static constexpr std::size_t kLongHeaderOverhead = 16;  // frame length = 16 + LEN
    static constexpr std::size_t kLongLenPos = 14;
};

// Command codes of the probe (group 0x46).
enum class ProbeCommand : uint8_t {
    kCommTest = 0x00,
    kClear = 0x02,
    kSendStored = 0x03,
    kInformation = 0x04,
    kWorkMode = 0x05,
    kToolFaceOffset = 0x09,
    kSetClock = 0x0E,
    kRealTimeSample = 0x19,
    kReadClock = 0x21,
    kReadCalibration = 0x31,
};

// Command codes of the synchronizer (group 0x47).
enum class SyncCommand : uint8_t {
    kCommTest = 0x00,
    kClear = 0x02,
    kSendMarks = 0x03,
    kSetClock = 0x0E,
    kReadClock = 0x21,
};

// Reply types (frame byte 7), shared by both devices.
enum class ReplyType : uint8_t {
    kCommTest = 0x00,
    kClear = 0x02,
    kStoredSamples = 0x03,  // count (length 14), then one per sample
    kInformation = 0x04,
    kWorkMode = 0x05,
    kToolFaceOffset = 0x09,
    kClockSet = 0x0E,
    kMarks = 0x13,  // count (length 18), then one per mark (length 53)
    kRealTimeSample = 0x19,
    kClockRead = 0x21,
    kCalibration = 0x31,
};

// The commands the program sends as text, converted with HexTemplateToBytes.
inline constexpr std::string_view kSyncCommTestTemplate = "FF FF FF FF FF FF 01 47 00 00 46";
inline constexpr std::string_view kSyncReadMarksTemplate = "FF FF FF FF FF FF 01 47 03 00 45";
inline constexpr std::string_view kSyncClearTemplate = "FF FF FF FF FF FF 01 47 02 00 44";
inline constexpr std::string_view kProbeToolFaceOffsetTemplate = " FF FF FF FF FF FF 01 46 09 00 4E";

// ---- Basic conversions ----------------------------------------------------

// b[0] ^ b[1] ^ ... ^ b[n-1]; 0 for no bytes.
uint8_t XorChecksum(std::span<const uint8_t> bytes);

// Reads two-digit hexadecimal tokens, skipping spaces; a lone last character
// is dropped. A pair containing a character that is no hexadecimal digit ends
// the conversion there (the bytes produced so far are kept).
std::vector<uint8_t> HexTemplateToBytes(std::string_view text);

// Packed BCD of a non-negative integer: sum of digit_i * 16^i (59 -> 0x59,
// 2025 -> 0x2025). Negative input gives 0.
uint32_t ToBcd(int n);

// (b >> 4) * 10 + (b & 0x0F), without validation (0xA5 gives 105).
int FromBcd(uint8_t b);

// Uppercase hex, bytes separated by single spaces ("FF 01 4E").
std::string BytesToHex(std::span<const uint8_t> bytes);

// ---- Little-endian access at frame byte positions --------------------------

// The value whose bytes start at `pos`, or nothing when any of them lies
// outside `frame`.
template <class T>
std::optional<T> ReadLE(std::span<const uint8_t> frame, std::size_t pos) {
    static_assert(std::is_arithmetic_v<T>);
    if (pos > frame.size() || frame.size() - pos < sizeof(T)) return std::nullopt;
    using U = std::conditional_t<
        sizeof(T) == 1, uint8_t,
        std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;
    U bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) bits = static_cast<U>((bits << 8) | frame[pos + i]);
    return std::bit_cast<T>(bits);
}

// Stores `value` little-endian at `pos`; false (nothing written) when it
// does not fit.
template <class T>
bool StoreLE(std::span<uint8_t> out, std::size_t pos, T value) {
    static_assert(std::is_arithmetic_v<T>);
    if (pos > out.size() || out.size() - pos < sizeof(T)) return false;
    using U = std::conditional_t<
        sizeof(T) == 1, uint8_t,
        std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;
    U bits = std::bit_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out[pos + i] = static_cast<uint8_t>(bits & 0xFF);
        bits = static_cast<U>(bits >> 8);
    }
    return true;
}

// ---- Command builders -----------------------------------------------------

// FF x6, 01, group, code, N, payload, checksum over bytes 6 .. 9+N.
// The payload is cut to 255 bytes.
std::vector<uint8_t> BuildCommandFrame(uint8_t group, uint8_t code, std::span<const uint8_t> payload = {});

// Probe commands (group 0x46).
std::vector<uint8_t> ProbeCommTestFrame();         // 0x00
std::vector<uint8_t> ProbeClearFrame();            // 0x02
std::vector<uint8_t> ProbeSendStoredFrame();       // 0x03
std::vector<uint8_t> ProbeInformationFrame();      // 0x04
std::vector<uint8_t> ProbeToolFaceOffsetFrame();   // 0x09, from its text template
std::vector<uint8_t> ProbeRealTimeSampleFrame();   // 0x19
std::vector<uint8_t> ProbeReadClockFrame();        // 0x21
std::vector<uint8_t> ProbeReadCalibrationFrame();  // 0x31
// 0x05, 43 bytes: 9290 x3, 650 x3, FF FF FF FF, delay x3, interval x3, 2008,
// 00, 81 (the low 16 bits of delay and interval are sent).
std::vector<uint8_t> ProbeWorkModeFrame(int32_t delayMinutes, int32_t intervalSeconds);
// 0x0E, 20 bytes: 06, year as uint16, BCD of year-2000, month, day, hour,
// minute, second.
std::vector<uint8_t> ProbeSetClockFrame(const DateTimeFields& t);

// Synchronizer commands (group 0x47).
std::vector<uint8_t> SyncCommTestFrame();   // 0x00, from its text template
std::vector<uint8_t> SyncClearFrame();      // 0x02, from its text template
std::vector<uint8_t> SyncSendMarksFrame();  // 0x03, from its text template
std::vector<uint8_t> SyncReadClockFrame();  // 0x21
// 0x0E, 17 bytes: BCD of year (last two digits), month, day, hour, minute, second.
std::vector<uint8_t> SyncSetClockFrame(const DateTimeFields& t);

// ---- Reply frames ---------------------------------------------------------

// FF x5, C6, address, type, LEN, data, checksum over bytes 5 .. 8+LEN.
// The data is cut to 255 bytes.
std::vector<uint8_t> BuildReplyFrame(uint8_t type, std::span<const uint8_t> data,
                                     uint8_t address = DeviceFrame::kAddress);
// FF x11, E1, 00, byte13, LEN, data, checksum over bytes 11 .. 14+LEN.
std::vector<uint8_t> BuildLongHeaderFrame(uint8_t byte13, std::span<const uint8_t> data);

// Type byte (frame byte 7), or nothing for a frame shorter than 8 bytes.
std::optional<uint8_t> ReplyTypeOf(std::span<const uint8_t> frame);
// Data bytes of a reply judged by the frame length (10 + data), never by LEN.
std::size_t ReplyDataCount(std::span<const uint8_t> frame);

// Clock fields as the devices send them: raw packed-BCD bytes.
struct BcdClock {
    uint8_t year = 0;  // year - 2000
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0;
};
// Year 2000 + FromBcd(year), the other fields FromBcd; no validation.
DateTimeFields DecodeBcdClock(const BcdClock& c);

// 0x04. Needs at least 31 data bytes.
struct ProbeInformation {
    std::string probeNumber;      // bytes 10..19, up to the first zero byte
    int32_t storedCount = 0;      // 20..23
    int16_t delayMinutes = 0;     // 26..27
    int16_t intervalSeconds = 0;  // 32..33
    uint16_t batteryTenths = 0;   // 38..39, volts x 10
};
std::optional<ProbeInformation> ReadProbeInformation(std::span<const uint8_t> frame);

// 0x31. Needs at least 34 data bytes; index above 31 is reported as sent.
struct CalibrationPacket {
    uint16_t index = 0;              // 9..10
    std::array<uint8_t, 32> data{};  // 11..42
};
std::optional<CalibrationPacket> ReadCalibrationPacket(std::span<const uint8_t> frame);

// 0x09: float32 degrees at 9..12; needs at least 4 data bytes.
std::optional<float> ReadToolFaceOffset(std::span<const uint8_t> frame);

// 0x03 with frame length 14: int32 number of samples at 9..12.
std::optional<int32_t> ReadSampleCount(std::span<const uint8_t> frame);

// 0x03 with any other frame length, at least 38 bytes.
struct StoredSample {
    int32_t index = 0;              // 9..12
    int16_t temperatureTenths = 0;  // 13..14
    std::array<int16_t, 6> raw{};   // 15..26: gx gy gz mx my mz
    BcdClock time;                  // 27 s, 28 min, 29 h, 30 day, 32 month, 33 year
    uint16_t batteryTenths = 0;     // 35..36
};
std::optional<StoredSample> ReadStoredSample(std::span<const uint8_t> frame);

// 0x19: frame length 34 carries temperature (int16 x10 at 9) and raw counts
// (11..22); any other length with at least 80 data bytes carries a ready
// AttitudeSample at 9..88 (`ready` set, `attitude` filled).
struct RealTimeSample {
    bool ready = false;
    int16_t temperatureTenths = 0;
    std::array<int16_t, 6> raw{};
    AttitudeSample attitude;
};
std::optional<RealTimeSample> ReadRealTimeSample(std::span<const uint8_t> frame);

// 0x0E and 0x21: frame length 16 carries the clock at 9..14, otherwise at
// 13..18 (needs at least 10 data bytes); order year, month, day, hour,
// minute, second.
std::optional<BcdClock> ReadClockReply(std::span<const uint8_t> frame);

// 0x13 with frame length 18.
struct MarkCount {
    int32_t expected = 0;  // 9..12, mark frames that follow
    int32_t kept = 0;      // 13..16, marks to keep
};
std::optional<MarkCount> ReadMarkCount(std::span<const uint8_t> frame);

// 0x13 with frame length 53.
struct SyncMark {
    int32_t frameIndex = 0;  // 9..12
    int32_t sequence = 0;    // 17..20
    BcdClock time;           // 25 s, 26 min, 27 h, 28 day, 30 month, 31 year
};
std::optional<SyncMark> ReadSyncMark(std::span<const uint8_t> frame);

}  // namespace orb
