// Damaged .xls files that fuzzing turned up: each must be refused with a
// reason, and an export onto such a file must leave it as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fake_table.h"
#include "file_fault_support.h"
#include "report/biff8_reader.h"
#include "report/excel_export.h"
#include "report/xls_file.h"
#include "test_dir.h"

#if defined(__SANITIZE_ADDRESS__)
#define ORB_TEST_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORB_TEST_LSAN 1
#endif
#endif
#ifdef ORB_TEST_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace orb {
namespace {

// libgsf keeps part of the directory tree of a compound document whose
// directory loops back on itself; that memory is libgsf's, not Orb's.
struct IgnoreLibgsfLeaks {
#ifdef ORB_TEST_LSAN
    IgnoreLibgsfLeaks() {
        __lsan_disable();
    }
    ~IgnoreLibgsfLeaks() {
        __lsan_enable();
    }
#endif
};

std::string Record(uint16_t type, const std::string& data = {}) {
    std::string r;
    for (uint16_t v : {type, static_cast<uint16_t>(data.size())}) {
        r.push_back(static_cast<char>(v & 0xFF));
        r.push_back(static_cast<char>(v >> 8));
    }
    return r + data;
}

std::string Bof(uint16_t substream) {
    std::string d = {0x00, 0x06, static_cast<char>(substream & 0xFF), static_cast<char>(substream >> 8)};
    return Record(0x0809, d + std::string(12, '\0'));
}

// A workbook stream whose `sheets` sheet entries all point at the same
// worksheet substream of `records` column-width records.
std::string SheetsSharingOneSubstream(int sheets, int records) {
    auto boundSheet = [](uint32_t pos) {
        std::string d;
        for (int i = 0; i < 4; ++i) d.push_back(static_cast<char>(pos >> (8 * i)));
        d += std::string("\0\0\1\0S", 5);  // visible worksheet called "S"
        return Record(0x0085, d);
    };
    const std::size_t pos = Bof(0x0005).size() + sheets * boundSheet(0).size() + Record(0x000A).size();
    std::string stream = Bof(0x0005);
    for (int i = 0; i < sheets; ++i) stream += boundSheet(static_cast<uint32_t>(pos));
    stream += Record(0x000A) + Bof(0x0010);
    for (int i = 0; i < records; ++i) stream += Record(0x0055, std::string("\x08\x00", 2));
    return stream + Record(0x000A);
}

// Every sheet entry pointing at one substream made the reader read it again
// for each sheet: a 160 kB file took gigabytes.
TEST(XlsDamagedFile, SheetsSharingOneSubstreamAreRefused) {
    XlsWorkbook book;
    std::string error;
    ASSERT_TRUE(DecodeBiff8Workbook(SheetsSharingOneSubstream(1, 1000), book, &error)) << error;
    EXPECT_EQ(book.sheets.size(), 1u);

    EXPECT_FALSE(DecodeBiff8Workbook(SheetsSharingOneSubstream(2, 1000), book, &error));
    EXPECT_NE(error.find("overlap"), std::string::npos) << error;
    EXPECT_FALSE(DecodeBiff8Workbook(SheetsSharingOneSubstream(3000, 20000), book, &error));
}

TEST(XlsDamagedFile, LoopingDirectoryIsRefusedAndLeftAlone) {
    const std::string bytes =
        test::ReadAll(ORB_SOURCE_DIR "/tests/fuzz/xls_reader/corpus/looping_directory.xls");
    ASSERT_FALSE(bytes.empty());
    [[maybe_unused]] const IgnoreLibgsfLeaks ignore;
    XlsWorkbook book;
    std::string error;
    EXPECT_FALSE(DecodeXlsFile(bytes, book, &error));
    EXPECT_NE(error, "");

    test::TempDir dir;
    const std::string path = dir / "survey.xls";
    test::WriteAll(path, bytes);
    test::FakeTable table;
    table.AddStation(1);
    const FileResult r = ExportExcel(table, 0.0f, path);
    EXPECT_EQ(r.code, FileStatus::kCannotRead);
    EXPECT_EQ(test::ReadAll(path), bytes);
}

// A shared-string table that declares four billion strings in a few bytes:
// nothing is reserved for strings that are not there, so it is refused as
// damaged even where memory is tight (24 MB more than the process has).
TEST(XlsDamagedFile, ASharedStringCountBeyondItsBytesReservesNothing) {
    const std::string sst = Record(0x00FC, std::string("\x01\x00\x00\x00\xFF\xFF\xFF\xFF\x01\x00\x00A", 12));
    const std::string stream = Bof(0x0005) + sst + Record(0x000A);
    const test::ChildResult r = test::WithMemoryLimit(std::size_t{24} << 20, [&](std::string& report) {
        XlsWorkbook book;
        const bool decoded = DecodeBiff8Workbook(stream, book, &report);
        return decoded ? 1 : 0;
    });
    if (!r.ran) GTEST_SKIP() << "no address space limit under AddressSanitizer";
    EXPECT_EQ(r.status, 0) << r.report << (r.status == 128 + SIGABRT ? " (aborted: out of memory)" : "");
}

}  // namespace
}  // namespace orb
