// The two operator corrections of a finished survey: compensation offsets
// added to the selected stations, and measured depths generated for them.
// Both walk the records in record order, whatever the table shows.
#pragma once

#include <span>

#include "core/survey_record.h"

namespace orb {

// Offsets of the data-compensation dialog (new value = old value + offset).
struct CompensationOffsets {
    double inclination = 0;
    double azimuth = 0;
    double gravityToolFace = 0;
    double magneticToolFace = 0;
    double totalGravity = 0;
    double totalMagnetic = 0;
    double dip = 0;
};

// Adds the offsets to every record whose `selected` is non-zero; other
// records are left as they are. Each sum is formed in double and rounded to
// float. An inclination of 180 or more is folded to 360 − s (values below 0
// stay); azimuth, both tool faces and dip are brought into [0, 360) with
// NormalizeAngle and rounded to float again; the magnitudes are not reduced.
void ApplyCompensation(std::span<SurveyRecord> records, const CompensationOffsets& offsets);

// Sets every depth to 0, then gives the k-th record whose `selected` is 1
// (k from 0, record order) initialDepth − k·segmentLength in single precision,
// 0 when that is 0 or less. A negative segment length makes depths grow.
void GenerateDepths(std::span<SurveyRecord> records, float initialDepth, float segmentLength);

}  // namespace orb
