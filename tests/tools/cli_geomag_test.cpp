// orb-cli geomag, grid and trajectory --north as a user calls them: the
// official WMM2025 points through the batch form, the refusals and the grid.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "document/orb_doc.h"
#include "document/tlm_file.h"
#include "geo/grid_projection.h"
#include "tools/command_run.h"

namespace orb {
namespace {

using test::OrbCli;
using test::RunShell;
using test::Stderr;

std::vector<std::vector<std::string>> Words(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream w(line);
        lines.emplace_back();
        for (std::string word; w >> word;) lines.back().push_back(word);
    }
    return lines;
}

std::string Cli() {
    return ORB_BINARY_DIR "/tools/orb-cli ";
}

TEST(CliGeomagTest, BatchReproducesTheOfficialWmm2025Points) {
    // The official file: year, height in km, lat, lon, D, I, H, X, Y, Z, F.
    const std::string file = ORB_SOURCE_DIR "/resources/geomag/WMM2025_FINAL_TEST_VALUES_HIGHPREC.txt";
    const auto run = RunShell(
        "grep -v '^#' " + file + " | awk '{print $1, $3, $4, $2 * 1000}' | " + Cli() + "geomag --batch",
        Stderr::kMerge);
    ASSERT_EQ(run.status, 0) << run.out;
    std::ifstream in(file);
    const auto got = Words(run.out);
    std::size_t k = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        double t, hkm, lat, lon, d, i, h, x, y, z, f;
        s >> t >> hkm >> lat >> lon >> d >> i >> h >> x >> y >> z >> f;
        ASSERT_LT(k, got.size());
        const auto& w = got[k++];
        ASSERT_EQ(w.size(), 8u);
        SCOPED_TRACE(line);
        const double expected[7] = {d, i, f, h, x, y, z};
        const double tolerance[7] = {0.01, 0.01, 0.1, 0.1, 0.1, 0.1, 0.1};
        for (int c = 0; c < 7; ++c) EXPECT_NEAR(std::stod(w[c]), expected[c], tolerance[c]) << c;
        EXPECT_EQ(w[7], "WMM2025");
    }
    EXPECT_EQ(k, 100u);
    EXPECT_EQ(got.size(), 100u);
}

TEST(CliGeomagTest, BatchModelsRefusalsAndMalformedLines) {
    const auto run =
        RunShell("printf '2030.0 30 110 0\\n# note\\n\\n1899.5 30 110 0\\n1995.0 30 110 0\\n' | " + Cli() +
                     "geomag --batch",
                 Stderr::kDiscard);
    ASSERT_EQ(run.status, 0);
    const auto w = Words(run.out);
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(run.out.substr(0, 38), "- - - - - - - none\n- - - - - - - none\n");
    EXPECT_EQ(w[2].back(), "IGRF-14");

    const auto bad =
        RunShell("printf '2026 30 110 0\\n2026 30 110\\n' | " + Cli() + "geomag --batch", Stderr::kMerge);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("line 2"), std::string::npos) << bad.out;
}

TEST(CliGeomagTest, SinglePositionWithUnitsWarningsAndReasons) {
    const auto ok = OrbCli("geomag --lat 30 --lon 110 --height 100 --date 2025-07-02", Stderr::kMerge);
    ASSERT_EQ(ok.status, 0) << ok.out;
    for (const char* part : {"模型: WMM2025", "磁偏角 D: -3.", " nT", "正常重力: 9.79"})
        EXPECT_NE(ok.out.find(part), std::string::npos) << part << "\n" << ok.out;
    const auto pole = OrbCli("geomag --lat 86 --lon 140 --year 2026", Stderr::kMerge);
    EXPECT_NE(pole.out.find("盲区"), std::string::npos) << pole.out;
    const auto late = OrbCli("geomag --lat 30 --lon 110 --year 2030", Stderr::kMerge);
    EXPECT_EQ(late.status, 1);
    EXPECT_NE(late.out.find("超出"), std::string::npos);
    EXPECT_EQ(OrbCli("geomag --lat 30 --lon 110 --year 2026 --model wmm2025").status, 0);
    EXPECT_EQ(OrbCli("geomag --lat 30 --lon 110 --year 2020 --model wmm2025").status, 1);
    EXPECT_EQ(OrbCli("geomag --lat 95 --lon 110").status, 2);
    EXPECT_EQ(OrbCli("geomag --lat 30 --lon 110 --date 2025-02-30").status, 2);
    // Degrees-minutes-seconds give the same field as decimal degrees.
    EXPECT_EQ(OrbCli("geomag --lat \"30 30 00 N\" --lon \"110°15'W\" --year 2026").out,
              OrbCli("geomag --lat 30.5 --lon -110.25 --year 2026").out);
}

