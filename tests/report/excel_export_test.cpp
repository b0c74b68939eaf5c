#include "report/excel_export.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>

#include "fake_table.h"
#include "report/export_columns.h"
#include "report/xls_file.h"
#include "test_dir.h"
#include "xlrd_reader.h"

namespace orb {
namespace {

using test::FakeTable;
using test::ReadSheet;
using test::TempDir;

void ExpectNumber(const ReadSheet& s, int row, int col, double v) {
    const auto* c = s.At(row, col);
    ASSERT_NE(c, nullptr) << "row " << row << " col " << col;
    EXPECT_EQ(c->type, "number") << "row " << row << " col " << col;
    EXPECT_EQ(c->value.get<double>(), v) << "row " << row << " col " << col;
}

void ExpectText(const ReadSheet& s, int row, int col, const std::string& v) {
    const auto* c = s.At(row, col);
    ASSERT_NE(c, nullptr) << "row " << row << " col " << col;
    EXPECT_EQ(c->type, "text") << "row " << row << " col " << col;
    EXPECT_EQ(c->value.get<std::string>(), v) << "row " << row << " col " << col;
}

void ExpectCaptions(const ReadSheet& s) {
    for (int c = 0; c < kExportColumnCount; ++c) ExpectText(s, 0, c, std::string(kExportColumns[c].caption));
}

// The station row of FakeTable::AddStation at sheet row `row`.
void ExpectStation(const ReadSheet& s, int row, double number, float declination, double trueAzimuth) {
    ExpectNumber(s, row, 0, number);
    ExpectText(s, row, 1, "00:03:10");
    const double parsed[] = {1234.5, 12.5, 123.4, 45.6, 270.0, 52.3, 1.0002, 0.9876, 35.5, 3.6};
    for (int c = 0; c < 10; ++c) ExpectNumber(s, row, 2 + c, parsed[c]);
    ExpectText(s, row, 12, "2013-05-07 14:03:09");
    ExpectNumber(s, row, 13, trueAzimuth);
    ExpectNumber(s, row, 14, static_cast<double>(declination));
    const double rest[] = {51678, 0.1234, -0.5678, 0.8123, 0.3, -0.4, 0.866};
    for (int c = 0; c < 7; ++c) ExpectNumber(s, row, 15 + c, rest[c]);
}

class ExcelExport : public ::testing::TestWithParam<std::string> {
protected:
    std::string Path(const std::string& stem) const { return dir_ / (stem + "." + GetParam()); }
    TempDir dir_;
};

TEST_P(ExcelExport, NewWorkbookHoldsCaptionsAndCheckedStationsInDisplayOrder) {
    FakeTable t;
    t.AddStation(0);
    t.AddStation(1, false);
    t.AddMark(2, "2013-05-07 14:05:00");
    t.AddStation(3).cells[5] = "1.0";
    auto& odd = t.AddStation(4).cells;
    odd[3] = "";
    odd[13] = "Invalid DateTime";
    const FileResult r = ExportExcel(t, -5.5f, Path("new"));
    ASSERT_TRUE(r.ok()) << r.Text();
    EXPECT_EQ(r.message, "导出表格成功");
    const auto sheets = test::ReadWithXlrd(Path("new"));
    ASSERT_EQ(sheets.size(), 1u);
    const ReadSheet& s = sheets[0];
    EXPECT_EQ(s.name, "Sheet1");
    ExpectCaptions(s);
    ExpectStation(s, 1, 0, -5.5f, 123.4 - 5.5);
    ExpectNumber(s, 2, 0, 3);  // the table's own number: gaps show skipped rows
    ExpectNumber(s, 2, 13, 355.5);
    ExpectNumber(s, 3, 2, 0.0);  // empty depth
    ExpectText(s, 3, 12, "Invalid DateTime");
    EXPECT_EQ(s.cells.size(), 4u * 22u);
}

TEST_P(ExcelExport, DeclinationIsTheSinglePrecisionValueWidened) {
    FakeTable t;
    t.AddStation(0).cells[5] = "359.9";
    ASSERT_TRUE(ExportExcel(t, 0.1f, Path("decl")).ok());
    const auto sheets = test::ReadWithXlrd(Path("decl"));
    ASSERT_EQ(sheets.size(), 1u);
    const double declination = 0.10000000149011612;
    const double trueAzimuth = 359.9 + static_cast<double>(0.1f) - 360.0;
    if (GetParam() == "xls") {
        ExpectNumber(sheets[0], 1, 14, declination);
        ExpectNumber(sheets[0], 1, 13, trueAzimuth);
    } else {
        // The .xlsx library writes 16 significant digits.
        EXPECT_NEAR(sheets[0].At(1, 14)->value.get<double>(), declination, 1e-16);
        EXPECT_NEAR(sheets[0].At(1, 13)->value.get<double>(), trueAzimuth, 1e-15);
    }
}

TEST_P(ExcelExport, NumbersNeverFollowTheLocale) {
    FakeTable t;
    t.AddStation(0);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    const FileResult r = ExportExcel(t, 0.5f, Path("locale"));
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(r.ok());
    const auto sheets = test::ReadWithXlrd(Path("locale"));
    ASSERT_EQ(sheets.size(), 1u);
    ExpectStation(sheets[0], 1, 0, 0.5f, 123.9);
}

TEST_P(ExcelExport, NoCheckedStationGivesTheCaptionRowOnly) {
    FakeTable t;
    t.AddStation(0, false);
    t.AddMark(1, "2013-05-07 14:05:00");
    ASSERT_TRUE(ExportExcel(t, 0.0f, Path("none")).ok());
    const auto sheets = test::ReadWithXlrd(Path("none"));
    ASSERT_EQ(sheets.size(), 1u);
    ExpectCaptions(sheets[0]);
    EXPECT_EQ(sheets[0].cells.size(), 22u);
}

TEST_P(ExcelExport, ACheckedMarkRowGivesZerosAndItsTime) {
    FakeTable t;
    t.AddMark(7, "2013-05-07 14:05:00").checked = true;
    ASSERT_TRUE(ExportExcel(t, 2.0f, Path("mark")).ok());
    const auto sheets = test::ReadWithXlrd(Path("mark"));
    ASSERT_EQ(sheets.size(), 1u);
    const ReadSheet& s = sheets[0];
    ExpectNumber(s, 1, 0, 7);
    EXPECT_EQ(s.At(1, 1), nullptr);  // an empty text leaves an empty cell
    for (int c = 2; c <= 11; ++c) ExpectNumber(s, 1, c, 0);
    ExpectText(s, 1, 12, "2013-05-07 14:05:00");
    ExpectNumber(s, 1, 13, 2.0);
    ExpectNumber(s, 1, 14, 2.0);
}

TEST_P(ExcelExport, AnUnreadableFileIsReportedAndLeftUntouched) {
    FakeTable t;
    t.AddStation(0);
    for (const std::string& junk :
         {std::string("just text\n"), std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8),
          std::string("PK\x03\x04 broken zip", 16)}) {
        test::WriteAll(Path("junk"), junk);
        const FileResult r = ExportExcel(t, 0.0f, Path("junk"));
        EXPECT_EQ(r.code, FileStatus::kCannotRead);
        EXPECT_EQ(r.message, "启动Excel服务器失败!");
        EXPECT_NE(r.detail, "");
        EXPECT_EQ(test::ReadAll(Path("junk")), junk);
    }
    // An empty file holds nothing to keep.
    test::WriteAll(Path("empty"), "");
    EXPECT_TRUE(ExportExcel(t, 0.0f, Path("empty")).ok());
    EXPECT_EQ(test::ReadWithXlrd(Path("empty")).size(), 1u);
    const FileResult r = ExportExcel(t, 0.0f, dir_ / ("no/such/dir/x." + GetParam()));
    EXPECT_EQ(r.code, FileStatus::kCannotCreate);
    EXPECT_EQ(r.error, ENOENT);
    EXPECT_EQ(r.message, "启动Excel服务器失败!");
}

TEST_P(ExcelExport, TooManyStationsWriteNothing) {
    const bool xls = GetParam() == "xls";
    const std::size_t limit = xls ? 65535 : 1048575;
    const test::RepeatedTable tooMany(limit + 1);
    const FileResult r = ExportExcel(tooMany, 0.0f, Path("big"));
    EXPECT_EQ(r.code, FileStatus::kTooLarge);
    EXPECT_NE(r.message.find(std::to_string(limit)), std::string::npos) << r.message;
    EXPECT_FALSE(std::filesystem::exists(Path("big")));
    // An existing file is left as it is.
    FakeTable t;
    t.AddStation(0);
    ASSERT_TRUE(ExportExcel(t, 0.0f, Path("big")).ok());
    const std::string before = test::ReadAll(Path("big"));
    EXPECT_EQ(ExportExcel(tooMany, 0.0f, Path("big")).code, FileStatus::kTooLarge);
    EXPECT_EQ(test::ReadAll(Path("big")), before);
    if (xls) {
        // The last row that fits.
        ASSERT_TRUE(ExportExcel(test::RepeatedTable(limit), 0.0f, Path("full")).ok());
        XlsWorkbook book;
        ASSERT_TRUE(DecodeXlsFile(test::ReadAll(Path("full")), book, nullptr));
        EXPECT_EQ(book.sheets[0].cells.size(), 65536u * 22u);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ExcelExport, ::testing::Values("xls", "xlsx"));

TEST(ExcelExportPath, ExtensionsAreExact) {
    EXPECT_EQ(ExcelFormatOfPath("/a/b.xls"), ExcelFormat::Xls);
    EXPECT_EQ(ExcelFormatOfPath("/a/b.XLS"), ExcelFormat::Xls);
    EXPECT_EQ(ExcelFormatOfPath("/a/b.Xls"), ExcelFormat::None);
    EXPECT_EQ(ExcelFormatOfPath("/a/b.xlsx"), ExcelFormat::Xlsx);
    EXPECT_EQ(ExcelFormatOfPath("/a/b.XLSX"), ExcelFormat::Xlsx);
    EXPECT_EQ(ExcelFormatOfPath("/a.xls/b"), ExcelFormat::None);
}

}  // namespace
}  // namespace orb
