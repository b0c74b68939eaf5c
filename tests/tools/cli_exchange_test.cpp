// orb-cli export-csv, export-las and export-witsml read back by readers that
// share nothing with Orb (tests/tools/exchange_readback.py), station by
// station against orb-cli trajectory; the WITSML layout against a committed
// golden file; orb-cli context round trip.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "document/orb_doc.h"
#include "document/tlm_extension.h"
#include "document/tlm_file.h"
#include "tools/command_run.h"

namespace orb {
namespace {

using test::OrbCli;
using test::RunShell;
using test::Stderr;

std::string ReadText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

SurveyContext TestContext() {
    SurveyContext c;
    c.surveyDate = "2026-12-01";
    c.declination = SourcedValue{-5.5, {ValueSource::Kind::kModel, "WMM2025", "2025.0-2030.0"}};
    c.convergence = SourcedValue{1.25, {}};
    c.fieldStrength = SourcedValue{52000, {}};
    c.dip = SourcedValue{47.5, {}};
    c.northReference = NorthReference::kGrid;
    c.tieOn = TieOn{50, 49.99, 0.1, 0.2, {0.5, 120}};
    return c;
}

// A small deviated survey: stations out of depth order, one record not a
// station, two stations at the same depth (DLS undefined there).
COrbDoc TestSurvey(std::u16string well) {
    COrbDoc doc;
    doc.SetWellNumber(std::move(well));
    doc.SetTeamNumber(u"70158钻井队");
    doc.SetProbeNumber(u"TL-0417");
    struct Row {
        int selected;
        float depth, inc, azi;
    };
    const Row rows[] = {{1, 300, 12, 130}, {1, 100, 2, 120},  {0, 150, 4, 0}, {1, 200, 6, 125},
                        {1, 200, 7, 126},  {1, 400, 20, 355}, {1, 500, 25, 5}};
    for (const Row& row : rows) {
        SurveyRecord r;
        r.selected = row.selected;
        r.depth = row.depth;
        r.inclination = row.inc;
        r.azimuth = row.azi;
        r.gravityToolFace = 30;
        r.magneticToolFace = 150;
        r.totalGravity = 1.0005f;
        r.totalMagnetic = 0.995f;
        r.dip = 47.6f;
        r.gx = 0.1f, r.gy = -0.05f, r.gz = 0.99f;
        r.mx = 0.2f, r.my = 0.3f, r.mz = 0.9f;
        r.sampleTime = 45000.5;
        doc.AppendRecord(r);
    }
    doc.SetContext(TestContext());
    return doc;
}

class CliExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("orb_cli_exchange_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Save(const COrbDoc& doc, const std::string& name) {
        const std::string path = (dir / name).string();
        EXPECT_TRUE(SaveTlmFile(path, doc, TlmTiming{5, 30}).ok());
        return path;
    }

    // The readback summary, after checking every station against trajectory.
    nlohmann::json ReadBack(const std::string& kind, const std::string& tlm, const std::string& options) {
        const std::string out = (dir / ("out." + kind)).string();
        const std::string traj = (dir / "traj.csv").string();
        EXPECT_EQ(OrbCli("trajectory '" + tlm + "' " + options + " -o '" + traj + "'").status, 0);
        const auto run =
            OrbCli("export-" + kind + " '" + tlm + "' " + options + " -o '" + out + "'", Stderr::kMerge);
        EXPECT_EQ(run.status, 0) << run.out;
        const auto back = RunShell("/usr/bin/python3 '" ORB_SOURCE_DIR "/tests/tools/exchange_readback.py' " +
                                       kind + " '" + out + "' '" + traj + "'",
                                   Stderr::kMerge);
        EXPECT_EQ(back.status, 0) << kind << " " << options << ": " << back.out;
        if (back.status != 0) return {};
        return nlohmann::json::parse(back.out);
    }

