#include "view/sync_matcher.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"

namespace orb {

namespace {

// One distinct sample time and the lowest record index that has it.
struct TimeGroup {
    double day;
    std::size_t firstIndex;
};

// Distinct continuous-scale times in ascending order. NaN times can never be
// nearer than anything, so they are left out.
std::vector<TimeGroup> GroupTimes(std::span<const SurveyRecord> records) {
    std::vector<TimeGroup> all;
    all.reserve(records.size());
    for (std::size_t j = 0; j < records.size(); ++j) {
        const double day = ContinuousDay(records[j].sampleTime);
        if (!std::isnan(day)) all.push_back({day, j});
    }
    std::sort(all.begin(), all.end(), [](const TimeGroup& a, const TimeGroup& b) {
        return a.day < b.day || (a.day == b.day && a.firstIndex < b.firstIndex);
    });
    std::vector<TimeGroup> groups;
    for (const TimeGroup& g : all) {
        if (groups.empty() || groups.back().day != g.day) groups.push_back(g);
    }
    return groups;
}

double Distance(double mark, double sample) {
    return std::fabs(mark - sample);
}

// The rounded distance falls monotonically towards the mark on either side,
// so the records at the least distance form a run of groups ending just below
// the mark and a run starting at or just above it. Walk both runs (normally
// one group each) and keep the lowest index.
std::ptrdiff_t Nearest(const std::vector<TimeGroup>& groups, double mark, double tolerance) {
    if (groups.empty() || std::isnan(mark)) return -1;
    const auto above = std::lower_bound(groups.begin(), groups.end(), mark,
                                        [](const TimeGroup& g, double m) { return g.day < m; });
    const std::size_t hi = static_cast<std::size_t>(above - groups.begin());
    double best = INFINITY;
    if (hi < groups.size()) best = Distance(mark, groups[hi].day);
    if (hi > 0) best = std::min(best, Distance(mark, groups[hi - 1].day));
    if (!(best < tolerance)) return -1;
    std::size_t index = SIZE_MAX;
    for (std::size_t k = hi; k < groups.size() && Distance(mark, groups[k].day) == best; ++k) {
        index = std::min(index, groups[k].firstIndex);
    }
    for (std::size_t k = hi; k > 0 && Distance(mark, groups[k - 1].day) == best; --k) {
        index = std::min(index, groups[k - 1].firstIndex);
    }
    return static_cast<std::ptrdiff_t>(index);
}

}  // namespace

std::vector<std::ptrdiff_t> NearestRecordsForMarks(std::span<const SurveyRecord> records,
                                                   std::span<const SyncRecord> marks,
                                                   int32_t workIntervalSeconds) {
    // Formed in double so that the largest interval cannot overflow.
    const double tolerance = (static_cast<double>(workIntervalSeconds) + 1.0) / 86400.0;
    const std::vector<TimeGroup> groups = GroupTimes(records);
    std::vector<std::ptrdiff_t> result;
    result.reserve(marks.size());
    for (const SyncRecord& m : marks) result.push_back(Nearest(groups, ContinuousDay(m.markTime), tolerance));
    return result;
}

std::size_t MatchSyncMarks(SurveyEdits& edits, int32_t workIntervalSeconds) {
    const COrbDoc& doc = edits.document();
    return edits.MatchStations(NearestRecordsForMarks(doc.records(), doc.syncRecords(), workIntervalSeconds));
}

}  // namespace orb
