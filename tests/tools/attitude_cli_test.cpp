// Runs the built orb-cli attitude command as a field engineer would.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/attitude_text.h"
#include "core/calibration.h"
#include "core/synthetic.h"

namespace orb {
namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string out, err;
};

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class AttitudeCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("orb-attitude-" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }

    // A comma-decimal environment locale must change nothing.
    Result Run(const std::string& args, const std::string& input) {
        WriteFile("in.txt", input);
        const std::string cmd = "LC_ALL=de_DE.UTF-8 '" ORB_BINARY_DIR "/tools/orb-cli' attitude " + args +
                                " < '" + (dir_ / "in.txt").string() + "' > '" + (dir_ / "out.txt").string() +
                                "' 2> '" + (dir_ / "err.txt").string() + "'";
        Result r;
        const int raw = std::system(cmd.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = ReadFile(dir_ / "out.txt");
        r.err = ReadFile(dir_ / "err.txt");
        return r;
    }

    fs::path dir_;
};

TEST_F(AttitudeCli, ComputesEveryLineWithTheGivenCalibration) {
    const ProbeCalibration cal = GenerateCalibration(3);
    std::string block(912, '\0');
    cal.ToBytes(std::span<uint8_t, 912>(reinterpret_cast<uint8_t*>(block.data()), 912));
    const fs::path file = WriteFile("cal.bin", block);

    std::string input, expected;
    for (int i = 0; i < 20; ++i) {
        ToolAttitude a;
        a.inclination = 4.5 * i;
        a.azimuth = 17.0 * i;
        a.gravityToolFace = 33.0 * i;
        AttitudeSample s = RawSample(cal, 12.25f + i, IdealVectors(a));
        input += FormatFloatG9(s.v[AttitudeSample::kTemperature]);
        for (int k = 0; k < 6; ++k) input += " " + std::to_string(static_cast<int>(s.v[14 + k]));
        input += "\n";
        ComputeAttitude(cal, s);
        expected += FormatAttitudeOutputs(s) + "\n";
    }
    const Result r = Run("--calibration '" + file.string() + "'", input);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "");
}

TEST_F(AttitudeCli, DefaultBlockWithoutCalibration) {
    const Result r = Run("", "25 0 0 4500 0 0 0\n20 4500 0 0 0 4500 0\n");
    EXPECT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(first.substr(0, 7), "0 -0 25") << first;
    EXPECT_EQ(second.substr(0, 8), "90 90 20") << second;
}

TEST_F(AttitudeCli, MalformedLineStopsWithItsNumber) {
    const Result r = Run("", "25 0 0 4500 0 0 0\n25 0 0 4500 0 0 0\n25 0 0 4,5 0 0 0\n25 0 0 4500 0 0 0\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);  // lines before it are printed
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
}

TEST_F(AttitudeCli, RefusesACalibrationFileOfTheWrongSize) {
    const fs::path file = WriteFile("short.bin", std::string(911, '\0'));
    Result r = Run("--calibration '" + file.string() + "'", "25 0 0 4500 0 0 0\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("912"), std::string::npos) << r.err;
    r = Run("--calibration '" + (dir_ / "missing.bin").string() + "'", "");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("missing.bin"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace orb
