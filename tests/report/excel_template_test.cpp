// Exports into report templates made by real spreadsheet software
// (data/make_templates.py: LibreOffice from data/template.fods), checked with
// independent readers: every record or part that the export need not change
// is byte-identical, python3-xlrd and python3-openpyxl read the new cells,
// and LibreOffice recalculates the template's formulas from them.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "fake_table.h"
#include "report/excel_export.h"
#include "report/xlsx_package.h"
#include "template_parts.h"
#include "test_dir.h"

namespace orb {
namespace {

using nlohmann::json;
using test::ReadAll;
using test::TempDir;
using test::WriteAll;

constexpr int kStations = 5;
constexpr float kDeclination = -5.5f;

test::FakeTable Survey(int n = kStations) {
    test::FakeTable t;
    for (int i = 0; i < n; ++i) {
        test::FakeRow& r = t.AddStation(i);
        r.cells[3] = std::to_string(1000 + 10 * i) + ".5";  // depth
        r.cells[4] = std::to_string(500 + i) + ".25";       // inclination
        r.cells[5] = std::to_string(100 + i) + ".0";        // magnetic azimuth
    }
    return t;
}

json Dump(const std::string& path) {
    TempDir dir;
    const std::string cmd = "/usr/bin/python3 '" ORB_SOURCE_DIR "/tests/report/dump_template.py' '" + path +
                            "' > '" + (dir / "out.json") + "' 2> '" + (dir / "err") + "'";
    if (std::system(cmd.c_str()) != 0) {
        ADD_FAILURE() << "the independent reader could not read " << path << ": " << ReadAll(dir / "err");
        return json::object();
    }
    return json::parse(ReadAll(dir / "out.json"));
}

// A LibreOffice profile that recalculates every workbook on loading. Its
// default for .xlsx is to trust the cached results; Excel honours the
// workbook's own request (fullCalcOnLoad), which LibreOffice 7.4 ignores.
void WriteRecalculatingProfile(const std::string& profile) {
    std::filesystem::create_directories(profile + "/user");
    WriteAll(profile + "/user/registrymodifications.xcu",
             R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="ODFRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
)");
}

// The first sheet ("Calc") as LibreOffice computes it on opening the file.
std::map<std::string, std::string> RecalculatedCalc(const std::string& path) {
    TempDir dir;
    WriteRecalculatingProfile(dir / "profile");
    const std::string cmd = "cd '" + dir.path() + "' && soffice -env:UserInstallation=file://" + dir.path() +
                            "/profile --headless --convert-to csv --outdir '" + dir.path() + "' '" + path +
                            "' > log 2>&1";
    std::map<std::string, std::string> out;
    if (std::system(cmd.c_str()) != 0) {
        ADD_FAILURE() << "LibreOffice could not open " << path << ": " << ReadAll(dir / "log");
        return out;
    }
    const std::string stem = std::filesystem::path(path).stem().string();
    std::istringstream csv(ReadAll(dir / (stem + ".csv")));
    for (std::string line; std::getline(csv, line);) {
        const std::size_t comma = line.find(',');
        if (comma != std::string::npos) out[line.substr(0, comma)] = line.substr(comma + 1);
    }
    return out;
}

bool InBlock(int row, int col, int stations) {
    return row <= stations && col < 22;
}

json CellsOutside(const json& sheet, int stations) {
    json out = json::array();
    for (const json& c : sheet["cells"])
        if (!InBlock(c[0], c[1], stations)) out.push_back(c);
    return out;
}

const json* CellAt(const json& sheet, int row, int col) {
    for (const json& c : sheet["cells"])
        if (c[0] == row && c[1] == col) return &c;
    return nullptr;
}

class ExcelTemplate : public ::testing::TestWithParam<std::string> {
protected:
    bool xls() const { return GetParam() == "xls"; }

    // The template with what LibreOffice cannot put into it: a macro-like
    // extra stream (.xls) or a custom part (.xlsx).
    std::string Template() const {
        const std::string bytes = ReadAll(ORB_SOURCE_DIR "/tests/report/data/template." + GetParam());
        if (xls()) {
            std::map<std::string, std::string> streams = test::OleStreams(bytes);
            streams["Macros/Module1"] = "Sub Stamp()\r\n  Range(\"A1\").Value = 1\r\nEnd Sub\r\n";
            return test::MakeOle(streams);
        }
        XlsxPackage p;
        std::string out;
        EXPECT_TRUE(p.Open(bytes, nullptr));
        EXPECT_TRUE(
            p.Put("customXml/item1.xml", "<?xml version=\"1.0\"?><orbTemplate version=\"3\"/>", nullptr));
        EXPECT_TRUE(p.Save(out, nullptr));
        return out;
    }

