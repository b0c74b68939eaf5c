// Sheet1's cells written as text give the part that the tree of the whole
// sheet gives, and whatever the text path does not take is left to the
// tree, which refuses what is not well-formed.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "report/xlsx_package.h"
#include "report/xlsx_sheet_cells.h"
#include "report/xlsx_xml.h"
#include "test_dir.h"

namespace orb::xlsx {
namespace {

const std::string kDecl = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                          "\n";
const std::string kNs = R"( xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";

std::string Sheet(const std::string& inner) {
    return kDecl + "<worksheet" + kNs + "><dimension ref=\"A1:E5\"/>" + inner + "</worksheet>";
}

// Three rows of three columns: texts that need escaping or keep their
// spaces, numbers, and each kind of empty or special cell.
XlsRows Block() {
    XlsCell yes, error, blank;
    yes.kind = XlsCell::Kind::Boolean, yes.code = 1;
    error.kind = XlsCell::Kind::Error, error.code = 0x07;
    return {{XlsCell::Str(u"测深"), XlsCell::Str(u" lead"), XlsCell::Str(u"a<b&c>\r\x01")},
            {XlsCell::Num(1.5), XlsCell::Num(-0.0), blank},
            {XlsCell::Str(u""), yes, error}};
}

std::string ByTree(const std::string& sheet, std::set<std::string>& formulas) {
    const XmlDoc doc = Parse(sheet, "sheet");
    formulas = PutCells(doc.get(), Block());
    return Serialize(doc.get());
}

TEST(XlsxSheetText, GivesThePartTheTreeGives) {
    const std::string styled =
        R"(<row r="1" spans="1:5" ht="20" customHeight="1">)"
        R"(<c r="A1" s="3" t="s"><v>0</v></c><c r="B1"><f>SUM(D1:E1)</f><v>2</v></c>)"
        R"(<c r="D1" s="4"><f>1+1</f><v>2</v></c><c r="E1" t="inlineStr"><is><t>&lt;&amp;</t></is></c></row>)"
        R"(<row r="2"><c r="A2" s="5"/><c r="B2" s="6"><v>9</v></c><c r="C2"><v>7</v></c></row>)"
        R"(<row r="3"><c r="A3"><v>1</v></c><c r="C3" s="2"><is><r><t>rich</t></r></is></c></row>)"
        R"(<row r="5" spans="1:2"><c r="A5"><f>A1</f><v>0</v></c></row>)";
    const struct {
        const char* what;
        std::string sheet;
    } cases[] = {
        {"no cells yet", Sheet("<sheetData/>")},
        {"an empty sheetData element", Sheet("<sheetData></sheetData>")},
        {"a longer earlier export with formats, formulas and cells beside it",
         Sheet("<sheetData>" + styled + "</sheetData>")},
        {"rows and cells missing",
         Sheet(R"(<sheetData><row r="2"><c r="C2"><v>1</v></c></row><row r="7"/></sheetData>)")},
        {"empty rows and cells",
         Sheet(R"(<sheetData><row r="1"/><row r="2"><c r="C2" s="1"/></row></sheetData>)")},
        {"what follows the cells",
         Sheet(
             R"(<sheetData><row r="1"><c r="A1"><v>1</v></c></row></sheetData>)"
             R"(<mergeCells count="1"><mergeCell ref="D1:E2"/></mergeCells>)"
             R"(<conditionalFormatting sqref="A1:A9"><cfRule type="expression" dxfId="0" priority="1"><formula>A1&gt;2</formula></cfRule></conditionalFormatting>)")},
        {"a prefixed namespace",
         kDecl +
             R"(<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:sheetData>)"
             R"(<x:row r="1"><x:c r="A1" s="2"><x:v>1</x:v></x:c><x:c r="F1"><x:v>3</x:v></x:c></x:row></x:sheetData></x:worksheet>)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::set<std::string> treeFormulas, textFormulas;
        const std::string tree = ByTree(c.sheet, treeFormulas);
        std::string text;
        ASSERT_TRUE(PutCellsInText(c.sheet, Block(), text, textFormulas));
        EXPECT_EQ(text, tree);
        EXPECT_EQ(textFormulas, treeFormulas);
    }
}

// The template made by LibreOffice goes the text path, so the read-back tests
// of the exports into it check that path.
TEST(XlsxSheetText, TakesTheTemplateOfASpreadsheetProgram) {
    XlsxPackage package;
    std::string sheet, out;
    ASSERT_TRUE(package.Open(test::ReadAll(ORB_SOURCE_DIR "/tests/report/data/template.xlsx"), nullptr));
    ASSERT_TRUE(package.Read("xl/worksheets/sheet2.xml", sheet, nullptr));
    std::set<std::string> treeFormulas, textFormulas;
    const std::string tree = ByTree(sheet, treeFormulas);
    ASSERT_TRUE(PutCellsInText(sheet, Block(), out, textFormulas));
    EXPECT_EQ(out, tree);
    EXPECT_EQ(textFormulas, treeFormulas);
}

TEST(XlsxSheetText, LeavesTheUnusualAndTheDamagedToTheTree) {
    const struct {
        const char* what;
        std::string sheet;
        bool wellFormed;
    } cases[] = {
        {"a row without its number", Sheet(R"(<sheetData><row><c r="A1"/></row></sheetData>)"), true},
        {"a cell without its reference", Sheet(R"(<sheetData><row r="1"><c><v>1</v></c></row></sheetData>)"),
         true},
        {"a cell of another row", Sheet(R"(<sheetData><row r="1"><c r="A2"/></row></sheetData>)"), true},
        {"rows out of order", Sheet(R"(<sheetData><row r="2"/><row r="1"/></sheetData>)"), true},
        {"a comment between cells", Sheet(R"(<sheetData><row r="1"><!-- x --><c r="A1"/></row></sheetData>)"),
         true},
        {"a namespace declared on a row", Sheet(R"(<sheetData><row r="1" xmlns:y="urn:y"/></sheetData>)"),
         true},
        {"no sheetData", Sheet(""), true},
        {"another encoding",
         R"(<?xml version="1.0" encoding="ISO-8859-1"?>)"
         "\n<worksheet" +
             kNs + "><sheetData/></worksheet>",
         true},
        {"the marker in the sheet", Sheet("<sheetData/><!--orb-cells-->"), true},
        {"a kept cell not closed", Sheet(R"(<sheetData><row r="9"><c r="A9"><v>1</c></row></sheetData>)"),
         false},
        {"a replaced cell not closed", Sheet(R"(<sheetData><row r="1"><c r="A1"><v>1</c></row></sheetData>)"),
         false},
        {"an unknown entity", Sheet(R"(<sheetData><row r="9"><c r="A9"><v>&x;</v></c></row></sheetData>)"),
         false},
        {"a byte that is no UTF-8",
         Sheet("<sheetData><row r=\"9\"><c r=\"A9\"><v>\xFF</v></c></row></sheetData>"), false},
        {"a control character",
         Sheet("<sheetData><row r=\"9\"><c r=\"A9\"><v>\x01</v></c></row></sheetData>"), false},
        {"an attribute written twice", Sheet(R"(<sheetData><row r="9" r="9"/></sheetData>)"), false},
        {"an unquoted attribute", Sheet(R"(<sheetData><row r=9/></sheetData>)"), false},
        {"a document type", kDecl + "<!DOCTYPE worksheet>" + Sheet("<sheetData/>").substr(kDecl.size()),
         false},
        {"damage after the cells", Sheet("<sheetData/><cols><col></cols>"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string out = "unchanged";
        std::set<std::string> formulas{"unchanged"};
        EXPECT_FALSE(PutCellsInText(c.sheet, Block(), out, formulas));
        EXPECT_EQ(out, "unchanged");
        EXPECT_EQ(formulas, std::set<std::string>{"unchanged"});
        if (!c.wellFormed) {
            EXPECT_THROW(Parse(c.sheet, "sheet"), std::runtime_error);
        }
    }
}

}  // namespace
}  // namespace orb::xlsx
