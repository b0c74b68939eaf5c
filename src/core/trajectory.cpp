#include "core/trajectory.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/angles.h"

namespace orb {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRadPerDeg = kPi / 180.0;
constexpr double kDegPerRad = 180.0 / kPi;
// Below this dogleg the ratio factor comes from its series: 2/b*tan(b/2)
// would divide 0 by 0 at b = 0; the first omitted term is below 1e-21 here.
constexpr double kSeriesLimit = 1e-3;
// |t1 + t2| below this: the two directions are opposite for all practical
// purposes and the sum no longer gives a reliable direction.
constexpr double kOppositeLimit = 1e-8;

using Vec3 = std::array<double, 3>;  // north, east, down

Vec3 Tangent(SurveyDirection d) {
    const double i = d.inclination * kRadPerDeg, a = d.azimuth * kRadPerDeg;
    return {std::sin(i) * std::cos(a), std::sin(i) * std::sin(a), std::cos(i)};
}

// Perpendicular to the tangent, in its vertical plane, pointing up the hole's
// high side; for a vertical hole the direction of its azimuth.
Vec3 HighSide(SurveyDirection d) {
    const double i = d.inclination * kRadPerDeg, a = d.azimuth * kRadPerDeg;
    return {std::cos(i) * std::cos(a), std::cos(i) * std::sin(a), -std::sin(i)};
}

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

TieOn SanitisedTieOn(const TieOn& t) {
    return {Finite(t.md),
            Finite(t.tvd),
            Finite(t.north),
            Finite(t.east),
            {Finite(t.direction.inclination), Finite(t.direction.azimuth)}};
}

// [0, 360) as NormalizeAngle gives it (so it matches the exported true
// azimuth), also for angles too large for its bounded loop; never -0.0.
double Azimuth(double degrees) {
    double a = NormalizeAngle(degrees);
    if (!(a >= 0.0 && a < 360.0)) {
        a = std::fmod(degrees, 360.0);
        if (a < 0) a += 360.0;
        if (a >= 360.0) a = 0.0;
    }
    return a + 0.0;
}

bool FiniteStation(double md, double inclination, double azimuth) {
    return std::isfinite(md) && std::isfinite(inclination) && std::isfinite(azimuth);
}

void SortByDepth(Trajectory& out) {
    const auto shallower = [](const TrajectoryStation& a, const TrajectoryStation& b) { return a.md < b.md; };
    out.reordered = !std::is_sorted(out.stations.begin(), out.stations.end(), shallower);
    if (out.reordered) std::stable_sort(out.stations.begin(), out.stations.end(), shallower);
}

void SetSeverity(TrajectoryStation& st, double course, double dlsLength) {
    if (course != 0) {
        st.dls = st.dogleg / std::fabs(course) * dlsLength;
        return;
    }
    // No length and no turn: a severity of 0 is the natural reading. A turn
    // over no length has none.
    st.dls = 0;
    if (st.dogleg != 0) st.notes |= kZeroCourseLength;
}

void Walk(const TrajectorySettings& settings, Trajectory& out) {
    const TieOn tie = SanitisedTieOn(settings.tieOn);
    const double dlsLength = DlsCourseLength(settings.dlsInterval, settings.depthUnit);
    double md = tie.md, tvd = tie.tvd, north = tie.north, east = tie.east;
    SurveyDirection dir = tie.direction;
    for (TrajectoryStation& st : out.stations) {
        const SurveyDirection next{st.inclination, st.trueAzimuth};
        const double course = st.md - md;
        const CurvatureStep step = MinimumCurvatureStep(dir, next, course);
        north += step.north;
        east += step.east;
        tvd += step.tvd;
        st.north = north;
        st.east = east;
        st.tvd = tvd;
        st.dogleg = step.dogleg;
        st.notes = step.oppositeDirections ? kOppositeDirection : kStationNoteNone;
        SetSeverity(st, course, dlsLength);
        md = st.md;
        dir = next;
    }
}

void Close(const TrajectorySettings& settings, Trajectory& out) {
    out.closureDistance = 0;
    out.closureAzimuth = 0;
    if (!out.stations.empty()) {
        const TrajectoryStation& last = out.stations.back();
        out.closureDistance = std::hypot(last.north, last.east);
        if (out.closureDistance > 0) {
            out.closureAzimuth = Azimuth(std::atan2(last.east, last.north) * kDegPerRad);
        }
    }
    const bool given = settings.vsAzimuth && std::isfinite(*settings.vsAzimuth);
    out.vsAzimuthIsClosure = !given;
    out.vsAzimuth = given ? Azimuth(*settings.vsAzimuth) : out.closureAzimuth;
    const double c = std::cos(out.vsAzimuth * kRadPerDeg), s = std::sin(out.vsAzimuth * kRadPerDeg);
    for (TrajectoryStation& st : out.stations) st.verticalSection = st.north * c + st.east * s;
}

void Finish(const TrajectorySettings& settings, Trajectory& out) {
    SortByDepth(out);
    Walk(settings, out);
    Close(settings, out);
}

TrajectoryStation StationOf(std::size_t index, double md, double inclination, double trueAzimuth) {
    TrajectoryStation st;
    st.recordIndex = index;
    st.md = md;
    st.inclination = inclination;
    st.trueAzimuth = trueAzimuth;
    return st;
}

}  // namespace

