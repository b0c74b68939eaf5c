// The file-fault suite of the exports: a disk that fills up, a file size
// limit, a read-only folder and every single failing or last system call of
// the writer while a TXT or Excel export or the layout file replaces an
// older file. The export fails with a message naming the cause, the old file
// stays byte for byte and no temporary file is left. FIFOs and devices are
// neither read nor written. Each case prints one "[fault]" line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>

#include "core/atomic_file.h"
#include "core/outside_file.h"
#include "fake_table.h"
#include "file_fault_support.h"
#include "report/excel_export.h"
#include "report/txt_export.h"
#include "report/txt_export_format.h"
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
                d, kind, "write-limited file (16 KB RLIMIT_FSIZE), 3000 stations", "File too large", [] {},
                report);
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

// The cells of two workbooks are the same: a zip package stamps the time of
// writing, and a workbook written anew differs from one updated in place
// (where a run after a kill finds the new file already there).
bool SameCells(const std::string& a, const std::string& b) {
    XlsWorkbook x, y;
    std::string error;
    auto decode = [&](const std::string& bytes, XlsWorkbook& book) {
        return bytes.rfind("PK", 0) == 0 ? DecodeXlsxFile(bytes, book, &error)
                                         : DecodeXlsFile(bytes, book, &error);
    };
    if (!decode(a, x) || !decode(b, y)) return false;
    if (x.sheets.size() != y.sheets.size()) return false;
    for (std::size_t i = 0; i < x.sheets.size(); ++i) {
        const auto& p = x.sheets[i].cells;
        const auto& q = y.sheets[i].cells;
        if (p.size() != q.size()) return false;
        for (auto i1 = p.begin(), i2 = q.begin(); i1 != p.end(); ++i1, ++i2) {
            if (i1->first != i2->first || i1->second.kind != i2->second.kind ||
                i1->second.text != i2->second.text || !(i1->second.number == i2->second.number))
                return false;
        }
    }
    return true;
}

// Every export and the layout file, with each system call of the writer
// failing once and the process killed after each one once.
TEST(ExportFault, EveryWriterCallFailingOrKilled) {
    test::TempDir dir;
    const test::FakeTable table = Stations(400);
    auto workbook = [&](const std::string& kind) {
        const std::string path = dir / ("seed." + kind);
        EXPECT_TRUE(Export(kind, Stations(5), path).ok);
        std::string bytes = test::ReadAll(path);
        std::remove(path.c_str());
        return bytes;
    };
    const std::string oldXls = workbook("xls"), oldXlsx = workbook("xlsx");
    TxtExportFormat layout = AllColumns();
    layout.writeCaptions = 1;
    auto excel = [&](const std::string& t) { return ExportExcel(table, 0.5f, t); };
    const std::vector<test::WriteCase> cases = {
        {"TXT export over a file", "out.txt", std::string("old text\r\n"),
         [&](const std::string& t) { return ExportTxt(table, AllColumns(), 0.5f, t); }},
        {"TXT export as a new file", "new.txt", std::nullopt,
         [&](const std::string& t) { return ExportTxt(table, AllColumns(), 0.5f, t); }},
        {".xls export, new workbook", "new.xls", std::nullopt, excel, SameCells},
        {".xls export into an existing workbook", "old.xls", oldXls, excel},
        {".xlsx export, new workbook", "new.xlsx", std::nullopt, excel, SameCells},
        {".xlsx export into an existing workbook", "old.xlsx", oldXlsx, excel, SameCells},
        {"ExpFmt.ini", "ExpFmt.ini", EncodeExpFmt(TxtExportFormat{}),
         [&](const std::string& t) { return SaveTxtExportFormat(t, layout); }},
    };
    for (const test::WriteCase& c : cases) {
        const test::FaultTally t = test::EveryCallFaulted(dir.path(), c);
        std::fputs(test::FaultLine(c, t).c_str(), stdout);
        EXPECT_GE(t.calls, 8) << c.what;
        EXPECT_EQ(t.problems, "");
    }
}

// An existing workbook beyond any sheet's size (a sparse file here) is
// refused unread and left as it is.
TEST(ExportFault, AWorkbookBeyondTheCapIsNotRead) {
    test::TempDir dir;
    for (const char* name : {"huge.xls", "huge.xlsx"}) {
        test::WriteAll(dir / name, "PK\x03\x04");
        ASSERT_EQ(::truncate((dir / name).c_str(), static_cast<off_t>(kMaxWorkbookFileBytes) + 1), 0);
        const FileResult r = ExportExcel(Stations(3), 0.5f, dir / name);
        EXPECT_EQ(r.code, FileStatus::kCannotRead) << name;
        EXPECT_EQ(r.detail, TooLargeToReadText(kMaxWorkbookFileBytes)) << name;
        EXPECT_EQ(std::filesystem::file_size(dir / name), kMaxWorkbookFileBytes + 1) << name;
    }
    EXPECT_EQ(test::FolderEntries(dir.path()), (std::vector<std::string>{"huge.xls", "huge.xlsx"}));
}

// FIFOs and devices as export targets and as the layout file: nothing waits
// for a FIFO's writer, nothing reads a device for ever, nothing is written
// over either. Each case runs in a child that an alarm ends after 5 s.
TEST(ExportFault, FifosAndDevicesAreNeitherReadNorWritten) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    std::vector<std::string> targets = {"fifo"};
    if (::geteuid() == 0) {
        // A zero device of its own: the export must not read it for ever.
        ASSERT_EQ(::mknod((dir / "zero").c_str(), S_IFCHR | 0666, makedev(1, 5)), 0);
        targets.push_back("zero");
    }
    for (const std::string& node : targets) {
        for (const std::string& name :
             {node + ".xls", node + ".xlsx", node + ".txt", std::string("ExpFmt.ini")}) {
            std::filesystem::remove(dir / name);
            std::filesystem::create_symlink(dir / node, dir / name);
            const test::ChildResult r = test::detail::RunChild([&](std::string& report) {
                ::alarm(5);
                const test::FakeTable t = Stations(3);
                FileResult got;
                if (name == "ExpFmt.ini") {
                    FileResult unread;
                    const TxtExportFormat f = LoadTxtExportFormat(dir / name, &unread);
                    got = SaveTxtExportFormat(dir / name, AllColumns());
                    report = unread.message + " / " + got.Text();
                    return f == TxtExportFormat{} && unread.code == FileStatus::kRefused &&
                                   got.code == FileStatus::kRefused
                               ? 0
                               : 1;
                }
                got = name.ends_with(".txt") ? ExportTxt(t, AllColumns(), 0.5f, dir / name)
                                             : ExportExcel(t, 0.5f, dir / name);
                report = got.Text();
                return got.code == FileStatus::kRefused ? 0 : 1;
            });
            std::string shown = r.report;
            for (std::size_t p = shown.find('\n'); p != std::string::npos; p = shown.find('\n', p))
                shown.replace(p, 1, " / ");
            std::printf("[fault] %s, a link to %s: %s, message \"%s\"\n", name.c_str(),
                        node == "fifo" ? "a FIFO" : "a zero device",
                        r.status == 128 + SIGALRM ? "BLOCKED"
                        : r.status == 0           ? "refused"
                                                  : "NOT REFUSED",
                        shown.c_str());
            EXPECT_EQ(r.status, 0) << name << " -> " << node << ": " << r.report;
            EXPECT_TRUE(std::filesystem::is_symlink(dir / name));
        }
    }
}

}  // namespace
}  // namespace orb
