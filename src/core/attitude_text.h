// Text forms of attitude samples, for orb-cli and regression files. Neither
// the formatting nor the parsing depends on the process locale.
#pragma once

#include <string>
#include <string_view>

#include "core/calibration.h"

namespace orb {

// printf "%.9g" of the float value, always with a '.' decimal point; nan and
// inf as printf prints them ("nan", "-nan", "inf", "-inf").
std::string FormatFloatG9(float value);

// The 14 outputs (inclination ... mz) in AttitudeSample order, each "%.9g",
// separated by single spaces, no line end.
std::string FormatAttitudeOutputs(const AttitudeSample& s);

// Reads "T gx gy gz mx my mz": the temperature as a float (decimal point,
// exponent, nan and inf accepted), then six integer counts in -32768..32767,
// separated by blanks or tabs. On success fills the temperature and the raw
// counts of `s`; otherwise leaves `s` alone and says why in `error`.
bool ParseRawSampleLine(std::string_view line, AttitudeSample& s, std::string& error);

}  // namespace orb
