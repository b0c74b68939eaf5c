// The file-fault suite of the exports: a disk that fills up, a file size
// limit and a read-only folder while a TXT or Excel export replaces an older
// file. The export fails with a message naming the cause, the old file stays
// byte for byte and no temporary file is left. Each case prints one
// "[fault]" line.
#include <gtest/gtest.h>

#include <cstdio>

#include "fake_table.h"
#include "file_fault_support.h"
#include "report/excel_export.h"
#include "report/txt_export.h"
#include "report/xls_file.h"
#include "report/xlsx_file.h"
#include "test_dir.h"

namespace orb {
namespace {

test::FakeTable Stations(int n) {
    test::FakeTable t;
    for (int i = 1; i <= n; ++i) t.AddStation(i);
    return t;
}

TxtExportFormat AllColumns() {
    TxtExportFormat f;
    f.count = 10;
    for (int i = 0; i < 10; ++i) f.columns[static_cast<std::size_t>(i)] = i;
    return f;
}

struct ExportOutcome {
    bool ok = false;
    std::string message;
};

ExportOutcome Export(const std::string& kind, const TableSource& table, const std::string& path) {
    if (kind == "txt") {
        const FileResult r = ExportTxt(table, AllColumns(), 0.5f, path);
        return {r.ok(), r.message};
    }
    const FileResult r = ExportExcel(table, 0.5f, path);
    return {r.ok(), r.Text()};
}

// Cells (Excel) or lines (TXT) of an exported file; -1 when it does not decode.
long ExportedItems(const std::string& kind, const std::string& bytes) {
    if (kind == "txt") return static_cast<long>(std::count(bytes.begin(), bytes.end(), '\n'));
    XlsWorkbook book;
    std::string error;
    const bool ok = kind == "xls" ? DecodeXlsFile(bytes, book, &error) : DecodeXlsxFile(bytes, book, &error);
    if (!ok || book.sheets.empty()) return -1;
    long cells = 0;
    for (const XlsSheet& sheet : book.sheets) cells += static_cast<long>(sheet.cells.size());
    return cells;
}

// Exports a small table to dir/old.<kind>, then tries a big one over it
// under the fault `what`; 0 when the failure was clean. `expect` is a part of
// the message that names the cause.
int OverwriteUnderFault(const std::string& dir, const std::string& kind, const char* what, const char* expect,
                        const std::function<void()>& fault, std::string& report) {
    const std::string path = dir + "/old." + kind;
    if (!Export(kind, Stations(3), path).ok) {
        report += "[fault] " + kind + ": the first export failed\n";
        return 2;
    }
    const std::string before = test::ReadAll(path);
    fault();
    const ExportOutcome o = Export(kind, Stations(3000), path);
    const std::string after = test::ReadAll(path);
    const bool kept = after == before;
    const auto entries = test::FolderEntries(dir);
    std::string shown = o.message;  // one line per case
    for (std::size_t p = shown.find('\n'); p != std::string::npos; p = shown.find('\n', p))
        shown.replace(p, 1, " / ");
    char line[768];
    std::snprintf(
        line, sizeof line,
        "[fault] %s export, %s: export %s, message \"%s\"; old file %s, %zu file(s) in the folder\n",
        kind.c_str(), what, o.ok ? "SUCCEEDED" : "failed", shown.c_str(),
        kept ? "byte-identical" : ("CHANGED (" + std::to_string(after.size()) + " bytes)").c_str(),
        entries.size());
    report += line;
    const long items = ExportedItems(kind, after);
    if (o.ok) report += "  the new file holds " + std::to_string(items) + " cells or lines\n";
    // A file that fitted after all must then be complete.
    const long expected = kind == "txt" ? 3001 : 3001 * 22;
    const bool clean =
        (!o.ok && o.message.find(expect) != std::string::npos && kept) || (o.ok && items == expected);
    if (entries != std::vector<std::string>{"old." + kind}) return 1;
    return clean ? 0 : 1;
}

class ExportFault : public testing::TestWithParam<std::string> {};

TEST_P(ExportFault, DiskThatFillsUp) {
    const std::string kind = GetParam();
    const test::ChildResult r = test::OnSmallDisk(96 * 1024, [&](const std::string& dir,
                                                                 std::string& report) {
        return OverwriteUnderFault(
            dir, kind, "disk full (96 KB tmpfs), 3000 stations", "No space left on device", [] {}, report);
    });
    if (!r.ran) GTEST_SKIP() << "no private tmpfs here; the file size limit case covers a full disk";
    std::fputs(r.report.c_str(), stdout);
    EXPECT_EQ(r.status, 0) << r.report;
}

TEST_P(ExportFault, FileSizeLimit) {
    const std::string kind = GetParam();
    test::TempDir dir;
    const test::ChildResult r =
        test::WithFileSizeLimit(dir.path(), 16 * 1024, [&](const std::string& d, std::string& report) {
            return OverwriteUnderFault(
                d, kind, "write-limited file (16 KB RLIMIT_FSIZE), 3000 stations",
                kind == "xlsx" ? "写入的工作簿不完整" : "File too large", [] {}, report);
        });
    ASSERT_TRUE(r.ran);
    std::fputs(r.report.c_str(), stdout);
    EXPECT_EQ(r.status, 0) << r.report;
}

TEST_P(ExportFault, ReadOnlyFolder) {
    const std::string kind = GetParam();
    const test::ChildResult r =
        test::OnSmallDisk(1024 * 1024, [&](const std::string& dir, std::string& report) {
            return OverwriteUnderFault(
                dir, kind, "read-only folder (tmpfs remounted read-only)", "Read-only file system",
                [&] { test::RemountReadOnly(dir); }, report);
        });
    if (!r.ran) GTEST_SKIP() << "no private tmpfs here, and root writes into any folder whatever its mode";
    std::fputs(r.report.c_str(), stdout);
    EXPECT_EQ(r.status, 0) << r.report;
}

INSTANTIATE_TEST_SUITE_P(Kinds, ExportFault, testing::Values("txt", "xls", "xlsx"),
                         [](const testing::TestParamInfo<std::string>& i) { return i.param; });

}  // namespace
}  // namespace orb
