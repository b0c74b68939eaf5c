// orb-cli export-txt and export-xls: the exports of a survey file as the
// window's table would show it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/ole_date.h"
#include "document/orb_doc.h"
#include "document/tlm_file.h"
#include "report/test_dir.h"
#include "report/txt_export_format.h"
#include "report/xlrd_reader.h"

namespace orb {
namespace {

int OrbCli(const std::string& env, const std::string& args) {
    const std::string cmd = env + " " ORB_BINARY_DIR "/tools/orb-cli " + args + " >/dev/null 2>&1";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class CliExport : public ::testing::Test {
protected:
    void SetUp() override {
        COrbDoc doc;
        const double t0 = MakeOleDateTime(2013, 5, 7, 14, 3, 9).value;
        for (int i = 0; i < 4; ++i) {
            SurveyRecord r;
            r.selected = i != 1;  // records 0, 2 and 3 are stations
            r.inclination = 10.0f + static_cast<float>(i);
            r.azimuth = i == 3 ? 1.0f : 350.0f;
            r.depth = 100.0f + static_cast<float>(i);
            r.totalMagnetic = 1.0f;
            r.sampleTime = t0 + i * 10 / 86400.0;
            doc.AppendRecord(r);
        }
        const std::vector<uint8_t> bytes = EncodeTlm(doc, TlmTiming{3, 10});
        test::WriteAll(tlm, std::string(bytes.begin(), bytes.end()));
        // Never the user's own layout file.
        env = "XDG_CONFIG_HOME='" + dir.path() + "'";
    }

    test::TempDir dir;
    std::string tlm = dir / "survey.tlm";
    std::string env;
};

TEST_F(CliExport, TxtWithGivenColumns) {
    const std::string out = dir / "Out.TXT";
    ASSERT_EQ(OrbCli(env, "export-txt " + tlm + " -o '" + out +
                              "' --columns 0,3,13 --separator comma --no-captions "
                              "--declination -5.5"),
              0);
    EXPECT_EQ(test::ReadAll(out),
              "   1 ,10.00  ,344.50 ,\r\n   2 ,12.00  ,344.50 ,\r\n   3 ,13.00  ,355.50 ,\r\n");
}

TEST_F(CliExport, TxtFollowsReverseAndSelectedOnlyDisplay) {
    const std::string out = dir / "r.txt";
    ASSERT_EQ(
        OrbCli(env, "export-txt " + tlm + " -o " + out + " --columns 序号,测深 --reverse --selected-only"),
        0);
    // The default layout writes captions: 序号 and 测深 in GBK.
    EXPECT_EQ(test::ReadAll(out),
              "\xD0\xF2\xBA\xC5  \xB2\xE2\xC9\xEE     \r\n"
              "   1  103.00   \r\n   2  102.00   \r\n   3  100.00   \r\n");
}

TEST_F(CliExport, TxtUsesTheSavedLayoutOrTheDefaults) {
    const std::string out = dir / "d.txt";
    ASSERT_EQ(OrbCli(env, "export-txt " + tlm + " -o " + out), 0);
    EXPECT_EQ(test::ReadAll(out), "\r\n\r\n\r\n\r\n");
    TxtExportFormat f;
    f.columns[0] = 3;
    f.count = 1;
    f.writeCaptions = 0;
    ASSERT_TRUE(SaveTxtExportFormat(dir / "Orb/ExpFmt.ini", f).ok());
    ASSERT_EQ(OrbCli(env, "export-txt " + tlm + " -o " + out), 0);
    EXPECT_EQ(test::ReadAll(out), "10.00   \r\n12.00   \r\n13.00   \r\n");
}

TEST_F(CliExport, BadArgumentsWriteNothing) {
    EXPECT_NE(OrbCli(env, "export-txt " + tlm + " -o " + (dir / "x.Txt")), 0);
    EXPECT_NE(OrbCli(env, "export-txt " + tlm + " -o " + (dir / "x.txt") + " --columns 0,0"), 0);
    EXPECT_NE(OrbCli(env, "export-txt " + tlm + " -o " + (dir / "x.txt") + " --columns 22"), 0);
    EXPECT_NE(OrbCli(env, "export-txt " + tlm + " -o " + (dir / "x.txt") + " --declination 400"), 0);
    EXPECT_NE(OrbCli(env, "export-xls " + tlm + " -o " + (dir / "x.csv")), 0);
    EXPECT_NE(OrbCli(env, "export-xls " + (dir / "missing.tlm") + " -o " + (dir / "x.xls")), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "x.xls"));
}

TEST_F(CliExport, WorkbooksReadBackWithXlrd) {
    for (const std::string ext : {"xls", "xlsx"}) {
        const std::string out = dir / ("book." + ext);
        ASSERT_EQ(OrbCli(env, "export-xls " + tlm + " -o " + out + " --declination -5.5 --reverse"), 0)
            << ext;
        const auto sheets = test::ReadWithXlrd(out);
        ASSERT_EQ(sheets.size(), 1u);
        const test::ReadSheet& s = sheets[0];
        EXPECT_EQ(s.name, "Sheet1");
        EXPECT_EQ(s.At(0, 0)->value, "序号");
        // Reverse order: records 3, 2, 0 are the checked rows 0, 1, 3.
        EXPECT_EQ(s.At(1, 0)->value, 0.0);
        EXPECT_EQ(s.At(1, 13)->value, 355.5);
        EXPECT_EQ(s.At(2, 0)->value, 1.0);
        EXPECT_EQ(s.At(3, 0)->value, 3.0);
        EXPECT_EQ(s.At(3, 2)->value, 100.0);
        EXPECT_EQ(s.At(3, 12)->value, "2013-05-07 14:03:09");
        EXPECT_EQ(s.At(3, 14)->value, -5.5);
        EXPECT_EQ(s.At(4, 0), nullptr);
    }
}

}  // namespace
}  // namespace orb
