#include "core/probe_limits.h"

#include <cmath>

namespace orb {
namespace {

constexpr double kReferenceTemperature = 25.0;
constexpr double kMaxScaleDrift = 2.0;
constexpr double kInt16Max = 32767.0;
constexpr double kInt16Min = -32768.0;
constexpr double kHalfCount = 0.5;

// Coefficients highest power first (c0 * T^6 ... c6).
double Polynomial(const double* c, double t) {
    double v = c[0];
    for (int k = 1; k < 7; ++k) v = v * t + c[k];
    return v;
}

double Upper(const ProbeCalibration& cal, int channel, double t) {
    return Polynomial(&cal.values[ProbeCalibration::UpperPoly(channel)], t);
}

double Lower(const ProbeCalibration& cal, int channel, double t) {
    return Polynomial(&cal.values[ProbeCalibration::LowerPoly(channel)], t);
}

double Scale(const ProbeCalibration& cal, int channel, double t) {
    return Upper(cal, channel, t) - Lower(cal, channel, t);
}

bool ScalesBelievable(const ProbeCalibration& cal, double t, const std::array<double, 6>& reference) {
    for (int k = 0; k < 6; ++k) {
        const double ratio = Scale(cal, k, t) / reference[k];
        if (!std::isfinite(ratio) || ratio < 1.0 / kMaxScaleDrift || ratio > kMaxScaleDrift) return false;
    }
    return true;
}

// Inverts a row-major 3x3 matrix; false when it is singular.
bool Invert3(const double* m, std::array<double, 9>& inv) {
    const double c00 = m[4] * m[8] - m[5] * m[7], c01 = m[5] * m[6] - m[3] * m[8],
                 c02 = m[3] * m[7] - m[4] * m[6];
    const double det = m[0] * c00 + m[1] * c01 + m[2] * c02;
    if (!std::isfinite(det) || det == 0.0) return false;
    const double adj[9] = {c00, m[2] * m[7] - m[1] * m[8], m[1] * m[5] - m[2] * m[4],
                           c01, m[0] * m[8] - m[2] * m[6], m[2] * m[3] - m[0] * m[5],
                           c02, m[1] * m[6] - m[0] * m[7], m[0] * m[4] - m[1] * m[3]};
    for (int i = 0; i < 9; ++i) inv[i] = adj[i] / det;
    return true;
}

// Normalised channel values of one sensor: M^-1 (components - offset).
void Normalised(const std::array<double, 9>& inv, const double* offset, const float* components,
                double n[3]) {
    const double c[3] = {components[0] - offset[0], components[1] - offset[1], components[2] - offset[2]};
    for (int row = 0; row < 3; ++row) {
        n[row] = inv[3 * row] * c[0] + inv[3 * row + 1] * c[1] + inv[3 * row + 2] * c[2];
    }
}

uint8_t ChannelBit(int channel) {
    return static_cast<uint8_t>(1u << channel);
}

}  // namespace

TemperatureRange PlausibleTemperatureRange(const ProbeCalibration& cal) {
    std::array<double, 6> reference;
    for (int k = 0; k < 6; ++k) {
        reference[k] = Scale(cal, k, kReferenceTemperature);
        if (!std::isfinite(reference[k]) || reference[k] == 0.0) return kDefaultTemperatureRange;
    }
    TemperatureRange range{kReferenceTemperature, kReferenceTemperature};
    while (range.min - 1.0 >= kDefaultTemperatureRange.min &&
           ScalesBelievable(cal, range.min - 1.0, reference)) {
        range.min -= 1.0;
    }
    while (range.max + 1.0 <= kDefaultTemperatureRange.max &&
           ScalesBelievable(cal, range.max + 1.0, reference)) {
        range.max += 1.0;
    }
    return range;
}

uint8_t SaturatedChannels(const RawCounts& raw) {
    uint8_t bits = 0;
    for (int k = 0; k < 6; ++k) {
        if (raw[k] == INT16_MAX || raw[k] == INT16_MIN) bits |= ChannelBit(k);
    }
    return bits;
}

uint8_t SaturatedChannels(const AttitudeSample& sample) {
    uint8_t bits = 0;
    for (int k = 0; k < 6; ++k) {
        const float v = sample.v[AttitudeSample::kRawGx + k];
        if (v >= static_cast<float>(kInt16Max) || v <= static_cast<float>(kInt16Min)) bits |= ChannelBit(k);
    }
    return bits;
}

RawCountEstimator::RawCountEstimator(const ProbeCalibration& cal) : cal_(cal) {
    invertible_ = Invert3(&cal.values[ProbeCalibration::kAccelMatrix], accelInverse_) &&
                  Invert3(&cal.values[ProbeCalibration::kMagMatrix], magInverse_);
}

std::optional<std::array<double, 6>> RawCountEstimator::Estimate(const SurveyRecord& record) const {
    if (!invertible_) return std::nullopt;
    const float g[3] = {record.gx, record.gy, record.gz};
    const float m[3] = {record.mx, record.my, record.mz};
    double n[6];
    Normalised(accelInverse_, &cal_.values[ProbeCalibration::kAccelOffset], g, n);
    Normalised(magInverse_, &cal_.values[ProbeCalibration::kMagOffset], m, n + 3);
    const double t = record.temperature;
    std::array<double, 6> raw;
    for (int k = 0; k < 6; ++k) {
        const double upper = Upper(cal_, k, t), lower = Lower(cal_, k, t);
        // n = (2r - (U + L)) / (U - L), solved for r.
        raw[k] = (n[k] * (upper - lower) + (upper + lower)) / 2.0;
        if (!std::isfinite(raw[k]) || upper == lower) return std::nullopt;
    }
    return raw;
}

std::optional<uint8_t> RawCountEstimator::SaturatedChannels(const SurveyRecord& record) const {
    const auto raw = Estimate(record);
    if (!raw) return std::nullopt;
    uint8_t bits = 0;
    for (int k = 0; k < 6; ++k) {
        if ((*raw)[k] >= kInt16Max - kHalfCount || (*raw)[k] <= kInt16Min + kHalfCount) bits |= ChannelBit(k);
    }
    return bits;
}

std::optional<std::array<double, 6>> EstimateRawCounts(const ProbeCalibration& cal,
                                                       const SurveyRecord& record) {
    return RawCountEstimator(cal).Estimate(record);
}

std::optional<uint8_t> EstimatedSaturatedChannels(const ProbeCalibration& cal, const SurveyRecord& record) {
    return RawCountEstimator(cal).SaturatedChannels(record);
}

}  // namespace orb
