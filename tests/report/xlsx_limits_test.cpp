// The .xlsx package reader believes no size and expands no entity: packages
// that lie about their members' sizes and parts that carry an entity bomb
// are refused cleanly, quickly and without large allocations.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstring>

#include "fake_table.h"
#include "report/excel_export.h"
#include "report/xlsx_package.h"
#include "report/xlsx_patcher.h"
#include "test_dir.h"

namespace orb {
namespace {

const std::string kPart = "xl/worksheets/sheet2.xml";  // Sheet1's part in the template

std::string Template() {
    return test::ReadAll(ORB_SOURCE_DIR "/tests/report/data/template.xlsx");
}

void PutLe32(std::string& s, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Sets the uncompressed size that the local and central headers of `name`
// declare (offsets 22 and 24 from their signatures).
std::string WithDeclaredSize(std::string zip, const std::string& name, uint32_t size) {
    for (const auto& [sig, field, nameAt] :
         {std::tuple{std::string("PK\x03\x04"), 22, 30}, std::tuple{std::string("PK\x01\x02"), 24, 46}}) {
        for (std::size_t at = zip.find(sig); at != std::string::npos; at = zip.find(sig, at + 4)) {
            if (zip.compare(at + nameAt, name.size(), name) == 0) PutLe32(zip, at + field, size);
        }
    }
    return zip;
}

std::string WithPart(const std::string& zip, const std::string& name, const std::string& data) {
    XlsxPackage p;
    std::string out;
    EXPECT_TRUE(p.Open(zip, nullptr));
    EXPECT_TRUE(p.Put(name, data, nullptr));
    EXPECT_TRUE(p.Save(out, nullptr));
    return out;
}

std::string EntityBomb(const std::string& root) {
    std::string dtd = "<?xml version=\"1.0\"?>\n<!DOCTYPE " + root + " [\n<!ENTITY a0 \"lol\">\n";
    for (int i = 1; i < 10; ++i)
        dtd += "<!ENTITY a" + std::to_string(i) + " \"" + [&] {
            std::string ten;
            for (int k = 0; k < 10; ++k) ten += "&a" + std::to_string(i - 1) + ";";
            return ten;
        }() + "\">\n";
    return dtd + "]>\n<" + root +
           " xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData><row r=\"1\"><c "
           "r=\"A1\" t=\"inlineStr\"><is><t>&a9;</t></is></c></row></sheetData></" +
           root + ">";
}

long PeakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

XlsRows OneRow() {
    return {std::vector<XlsCell>(22, XlsCell::Num(1))};
}

struct Hostile {
    const char* what;
    std::string bytes;
};

TEST(XlsxLimits, HostilePackagesAreRefusedWithoutLargeAllocations) {
    const std::string good = Template();
    std::string out, error;
    ASSERT_TRUE(PatchXlsxFile(good, OneRow(), out, &error)) << error;
    const std::vector<Hostile> cases = {
        {"a member declaring 0xFFFFFFF0 bytes", WithDeclaredSize(good, kPart, 0xFFFFFFF0u)},
        {"a member declaring 200 MB", WithDeclaredSize(good, kPart, 200u << 20)},
        {"a member longer than it declares", WithDeclaredSize(good, kPart, 100)},
        {"a sheet with an entity bomb", WithPart(good, kPart, EntityBomb("worksheet"))},
        {"a workbook part with an entity bomb", WithPart(good, "xl/workbook.xml", EntityBomb("workbook"))},
        {"a truncated package", good.substr(0, good.size() / 2)},
    };
    const long before = PeakRssKb();
    for (const Hostile& h : cases) {
        out.clear();
        error.clear();
        EXPECT_FALSE(PatchXlsxFile(h.bytes, OneRow(), out, &error)) << h.what;
        EXPECT_NE(error, "") << h.what;
        EXPECT_TRUE(out.empty()) << h.what;
    }
    EXPECT_LT(PeakRssKb() - before, 64 * 1024) << "kB more at the peak";
}

TEST(XlsxLimits, TheExportNamesTheRefusedFileAndLeavesIt) {
    test::TempDir dir;
    const std::string path = dir / "template.xlsx";
    const std::string bomb = WithPart(Template(), kPart, EntityBomb("worksheet"));
    test::WriteAll(path, bomb);
    test::FakeTable t;
    t.AddStation(1);
    const FileResult r = ExportExcel(t, 0.0f, path);
    EXPECT_EQ(r.code, FileStatus::kCannotRead);
    EXPECT_EQ(r.message, "不是可读的Excel工作簿，没有导出：" + path);
    EXPECT_NE(r.detail.find("document type"), std::string::npos) << r.detail;
    EXPECT_EQ(test::ReadAll(path), bomb);
}

}  // namespace
}  // namespace orb
