// Limits of the probe's sensors that a survey value can be checked against:
// the temperature span in which its calibration is believable, and raw
// counts stuck at the ends of the signed 16-bit range (saturation).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/calibration.h"
#include "core/survey_record.h"

namespace orb {

// Probe temperatures in degrees Celsius, both ends included.
struct TemperatureRange {
    double min = -40.0;
    double max = 200.0;
    bool Contains(double t) const { return t >= min && t <= max; }  // NaN is outside
};

// The range used when nothing better is known: -40..+200 °C, the span
// downhole electronics of this kind are built for.
inline constexpr TemperatureRange kDefaultTemperatureRange{-40.0, 200.0};

// The calibration does not say over which temperatures it was fitted, but
// its polynomials betray it: outside that span the sixth-order terms run
// away. Starting at 25 °C and going outwards in 1 °C steps (never beyond the
// default range), a temperature is plausible while every channel's scale
// U(T) - L(T) stays finite, keeps its sign and stays within a factor of 2 of
// its value at 25 °C. A calibration already degenerate at 25 °C gives the
// default range. The built-in default block gives the default range.
TemperatureRange PlausibleTemperatureRange(const ProbeCalibration& cal);

// Raw counts gx gy gz mx my mz as the probe sends them.
using RawCounts = std::array<int16_t, 6>;

// Bit k set: channel k is at -32768 or 32767.
uint8_t SaturatedChannels(const RawCounts& raw);
// The same from the raw inputs of an attitude sample (download, real time).
uint8_t SaturatedChannels(const AttitudeSample& sample);

// A stored record keeps no raw counts. They can be recovered approximately
// by running `cal` backwards from the calibrated components and the
// temperature: exact to a fraction of a count when `cal` is the calibration
// the record was computed with (the calibration is not saved with the file,
// so only while the same probe's block is loaded). Empty when the matrices
// are singular or a channel's scale is zero or not finite at that
// temperature, or a component is not finite.
std::optional<std::array<double, 6>> EstimateRawCounts(const ProbeCalibration& cal,
                                                       const SurveyRecord& record);

// Channels whose estimated count lies within half a count of an int16 limit
// (or beyond it); empty when no estimate is possible.
std::optional<uint8_t> EstimatedSaturatedChannels(const ProbeCalibration& cal, const SurveyRecord& record);

// The two functions above for many records: the matrices are inverted once.
class RawCountEstimator {
public:
    explicit RawCountEstimator(const ProbeCalibration& cal);
    std::optional<std::array<double, 6>> Estimate(const SurveyRecord& record) const;
    std::optional<uint8_t> SaturatedChannels(const SurveyRecord& record) const;

private:
    ProbeCalibration cal_;
    bool invertible_ = false;
    std::array<double, 9> accelInverse_{};
    std::array<double, 9> magInverse_{};
};

}  // namespace orb
