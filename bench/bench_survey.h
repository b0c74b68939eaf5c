// The survey the export benchmarks share: 10,081 checked stations (a week of
// samples at one minute) with random readings.
#pragma once

#include <random>

#include "document/orb_doc.h"

namespace {

constexpr std::size_t kStations = 10081;

orb::COrbDoc MakeSurvey() {
    orb::COrbDoc doc;
    doc.SetTiming(orb::SurveyTiming{3, 60});
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    for (std::size_t i = 0; i < kStations; ++i) {
        orb::SurveyRecord r;
        r.selected = 1;
        r.depth = 10.0f * static_cast<float>(i);
        r.inclination = 90 * u(rng);
        r.azimuth = 360 * u(rng);
        r.gravityToolFace = 360 * u(rng);
        r.magneticToolFace = 360 * u(rng);
        r.dip = -80 + 160 * u(rng);
        r.totalGravity = 0.99f + 0.02f * u(rng);
        r.totalMagnetic = 0.98f + 0.04f * u(rng);
        r.temperature = 20 + 100 * u(rng);
        r.batteryVoltage = 3.6f;
        r.gx = u(rng), r.gy = u(rng), r.gz = u(rng), r.mx = u(rng), r.my = u(rng), r.mz = u(rng);
        r.sampleTime = 41401.5 + static_cast<double>(i) / 1440.0;
        doc.AppendRecord(r);
    }
    return doc;
}

}  // namespace
