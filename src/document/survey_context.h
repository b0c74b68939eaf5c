// The context a survey was taken and computed in: where the well is, when
// it was surveyed, the magnetic reference and where each of its values came
// from, the north reference, units, tie-on, vertical-section azimuth,
// quality tolerances and the probe's work mode at the download. Every value
// is optional; a survey without any context is saved exactly as before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/north_reference.h"
#include "core/station_qc.h"
#include "core/trajectory.h"

namespace orb {

// Where a reference value came from: typed in by the operator, or taken
// from a named model valid over a period (free text, e.g. "2025.0-2030.0").
struct ValueSource {
    enum class Kind : uint8_t { kOperator, kModel };
    Kind kind = Kind::kOperator;
    std::string model;
    std::string validity;

    bool operator==(const ValueSource&) const = default;
};

struct SourcedValue {
    double value = 0;
    ValueSource source;

    bool operator==(const SourcedValue&) const = default;
};

struct WellLocation {
    double latitude = 0;   // degrees north
    double longitude = 0;  // degrees east
    double height = 0;     // metres above the ellipsoid

    bool operator==(const WellLocation&) const = default;
};

struct WorkModeValues {
    int16_t delayMinutes = 0;
    int16_t intervalSeconds = 0;

    bool operator==(const WorkModeValues&) const = default;
};

struct SurveyContext {
    std::optional<WellLocation> location;
    std::string surveyDate;                     // ISO 8601 date, empty when unknown
    std::optional<SourcedValue> declination;    // degrees, east positive
    std::optional<SourcedValue> dip;            // degrees, signed
    std::optional<SourcedValue> fieldStrength;  // nT
    std::optional<SourcedValue> gravity;        // g
    std::string projection;                     // e.g. "CGCS2000 / 3-degree Gauss-Kruger zone 39"
    std::optional<SourcedValue> convergence;    // degrees, grid north from true north
    std::optional<NorthReference> northReference;
    std::optional<DepthUnit> depthUnit;
    std::optional<double> dlsCourseLength;  // in the depth unit
    std::optional<TieOn> tieOn;
    std::optional<double> vsAzimuth;  // degrees in the north reference
    std::optional<QcTolerances> tolerances;
    std::optional<WorkModeValues> workMode;

    bool empty() const;
    bool operator==(const SurveyContext& o) const;
};

// "操作员输入" for the operator; the model name, with its validity in
// parentheses when known.
std::string SourceText(const ValueSource& source);

}  // namespace orb
