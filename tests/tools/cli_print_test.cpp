// orb-cli print: the printed report of a realistic survey as a PDF, read
// back with poppler's pdftotext and pdfinfo. The sample survey and its PDFs
// stay in <build>/report-sample for a look at the pages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/ole_date.h"
#include "document/orb_doc.h"
#include "document/tlm_file.h"
#include "tools/command_run.h"

namespace orb {
namespace {

namespace fs = std::filesystem;

using ShellRun = test::CommandRun;

ShellRun Shell(const std::string& cmd) {
    return test::RunShell(cmd, test::Stderr::kMerge);
}

ShellRun Print(const std::string& args) {
    return Shell("QT_QPA_PLATFORM=offscreen " ORB_BINARY_DIR "/tools/orb-cli print " + args);
}

std::string PdfText(const fs::path& pdf, int page = 0) {
    std::string range = page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
    return Shell("pdftotext -layout -enc UTF-8" + range + " '" + pdf.string() + "' -").out;
}

// Index of the first line of pdftotext output whose words begin with
// `words`, or -1.
int LineStartingWith(const std::string& text, const std::vector<std::string>& words) {
    std::istringstream lines(text);
    std::string line;
    for (int n = 0; std::getline(lines, line); ++n) {
        std::istringstream in(line);
        std::vector<std::string> got;
        for (std::string w; got.size() < words.size() && in >> w;) got.push_back(w);
        if (got == words) return n;
    }
    return -1;
}

// A multi-shot run down a directional well: 96 samples 20 s apart after a
// 10 minute delay, kicking off at about 300 m and building to 38 degrees
// towards 128 degrees; every third sample is a station with its depth.
COrbDoc SampleSurvey() {
    COrbDoc doc;
    doc.SetTeamNumber(u"40501");
    doc.SetWellNumber(u"华H12-3井");
    doc.SetProbeNumber(u"ORB-0817");
    const double t0 = MakeOleDateTime(2024, 5, 7, 9, 30, 0).value;
    unsigned seed = 20240507;
    auto noise = [&seed](double amplitude) {
        seed = seed * 1103515245u + 12345u;
        return amplitude * (static_cast<double>((seed >> 8) & 0xFFFF) / 32768.0 - 1.0);
    };
    for (int i = 0; i < 96; ++i) {
        const double depth = 120.0 + 9.5 * i;
        const double build = std::clamp((depth - 300.0) / 600.0, 0.0, 1.0);
        const double inc = 0.35 + 37.8 * build * build * (3 - 2 * build) + noise(0.05);
        const double gtf = std::fmod(40.0 + 23.7 * i + 360.0, 360.0);
        SurveyRecord r;
        r.selected = i % 3 == 0 ? 1 : 0;
        r.syncMatched = r.selected;
        r.depth = r.selected ? static_cast<float>(depth) : 0.0f;
        r.inclination = static_cast<float>(inc);
        r.azimuth = static_cast<float>(inc < 2 ? std::fmod(200.0 + 47.0 * i, 360.0) : 128.4 + noise(0.4));
        r.gravityToolFace = static_cast<float>(gtf);
        r.magneticToolFace = static_cast<float>(std::fmod(gtf + 128.4, 360.0));
        r.dip = static_cast<float>(56.2 + noise(0.15));
        r.totalGravity = static_cast<float>(1.0 + noise(0.0008));
        r.totalMagnetic = static_cast<float>(0.9984 + noise(0.002));
        r.temperature = static_cast<float>(24.5 + 0.028 * depth + noise(0.1));
        r.batteryVoltage = static_cast<float>(3.62 - 0.0008 * i);
        r.gz = static_cast<float>(std::cos(inc * M_PI / 180));
        r.gx = static_cast<float>(std::sin(inc * M_PI / 180) * std::cos(gtf * M_PI / 180));
        r.gy = static_cast<float>(-std::sin(inc * M_PI / 180) * std::sin(gtf * M_PI / 180));
        r.sampleTime = t0 + 20.0 * i / 86400.0;
        r.sampleTimeStatus = kDateValid;
        doc.AppendRecord(r);
    }
    return doc;
}

class CliPrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fs::create_directories(Dir());
        ASSERT_TRUE(SaveTlmFile(Dir() / "survey.tlm", SampleSurvey(), TlmTiming{10, 20}).ok());
        COrbDoc one = SampleSurvey();
        one.EditRecords([](auto& recs) {
            for (auto& r : recs) r.selected = 0;
            recs[30].selected = 1;
        });
        ASSERT_TRUE(SaveTlmFile(Dir() / "one-station.tlm", one, TlmTiming{10, 20}).ok());
    }
    static fs::path Dir() { return fs::path(ORB_BINARY_DIR) / "report-sample"; }
    static std::string In(const char* name) { return "'" + (Dir() / name).string() + "'"; }
    static constexpr const char* kTime = " --print-time '2024-05-07 16:20:00'";
};

