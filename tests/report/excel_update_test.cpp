// Exports into existing workbooks: the cells A1:V(n + 1) of "Sheet1" change,
// everything else survives. data/foreign.xls and data/foreign.xlsx were made
// by LibreOffice Calc from data/foreign.fods, so the reader meets records it
// did not write itself.
#include <gtest/gtest.h>

#include "core/text_codec.h"
#include "fake_table.h"
#include "report/excel_export.h"
#include "report/xls_file.h"
#include "test_dir.h"
#include "xlrd_reader.h"

namespace orb {
namespace {

using test::FakeTable;
using test::ReadSheet;
using test::TempDir;

std::string Fixture(const std::string& name) {
    return ORB_SOURCE_DIR "/tests/report/data/" + name;
}

FakeTable Stations(int n) {
    FakeTable t;
    for (int i = 0; i < n; ++i) t.AddStation(i);
    return t;
}

class ExcelUpdate : public ::testing::TestWithParam<std::string> {
protected:
    std::string CopyFixture() {
        const std::string path = dir_ / ("book." + GetParam());
        std::filesystem::copy_file(Fixture("foreign." + GetParam()), path);
        return path;
    }
    TempDir dir_;
};

TEST_P(ExcelUpdate, OtherSheetsAndCellsSurvive) {
    const std::string path = CopyFixture();
    const auto before = test::ReadWithXlrd(path);
    ASSERT_EQ(before.size(), 3u);
    const FakeTable t = Stations(3);
    const FileResult r = ExportExcel(t, -5.5f, path);
    ASSERT_TRUE(r.ok()) << r.Text();
    const auto after = test::ReadWithXlrd(path);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].name, "Notes");
    EXPECT_EQ(after[1].name, "Sheet1");
    EXPECT_EQ(after[2].name, "Hidden");
    EXPECT_EQ(after[2].visibility, 1);
    EXPECT_EQ(after[2].cells.size(), 1u);
    EXPECT_EQ(after[2].At(0, 0)->value, 42.0);

    // Notes: every value and type, formulas as their results; the date keeps
    // its date format only in .xls (.xlsx keeps values only).
    ASSERT_EQ(after[0].cells.size(), before[0].cells.size());
    for (const auto& [rc, cell] : before[0].cells) {
        const auto* now = after[0].At(rc.first, rc.second);
        ASSERT_NE(now, nullptr);
        const bool date = cell.type == "date";
        EXPECT_EQ(now->type, date && GetParam() == "xlsx" ? "number" : cell.type)
            << rc.first << "," << rc.second;
        EXPECT_EQ(now->value, cell.value) << rc.first << "," << rc.second;
    }

    // Sheet1: A1:V4 replaced, W1 and rows below kept.
    const ReadSheet& s = after[1];
    EXPECT_EQ(s.At(0, 0)->value, "序号");
    EXPECT_EQ(s.At(0, 1)->type, "text");
    EXPECT_EQ(s.At(3, 0)->value, 2.0);
    EXPECT_EQ(s.At(3, 21)->value, 0.866);
    EXPECT_EQ(s.At(4, 0), nullptr);
    EXPECT_EQ(s.At(0, 22)->value, "W1 beyond V");
    EXPECT_EQ(s.At(29, 0)->value, 99.0);
    if (GetParam() == "xls") {
        EXPECT_EQ(s.At(29, 1)->type, "error");
        EXPECT_EQ(s.At(29, 1)->value, 7);
    } else {
        // Written as a formula giving the error; its stored result is the text.
        EXPECT_EQ(s.At(29, 1)->value, "#DIV/0!");
    }
    EXPECT_EQ(s.cells.size(), 4u * 22u + 3u);
}

TEST_P(ExcelUpdate, AShorterExportLeavesTheRowsOfALongerOne) {
    const std::string path = dir_ / ("twice." + GetParam());
    ASSERT_TRUE(ExportExcel(Stations(5), 0.0f, path).ok());
    FakeTable t = Stations(2);
    t.rows[0].cells[1] = "70";
    ASSERT_TRUE(ExportExcel(t, 0.0f, path).ok());
    const auto sheets = test::ReadWithXlrd(path);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].At(1, 0)->value, 70.0);
    EXPECT_EQ(sheets[0].At(5, 0)->value, 4.0);
    EXPECT_EQ(sheets[0].cells.size(), 6u * 22u);
}