    std::string Path(const std::string& name = "report") const { return dir_ / (name + "." + GetParam()); }

    TempDir dir_;
};

// Records of a BIFF8 stream that the export may change: the shared strings
// and their index, sheet offsets, and the row-block index of a moved sheet.
bool MayChangeInGlobals(uint16_t type) {
    return type == 0x00FC || type == 0x00FF || type == 0x0085;
}
bool IsCellTableRecord(uint16_t t) {
    static const std::set<uint16_t> kCells = {0x0006, 0x0203, 0x027E, 0x00FD, 0x0204, 0x00D6, 0x0201, 0x0205,
                                              0x00BD, 0x00BE, 0x0207, 0x04BC, 0x0221, 0x0236, 0x0208, 0x00D7};
    return kCells.count(t) != 0;
}

// The workbook stream as substreams of records, with the records the export
// may change left out; the target sheet's cell table is left out too.
std::vector<std::vector<std::string>> KeptRecords(const std::string& stream, std::size_t target) {
    std::vector<std::vector<std::string>> subs;
    int depth = 0;
    uint16_t previous = 0;
    for (const test::BiffRecord& r : test::BiffRecords(stream)) {
        if (r.type == 0x0809 && depth++ == 0) subs.emplace_back();
        if (subs.empty()) continue;
        const std::size_t sub = subs.size() - 1;
        const bool continued = r.type == 0x003C && MayChangeInGlobals(previous);
        if (r.type != 0x003C) previous = r.type;
        if (r.type == 0x000A) --depth;
        if (sub == 0 && (MayChangeInGlobals(r.type) || continued)) continue;
        if (sub > 0 && r.type == 0x020B) continue;  // INDEX: stream positions
        if (sub == target && (IsCellTableRecord(r.type) || r.type == 0x0200 || r.type == 0x003C)) continue;
        subs.back().push_back(r.bytes);
    }
    return subs;
}

void ExpectUnchangedOutside(const std::string& before, const std::string& after, bool xls) {
    if (xls) {
        auto a = test::OleStreams(before), b = test::OleStreams(after);
        ASSERT_EQ(a.size(), b.size());
        for (const auto& [name, data] : a) {
            ASSERT_TRUE(b.count(name)) << name;
            if (name != "Workbook") {
                EXPECT_EQ(b[name], data) << name;
            }
        }
        // Substreams: globals, Calc, Sheet1.
        EXPECT_EQ(KeptRecords(a["Workbook"], 2), KeptRecords(b["Workbook"], 2));
        return;
    }
    auto a = test::ZipParts(before), b = test::ZipParts(after);
    static const std::set<std::string> kMayChange = {"xl/workbook.xml", "xl/worksheets/sheet2.xml",
                                                     "xl/calcChain.xml"};
    for (const auto& [name, data] : a) {
        if (kMayChange.count(name)) continue;
        ASSERT_TRUE(b.count(name)) << name;
        EXPECT_EQ(b[name], data) << name;
    }
    EXPECT_NE(b["xl/workbook.xml"].find("fullCalcOnLoad=\"1\""), std::string::npos);
}

TEST_P(ExcelTemplate, OnlyTheBlockOfSheet1ChangesAndTheTemplateRecalculates) {
    const std::string before = Template();
    WriteAll(Path(), before);
    const json old = Dump(Path());
    const FileResult r = ExportExcel(Survey(), kDeclination, Path());
    ASSERT_TRUE(r.ok()) << r.Text();
    EXPECT_EQ(r.message, "导出表格成功");
    const std::string after = ReadAll(Path());
    ExpectUnchangedOutside(before, after, xls());

    const json now = Dump(Path());
    ASSERT_EQ(now["sheets"].size(), 2u);
    EXPECT_EQ(now["names"], old["names"]);
    EXPECT_EQ(now["sheets"][0], old["sheets"][0]);  // Calc, formulas and all
    const json& s = now["sheets"][1];
    const json& was = old["sheets"][1];
    EXPECT_EQ(s["name"], "Sheet1");
    for (const char* kept : {"widths", "merged", "notes"}) EXPECT_EQ(s[kept], was[kept]) << kept;
    EXPECT_EQ(CellsOutside(s, kStations), CellsOutside(was, kStations));

    // The block: captions, numbers as numbers, texts as texts; the replaced
    // inclination cells keep their "0.00" format.
    EXPECT_EQ((*CellAt(s, 0, 0))[3], "序号");
    EXPECT_EQ((*CellAt(s, 0, 21))[3], "Mz");
    for (int i = 0; i < kStations; ++i) {
        const int row = i + 1;
        EXPECT_EQ((*CellAt(s, row, 0))[2], "number");
        EXPECT_EQ((*CellAt(s, row, 0))[3], double(i));
        EXPECT_EQ((*CellAt(s, row, 1))[3], "00:03:10");
        EXPECT_EQ((*CellAt(s, row, 3))[3], 500 + i + 0.25);
        EXPECT_EQ((*CellAt(s, row, 3))[4], (*CellAt(was, row, 3))[4]);
        EXPECT_EQ((*CellAt(s, row, 12))[2], "text");
        EXPECT_EQ((*CellAt(s, row, 13))[3], 100 + i - 5.5);
        EXPECT_EQ((*CellAt(s, row, 14))[3], -5.5);
    }

    // LibreOffice computes the Calc sheet from the new Sheet1 and the rows
    // the earlier, longer export left below it (rows 7 to 40).
    auto calc = RecalculatedCalc(Path());
    double oldDepths = 0;
    for (int row = kStations + 1; row < 40; ++row) oldDepths += row * 10 + 1;
    EXPECT_DOUBLE_EQ(std::stod(calc["max inclination"]), 504.25);
    EXPECT_EQ(calc["stations"], "39");
    EXPECT_DOUBLE_EQ(std::stod(calc["depth sum"]), 5102.5 + oldDepths);
    EXPECT_EQ(calc["first time"], "2013-05-07 14:03:09");
    EXPECT_DOUBLE_EQ(std::stod(calc["last azimuth"]), 98.5);
}

TEST_P(ExcelTemplate, ALaterShorterExportKeepsTheRowsBelowIt) {
    WriteAll(Path(), Template());
    ASSERT_TRUE(ExportExcel(Survey(5), 0.0f, Path()).ok());
    const std::size_t size = ReadAll(Path()).size();
    ASSERT_TRUE(ExportExcel(Survey(3), 0.0f, Path()).ok());
    const json s = Dump(Path())["sheets"][1];
    EXPECT_EQ((*CellAt(s, 3, 0))[3], 2.0);
    EXPECT_EQ((*CellAt(s, 5, 0))[3], 4.0);   // from the first export
    EXPECT_EQ((*CellAt(s, 6, 0))[3], 60.0);  // from the template
    // The same texts again do not grow the string table.
    ASSERT_TRUE(ExportExcel(Survey(5), 0.0f, Path()).ok());
    EXPECT_LT(ReadAll(Path()).size(), size + 1024);
}

TEST_P(ExcelTemplate, AWorkbookWithoutSheet1GetsItAfterItsSheets) {
    std::string bytes = Template();
    if (xls()) {
        auto streams = test::OleStreams(bytes);
        std::string& wb = streams["Workbook"];
        const std::size_t at = wb.find("Sheet1");
        ASSERT_NE(at, std::string::npos);
        wb.replace(at, 6, "Data01");
        bytes = test::MakeOle(streams);
    } else {
        XlsxPackage p;
        std::string book;
        ASSERT_TRUE(p.Open(bytes, nullptr));
        ASSERT_TRUE(p.Read("xl/workbook.xml", book, nullptr));
        const std::size_t at = book.find("name=\"Sheet1\"");
        ASSERT_NE(at, std::string::npos);
        book.replace(at, 13, "name=\"Data01\"");
        ASSERT_TRUE(p.Put("xl/workbook.xml", book, nullptr));
        ASSERT_TRUE(p.Save(bytes, nullptr));
    }
    WriteAll(Path(), bytes);
    const json old = Dump(Path());
    ASSERT_TRUE(ExportExcel(Survey(), 0.0f, Path()).ok());
    const json now = Dump(Path());
    ASSERT_EQ(now["sheets"].size(), 3u);
    EXPECT_EQ(now["sheets"][0], old["sheets"][0]);
    EXPECT_EQ(now["sheets"][1], old["sheets"][1]);
    const json& s = now["sheets"][2];
    EXPECT_EQ(s["name"], "Sheet1");
    EXPECT_EQ(s["cells"].size(), std::size_t(22 * (kStations + 1))) << s["cells"].dump();
    EXPECT_EQ((*CellAt(s, kStations, 0))[3], double(kStations - 1));
}

TEST_P(ExcelTemplate, AFileThatIsNoWorkbookIsNamedAndLeftAlone) {
    const std::string damaged = Template().substr(0, 3000);
    for (const std::string& junk : {std::string("just text\n"), damaged}) {
        WriteAll(Path(), junk);
        const FileResult r = ExportExcel(Survey(), 0.0f, Path());
        EXPECT_EQ(r.code, FileStatus::kCannotRead);
        EXPECT_EQ(r.message, "不是可读的Excel工作簿，没有导出：" + Path());
        EXPECT_EQ(ReadAll(Path()), junk);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ExcelTemplate, ::testing::Values("xls", "xlsx"));

}  // namespace
}  // namespace orb
