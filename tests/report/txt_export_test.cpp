#include "report/txt_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>

#include "fake_table.h"
#include "test_dir.h"

namespace orb {
namespace {

using test::FakeTable;

TxtExportFormat Layout(std::vector<int> cols, bool captions = false, bool space = true) {
    TxtExportFormat f;
    f.writeCaptions = captions ? 1 : 0;
    f.separator = space ? 1 : 0;
    for (int c : cols) f.columns[f.count++] = c;
    return f;
}

const std::string kXuHao = "\xD0\xF2\xBA\xC5";               // 序号
const std::string kJingXie = "\xBE\xAE\xD0\xB1";             // 井斜
const std::string kCiFangWei = "\xB4\xC5\xB7\xBD\xCE\xBB";   // 磁方位
const std::string kCeShen = "\xB2\xE2\xC9\xEE";              // 测深
const std::string kCiPianJiao = "\xB4\xC5\xC6\xAB\xBD\xC7";  // 磁偏角

TEST(TxtExport, WorkedLinesWithSpaceAndComma) {
    FakeTable t;
    t.AddStation(0);
    EXPECT_EQ(BuildTxtExport(t, Layout({0, 3, 4}), 0.0f), "   1  12.50   123.4   \r\n");
    EXPECT_EQ(BuildTxtExport(t, Layout({0, 3, 4}, false, false), 0.0f), "   1 ,12.50  ,123.4  ,\r\n");
}

TEST(TxtExport, CaptionLineIsGbkWithItsOwnPaddings) {
    FakeTable t;
    EXPECT_EQ(BuildTxtExport(t, Layout({0, 3, 4}, true), 0.0f),
              kXuHao + "  " + kJingXie + "    " + kCiFangWei + "  \r\n");
    EXPECT_EQ(
        BuildTxtExport(t, Layout({2, 3, 14, 0}, true, false), 0.0f),
        kCeShen + ",    " + kJingXie + ",   " + kCiPianJiao + "," + std::string(12, ' ') + kXuHao + ", \r\n");
}

TEST(TxtExport, ValuePaddingsFollowTheTextLength) {
    FakeTable t;
    auto& r = t.AddStation(0).cells;
    r[3] = "";        // depth: empty -> 6
    r[4] = "5.00";    // inclination: 4 -> 2
    r[6] = "1.0";     // gravity tool face: 3 -> 7
    r[8] = "-12.5";   // dip: 5 -> 3
    r[11] = "100.5";  // temperature: 5 -> 3
    r[12] = "12.3";   // battery: always 5
    r[9] = "1.0000";  // total gravity: always 2
    EXPECT_EQ(BuildTxtExport(t, Layout({2, 3, 5, 7, 10, 11, 8, 12, 1, 9, 15, 21}, false, false), 0.0f),
              "       ,5.00   ,1.0        ,-12.5    ,100.5    ,12.3      ,1.0000   ,2013-05-07 14:03:09  ,"
              "00:03:10 ,0.9876 ,51678 ,0.8660 ,\r\n");
    for (auto [depth, padded] : {std::pair{"0.00", "0.00   "},
                                 {"12.50", "12.50  "},
                                 {"123.50", "123.50 "},
                                 {"1234.50", "1234.50"},
                                 {"12345.50", "12345.50"}}) {
        r[3] = depth;
        EXPECT_EQ(BuildTxtExport(t, Layout({2}), 0.0f), std::string(padded) + "  \r\n") << depth;
    }
}

TEST(TxtExport, TrueAzimuthAndDeclination) {
    FakeTable t;
    t.AddStation(0).cells[5] = "350.0";
    t.AddStation(1).cells[5] = "1.0";
    t.AddStation(2).cells[5] = "";
    EXPECT_EQ(BuildTxtExport(t, Layout({13, 14}, false, false), -5.5f),
              "344.50 ,-5.5  ,\r\n355.50 ,-5.5  ,\r\n354.50 ,-5.5  ,\r\n");
    // 359.9 + 0.096 normalises to 359.996, which reads as the full circle.
    t.rows.resize(1);
    t.rows[0].cells[5] = "359.9";
    EXPECT_EQ(BuildTxtExport(t, Layout({13, 14}), 0.096f), "0.0     0.1    \r\n");
    t.rows[0].cells[5] = "10.0";
    EXPECT_EQ(BuildTxtExport(t, Layout({13, 14}), 12.25f), "22.25   12.2   \r\n");
    EXPECT_EQ(BuildTxtExport(t, Layout({14}), -12.25f), "-12.2  \r\n");
}

TEST(TxtExport, UncheckedRowsAndMarksAreSkippedWithoutUsingNumbers) {
    FakeTable t;
    t.AddStation(0);
    t.AddStation(1, false);
    t.AddMark(2, "2013-05-07 14:05:00");
    t.AddStation(3);
    EXPECT_EQ(BuildTxtExport(t, Layout({0}), 0.0f), "   1  \r\n   2  \r\n");
    t.rows.clear();
    for (int i = 0; i < 10000; ++i) t.AddStation(i);
    const std::string out = BuildTxtExport(t, Layout({0}, false, false), 0.0f);
    EXPECT_EQ(out.substr(out.size() - 17), "9999 ,\r\n10000 ,\r\n");
}

TEST(TxtExport, FollowsTheDisplayedOrderAndContents) {
    // The table in reverse order, showing selected stations only: its own
    // numbers run 0, 1, 2 over records 7, 4, 2.
    FakeTable t;
    for (int i = 0; i < 3; ++i) t.AddStation(i).cells[4] = std::to_string(7 - i) + ".00";
    EXPECT_EQ(BuildTxtExport(t, Layout({0, 3}, false, false), 0.0f),
              "   1 ,7.00   ,\r\n   2 ,6.00   ,\r\n   3 ,5.00   ,\r\n");
}

TEST(TxtExport, DefaultLayoutGivesAnEmptyCaptionLineAndEmptyLines) {
    FakeTable t;
    t.AddStation(0);
    t.AddStation(1, false);
    t.AddStation(2);
    EXPECT_EQ(BuildTxtExport(t, TxtExportFormat{}, 0.0f), "\r\n\r\n\r\n");
}

TEST(TxtExport, NumbersNeverFollowTheLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    FakeTable t;
    t.AddStation(0).cells[5] = "1.5";
    const std::string out = BuildTxtExport(t, Layout({13, 14}), 0.25f);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(out, "1.75    0.2    \r\n");
}

TEST(TxtExport, OnlyTxtExtensionsQualify) {
    EXPECT_TRUE(IsTxtExportPath("/d/Well A.txt"));
    EXPECT_TRUE(IsTxtExportPath("/d/Well A.TXT"));
    EXPECT_FALSE(IsTxtExportPath("/d/Well A.Txt"));
    EXPECT_FALSE(IsTxtExportPath("/d/a.txt.bak"));
    EXPECT_FALSE(IsTxtExportPath("/d.txt/a"));
    EXPECT_FALSE(IsTxtExportPath("/d/a"));
}

TEST(TxtExport, WritesThePathAsChosenAndReplacesItWhole) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "Data");
    FakeTable t;
    t.AddStation(0);
    const std::string path = dir / "Data/Well A.TXT";
    test::WriteAll(path, "old content that is longer than the export");
    const FileResult r = ExportTxt(t, Layout({0, 3, 4}), 0.0f, path);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(test::ReadAll(path), "   1  12.50   123.4   \r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "data/well a.txt"));
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir / "Data")) ++files;
    EXPECT_EQ(files, 1);
}

TEST(TxtExport, AFileThatCannotBeCreatedIsReportedAndNothingIsWritten) {
    test::TempDir dir;
    FakeTable t;
    t.AddStation(0);
    const FileResult r = ExportTxt(t, Layout({0}), 0.0f, dir / "missing/out.txt");
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.message.find("missing/out.txt"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    test::WriteAll(dir / "keep.txt", "keep");
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_FALSE(ExportTxt(t, Layout({0}), 0.0f, dir / "keep.txt").ok());
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(test::ReadAll(dir / "keep.txt"), "keep");
}

TEST(TxtExport, NonAsciiCellTextsAreWrittenInTheCaptionCodePage) {
    FakeTable t;
    t.AddStation(0).cells[13] = "测深";
    EXPECT_EQ(BuildTxtExport(t, Layout({12}), 0.0f), kCeShen + "   \r\n");
}

}  // namespace
}  // namespace orb
