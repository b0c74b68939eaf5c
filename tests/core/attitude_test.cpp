#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "core/calibration.h"

namespace orb {
namespace {

using I = AttitudeSample::Index;

AttitudeSample Raw(float t, std::array<int, 6> counts) {
    AttitudeSample s;
    s.v[I::kTemperature] = t;
    for (int k = 0; k < 6; ++k) s.v[I::kRawGx + k] = static_cast<float>(counts[k]);
    return s;
}

AttitudeSample Computed(float t, std::array<int, 6> counts) {
    AttitudeSample s = Raw(t, counts);
    ComputeAttitude(ProbeCalibration::Default(), s);
    return s;
}

AttitudeSample FromComponents(std::array<float, 6> gm) {
    AttitudeSample s;
    for (int k = 0; k < 6; ++k) s.v[I::kGx + k] = gm[k];
    ComputeAngles(s);
    return s;
}

TEST(DefaultCalibration, LayoutAndBytes) {
    const ProbeCalibration c = ProbeCalibration::Default();
    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(c.values[i], identity[i]);
        EXPECT_EQ(c.values[15 + i], identity[i]);
    }
    for (int i = 30; i < 114; ++i) {
        const int k = (i - 30) % 14;
        EXPECT_EQ(c.values[i], k == 6 ? 4500.0 : k == 13 ? -4500.0 : 0.0) << i;
    }
    uint8_t bytes[912];
    c.ToBytes(bytes);
    // 4500.0 = 0x40B1940000000000, little-endian, first constant term at byte 288.
    const uint8_t le4500[8] = {0, 0, 0, 0, 0, 0x94, 0xB1, 0x40};
    EXPECT_EQ(std::memcmp(bytes + 288, le4500, 8), 0);
    EXPECT_EQ(ProbeCalibration::FromBytes(bytes).values, c.values);
}

TEST(ComputeAttitude, DefaultBlockCases) {
    AttitudeSample s = Computed(25.0f, {0, 0, 4500, 0, 0, 0});
    EXPECT_EQ(s.v[I::kGz], 1.0f);
    EXPECT_EQ(s.v[I::kInclination], 0.0f);  // not 360: vertical tool
    EXPECT_EQ(s.v[I::kTotalGravity], 1.0f);
    EXPECT_EQ(s.v[I::kTemperature], 25.0f);
    EXPECT_EQ(s.v[I::kRawGz], 4500.0f);

    s = Computed(-10.0f, {4500, 0, 0, 0, 0, 0});
    EXPECT_EQ(s.v[I::kGx], 1.0f);
    EXPECT_EQ(s.v[I::kInclination], 90.0f);

    s = Computed(80.0f, {0, -4500, 0, 0, 0, 0});
    EXPECT_EQ(s.v[I::kGravityToolFace], 90.0f);

    s = Computed(0.0f, {0, 0, 0, 4500, 0, 0});
    EXPECT_EQ(s.v[I::kMagneticToolFace], 180.0f);

    s = Computed(0.0f, {0, 0, -4500, 0, 0, 0});
    EXPECT_EQ(s.v[I::kInclination], 180.0f);
}

TEST(ComputeAttitude, CrossAxisThresholdBranches) {
    AttitudeSample s = Computed(20.0f, {0, 0, 3000, 0, 0, 0});
    EXPECT_NEAR(s.v[I::kInclination], 48.18968f, 1e-4);
    // Above the threshold the branch assumes |g| = 1: q = 1, inclination 0.
    s = Computed(20.0f, {0, 0, 3300, 0, 0, 0});
    EXPECT_EQ(s.v[I::kInclination], 0.0f);
    s = Computed(20.0f, {0, 0, -3300, 0, 0, 0});
    EXPECT_EQ(s.v[I::kInclination], 180.0f);
    // The threshold is the double 0.7071068, compared with gz widened.
    const float above = 0.7071068f;
    ASSERT_GT(static_cast<double>(above), 0.7071068);
    const float below = std::nextafter(above, 0.0f);
    EXPECT_NEAR(FromComponents({0, 0, below, 0, 0, 0}).v[I::kInclination], 45.0f, 1e-4);  // asin branch
    EXPECT_EQ(FromComponents({0, 0, above, 0, 0, 0}).v[I::kInclination], 0.0f);           // cross-axis
    EXPECT_EQ(FromComponents({0, 0, -above, 0, 0, 0}).v[I::kInclination], 180.0f);
}

TEST(ComputeAttitude, NearlyVerticalToolReadsZeroNotFullCircle) {
    // gx^2 + gy^2 below about 2^-25: s rounds up past pi/2.
    for (float gz : {1.0f, 0.99f, 0.8f}) {
        for (float gx : {0.0f, 1e-5f, -1.5e-4f}) {
            const AttitudeSample s = FromComponents({gx, 0.0f, gz, 0.3f, 0.1f, 0.5f});
            EXPECT_LT(s.v[I::kInclination], 0.01f) << gz << " " << gx;
            EXPECT_GE(s.v[I::kInclination], 0.0f);
        }
    }
    // Just above the limit the literal difference is positive and kept.
    const AttitudeSample s = FromComponents({4e-4f, 0.0f, 1.0f, 0, 0, 0});
    EXPECT_GT(s.v[I::kInclination], 0.0f);
    EXPECT_LT(s.v[I::kInclination], 0.05f);
}

TEST(ComputeAttitude, AzimuthAndDipFromComponents) {
    AttitudeSample s = FromComponents({1, 0, 0, 0, 1, 0});
    EXPECT_EQ(s.v[I::kAzimuth], 90.0f);
    EXPECT_EQ(s.v[I::kDip], 0.0f);
    s = FromComponents({0, 0, 1, 0, 0, -1});
    EXPECT_EQ(s.v[I::kDip], 270.0f);  // dip -90 stored normalised
    // Dip -30: field 30 degrees above the horizontal plane of a vertical tool.
    s = FromComponents({0, 0, 1, static_cast<float>(std::cos(std::numbers::pi / 6)), 0, -0.5f});
    EXPECT_NEAR(s.v[I::kDip], 330.0f, 1e-4);
    EXPECT_NEAR(s.v[I::kTotalMagnetic], 1.0f, 1e-6);
}

TEST(ComputeAttitude, DegenerateInputsGiveNanNotCrash) {
    ProbeCalibration c = ProbeCalibration::Default();
    c.values[ProbeCalibration::LowerPoly(0) + 6] = 4500.0;  // U == L for gx
    AttitudeSample s = Raw(0, {100, 0, 0, 0, 0, 0});
    ComputeAttitude(c, s);
    EXPECT_TRUE(std::isinf(s.v[I::kGx]));
    s = FromComponents({0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(std::isnan(s.v[I::kDip]));
    EXPECT_EQ(s.v[I::kInclination], 90.0f);
}

std::array<uint8_t, 32> Packet(uint8_t fill) {
    std::array<uint8_t, 32> p;
    p.fill(fill);
    return p;
}

TEST(CalibrationPackets, OnlyPacket31Commits) {
    ProbeCalibration cal = ProbeCalibration::Default();
    ProbeCalibration next;
    for (std::size_t i = 0; i < next.values.size(); ++i) next.values[i] = 0.5 * static_cast<double>(i) - 7;
    // The probe sends 1024 bytes; the 112 after the block are ignored.
    std::array<uint8_t, 1024> area;
    area.fill(0xEE);
    next.ToBytes(std::span<uint8_t, 912>(area.data(), 912));
    CalibrationPackets packets;
    auto slot = [&](unsigned i) { return std::span<const uint8_t, 32>(area.data() + 32 * i, 32); };
    for (unsigned i = 0; i <= 30; ++i) EXPECT_FALSE(packets.Store(i, slot(i), cal));
    EXPECT_EQ(cal.values, ProbeCalibration::Default().values);  // previous block in force
    EXPECT_FALSE(packets.Store(32, Packet(0x55), cal));         // ignored
    EXPECT_FALSE(packets.Store(1000, Packet(0x55), cal));
    EXPECT_EQ(packets.bytes()[1023], 0);
    EXPECT_TRUE(packets.Store(31, slot(31), cal));
    EXPECT_EQ(cal.values, next.values);
    EXPECT_EQ(packets.bytes()[1023], 0xEE);  // tail received, not part of the block

    // A second read that stops early leaves the committed block; its slots stay.
    EXPECT_FALSE(packets.Store(0, Packet(0), cal));
    EXPECT_EQ(cal.values, next.values);
    EXPECT_EQ(packets.bytes()[0], 0);
}

}  // namespace
}  // namespace orb