TEST_F(CliPrintTest, MultiPointReportOfAllRecords) {
    const fs::path pdf = Dir() / "survey-multi.pdf";
    fs::remove(pdf);
    const ShellRun run = Print(In("survey.tlm") + " --pdf '" + pdf.string() + "'" + kTime);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("3 page(s)"), std::string::npos) << run.out;
    const std::string info = Shell("pdfinfo '" + pdf.string() + "'").out;
    EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;

    // The report's faces are mapped onto the installed free faces, and the
    // banner is embedded at its natural size.
    const std::string fonts = Shell("pdffonts '" + pdf.string() + "'").out;
    for (const char* face : {"UKaiCN", "UMingCN", "LiberationSerif"}) {
        EXPECT_NE(fonts.find(face), std::string::npos) << face << "\n" << fonts;
    }
    const std::string images = Shell("pdfimages -list '" + pdf.string() + "'").out;
    EXPECT_NE(images.find(" 1437   106 "), std::string::npos) << images;
    EXPECT_EQ(images.find("jpeg"), std::string::npos) << images;  // copied, not recompressed

    const std::string page1 = PdfText(pdf, 1);
    for (const char* want : {"电子单多点测斜记录",
                             "打印时间:2024-05-07 16:20:00",
                             "井队编号：",
                             "40501",
                             "探管编号：",
                             "ORB-0817",
                             "华H12-3井",
                             "打印方式：",
                             "多点",
                             "序号",
                             "时间",
                             "测深",
                             "井斜",
                             "磁方位",
                             "GTF",
                             "MTF",
                             "DIP",
                             "温度",
                             "电压",
                             "第1页/共3页"}) {
        EXPECT_NE(page1.find(want), std::string::npos) << want << "\n" << page1;
    }
    const int first = LineStartingWith(page1, {"0", "00:10:00", "120.00", "0.36", "200.0", "40.0", "168.4"});
    const int last = LineStartingWith(page1, {"41", "00:23:40", "0.00", "10.93", "128.1"});
    EXPECT_GE(first, 0) << page1;
    EXPECT_EQ(last, first + 41) << page1;
    const std::string page3 = PdfText(pdf, 3);
    EXPECT_NE(page3.find("第3页/共3页"), std::string::npos) << page3;
    EXPECT_NE(page3.find("00:41:40"), std::string::npos) << page3;  // record 95, the last row
    EXPECT_EQ(page3.find("00:27:40"), std::string::npos) << page3;  // record 53 is on page 2
}

TEST_F(CliPrintTest, SelectedOnlyReversed) {
    const fs::path pdf = Dir() / "survey-selected-reverse.pdf";
    const ShellRun run = Print(In("survey.tlm") + " --pdf '" + pdf.string() + "' --selected-only --reverse");
    ASSERT_EQ(run.status, 0) << run.out;
    const std::string text = PdfText(pdf);
    // 32 stations on one page; the top row is ordinal 31, record 93.
    EXPECT_NE(text.find("第1页/共1页"), std::string::npos) << text;
    const int top = LineStartingWith(text, {"31", "00:41:00", "1003.50"});  // record 93
    const int bottom = LineStartingWith(text, {"0", "00:10:00", "120.00"});
    EXPECT_GE(top, 0) << text;
    EXPECT_EQ(bottom, top + 31) << text;
}

TEST_F(CliPrintTest, SinglePointSheet) {
    const fs::path pdf = Dir() / "survey-single.pdf";
    ShellRun run =
        Print(In("one-station.tlm") + " --pdf '" + pdf.string() + "' --mode single --clicked-row 4");
    ASSERT_EQ(run.status, 0) << run.out;
    std::string text = PdfText(pdf);
    for (const char* want :
         {"单点", "序 号:", "电池电压:", "磁方位:", "  30", "00:20:00", "405.00", "第1页/共1页"}) {
        EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
    }
    // Several stations: the warning, and a sheet of labels only.
    run = Print(In("survey.tlm") + " --pdf '" + pdf.string() + "' --mode single --clicked-row 4");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("只能选择一组数据！"), std::string::npos) << run.out;
    text = PdfText(pdf);
    EXPECT_NE(text.find("电池电压:"), std::string::npos);
    // No station's relative time: look past the header, whose print time can hold "00:" too.
    const std::size_t body = text.find("序 号:");
    ASSERT_NE(body, std::string::npos) << text;
    EXPECT_EQ(text.find("00:", body), std::string::npos) << text;
}

TEST_F(CliPrintTest, FailuresLeaveNoPdf) {
    const fs::path pdf = Dir() / "never.pdf";
    fs::remove(pdf);
    EXPECT_EQ(Print(In("missing.tlm") + " --pdf '" + pdf.string() + "'").status, 1);
    EXPECT_EQ(Print(In("survey.tlm") + " --pdf '" + (Dir() / "no-such-dir" / "x.pdf").string() + "'").status,
              1);
    EXPECT_NE(Print(In("survey.tlm") + " --pdf '" + pdf.string() + "' --mode both").status, 0);
    EXPECT_FALSE(fs::exists(pdf));
    EXPECT_FALSE(fs::exists(Dir() / "no-such-dir"));
}

}  // namespace
}  // namespace orb
