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
    std::vector<int> stationSample;  // index of the middle resting sample of each station
};

SyntheticSurvey BuildSurvey(const SyntheticWell& well, const orb::ProbeCalibration& cal, int delayMinutes,
                            int intervalSeconds);

// Marks in sending order; `kept` receives the number the synchronizer keeps.
std::vector<MarkSpec> PlanMarks(const SyntheticSurvey& survey, const MarkPlan& plan, uint64_t seed,
                                int32_t& kept);

}  // namespace devsim
