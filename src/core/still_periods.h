// Still periods: runs of consecutive samples during which the probe did not
// move, found from the samples alone. Multishot runs without a synchronizer
// (or with a clock nobody calibrated) take their stations from here, and a
// station picked by a synchronizer mark can be checked against them.
//
// A run is still when, over the whole run, every calibrated component
// (gx gy gz mx my mz) stays within its spread limit and inclination and
// azimuth change by no more than theirs. The components are needed besides
// the angles: a probe turning about its own axis keeps inclination,
// azimuth and both total fields constant while gx, gy, mx and my swing.
// Azimuth is meaningless near vertical, so it is only judged when some
// sample of the run lies at or above the minimum inclination.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/survey_record.h"

namespace orb {

struct StillLimits {
    double gravityMg = 2.0;              // spread of each of gx gy gz, milli-g
    double magneticNt = 100.0;           // spread of each of mx my mz, nT
    double inclination = 0.2;            // degrees
    double azimuth = 1.0;                // degrees
    double azimuthMinInclination = 5.0;  // degrees
    int minSamples = 2;                  // consecutive samples at least
};

// Empty when the limits can be used; otherwise the reason.
std::string StillLimitsProblem(const StillLimits& limits);

// Records first..last (both included) are still; `stillest` is the record
// closest to the run's mean attitude, the one to take as its station.
struct StillPeriod {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t stillest = 0;
    std::size_t size() const { return last - first + 1; }
    bool Contains(std::size_t record) const { return record >= first && record <= last; }
};

// The still periods in record order, disjoint. A record with a value that
// is not finite belongs to no period. Where the limits allow two
// overlapping runs, the longer one is kept and the other shortened to what
// is left (and dropped if that is under minSamples), so a sample of travel
// that happens to lie close to the first sample of a stop does not split
// the stop in two.
void FindStillPeriods(std::span<const SurveyRecord> records, const StillLimits& limits,
                      std::vector<StillPeriod>& out);
std::vector<StillPeriod> FindStillPeriods(std::span<const SurveyRecord> records, const StillLimits& limits);

// The period that holds the record, or nullptr.
const StillPeriod* PeriodOf(std::span<const StillPeriod> periods, std::size_t record);

// One proposed station per still period, compared with the stations the
// synchronizer matched (records with syncMatched set).
struct StillProposal {
    std::vector<StillPeriod> periods;
    std::vector<std::size_t> records;    // periods[k].stillest, ascending
    std::size_t matched = 0;             // matched records
    std::size_t matchedStill = 0;        // of them inside a still period
    std::size_t matchedProposed = 0;     // of them the very record proposed
    std::size_t periodsWithoutMark = 0;  // periods holding no matched record
};
StillProposal ProposeStillStations(std::span<const SurveyRecord> records, const StillLimits& limits);

// "静止段 N 个，建议测点 N 个" and, with matched records, how they compare.
std::string StillProposalSummary(const StillProposal& p);

// "a-b" ranges of record numbers joined by ", " (for a list of the periods).
std::string StillPeriodsText(std::span<const StillPeriod> periods);

// The selection that makes exactly the proposed records the stations: one
// flag (0 or 1) per record, for the document's selection edit.
std::vector<uint8_t> StillSelection(std::size_t recordCount, std::span<const std::size_t> proposed);

}  // namespace orb
