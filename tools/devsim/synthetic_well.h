// A survey made up for the simulated probe: stations of a directional well,
// the samples a probe timed by delay and interval would have stored while
// travelling between them and resting at them, and a synchronizer mark near
// each station.
#pragma once

#include <cstdint>
#include <vector>

#include "core/calibration.h"
#include "devsim/scenario.h"

namespace devsim {

struct StationSpec {
    double inclination = 0;
    double azimuth = 0;
    double toolFace = 0;  // gravity tool face as the probe computes it
};

// A build-and-hold profile: vertical to the kick-off station, then building
// at a steady rate to the hold inclination, azimuth turning slowly, the tool
// face wandering between stations.
struct ProfileSpec {
    int count = 60;
    int kickoffStation = 10;
    double buildPerStation = 2.5;
    double holdInclination = 42.0;
    double azimuth = 128.0;
    double turnPerStation = 0.2;
    uint64_t seed = 7;
};
std::vector<StationSpec> GenerateProfile(const ProfileSpec& p);

struct SyntheticWell {
    orb::DateTimeFields start;  // the probe starts counting its delay here
    std::vector<StationSpec> stations;
    double dip = 57.5;
    double field = 0.52;  // calibrated units
    double gravity = 1.0;
    double surfaceTemperature = 18.0;
    double bottomTemperature = 68.0;
    int travelSamples = 3;  // samples while moving to a station
    int dwellSamples = 4;   // samples while resting at it
    double noiseCounts = 2.0;
    double batteryStart = 7.9;
    double batteryEnd = 7.5;
    uint64_t seed = 7;
};

struct MarkPlan {
    double jitterSeconds = 3.0;
    std::vector<int> repeat;  // stations marked a second time right after the first
    int extra = 0;            // stray marks after the last station, not kept
};

struct SyntheticSurvey {
    std::vector<StoredSampleSpec> samples;
    std::vector<int> stationSample;       // index of the middle resting sample of each station
    std::vector<SampleSegment> segments;  // multishot runs only
};

SyntheticSurvey BuildSurvey(const SyntheticWell& well, const orb::ProbeCalibration& cal, int delayMinutes,
                            int intervalSeconds);

// A multishot run without a synchronizer: stops of the given lengths with
// travel between them, and, after the third, sixth and eighth stop, a stretch
// where the probe only turns about its axis (tool face stepping, inclination,
// azimuth and both total fields unchanged), one where it vibrates in place
// and one stop during which it drifts slowly (still within the default
// limits of a still period).
struct MultishotRun {
    SyntheticWell well;  // start, field, temperatures, noise, battery, seed
    std::vector<int> stops{2, 3, 4, 5, 6, 7, 8, 9, 10, 2, 6, 10};
    int rotationSamples = 8;
    double rotationStep = 25.0;  // tool face degrees per sample
    int vibrationSamples = 8;
    double vibrationCounts = 40.0;
    int driftSamples = 10;
    double driftInclination = 0.06;  // degrees over the whole stop
    double driftAzimuth = 0.2;
};

SyntheticSurvey BuildMultishot(const MultishotRun& run, const orb::ProbeCalibration& cal, int delayMinutes,
                               int intervalSeconds);

// Marks in sending order; `kept` receives the number the synchronizer keeps.
std::vector<MarkSpec> PlanMarks(const SyntheticSurvey& survey, const MarkPlan& plan, uint64_t seed,
                                int32_t& kept);

}  // namespace devsim