double DlsCourseLength(DlsInterval interval, DepthUnit unit) {
    if (interval == DlsInterval::kPer30Metres)
        return unit == DepthUnit::kMetres ? 30.0 : 30.0 / kMetresPerFoot;
    return unit == DepthUnit::kFeet ? 100.0 : 100.0 * kMetresPerFoot;
}

double DoglegRadians(SurveyDirection from, SurveyDirection to) {
    const double i1 = from.inclination * kRadPerDeg, i2 = to.inclination * kRadPerDeg;
    const double halfDa = (to.azimuth - from.azimuth) * kRadPerDeg / 2;
    const double sinProduct = std::sin(i1) * std::sin(i2);
    const double sdi = std::sin((i2 - i1) / 2), sda = std::sin(halfDa);
    const double csi = std::cos((i1 + i2) / 2), cda = std::cos(halfDa);
    // sin^2(b/2) and cos^2(b/2), each a sum of terms that are not negative for
    // inclinations in [0, 180], so neither loses precision to cancellation:
    // asin of the first alone would be as poor near b = pi as acos is near 0.
    const double halfSin2 = sdi * sdi + sinProduct * sda * sda;
    const double halfCos2 = csi * csi + sinProduct * cda * cda;
    return 2.0 * std::atan2(std::sqrt(std::max(halfSin2, 0.0)), std::sqrt(std::max(halfCos2, 0.0)));
}

double RatioFactor(double b) {
    if (b < kSeriesLimit) {
        const double b2 = b * b;
        return 1.0 + b2 / 12.0 + b2 * b2 / 120.0 + 17.0 * b2 * b2 * b2 / 20160.0;
    }
    return 2.0 / b * std::tan(b / 2.0);
}

CurvatureStep MinimumCurvatureStep(SurveyDirection from, SurveyDirection to, double courseLength) {
    CurvatureStep step;
    const double beta = DoglegRadians(from, to);
    step.dogleg = beta * kDegPerRad;
    const Vec3 t1 = Tangent(from), t2 = Tangent(to);
    const Vec3 sum{t1[0] + t2[0], t1[1] + t2[1], t1[2] + t2[2]};
    Vec3 d;
    if (std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]) < kOppositeLimit) {
        step.oppositeDirections = true;
        const Vec3 u = HighSide(from);
        const double chord = 2.0 * courseLength / kPi;
        d = {chord * u[0], chord * u[1], chord * u[2]};
    } else {
        const double k = courseLength / 2.0 * RatioFactor(beta);
        d = {k * sum[0], k * sum[1], k * sum[2]};
    }
    step.north = d[0];
    step.east = d[1];
    step.tvd = d[2];
    return step;
}

void ComputeTrajectory(std::span<const SurveyRecord> records, const TrajectorySettings& settings,
                       Trajectory& out) {
    out.stations.clear();
    out.skipped.clear();
    const double declination = Finite(settings.declination);
    // One allocation of the right size: growing step by step costs more in
    // fresh pages than the whole computation.
    std::size_t count = 0;
    for (const SurveyRecord& r : records) count += !settings.selectedOnly || r.selected == 1 ? 1 : 0;
    out.stations.reserve(count);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const SurveyRecord& r = records[i];
        if (settings.selectedOnly && r.selected != 1) continue;
        const double md = r.depth, inc = r.inclination, azi = r.azimuth;
        if (!FiniteStation(md, inc, azi)) {
            out.skipped.push_back(i);
            continue;
        }
        out.stations.push_back(StationOf(i, md, inc, Azimuth(azi + declination)));
    }
    Finish(settings, out);
}

Trajectory ComputeTrajectory(std::span<const SurveyRecord> records, const TrajectorySettings& settings) {
    Trajectory t;
    ComputeTrajectory(records, settings, t);
    return t;
}

void ComputeTrajectory(std::span<const StationInput> stations, const TrajectorySettings& settings,
                       Trajectory& out) {
    out.stations.clear();
    out.skipped.clear();
    out.stations.reserve(stations.size());
    for (const StationInput& s : stations) {
        if (!FiniteStation(s.md, s.direction.inclination, s.direction.azimuth)) {
            out.skipped.push_back(s.recordIndex);
            continue;
        }
        out.stations.push_back(
            StationOf(s.recordIndex, s.md, s.direction.inclination, Azimuth(s.direction.azimuth)));
    }
    Finish(settings, out);
}

}  // namespace orb
