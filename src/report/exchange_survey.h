// The one model the exchange files (CSV listing, LAS 3.0, WITSML) are
// written from: a header with the survey's identity and references, and the
// selected stations with their trajectory, rates, tool faces, field values
// and quality verdict. Each writer only formats it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/station_qc.h"
#include "core/trajectory.h"
#include "document/orb_doc.h"
#include "report/survey_references.h"

namespace orb {

struct ExchangeOptions {
    TrajectorySettings trajectory;  // its declination is replaced by AzimuthCorrection(references)
    SurveyReferences references;
    QcSettings qc;
};

// The options a survey's own context asks for: its references, depth unit,
// DLS course, tie-on, vertical-section azimuth and tolerances; the rest as
// `base` has it. Callers apply what the operator chose on top.
ExchangeOptions ExchangeOptionsFromContext(const SurveyContext& context, ExchangeOptions base = {});

struct ExchangeHeader {
    std::string well, team, probe;  // UTF-8
    std::string surveyDate;         // ISO date: the context's, else the first station's sample day
    DepthUnit depthUnit = DepthUnit::kMetres;
    DlsInterval dlsInterval = DlsInterval::kPer30Metres;
    double dlsCourseLength = 30;
    SurveyReferences references;
    TieOn tieOn;
    double tieOnVerticalSection = 0;
    double vsAzimuth = 0;
    bool vsAzimuthIsClosure = true;
    QcSettings qc;
    std::optional<WellLocation> location;
};

struct ExchangeStation {
    TrajectoryStation trajectory;     // trueAzimuth holds the azimuth in the header's north reference
    std::optional<double> buildRate;  // degrees per course length; unset over a zero step
    std::optional<double> turnRate;
    double gravityToolFace = 0, magneticToolFace = 0;
    double totalGravity = 0, fieldStrength = 0, dip = 0;    // g, nT, degrees signed
    double gx = 0, gy = 0, gz = 0, mx = 0, my = 0, mz = 0;  // calibrated components
    double sampleTime = 0;                                  // OLE date
    bool sampleTimeValid = false;
    QcResult quality;
};

struct ExchangeSurvey {
    ExchangeHeader header;
    std::vector<ExchangeStation> stations;  // ascending measured depth
};

// The values of a station as the listings write them, in the column order
// MD, inclination, azimuth, TVD, N, E, VS, dogleg, DLS, build, turn, GTF,
// MTF, total gravity, field strength, dip, verdict; `undefined` where a rate
// or the DLS has no value.
inline constexpr std::size_t kExchangeFieldCount = 17;
std::array<std::string, kExchangeFieldCount> ExchangeFields(const ExchangeStation& s, const char* undefined);

ExchangeSurvey BuildExchangeSurvey(const COrbDoc& doc, const ExchangeOptions& options);

// The difference of two azimuths taken the short way round, in [-180, 180).
double AzimuthDifference(double from, double to);

}  // namespace orb
