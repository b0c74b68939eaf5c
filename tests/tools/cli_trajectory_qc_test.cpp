// orb-cli trajectory and orb-cli qc on a small survey file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "document/orb_doc.h"
#include "document/tlm_file.h"
#include "tools/command_run.h"

namespace orb {
namespace {

using CliRun = test::CommandRun;

using test::OrbCli;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class CliTrajectoryQcTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("orb_cli_traj_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        // Record order differs from depth order; record 1 is not a station.
        struct Row {
            int selected;
            float depth, inclination, azimuth, gravity, dip;
        };
        const Row rows[] = {{1, 200, 20, 40, 1.0042f, 300.1f},
                            {0, 0, 0, 0, 1.0f, 300.0f},
                            {1, 100, 10, 40, 1.0f, 300.0f},
                            {1, 300, 30, 40, 0.997f, 299.5f}};
        COrbDoc doc;
        for (const Row& row : rows) {
            SurveyRecord r;
            r.selected = row.selected;
            r.depth = row.depth;
            r.inclination = row.inclination;
            r.azimuth = row.azimuth;
            r.totalGravity = row.gravity;
            r.totalMagnetic = 0.96f;
            r.dip = row.dip;
            r.temperature = 80;
            doc.AppendRecord(r);
        }
        const std::vector<uint8_t> bytes = EncodeTlm(doc, TlmTiming{3, 10});
        path = (dir / "survey.tlm").string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::filesystem::path dir;
    std::string path;
};

TEST_F(CliTrajectoryQcTest, TrajectoryCsvInAscendingDepth) {
    const CliRun run = OrbCli("trajectory --declination -5 " + path);
    ASSERT_EQ(run.status, 0);
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "MD,Inc,TrueAzi,TVD,N,E,VS,Dogleg,DLS");
    EXPECT_EQ(lines[1].substr(0, 22), "100.00,10.00,35.00,99.");
    EXPECT_EQ(lines[2].substr(0, 20), "200.00,20.00,35.00,1");
    EXPECT_EQ(lines[3].substr(0, 20), "300.00,30.00,35.00,2");
    EXPECT_EQ(lines[3].substr(lines[3].size() - 13), ",10.000,3.000");  // 10° per 100 m = 3°/30 m

    // Depths in feet: severity per 100 ft.
    const auto feet = Lines(OrbCli("trajectory --units ft " + path).out);
    ASSERT_EQ(feet.size(), 4u);
    EXPECT_EQ(feet[3].substr(feet[3].size() - 14), ",10.000,10.000");
    // Every record, and a chosen section azimuth.
    EXPECT_EQ(Lines(OrbCli("trajectory --all " + path).out).size(), 5u);
    const auto east = Lines(OrbCli("trajectory --vs-azimuth 90 " + path).out);
    ASSERT_EQ(east.size(), 4u);
}

TEST_F(CliTrajectoryQcTest, TrajectoryWritesTheFileWhole) {
    const std::string out = (dir / "trajectory.csv").string();
    std::ofstream(out) << "old content that is longer than nothing";
    const CliRun run = OrbCli("trajectory " + path + " -o " + out);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    std::ifstream in(out);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(written, OrbCli("trajectory " + path).out);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2u);  // no temporary file left behind

    EXPECT_EQ(OrbCli("trajectory " + path + " -o " + (dir / "no" / "such" / "dir.csv").string()).status, 1);
    EXPECT_EQ(OrbCli("trajectory --declination 400 " + path).status, 2);
    EXPECT_EQ(OrbCli("trajectory --vs-azimuth abc " + path).status, 2);
    EXPECT_NE(OrbCli("trajectory --units yd " + path).status, 0);
    EXPECT_EQ(OrbCli("trajectory " + (dir / "missing.tlm").string()).status, 1);
}

TEST_F(CliTrajectoryQcTest, QcOneLinePerRecordAndExitZeroOnFailures) {
    CliRun run = OrbCli("qc " + path + " --field 50000 --dip -60");
    ASSERT_EQ(run.status, 0);
    auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "0\t1\t超差\t总加速度超差: 1.0042 (参考 1.000 ± 0.003)");
    EXPECT_EQ(lines[1], "1\t0\t合格\t");
    EXPECT_EQ(lines[2], "2\t1\t合格\t");
    EXPECT_EQ(lines[3], "3\t1\t超差\t地磁倾角超差: -60.50 (参考 -60.00 ± 0.25)");

    // Field strength 0.96 * 52326 = 50233: outside ±200.
    lines = Lines(OrbCli("qc " + path + " --field=50000 --dip=-60 --tolerances 0.005,200,0.5").out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "0\t1\t超差\t地磁场强度超差: 50233 (参考 50000 ± 200)");
    // Without references only gravity is checked; an empty tolerance field keeps its default.
    lines = Lines(OrbCli("qc " + path + " --tolerances ,,9").out);
    EXPECT_EQ(lines[3], "3\t1\t合格\t");
    lines = Lines(OrbCli("qc " + path + " --temperature-range 0,50").out);
    EXPECT_EQ(lines[1], "1\t0\t合格\t温度超出合理范围: 80.0 (范围 0.0 ~ 50.0)");
}

TEST_F(CliTrajectoryQcTest, QcRefusesBadSettings) {
    EXPECT_EQ(OrbCli("qc " + path + " --tolerances -1,,").status, 2);
    EXPECT_EQ(OrbCli("qc " + path + " --tolerances 1,2").status, 2);
    EXPECT_EQ(OrbCli("qc " + path + " --gravity x").status, 2);
    EXPECT_EQ(OrbCli("qc " + path + " --temperature-range 50,0").status, 2);
    EXPECT_EQ(OrbCli("qc " + path + " --calibration " + path).status, 2);  // not 912 bytes
    EXPECT_EQ(OrbCli("qc " + (dir / "missing.tlm").string()).status, 1);
}

}  // namespace
}  // namespace orb
