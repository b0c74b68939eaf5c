// orb-cli print --trajectory-page: one more page at the end with the
// trajectory of the selected stations, read back with poppler's pdftotext.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/orb_doc.h"
#include "document/tlm_file.h"
#include "tools/command_run.h"

namespace orb {
namespace {

namespace fs = std::filesystem;

test::CommandRun Shell(const std::string& cmd) {
    return test::RunShell(cmd, test::Stderr::kMerge);
}

// 50 records, every other one a station, building to 30° towards 75°.
fs::path WriteSurvey(const fs::path& dir) {
    COrbDoc doc;
    doc.EditRecords([](std::vector<SurveyRecord>& r) {
        for (int i = 0; i < 50; ++i) {
            SurveyRecord s;
            s.selected = i % 2;
            s.depth = static_cast<float>(20 * i);
            s.inclination = static_cast<float>(std::min(30, i));
            s.azimuth = 75.0f;
            s.totalGravity = 1.0f;
            s.totalMagnetic = 0.52f;
            s.dip = 57.5f;
            s.temperature = 30.0f;
            r.push_back(s);
        }
    });
    const fs::path file = dir / "well.TLM";
    EXPECT_TRUE(SaveTlmFile(file, doc, TlmTiming{}).ok());
    return file;
}

TEST(CliPrintTrajectory, AddsTheTrajectoryPageOnlyWhenAsked) {
    const fs::path dir = fs::path(ORB_BINARY_DIR) / "cli-print-trajectory";
    fs::create_directories(dir);
    const fs::path tlm = WriteSurvey(dir);
    const std::string cli =
        "QT_QPA_PLATFORM=offscreen " ORB_BINARY_DIR "/tools/orb-cli print '" + tlm.string() + "'";
    const fs::path plain = dir / "plain.pdf", with = dir / "trajectory.pdf";

    test::CommandRun r = Shell(cli + " --pdf '" + plain.string() + "'");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("2 page(s)"), std::string::npos) << r.out;
    r = Shell(cli + " --trajectory-page --declination 5 --pdf '" + with.string() + "'");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("3 page(s)"), std::string::npos) << r.out;

    const std::string last = Shell("pdftotext -enc UTF-8 -f 3 -l 3 '" + with.string() + "' -").out;
    for (const char* text :
         {"井眼轨迹", "按深度升序计算", "测点 25", "水平投影", "地磁场强度", "第3页/共3页"})
        EXPECT_NE(last.find(text), std::string::npos) << text << "\n" << last;
    EXPECT_EQ(Shell("pdftotext -enc UTF-8 '" + plain.string() + "' -").out.find("井眼轨迹"),
              std::string::npos);

    r = Shell(cli + " --trajectory-page --declination 400 --pdf '" + (dir / "bad.pdf").string() + "'");
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(fs::exists(dir / "bad.pdf"));
}

}  // namespace
}  // namespace orb