TEST_P(ExcelUpdate, TheFileKeepsItsFormatWhateverItsName) {
    // A workbook of the other format under this name stays in its format.
    const std::string other = GetParam() == "xls" ? "xlsx" : "xls";
    const std::string path = dir_ / ("swapped." + GetParam());
    std::filesystem::copy_file(Fixture("foreign." + other), path);
    ASSERT_TRUE(ExportExcel(Stations(1), 0.0f, path).ok());
    const std::string head = test::ReadAll(path).substr(0, 4);
    EXPECT_EQ(head, other == "xls" ? std::string("\xD0\xCF\x11\xE0") : std::string("PK\x03\x04"));
    EXPECT_EQ(test::ReadWithXlrd(path).size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExcelUpdate, ::testing::Values("xls", "xlsx"));

XlsWorkbook TwoSheets() {
    XlsWorkbook book;
    for (const char16_t* name : {u"Alpha", u"Beta"}) {
        XlsSheet s;
        s.name = name;
        s.cells[XlsSheet::Key(0, 0)] = XlsCell::Num(1.5);
        book.sheets.push_back(s);
    }
    book.activeSheet = 1;
    return book;
}

TEST(ExcelUpdateXls, Sheet1IsAddedBeforeTheActiveSheet) {
    TempDir dir;
    const std::string path = dir / "two.xls";
    test::WriteAll(path, EncodeXlsFile(TwoSheets()));
    ASSERT_TRUE(ExportExcel(Stations(1), 0.0f, path).ok());
    const auto sheets = test::ReadWithXlrd(path);
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[0].name, "Alpha");
    EXPECT_EQ(sheets[1].name, "Sheet1");
    EXPECT_EQ(sheets[2].name, "Beta");
    EXPECT_EQ(sheets[1].cells.size(), 44u);
    EXPECT_EQ(sheets[2].At(0, 0)->value, 1.5);
}

TEST(ExcelUpdateXls, SheetNamesMatchWithoutCase) {
    TempDir dir;
    XlsWorkbook book = TwoSheets();
    book.sheets[0].name = u"SHEET1";
    const std::string path = dir / "case.xls";
    test::WriteAll(path, EncodeXlsFile(book));
    ASSERT_TRUE(ExportExcel(Stations(1), 0.0f, path).ok());
    const auto sheets = test::ReadWithXlrd(path);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].name, "SHEET1");
    EXPECT_EQ(sheets[0].At(1, 21)->value, 0.866);
}

TEST(ExcelUpdateXls, OverwrittenCellsKeepTheirFormat) {
    TempDir dir;
    const std::string path = dir / "fmt.xls";
    std::filesystem::copy_file(Fixture("foreign.xls"), path);
    XlsWorkbook before;
    ASSERT_TRUE(DecodeXlsFile(test::ReadAll(path), before, nullptr));
    const uint16_t redBold = before.sheets[1].Find(0, 1)->xf;
    EXPECT_NE(redBold, kDefaultCellXf);
    ASSERT_TRUE(ExportExcel(Stations(1), 0.0f, path).ok());
    XlsWorkbook after;
    ASSERT_TRUE(DecodeXlsFile(test::ReadAll(path), after, nullptr));
    EXPECT_EQ(after.sheets[1].Find(0, 1)->xf, redBold);
    EXPECT_EQ(after.sheets[1].Find(0, 1)->text, u"相对时间");
    EXPECT_EQ(after.sheets[1].Find(1, 1)->xf, kDefaultCellXf);
    EXPECT_EQ(after.styleRecords.size(), before.styleRecords.size());
    EXPECT_EQ(after.sheets[0].columnRecords.size(), before.sheets[0].columnRecords.size());
    EXPECT_EQ(after.sheets[0].mergeRecords.size(), before.sheets[0].mergeRecords.size());
}

}  // namespace
}  // namespace orb
