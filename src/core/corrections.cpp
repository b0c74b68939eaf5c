#include "core/corrections.h"

#include <cstdint>

#include "core/angles.h"

namespace orb {

namespace {

float AddOffset(float value, double offset) {
    return static_cast<float>(static_cast<double>(value) + offset);
}

// The sum is rounded to float before and after the normalisation.
float AddAngleOffset(float value, double offset) {
    return static_cast<float>(NormalizeAngle(static_cast<double>(AddOffset(value, offset))));
}

// Past the vertical the inclination folds back; negative results are kept.
float AddInclinationOffset(float value, double offset) {
    const float s = AddOffset(value, offset);
    return s >= 180.0f ? static_cast<float>(360.0 - static_cast<double>(s)) : s;
}

}  // namespace

void ApplyCompensation(std::span<SurveyRecord> records, const CompensationOffsets& o) {
    for (SurveyRecord& r : records) {
        if (r.selected == 0) continue;
        r.inclination = AddInclinationOffset(r.inclination, o.inclination);
        r.azimuth = AddAngleOffset(r.azimuth, o.azimuth);
        r.gravityToolFace = AddAngleOffset(r.gravityToolFace, o.gravityToolFace);
        r.magneticToolFace = AddAngleOffset(r.magneticToolFace, o.magneticToolFace);
        r.dip = AddAngleOffset(r.dip, o.dip);
        r.totalGravity = AddOffset(r.totalGravity, o.totalGravity);
        r.totalMagnetic = AddOffset(r.totalMagnetic, o.totalMagnetic);
    }
}

void GenerateDepths(std::span<SurveyRecord> records, float initialDepth, float segmentLength) {
    for (SurveyRecord& r : records) r.depth = 0.0f;
    uint32_t k = 0;
    for (SurveyRecord& r : records) {
        if (r.selected != 1) continue;
        const float d = initialDepth - static_cast<float>(k) * segmentLength;
        r.depth = d <= 0.0f ? 0.0f : d;
        ++k;
    }
}

}  // namespace orb
