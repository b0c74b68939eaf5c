// orb-cli table: the table of a survey file as the window shows it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/ole_date.h"
#include "document/orb_doc.h"
#include "document/tlm_file.h"
#include "tools/command_run.h"

namespace orb {
namespace {

using CliRun = test::CommandRun;

using test::OrbCli;

std::vector<std::vector<std::string>> Rows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
            cells.push_back(line.substr(start, tab - start));
        }
        cells.push_back(line.substr(start));
        rows.push_back(cells);
    }
    return rows;
}

class CliTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("orb_cli_table_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        COrbDoc doc;
        const double t0 = MakeOleDateTime(2013, 5, 7, 14, 3, 9).value;
        for (int i = 0; i < 4; ++i) {
            SurveyRecord r;
            r.selected = i % 2;      // records 1 and 3 are stations
            r.syncMatched = i == 2;  // record 2 was picked by a mark
            r.azimuth = i == 3 ? 359.96f : 10.0f * static_cast<float>(i);
            r.depth = 100.0f + static_cast<float>(i);
            r.totalMagnetic = 1.0f;
            r.sampleTime = t0 + i * 10 / 86400.0;
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

TEST_F(CliTableTest, PrintsEveryRowWithTwentyOneColumns) {
    const CliRun run = OrbCli("table " + path);
    ASSERT_EQ(run.status, 0);
    const auto rows = Rows(run.out);
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::string> first = {
        "[ ]",   "0",      "00:03:00", "",       "0.00",   "0.0",    "0.0",
        "0.0",   "0.0",    "0.0000",   "1.0000", "0.0",    "0.0",    "2013-05-07 14:03:09",
        "52326", "0.0000", "0.0000",   "0.0000", "0.0000", "0.0000", "0.0000"};
    EXPECT_EQ(rows[0], first);
    EXPECT_EQ(rows[1][0], "[x]");
    EXPECT_EQ(rows[1][3], "101.00");
    EXPECT_EQ(rows[3][5], "0.0");
}

TEST_F(CliTableTest, DisplayCommandsAndTimingOverrides) {
    auto rows = Rows(OrbCli("table --selected-only --reverse " + path).out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], "0");
    EXPECT_EQ(rows[0][2], "00:03:30");
    EXPECT_EQ(rows[1][2], "00:03:10");
    rows = Rows(OrbCli("table --delay 1500 --interval 0 " + path).out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3][2], "25:00:00");
    rows = Rows(OrbCli("table --auto-selected --interval -30 " + path).out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "[x]");
    EXPECT_EQ(rows[0][2], "00:02:00");
    EXPECT_EQ(rows[0][3], "102.00");
}

TEST_F(CliTableTest, RefusesBadFilesAndValues) {
    EXPECT_EQ(OrbCli("table " + (dir / "missing.tlm").string()).status, 1);
    EXPECT_NE(OrbCli("table --delay 40000 " + path).status, 0);
    const std::string wrong = (dir / "survey.txt").string();
    std::filesystem::copy_file(path, wrong);
    EXPECT_EQ(OrbCli("table " + wrong).status, 1);
    const std::string empty = (dir / "empty.tlm").string();
    std::ofstream(empty).close();
    const CliRun run = OrbCli("table " + empty);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace orb
