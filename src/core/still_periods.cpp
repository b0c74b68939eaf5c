#include "core/still_periods.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/station_qc.h"
#include "core/ui_text.h"

namespace orb {
namespace {

// gx gy gz mx my mz, inclination, azimuth (unwrapped across 0/360).
constexpr std::size_t kChannels = 8;
constexpr std::size_t kInclination = 6;
constexpr std::size_t kAzimuth = 7;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

using Sample = std::array<double, kChannels>;

double StepAngle(double from, double to) {
    double d = std::fmod(to - from, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

bool Finite(const Sample& s) {
    for (double v : s)
        if (!std::isfinite(v)) return false;
    return true;
}

// The records as channel values; the azimuth follows the shorter way from
// the previous sample, so a run across north does not look like a turn.
std::vector<Sample> Samples(std::span<const SurveyRecord> records) {
    std::vector<Sample> out(records.size());
    for (std::size_t k = 0; k < records.size(); ++k) {
        const SurveyRecord& r = records[k];
        Sample& s = out[k];
        s = {r.gx, r.gy, r.gz, r.mx, r.my, r.mz, r.inclination, r.azimuth};
        if (k > 0 && std::isfinite(out[k - 1][kAzimuth]) && std::isfinite(s[kAzimuth]))
            s[kAzimuth] = out[k - 1][kAzimuth] + StepAngle(records[k - 1].azimuth, r.azimuth);
    }
    return out;
}

std::array<double, kChannels> Spreads(const StillLimits& l) {
    const double g = l.gravityMg / 1000.0;
    const double m = l.magneticNt / kFieldStrengthReference;
    return {g, g, g, m, m, m, l.inclination, l.azimuth};
}

// Indices in ascending order whose values are monotone: the front is the
// extreme of the window.
class ExtremeQueue {
public:
    ExtremeQueue(const std::vector<Sample>& s, std::size_t ch, bool max) : s_(s), ch_(ch), max_(max) {}
    void Clear() { head_ = 0, idx_.clear(); }
    void Push(std::size_t k) {
        while (idx_.size() > head_ && !Keeps(idx_.back(), k)) idx_.pop_back();
        idx_.push_back(k);
    }
    void DropBefore(std::size_t first) {
        while (idx_.size() > head_ && idx_[head_] < first) ++head_;
    }
    double Front() const { return s_[idx_[head_]][ch_]; }

private:
    bool Keeps(std::size_t older, std::size_t newer) const {
        return max_ ? s_[older][ch_] > s_[newer][ch_] : s_[older][ch_] < s_[newer][ch_];
    }
    const std::vector<Sample>& s_;
    std::size_t ch_;
    bool max_;
    std::size_t head_ = 0;
    std::vector<std::size_t> idx_;
};

// For every first record, the last record of the longest still run that
// starts there (kNone for a record that cannot start one). The window only
// ever moves forward, so the whole series costs linear time.
class RunEnds {
public:
    RunEnds(const std::vector<Sample>& s, const StillLimits& limits)
        : s_(s), spread_(Spreads(limits)), azimuthFrom_(limits.azimuthMinInclination) {
        for (std::size_t c = 0; c < kChannels; ++c) {
            max_.emplace_back(s, c, true);
            min_.emplace_back(s, c, false);
        }
    }

    std::vector<std::size_t> Compute() {
        std::vector<std::size_t> last(s_.size(), kNone);
        std::size_t end = 0;  // one past the window's last record
        for (std::size_t i = 0; i < s_.size(); ++i) {
            if (end <= i) Restart(i, end);
            for (auto& q : max_) q.DropBefore(i);
            for (auto& q : min_) q.DropBefore(i);
            while (end < s_.size() && Finite(s_[end]) && (end == i || Fits(end))) Push(end++);
            if (end > i) last[i] = end - 1;
        }
        return last;
    }

private:
    void Restart(std::size_t i, std::size_t& end) {
        end = i;
        for (auto& q : max_) q.Clear();
        for (auto& q : min_) q.Clear();
    }
    void Push(std::size_t k) {
        for (auto& q : max_) q.Push(k);
        for (auto& q : min_) q.Push(k);
    }
    // Would the (non-empty) window still be still with record k added?
    bool Fits(std::size_t k) const {
        const Sample& v = s_[k];
        std::array<double, kChannels> hi{}, lo{};
        for (std::size_t c = 0; c < kChannels; ++c) {
            hi[c] = std::max(max_[c].Front(), v[c]);
            lo[c] = std::min(min_[c].Front(), v[c]);
            if (c != kAzimuth && hi[c] - lo[c] > spread_[c]) return false;
        }
        // Judged on the highest inclination of the window, so a shorter run
        // is never held to a stricter rule than a longer one that holds it.
        return hi[kInclination] < azimuthFrom_ || hi[kAzimuth] - lo[kAzimuth] <= spread_[kAzimuth];
    }

    const std::vector<Sample>& s_;
    std::array<double, kChannels> spread_;
    double azimuthFrom_;
    std::vector<ExtremeQueue> max_, min_;
};

std::size_t Stillest(const std::vector<Sample>& s, const StillPeriod& p, const StillLimits& limits) {
    const std::array<double, kChannels> spread = Spreads(limits);
    Sample mean{};
    for (std::size_t k = p.first; k <= p.last; ++k)
        for (std::size_t c = 0; c < kChannels; ++c) mean[c] += s[k][c] / static_cast<double>(p.size());
    std::size_t best = p.first;
    double bestScore = INFINITY;
    for (std::size_t k = p.first; k <= p.last; ++k) {
        double score = 0;
        for (std::size_t c = 0; c < kChannels; ++c) {
            const double d = (s[k][c] - mean[c]) / (spread[c] > 0 ? spread[c] : 1.0);
            score += d * d;
        }
        if (score < bestScore) bestScore = score, best = k;
    }
    return best;
}

std::size_t Length(const std::vector<std::size_t>& last, std::size_t i) {
    return i < last.size() && last[i] != kNone ? last[i] - i + 1 : 0;
}

}  // namespace

std::string StillLimitsProblem(const StillLimits& l) {
    for (double v : {l.gravityMg, l.magneticNt, l.inclination, l.azimuth, l.azimuthMinInclination}) {
        if (!std::isfinite(v) || v < 0) return ORB_TEXT("core", "静止段的限值必须是不小于 0 的数");
    }
    if (l.minSamples < 2) return ORB_TEXT("core", "静止段至少需要 2 个连续样本");
    return {};
}

void FindStillPeriods(std::span<const SurveyRecord> records, const StillLimits& limits,
                      std::vector<StillPeriod>& out) {
    out.clear();
    const std::vector<Sample> s = Samples(records);
    const std::vector<std::size_t> last = RunEnds(s, limits).Compute();
    const std::size_t need = static_cast<std::size_t>(std::max(limits.minSamples, 1));
    for (std::size_t i = 0; i < s.size();) {
        // A run that starts one record later and is longer wins: the record
        // here is the edge of a stop, not part of it.
        while (Length(last, i) > 0 && i + 1 <= last[i] && Length(last, i + 1) > Length(last, i)) ++i;
        if (Length(last, i) < need) {
            ++i;
            continue;
        }
        StillPeriod p{i, last[i], i};
        p.stillest = Stillest(s, p, limits);
        out.push_back(p);
        i = p.last + 1;
    }
}

std::vector<StillPeriod> FindStillPeriods(std::span<const SurveyRecord> records, const StillLimits& limits) {
    std::vector<StillPeriod> out;
    FindStillPeriods(records, limits, out);
    return out;
}

const StillPeriod* PeriodOf(std::span<const StillPeriod> periods, std::size_t record) {
    std::size_t lo = 0, hi = periods.size();
    while (lo < hi) {  // the first period that ends at or after the record
        const std::size_t mid = (lo + hi) / 2;
        if (periods[mid].last < record)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < periods.size() && periods[lo].Contains(record) ? &periods[lo] : nullptr;
}

StillProposal ProposeStillStations(std::span<const SurveyRecord> records, const StillLimits& limits) {
    StillProposal p;
    FindStillPeriods(records, limits, p.periods);
    std::vector<bool> marked(p.periods.size(), false);
    for (const StillPeriod& period : p.periods) p.records.push_back(period.stillest);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].syncMatched == 0) continue;
        ++p.matched;
        const StillPeriod* in = PeriodOf(p.periods, i);
        if (!in) continue;
        ++p.matchedStill;
        p.matchedProposed += in->stillest == i ? 1 : 0;
        marked[static_cast<std::size_t>(in - p.periods.data())] = true;
    }
    for (bool m : marked) p.periodsWithoutMark += m ? 0 : 1;
    return p;
}

std::string StillProposalSummary(const StillProposal& p) {
    const auto n = [](std::size_t v) { return std::to_string(v); };
    if (p.matched == 0)
        return FillTemplate(ORB_TEXT("core", "静止段 %1 个，建议测点 %2 个"),
                            {n(p.periods.size()), n(p.records.size())});
    return FillTemplate(ORB_TEXT("core",
                                 "静止段 %1 个，建议测点 %2 个；同步器匹配测点 %3 个：%4 个在静止段内（其中 "
                                 "%5 个与建议测点相同），%6 个测量时探管未静止；%7 个静止段没有匹配测点"),
                        {n(p.periods.size()), n(p.records.size()), n(p.matched), n(p.matchedStill),
                         n(p.matchedProposed), n(p.matched - p.matchedStill), n(p.periodsWithoutMark)});
}

std::string StillPeriodsText(std::span<const StillPeriod> periods) {
    std::string s;
    for (const StillPeriod& p : periods) {
        if (!s.empty()) s += ", ";
        s += std::to_string(p.first) + "-" + std::to_string(p.last);
    }
    return s;
}

std::vector<uint8_t> StillSelection(std::size_t recordCount, std::span<const std::size_t> proposed) {
    std::vector<uint8_t> selected(recordCount, 0);
    for (std::size_t k : proposed)
        if (k < recordCount) selected[k] = 1;
    return selected;
}

}  // namespace orb
