// Property tests: vectors built from a known attitude give that attitude
// back, directly and through raw counts of plausible calibrations.
#include "core/synthetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace orb {
namespace {

using I = AttitudeSample::Index;

// Smallest difference of two angles in degrees, across the 0/360 seam.
double AngleError(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

ToolAttitude RandomAttitude(std::mt19937_64& rng, double minInclination) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    ToolAttitude a;
    a.inclination = minInclination + (180.0 - 2 * minInclination) * u(rng);
    a.azimuth = 360.0 * u(rng);
    a.gravityToolFace = 360.0 * u(rng);
    a.dip = -80.0 + 160.0 * u(rng);
    a.fieldMagnitude = 0.3 + 1.2 * u(rng);
    return a;
}

struct MaxErrors {
    double inclination = 0, azimuth = 0, toolFace = 0, magToolFace = 0, dip = 0, g = 0, m = 0;

    void Add(const ToolAttitude& a, const AttitudeSample& s) {
        inclination = std::max(inclination, AngleError(s.v[I::kInclination], a.inclination));
        azimuth = std::max(azimuth, AngleError(s.v[I::kAzimuth], a.azimuth));
        toolFace = std::max(toolFace, AngleError(s.v[I::kGravityToolFace], a.gravityToolFace));
        const double mtf = std::atan2(-double{s.v[I::kMy]}, s.v[I::kMx]) * 180 / std::numbers::pi + 180;
        magToolFace = std::max(magToolFace, AngleError(s.v[I::kMagneticToolFace], mtf));
        dip = std::max(dip, AngleError(s.v[I::kDip], a.dip < 0 ? a.dip + 360 : a.dip));
        g = std::max(g, std::fabs(s.v[I::kTotalGravity] - a.gravityMagnitude));
        m = std::max(m, std::fabs(s.v[I::kTotalMagnetic] - a.fieldMagnitude) / a.fieldMagnitude);
    }
};

TEST(IdealVectors, GiveTheirAnglesBackWithinFloatRounding) {
    std::mt19937_64 rng(11);
    MaxErrors e;
    for (int i = 0; i < 200000; ++i) {
        const ToolAttitude a = RandomAttitude(rng, 3.0);
        const SensorVectors v = IdealVectors(a);
        AttitudeSample s;
        for (int k = 0; k < 3; ++k) {
            s.v[I::kGx + k] = static_cast<float>(v.g[k]);
            s.v[I::kMx + k] = static_cast<float>(v.m[k]);
        }
        ComputeAngles(s);
        e.Add(a, s);
    }
    // A few float steps of the degree values (one step at 300 degrees is 3e-5).
    EXPECT_LT(e.inclination, 2e-4);
    EXPECT_LT(e.azimuth, 2e-4);
    EXPECT_LT(e.toolFace, 2e-4);
    EXPECT_LT(e.magToolFace, 2e-4);
    EXPECT_LT(e.dip, 2e-4);
    EXPECT_LT(e.g, 3e-7);
    EXPECT_LT(e.m, 5e-7);
}

TEST(RawCountsFor, RoundTripThroughPlausibleCalibrations) {
    std::mt19937_64 rng(12);
    MaxErrors e;
    for (uint64_t seed = 0; seed < 200; ++seed) {
        const ProbeCalibration cal = GenerateCalibration(seed);
        for (int i = 0; i < 500; ++i) {
            const ToolAttitude a = RandomAttitude(rng, 10.0);
            const float t = static_cast<float>(-20.0 + 170.0 * (rng() >> 11) * 0x1p-53);
            AttitudeSample s = RawSample(cal, t, IdealVectors(a));
            ComputeAttitude(cal, s);
            e.Add(a, s);
        }
    }
    // One count is about 1/4500 of full scale; the angles follow within that.
    EXPECT_LT(e.inclination, 0.05);
    EXPECT_LT(e.azimuth, 0.5);
    EXPECT_LT(e.toolFace, 0.2);
    EXPECT_LT(e.dip, 0.1);
    EXPECT_LT(e.g, 1e-3);
    EXPECT_LT(e.m, 3e-3);
}

TEST(RawCountsFor, ComponentsComeBackWithinOneCountAndClamp) {
    const ProbeCalibration cal = GenerateCalibration(99);
    SensorVectors v;
    v.g = {0.25, -0.5, 0.8};
    v.m = {-0.3, 0.1, 0.45};
    for (float t : {-30.0f, 0.0f, 25.0f, 150.0f}) {
        AttitudeSample s = RawSample(cal, t, v);
        CalibrateComponents(cal, s);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(s.v[I::kGx + k], v.g[k], 5e-4) << t;
            EXPECT_NEAR(s.v[I::kMx + k], v.m[k], 5e-4) << t;
        }
    }
    v.g = {100, -100, 0};
    const std::array<int16_t, 6> clamped = RawCountsFor(ProbeCalibration::Default(), 20, v);
    EXPECT_EQ(clamped[0], 32767);
    EXPECT_EQ(clamped[1], -32768);
    EXPECT_EQ(clamped[2], 0);
    ProbeCalibration singular = ProbeCalibration::Default();
    singular.values[ProbeCalibration::kMagMatrix] = 0;
    EXPECT_EQ(RawCountsFor(singular, 20, v)[3], 0);
}

TEST(GenerateCalibration, PlausibleAndRepeatable) {
    EXPECT_EQ(GenerateCalibration(5).values, GenerateCalibration(5).values);
    EXPECT_NE(GenerateCalibration(5).values, GenerateCalibration(6).values);
    for (uint64_t seed = 0; seed < 50; ++seed) {
        const ProbeCalibration c = GenerateCalibration(seed);
        for (std::size_t base : {ProbeCalibration::kAccelMatrix, ProbeCalibration::kMagMatrix}) {
            for (int i = 0; i < 9; ++i) EXPECT_NEAR(c.values[base + i], i % 4 == 0 ? 1.0 : 0.0, 0.05);
        }
        for (int ch = 0; ch < 6; ++ch) {
            EXPECT_NEAR(c.values[ProbeCalibration::UpperPoly(ch) + 6], 4500, 300);
            EXPECT_NEAR(c.values[ProbeCalibration::LowerPoly(ch) + 6], -4500, 300);
        }
        EXPECT_EQ(c.values[12], 0.0);  // reserved
    }
}

}  // namespace
}  // namespace orb
