// The probe's calibration block and the working block of the attitude
// computation. Both layouts are also wire formats.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orb {

// 114 float64 values, 912 bytes, little-endian, in the probe's order.
struct ProbeCalibration {
    static constexpr std::size_t kValues = 114;
    static constexpr std::size_t kBytes = kValues * 8;
    // Value indexes.
    static constexpr std::size_t kAccelMatrix = 0;   // 9, row-major
    static constexpr std::size_t kAccelOffset = 9;   // 3
    static constexpr std::size_t kMagMatrix = 15;    // 9, row-major
    static constexpr std::size_t kMagOffset = 24;    // 3
    static constexpr std::size_t kPolynomials = 30;  // 12 x 7, highest power first
    // Channel order of the polynomials: gx gy gz mx my mz, each upper then lower.
    static constexpr std::size_t UpperPoly(int channel) { return kPolynomials + 14 * channel; }
    static constexpr std::size_t LowerPoly(int channel) { return kPolynomials + 14 * channel + 7; }

    std::array<double, kValues> values{};

    // Identity matrices, zero offsets, +4500 / -4500 constant terms.
    static ProbeCalibration Default();
    // From the probe's 912 bytes (little-endian).
    static ProbeCalibration FromBytes(std::span<const uint8_t, kBytes> bytes);
    void ToBytes(std::span<uint8_t, kBytes> out) const;
};
static_assert(sizeof(ProbeCalibration) == ProbeCalibration::kBytes);

// 20 float32 values, 80 bytes: outputs 0..13, temperature at 2, raw counts 14..19.
struct AttitudeSample {
    // One line per group of the layout reads better than one line per name.
    // clang-format off
    enum Index {
        kInclination = 0, kAzimuth, kTemperature, kGravityToolFace, kMagneticToolFace, kDip,
        kTotalGravity, kTotalMagnetic, kGx, kGy, kGz, kMx, kMy, kMz,
        kRawGx, kRawGy, kRawGz, kRawMx, kRawMy, kRawMz
    };
    // clang-format on
    std::array<float, 20> v{};
};
static_assert(sizeof(AttitudeSample) == 80);

// The 1024-byte receive area of the calibration read: 32 packets of 32 bytes.
// Storing packet 31 commits bytes 0..911 over the calibration in one step.
class CalibrationPackets {
public:
    // Stores one packet; returns true when it was packet 31 and `target`
    // was replaced. Indexes above 31 are ignored.
    bool Store(unsigned index, std::span<const uint8_t, 32> data, ProbeCalibration& target);
    std::span<const uint8_t, 1024> bytes() const { return area_; }

private:
    std::array<uint8_t, 1024> area_{};
};

// Reads temperature and raw counts of `s` and writes every output in place,
// following the probe's float/double steps exactly.
void ComputeAttitude(const ProbeCalibration& cal, AttitudeSample& s);

// The two halves of ComputeAttitude. CalibrateComponents turns temperature and
// raw counts into the calibrated components (kGx..kMz); ComputeAngles derives
// angles and magnitudes from the components already stored there.
void CalibrateComponents(const ProbeCalibration& cal, AttitudeSample& s);
void ComputeAngles(AttitudeSample& s);

}  // namespace orb
