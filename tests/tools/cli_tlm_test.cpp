// orb-cli's survey-file commands: results land in the file (or in -o OUT),
// and every refused command leaves the input exactly as it was.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "document/tlm_file.h"
#include "tools/command_run.h"
#include "view/survey_table_model.h"

namespace orb {
namespace {

using CliRun = test::CommandRun;

test::CommandRun Cli(const std::string& args) {
    return test::OrbCli(args, test::Stderr::kMerge);
}

std::vector<uint8_t> Bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CliTlm : public testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/orbcli-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        file_ = dir_ / "s.tlm";
        COrbDoc doc;
        doc.SetWellNumber(u"井-1");
        for (int i = 0; i < 4; ++i) {
            SurveyRecord r;
            r.selected = i % 2;
            r.inclination = 178.0f;
            r.azimuth = 358.0f;
            r.reserved[5] = 1234 + i;
            doc.AppendRecord(r);
        }
        ASSERT_TRUE(SaveTlmFile(file_, doc, {2, 30}).ok());
        original_ = Bytes(file_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    COrbDoc Load(const std::filesystem::path& p) {
        TlmLoadResult r = LoadTlmFile(p);
        EXPECT_TRUE(r.loaded()) << r.message;
        return std::move(r.document);
    }

    std::filesystem::path dir_;
    std::filesystem::path file_;  // in dir_, set once dir_ exists
    std::vector<uint8_t> original_;
};

TEST_F(CliTlm, CommandsRewriteTheFileOrWriteOutput) {
    ASSERT_EQ(Cli("compensate " + file_.string() + " --inclination 5 --azimuth ' 5 ' -o " +
                  (dir_ / "out.TLM").string())
                  .status,
              0);
    EXPECT_EQ(Bytes(file_), original_);
    COrbDoc out = Load(dir_ / "out.TLM");
    EXPECT_EQ(out.Record(1).inclination, 177.0f);
    EXPECT_EQ(out.Record(1).azimuth, 3.0f);
    EXPECT_EQ(out.Record(0).inclination, 178.0f);  // not selected
    EXPECT_EQ(out.Record(3).reserved[5], 1237);

    ASSERT_EQ(Cli("select " + file_.string() + " --records 0,2-3").status, 0);
    ASSERT_EQ(Cli("depths " + file_.string() + " --initial 100 --segment -10").status, 0);
    COrbDoc doc = Load(file_);
    EXPECT_EQ(doc.Record(0).depth, 100.0f);
    EXPECT_EQ(doc.Record(1).depth, 0.0f);
    EXPECT_EQ(doc.Record(3).depth, 120.0f);
    EXPECT_EQ(doc.wellNumber(), u"井-1");

    const CliRun show = Cli("show " + file_.string());
    EXPECT_EQ(show.status, 0);
    EXPECT_NE(show.out.find("records:   4 (selected: 3)"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("井-1"), std::string::npos);
    EXPECT_NE(show.out.find("00:03:30"), std::string::npos);  // 2 min + 3 × 30 s
    EXPECT_NE(show.out.find("120.00  178.00  358.0"), std::string::npos) << show.out;
}

TEST_F(CliTlm, RefusedCommandsNeverTouchTheInput) {
    auto cut = original_;
    cut.resize(cut.size() - 3);
    std::ofstream(dir_ / "cut.tlm", std::ios::binary).write(reinterpret_cast<const char*>(cut.data()), 40);
    const std::string f = file_.string();
    const std::string out = (dir_ / "o.tlm").string();
    for (const std::string& args :
         {"depths " + f + " --initial abc --segment 1", "depths " + f + " --initial 1",
          "select " + f + " --records 9", "select " + f + " --records 2-1", "select " + f + " --all --none",
          "select " + f + " --all -o " + dir_.string() + "/o.Tlm", "compensate " + f + " --dip 1,5",
          "select " + (dir_ / "cut.tlm").string() + " --all -o " + out,
          "select " + (dir_ / "missing.tlm").string() + " --all -o " + out,
          "select " + f + " --all -o " + dir_.string() + "/no/such.tlm"}) {
        const CliRun r = Cli(args);
        EXPECT_NE(r.status, 0) << args;
        EXPECT_FALSE(r.out.empty()) << args;
        EXPECT_EQ(Bytes(file_), original_) << args;
        EXPECT_FALSE(std::filesystem::exists(out)) << args;
    }
    EXPECT_NE(Cli("show " + (dir_ / "cut.tlm").string()).out.find("文件不完整"), std::string::npos);
}

// `show` prints the table's own cell texts: no "-0.0", a full turn as "0.0",
// the depth of stations only.
TEST_F(CliTlm, ShowPrintsTheTableCells) {
    COrbDoc doc;
    SurveyRecord r;
    r.selected = 1;
    r.inclination = -0.004f;
    r.azimuth = 359.96f;
    r.gx = -0.00001f;
    r.depth = -0.001f;
    r.totalMagnetic = 1.0f;
    r.batteryVoltage = 3.65f;
    doc.AppendRecord(r);
    r.selected = 0;
    r.dip = -12.25f;
    doc.AppendRecord(r);
    const auto path = dir_ / "cells.tlm";
    ASSERT_TRUE(SaveTlmFile(path, doc, {7, 20}).ok());

    const CliRun show = Cli("show " + path.string());
    ASSERT_EQ(show.status, 0);
    doc.SetTiming(SurveyTiming{7, 20});
    SurveyTableModel table(doc);
    table.ReloadTable();
    for (std::size_t row = 0; row < 2; ++row) {
        std::string expected = std::to_string(row) + " " + std::to_string(doc.Record(row).selected);
        for (int c = kRelativeTimeColumn; c < kTableColumns; ++c) {
            const std::string cell = table.CellText(row, c);
            if (!cell.empty()) expected += " " + cell;
        }
        // Each line of the records table, with its runs of spaces closed up.
        bool found = false;
        std::istringstream lines(show.out);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string joined, w;
            while (words >> w) joined += (joined.empty() ? "" : " ") + w;
            found = found || joined == expected;
        }
        EXPECT_TRUE(found) << expected << "\n" << show.out;
    }
}

}  // namespace
}  // namespace orb