    std::filesystem::path dir;
};

TEST_F(CliExchangeTest, EveryFormatGivesTheTrajectoryStationByStation) {
    const std::string tlm = Save(TestSurvey(u"西页1-2H, \"A\": 井"), "survey.tlm");
    for (const std::string options : {"", "--north true", "--north magnetic --units ft",
                                      "--all --vs-azimuth 90", "--declination 3.25 --tie-on 0,0,0,0,0,0"}) {
        for (const std::string kind : {"csv", "las", "witsml"}) {
            const nlohmann::json r = ReadBack(kind, tlm, options);
            ASSERT_FALSE(r.is_null()) << kind << " " << options;
            EXPECT_EQ(r["stations"], options.find("--all") != std::string::npos ? 7 : 6)
                << kind << " " << options;
        }
    }
}

TEST_F(CliExchangeTest, HeadersStateWellReferencesAndTieOn) {
    const std::string well = "西页1-2H, \"A\": 井";
    const std::string tlm = Save(TestSurvey(u"西页1-2H, \"A\": 井"), "survey.tlm");
    const nlohmann::json csv = ReadBack("csv", tlm, "")["header"];
    EXPECT_EQ(csv["well"][0], well);  // commas and quotes survive RFC 4180 quoting
    EXPECT_EQ(csv["north reference"][0], "grid");
    EXPECT_EQ(csv["declination"][0], "-5.50");
    EXPECT_EQ(csv["declination"][1], "WMM2025（有效期 2025.0-2030.0）");
    EXPECT_EQ(csv["convergence"][1], "操作员输入");
    EXPECT_EQ(csv["tie-on MD inc azi TVD N E"],
              nlohmann::json({"50.00", "0.50", "120.00", "49.990", "0.100", "0.200"}));
    EXPECT_EQ(csv["survey date"][0], "2026-12-01");

    const nlohmann::json las = ReadBack("las", tlm, "--north true")["header"];
    EXPECT_EQ(las["Inclinometry_Parameter.I_DECL"]["value"], "-5.50");
    EXPECT_EQ(las["Inclinometry_Parameter.I_AZTR"]["value"], "TRUE NORTH");
    EXPECT_EQ(las["Inclinometry_Parameter.I_TIEMD"]["value"], "50.00");
    EXPECT_EQ(las["Inclinometry_Parameter.I_TIETVD"]["value"], "49.990");
    EXPECT_EQ(las["Well.WELL"]["value"], "西页1-2H, \"A\"： 井");  // ':' would end the value

    const nlohmann::json xml = ReadBack("witsml", tlm, "")["header"];
    EXPECT_EQ(xml["nameWell"], well);
    EXPECT_EQ(xml["aziRef"], "grid north");
    EXPECT_EQ(xml["gridConUsed"], "1.25");
    EXPECT_EQ(xml["firstStationType"], "tie in point");
}

TEST_F(CliExchangeTest, WitsmlMatchesTheGoldenFile) {
    const std::string tlm = Save(TestSurvey(u"W-1"), "golden.tlm");
    const std::string out = (dir / "out.xml").string();
    ASSERT_EQ(OrbCli("export-witsml '" + tlm + "' -o '" + out + "'").status, 0);
    const std::string golden = ORB_SOURCE_DIR "/tests/tools/data/trajectory.witsml";
    if (std::getenv("ORB_UPDATE_GOLDEN"))
        std::filesystem::copy_file(out, golden, std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(ReadText(out), ReadText(golden)) << "ORB_UPDATE_GOLDEN=1 rewrites " << golden;
}

TEST_F(CliExchangeTest, ContextCommandStoresShowsAndClears) {
    COrbDoc plain = TestSurvey(u"W-1");
    plain.SetContext({});
    const std::string tlm = Save(plain, "plain.tlm");
    const std::string original = ReadText(tlm);
    EXPECT_EQ(OrbCli("context '" + tlm + "'").out, "{}\n");

    const std::string json = (dir / "ctx.json").string();
    std::ofstream(json) << ContextToJson(TestContext());
    ASSERT_EQ(
        OrbCli("context '" + tlm + "' --set '" + json + "' -o '" + (dir / "with.tlm").string() + "'").status,
        0);
    const TlmLoadResult loaded = LoadTlmFile(dir / "with.tlm");
    ASSERT_TRUE(loaded.loaded());
    EXPECT_TRUE(loaded.document.context() == TestContext());

    ASSERT_EQ(OrbCli("context '" + (dir / "with.tlm").string() + "' --clear").status, 0);
    EXPECT_EQ(ReadText(dir / "with.tlm"), original);

    std::ofstream(json) << R"({"format":"orb-survey-context","version":9})";
    const auto bad = OrbCli("context '" + tlm + "' --set '" + json + "'", Stderr::kMerge);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("内容版本 9"), std::string::npos) << bad.out;
    EXPECT_EQ(ReadText(tlm), original);
}

TEST_F(CliExchangeTest, DamagedContextIsReportedAndTheSurveyStillExports) {
    std::string bytes = ReadText(Save(TestSurvey(u"W-1"), "damaged.tlm"));
    bytes[bytes.size() - 1] ^= 0x55;  // the CRC
    const std::string tlm = (dir / "damaged.tlm").string();
    std::ofstream(tlm, std::ios::binary) << bytes;
    const auto run = OrbCli("export-csv '" + tlm + "' -o '" + (dir / "d.csv").string() + "'", Stderr::kMerge);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("校验和不符"), std::string::npos) << run.out;
    EXPECT_NE(ReadText(dir / "d.csv").find("# north reference,true"), std::string::npos);
}

}  // namespace
}  // namespace orb
