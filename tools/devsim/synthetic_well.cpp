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

// Probe time, battery and temperature along the whole run.
void TimeSamples(std::vector<StoredSampleSpec>& samples, const SyntheticWell& w, int delayMinutes,
                 int intervalSeconds) {
    const int64_t first = CivilSeconds(w.start) + int64_t{delayMinutes} * 60;
    const std::size_t total = samples.size();
    for (std::size_t k = 0; k < total; ++k) {
        StoredSampleSpec& s = samples[k];
        s.time = CivilFields(first + static_cast<int64_t>(k) * intervalSeconds);
        const double share = total > 1 ? static_cast<double>(k) / (total - 1) : 0.0;
        s.batteryTenths = static_cast<uint16_t>(
            std::lround((w.batteryStart + (w.batteryEnd - w.batteryStart) * share) * 10));
    }
}

class MultishotBuilder {
public:
    MultishotBuilder(const MultishotRun& run, const orb::ProbeCalibration& cal)
        : r_(run), w_(run.well), cal_(cal), u_(run.well.seed) {
        ProfileSpec p;
        p.count = static_cast<int>(run.stops.size()) + 2;
        p.kickoffStation = 0;
        p.buildPerStation = 4.0;
        p.seed = run.well.seed;
        stations_ = GenerateProfile(p);
    }

    SyntheticSurvey Build() {
        for (std::size_t i = 0; i < r_.stops.size(); ++i) {
            Travel(stations_[i]);
            Add(
                SegmentKind::kStop, r_.stops[i], [&](int) { return stations_[i]; }, w_.noiseCounts);
            if (i == 2) Special(SegmentKind::kRotation, stations_[i], r_.rotationSamples);
            if (i == 5) Special(SegmentKind::kVibration, stations_[i], r_.vibrationSamples);
            if (i == 7) Special(SegmentKind::kDrift, stations_.back(), r_.driftSamples);
        }
        Travel(stations_.back());
        return std::move(out_);
    }

private:
    void Special(SegmentKind kind, const StationSpec& at, int n) {
        Travel(at);
        if (kind == SegmentKind::kRotation) {
            Add(
                kind, n,
                [&](int k) {
                    return StationSpec{at.inclination, at.azimuth,
                                       Wrap360(at.toolFace + r_.rotationStep * k)};
                },
                w_.noiseCounts);
        } else if (kind == SegmentKind::kVibration) {
            Add(
                kind, n, [&](int) { return at; }, r_.vibrationCounts);
        } else {
            const double span = std::max(1, n - 1);
            Add(
                kind, n,
                [&](int k) {
                    return StationSpec{at.inclination + r_.driftInclination * k / span,
                                       Wrap360(at.azimuth + r_.driftAzimuth * k / span), at.toolFace};
                },
                w_.noiseCounts);
        }
        previous_ = at;
    }

    // Moving from the last attitude to `to`, the tool face turning at random.
    void Travel(const StationSpec& to) {
        const int n = std::max(1, w_.travelSamples);
        const StationSpec from = previous_;
        Add(
            SegmentKind::kTravel, n,
            [&](int k) {
                const double t = (k + 1.0) / (n + 1.0);
                return StationSpec{from.inclination + (to.inclination - from.inclination) * t,
                                   AngleBetween(from.azimuth, to.azimuth, t), Wrap360(u_(0, 360))};
            },
            60);
        previous_ = to;
    }

    template <typename At>
    void Add(SegmentKind kind, int n, At at, double noise) {
        const int first = static_cast<int>(out_.samples.size());
        // Warming on the way down, steady within a stretch.
        const double temperature = w_.surfaceTemperature + (w_.bottomTemperature - w_.surfaceTemperature) *
                                                               std::min(1.0, first / 400.0);
        for (int k = 0; k < n; ++k) {
            const double noiseM = kind == SegmentKind::kTravel ? 25 : noise;
            out_.samples.push_back(MakeSample(w_, cal_, at(k), temperature, noise, noiseM, u_));
        }
        if (kind == SegmentKind::kStop || kind == SegmentKind::kDrift)
            out_.stationSample.push_back(first + n / 2);
        out_.segments.push_back({kind, first, first + n - 1});
    }

    const MultishotRun& r_;
    const SyntheticWell& w_;
    const orb::ProbeCalibration& cal_;
    Uniform u_;
    std::vector<StationSpec> stations_;
    StationSpec previous_{0.2, 128.0, 0.0};
    SyntheticSurvey out_;
};

}  // namespace

const char* SegmentKindName(SegmentKind kind) {
    switch (kind) {
        case SegmentKind::kTravel:
            return "travel";
        case SegmentKind::kStop:
            return "stop";
        case SegmentKind::kRotation:
            return "rotation";
        case SegmentKind::kVibration:
            return "vibration";
        case SegmentKind::kDrift:
            return "drift";
    }
    return "";
}

SyntheticSurvey BuildMultishot(const MultishotRun& run, const orb::ProbeCalibration& cal, int delayMinutes,
                               int intervalSeconds) {
    SyntheticSurvey out = MultishotBuilder(run, cal).Build();
    TimeSamples(out.samples, run.well, delayMinutes, intervalSeconds);
    return out;
}

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
    TimeSamples(out.samples, w, delayMinutes, intervalSeconds);
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