TEST(CliGeomagTest, GridZones) {
    const auto utm = OrbCli("grid --lat 40 --lon 117.5 --projection utm");
    ASSERT_EQ(utm.status, 0);
    EXPECT_NE(utm.out.find("zone 50N\n"), std::string::npos) << utm.out;
    const auto gk = OrbCli("grid --lat 40 --lon 118.5 --projection tm:117");
    ASSERT_EQ(gk.status, 0);
    EXPECT_NE(gk.out.find("easting 628"), std::string::npos) << gk.out;
    EXPECT_NE(gk.out.find("convergence 0.96"), std::string::npos) << gk.out;
    EXPECT_EQ(OrbCli("grid --lat 40 --lon 118.5 --projection tm:x").status, 2);
    EXPECT_EQ(OrbCli("grid --lat 40 --projection utm").status, 2);
}

class CliTrajectoryNorthTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = (std::filesystem::temp_directory_path() /
                ("orb_cli_north_" + std::to_string(::getpid()) + ".tlm"))
                   .string();
        COrbDoc doc;
        for (float depth : {100.0f, 200.0f}) {
            SurveyRecord r;
            r.selected = 1;
            r.depth = depth;
            r.inclination = 10;
            r.azimuth = 40;
            doc.AppendRecord(r);
        }
        const std::vector<uint8_t> bytes = EncodeTlm(doc, TlmTiming{3, 10});
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    void TearDown() override { std::filesystem::remove(path); }

    // The azimuth column of the first station.
    std::string Azimuth(const std::string& args) {
        const auto w = OrbCli("trajectory " + path + " " + args).out;
        const std::size_t line = w.find('\n') + 1;
        const std::size_t a = w.find(',', w.find(',', line) + 1) + 1;
        return w.substr(a, w.find(',', a) - a);
    }
    std::string path;
};

TEST_F(CliTrajectoryNorthTest, MagneticTrueAndGridAzimuths) {
    EXPECT_EQ(Azimuth("--north magnetic --declination -5"), "40.00");
    EXPECT_EQ(Azimuth("--declination -5"), "35.00");
    EXPECT_EQ(Azimuth("--north true --declination -5"), "35.00");
    const double gamma = ProjectGrid(*ParseProjection("tm:117"), 40, 118.5).point->convergence;
    char expected[16];
    std::snprintf(expected, sizeof expected, "%.2f", 35.0 - gamma);
    EXPECT_EQ(Azimuth("--north grid --declination -5 --lat 40 --lon 118.5 --projection tm:117"), expected);
    const auto notes = OrbCli("trajectory " + path +
                                  " --north grid --declination -5 --lat 40 --lon 118.5 "
                                  "--projection tm:117 -o /dev/null",
                              Stderr::kMerge);
    EXPECT_NE(notes.out.find("子午线收敛角 0.96"), std::string::npos) << notes.out;
    // Grid without a position, and a model declination for a date no model covers (the
    // records carry 1899-12-30), are refused with the reason.
    EXPECT_EQ(OrbCli("trajectory " + path + " --north grid --declination -5").status, 2);
    const auto old = OrbCli("trajectory " + path + " --lat 40 --lon 118.5", Stderr::kMerge);
    EXPECT_EQ(old.status, 2);
    EXPECT_NE(old.out.find("超出"), std::string::npos) << old.out;
}

}  // namespace
}  // namespace orb
