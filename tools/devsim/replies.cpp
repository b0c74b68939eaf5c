#include "devsim/replies.h"

#include <algorithm>

#include "device/device_frame.h"

namespace devsim {
namespace {

// Reply data with frame byte positions: data[pos - 9] is frame byte pos.
class Data {
public:
    explicit Data(std::size_t count) : bytes_(count, 0) {}
    template <class T>
    Data& Put(std::size_t framePos, T value) {
        orb::StoreLE<T>(bytes_, framePos - orb::DeviceFrame::kDataPos, value);
        return *this;
    }
    Data& Bcd(std::size_t framePos, int value) {
        return Put<uint8_t>(framePos, static_cast<uint8_t>(orb::ToBcd(value) & 0xFF));
    }
    // second, minute, hour, day, day of week, month, year - 2000.
    Data& Clock(std::size_t framePos, const orb::DateTimeFields& t) {
        Bcd(framePos, t.second)
            .Bcd(framePos + 1, t.minute)
            .Bcd(framePos + 2, t.hour)
            .Bcd(framePos + 3, t.day);
        Bcd(framePos + 4, t.dayOfWeek).Bcd(framePos + 5, t.month).Bcd(framePos + 6, t.year - 2000);
        return *this;
    }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace

std::vector<uint8_t> AckData() {
    return {0x00};
}

std::vector<uint8_t> InformationData(const std::string& number, int32_t storedCount, int16_t delayMinutes,
                                     int16_t intervalSeconds, uint16_t batteryTenths) {
    Data d(33);
    for (std::size_t i = 0; i < std::min<std::size_t>(number.size(), 10); ++i) {
        d.Put<uint8_t>(10 + i, static_cast<uint8_t>(number[i]));
    }
    d.Put<int32_t>(20, storedCount);
    for (std::size_t i = 0; i < 3; ++i) {
        d.Put<int16_t>(26 + 2 * i, delayMinutes);
        d.Put<int16_t>(32 + 2 * i, intervalSeconds);
    }
    d.Put<uint16_t>(38, batteryTenths).Put<uint8_t>(40, 0x00).Put<uint8_t>(41, 0x81);
    return d.Take();
}

std::vector<uint8_t> CalibrationPacketData(const orb::ProbeCalibration& cal, uint16_t index) {
    std::array<uint8_t, 1024> image{};
    cal.ToBytes(
        std::span<uint8_t, orb::ProbeCalibration::kBytes>(image.data(), orb::ProbeCalibration::kBytes));
    Data d(34);
    d.Put<uint16_t>(9, index);
    for (std::size_t i = 0; i < 32; ++i) d.Put<uint8_t>(11 + i, image[(index % 32) * 32u + i]);
    return d.Take();
}

std::vector<uint8_t> ToolFaceOffsetData(float degrees) {
    return Data(4).Put<float>(9, degrees).Take();
}

std::vector<uint8_t> SampleCountData(int32_t count) {
    return Data(4).Put<int32_t>(9, count).Take();
}

std::vector<uint8_t> SampleData(int32_t index, const StoredSampleSpec& s) {
    Data d(28);
    d.Put<int32_t>(9, index).Put<int16_t>(13, s.temperatureTenths);
    for (std::size_t k = 0; k < 6; ++k) d.Put<int16_t>(15 + 2 * k, s.raw[k]);
    d.Clock(27, s.time).Put<uint16_t>(35, s.batteryTenths);
    return d.Take();
}

std::vector<uint8_t> RealTimeRawData(int16_t temperatureTenths, const std::array<int16_t, 6>& raw) {
    Data d(24);
    d.Put<int16_t>(9, temperatureTenths);
    for (std::size_t k = 0; k < 6; ++k) d.Put<int16_t>(11 + 2 * k, raw[k]);
    return d.Take();
}

std::vector<uint8_t> RealTimeAttitudeData(const orb::AttitudeSample& a) {
    Data d(80);
    for (std::size_t k = 0; k < a.v.size(); ++k) d.Put<float>(9 + 4 * k, a.v[k]);
    return d.Take();
}

std::vector<uint8_t> ProbeClockData(const orb::DateTimeFields& t) {
    Data d(10);
    d.Put<uint8_t>(10, 0x06).Put<uint16_t>(11, static_cast<uint16_t>(t.year));
    d.Bcd(13, t.year - 2000)
        .Bcd(14, t.month)
        .Bcd(15, t.day)
        .Bcd(16, t.hour)
        .Bcd(17, t.minute)
        .Bcd(18, t.second);
    return d.Take();
}

std::vector<uint8_t> SyncClockData(const orb::DateTimeFields& t) {
    Data d(6);
    d.Bcd(9, t.year - 2000)
        .Bcd(10, t.month)
        .Bcd(11, t.day)
        .Bcd(12, t.hour)
        .Bcd(13, t.minute)
        .Bcd(14, t.second);
    return d.Take();
}

std::vector<uint8_t> MarkCountData(int32_t announced, int32_t kept) {
    return Data(8).Put<int32_t>(9, announced).Put<int32_t>(13, kept).Take();
}

std::vector<uint8_t> MarkData(int32_t frameIndex, const MarkSpec& m) {
    Data d(43);
    d.Put<int32_t>(9, frameIndex).Put<int32_t>(17, m.sequence).Clock(25, m.time);
    return d.Take();
}

}  // namespace devsim
