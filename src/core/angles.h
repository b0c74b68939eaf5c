// Angle normalisation and the selection helpers every part uses.
#pragma once

#include <cstdint>
#include <span>

#include "core/survey_record.h"

namespace orb {

// Brings an angle in degrees into [0, 360) with at most 10000 steps, so it
// always finishes; NaN comes back as NaN and -0.0 as -0.0. An addition that
// lands exactly on 360.0 (a tiny negative input) gives 0.0.
double NormalizeAngle(double x);

// Number of records whose `selected` is exactly 1.
uint32_t CountSelected(std::span<const SurveyRecord> records);

// Index of the n-th (0-based) record whose `selected` is exactly 1, or the
// record count when there is none.
std::size_t IndexOfSelected(std::span<const SurveyRecord> records, std::size_t n);

// Maps an OLE automation date onto a continuous, monotonic day scale.
double ContinuousDay(double t);

}  // namespace orb
