#include "core/trajectory_csv.h"

#include "core/fixed_text.h"

namespace orb {
namespace {

constexpr std::size_t kMaxListedIndexes = 10;

void AppendStation(std::string& out, const TrajectoryStation& s) {
    const auto cells = TrajectoryCells(s, "");
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c > 0) out.push_back(',');
        out += cells[c];
    }
    out.push_back('\n');
}

std::size_t CountNotes(const Trajectory& t, uint8_t note) {
    std::size_t n = 0;
    for (const TrajectoryStation& s : t.stations) n += (s.notes & note) != 0 ? 1 : 0;
    return n;
}

std::string SkippedNote(const Trajectory& t) {
    std::string s = "跳过 " + std::to_string(t.skipped.size()) + " 个测深或角度无效的记录（记录号";
    for (std::size_t i = 0; i < t.skipped.size() && i < kMaxListedIndexes; ++i) {
        s += (i == 0 ? " " : ", ") + std::to_string(t.skipped[i]);
    }
    if (t.skipped.size() > kMaxListedIndexes) s += ", …";
    return s + "）\n";
}

}  // namespace

std::array<std::string, kTrajectoryCellCount> TrajectoryCells(const TrajectoryStation& s,
                                                              const char* undefined) {
    return {FixedText(s.md, 2),
            FixedText(s.inclination, 2),
            FixedText(s.trueAzimuth, 2),
            FixedText(s.tvd, 3),
            FixedText(s.north, 3),
            FixedText(s.east, 3),
            FixedText(s.verticalSection, 3),
            FixedText(s.dogleg, 3),
            s.dlsDefined() ? FixedText(s.dls, 3) : std::string(undefined)};
}

std::string TrajectoryCsv(const Trajectory& trajectory) {
    std::string out = kTrajectoryCsvHeader;
    out.push_back('\n');
    out.reserve(out.size() + trajectory.stations.size() * 72);
    for (const TrajectoryStation& s : trajectory.stations) AppendStation(out, s);
    return out;
}

const char* DlsUnitText(DlsInterval interval) {
    return interval == DlsInterval::kPer30Metres ? "°/30m" : "°/100ft";
}

std::string TrajectoryNotes(const Trajectory& t, const TrajectorySettings& settings) {
    std::string s = "测点按测深升序排列（测深相同时保持记录顺序）";
    s += t.reordered ? "，与记录顺序不同\n" : "\n";
    if (!t.skipped.empty()) s += SkippedNote(t);
    if (const std::size_t n = CountNotes(t, kZeroCourseLength); n > 0) {
        s += std::to_string(n) + " 个测点与上一点测深相同而方向不同：位置不变，狗腿度无定义\n";
    }
    if (const std::size_t n = CountNotes(t, kOppositeDirection); n > 0) {
        s += std::to_string(n) + " 个测点与上一点方向相反（狗腿角 180°）：按上一点高边方向的半圆计算\n";
    }
    s += "测点数 " + std::to_string(t.stations.size()) + "，闭合距 " + FixedText(t.closureDistance, 3) +
         "，闭合方位 " + FixedText(t.closureAzimuth, 2) + "°，视平移方位 " + FixedText(t.vsAzimuth, 2) + "°" +
         (t.vsAzimuthIsClosure ? "（闭合方位）" : "") + "，狗腿度单位 " + DlsUnitText(settings.dlsInterval) +
         "\n";
    return s;
}

}  // namespace orb
