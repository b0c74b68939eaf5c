#include "core/calibration.h"

#include <algorithm>
#include <bit>

namespace orb {

ProbeCalibration ProbeCalibration::Default() {
    ProbeCalibration c;
    for (std::size_t i = 0; i < 3; ++i) {
        c.values[kAccelMatrix + 4 * i] = 1.0;
        c.values[kMagMatrix + 4 * i] = 1.0;
    }
    for (int channel = 0; channel < 6; ++channel) {
        c.values[UpperPoly(channel) + 6] = 4500.0;
        c.values[LowerPoly(channel) + 6] = -4500.0;
    }
    return c;
}

ProbeCalibration ProbeCalibration::FromBytes(std::span<const uint8_t, kBytes> bytes) {
    ProbeCalibration c;
    for (std::size_t i = 0; i < kValues; ++i) {
        uint64_t bits = 0;
        for (int b = 7; b >= 0; --b) bits = (bits << 8) | bytes[8 * i + b];
        c.values[i] = std::bit_cast<double>(bits);
    }
    return c;
}

void ProbeCalibration::ToBytes(std::span<uint8_t, kBytes> out) const {
    for (std::size_t i = 0; i < kValues; ++i) {
        uint64_t bits = std::bit_cast<uint64_t>(values[i]);
        for (int b = 0; b < 8; ++b) {
            out[8 * i + b] = static_cast<uint8_t>(bits & 0xFF);
            bits >>= 8;
        }
    }
}

bool CalibrationPackets::Store(unsigned index, std::span<const uint8_t, 32> data, ProbeCalibration& target) {
    if (index > 31) return false;
    std::copy(data.begin(), data.end(), area_.begin() + index * 32);
    if (index != 31) return false;
    target = ProbeCalibration::FromBytes(
        std::span<const uint8_t, ProbeCalibration::kBytes>(area_.data(), ProbeCalibration::kBytes));
    return true;
}

}  // namespace orb
