#include "devsim/synthetic_well.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "core/synthetic.h"
#include "devsim/civil_time.h"

namespace devsim {
namespace {

// Deterministic uniform numbers in [lo, hi) on every platform.
class Uniform {
public:
    explicit Uniform(uint64_t seed) : rng_(seed) {}
    double operator()(double lo, double hi) {
        return lo + (hi - lo) * static_cast<double>(rng_() >> 11) * 0x1p-53;
    }

private:
    std::mt19937_64 rng_;
};

double Wrap360(double a) {
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}

// Shortest way from a to b on the circle.
double AngleBetween(double a, double b, double t) {
    double d = std::fmod(b - a + 540.0, 360.0) - 180.0;
    return Wrap360(a + d * t);
}

int16_t Clamp16(double v) {
    v = std::nearbyint(v);
    return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
}

StoredSampleSpec MakeSample(const SyntheticWell& w, const orb::ProbeCalibration& cal, const StationSpec& at,
                            double temperature, double noiseG, double noiseM, Uniform& u) {
    orb::ToolAttitude a;
    a.inclination = at.inclination;
    a.azimuth = at.azimuth;
    a.gravityToolFace = at.toolFace;
    a.dip = w.dip;
    a.fieldMagnitude = w.field;
    a.gravityMagnitude = w.gravity;
    const float t = static_cast<float>(std::nearbyint(temperature * 10.0) / 10.0);
    const auto counts = orb::RawCountsFor(cal, t, orb::IdealVectors(a));
    StoredSampleSpec s;
    s.temperatureTenths = Clamp16(temperature * 10.0);
    for (int k = 0; k < 6; ++k) {
        const double n = k < 3 ? noiseG : noiseM;
        s.raw[k] = Clamp16(counts[k] + u(-n, n));
    }
    return s;
}

}  // namespace

std::vector<StationSpec> GenerateProfile(const ProfileSpec& p) {
    Uniform u(p.seed);
    std::vector<StationSpec> stations;
    double inclination = 0.3, azimuth = p.azimuth, toolFace = u(0, 360);
    for (int i = 0; i < p.count; ++i) {
        if (i < p.kickoffStation) {
            inclination = u(0.1, 0.8);  // a vertical hole never reads exactly 0
            azimuth = Wrap360(p.azimuth + u(-60, 60));
        } else {
            const double target = std::min(p.holdInclination, (i - p.kickoffStation + 1) * p.buildPerStation);
            inclination = target + u(-0.3, 0.3);
            azimuth = Wrap360(p.azimuth + (i - p.kickoffStation) * p.turnPerStation + u(-0.8, 0.8));
        }
        toolFace = Wrap360(toolFace + u(-40, 40));
        stations.push_back({inclination, azimuth, toolFace});
    }
    return stations;
}

SyntheticSurvey BuildSurvey(const SyntheticWell& w, const orb::ProbeCalibration& cal, int delayMinutes,
                            int intervalSeconds) {
    Uniform u(w.seed);
    SyntheticSurvey out;
    const std::size_t perStation =
        static_cast<std::size_t>(std::max(0, w.travelSamples) + std::max(1, w.dwellSamples));
    const std::size_t total = perStation * w.stations.size();
    const int64_t first = CivilSeconds(w.start) + int64_t{delayMinutes} * 60;
    StationSpec previous{0.2, w.stations.empty() ? 0.0 : w.stations.front().azimuth, 0.0};
    for (std::size_t i = 0; i < w.stations.size(); ++i) {
        const StationSpec& st = w.stations[i];
        const double depthShare =
            w.stations.size() > 1 ? static_cast<double>(i) / (w.stations.size() - 1) : 0.0;
        const double temperature =
            w.surfaceTemperature + (w.bottomTemperature - w.surfaceTemperature) * depthShare;
        for (int k = 0; k < w.travelSamples; ++k) {
            // Moving: attitude between the stations, the string vibrating.
            const double t = (k + 1.0) / (w.travelSamples + 1.0);
            StationSpec between{previous.inclination + (st.inclination - previous.inclination) * t,
                                AngleBetween(previous.azimuth, st.azimuth, t), Wrap360(u(0, 360))};
            out.samples.push_back(MakeSample(w, cal, between, temperature - 0.3 * (1 - t), 60, 25, u));
        }
        const int dwell = std::max(1, w.dwellSamples);
        out.stationSample.push_back(static_cast<int>(out.samples.size()) + dwell / 2);
        for (int k = 0; k < dwell; ++k)
            out.samples.push_back(MakeSample(w, cal, st, temperature, w.noiseCounts, w.noiseCounts, u));
        previous = st;
    }
    for (std::size_t k = 0; k < out.samples.size(); ++k) {
        StoredSampleSpec& s = out.samples[k];
        s.time = CivilFields(first + static_cast<int64_t>(k) * intervalSeconds);
        const double share = total > 1 ? static_cast<double>(k) / (total - 1) : 0.0;
        s.batteryTenths = static_cast<uint16_t>(
            std::lround((w.batteryStart + (w.batteryEnd - w.batteryStart) * share) * 10));
    }
    return out;
}

std::vector<MarkSpec> PlanMarks(const SyntheticSurvey& survey, const MarkPlan& plan, uint64_t seed,
                                int32_t& kept) {
    Uniform u(seed ^ 0x5EED);
    std::vector<MarkSpec> marks;
    auto timeOf = [&](int sample, double extraSeconds) {
        const int64_t t = CivilSeconds(survey.samples.at(static_cast<std::size_t>(sample)).time);
        return CivilFields(t + std::llround(extraSeconds + u(-plan.jitterSeconds, plan.jitterSeconds)));
    };
    for (std::size_t i = 0; i < survey.stationSample.size(); ++i) {
        const int sample = survey.stationSample[i];
        marks.push_back({static_cast<int32_t>(i), timeOf(sample, 0)});
        if (std::find(plan.repeat.begin(), plan.repeat.end(), static_cast<int>(i)) != plan.repeat.end()) {
            // Pressed again a few seconds later: same sequence number.
            marks.push_back({static_cast<int32_t>(i), timeOf(sample, 4)});
        }
    }
    kept = static_cast<int32_t>(survey.stationSample.size());
    const int last = survey.stationSample.empty() ? 0 : survey.stationSample.back();
    for (int e = 0; e < plan.extra && !survey.samples.empty(); ++e) {
        marks.push_back({kept + e, timeOf(last, 60.0 * (e + 1))});
    }
    return marks;
}

}  // namespace devsim
