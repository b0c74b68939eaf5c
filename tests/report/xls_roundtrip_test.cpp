#include <gtest/gtest.h>

#include <random>

#include "core/text_codec.h"
#include "report/biff8_reader.h"
#include "report/biff8_writer.h"
#include "report/xls_file.h"
#include "test_dir.h"
#include "xlrd_reader.h"

namespace orb {
namespace {

// Shared strings long and many enough to need CONTINUE records, split in
// the middle of one-byte and of two-byte characters.
XlsWorkbook BigStrings() {
    XlsWorkbook book;
    XlsSheet s;
    s.name = u"数据";
    for (uint32_t i = 0; i < 3000; ++i)
        s.cells[XlsSheet::Key(i, 0)] = XlsCell::Str(u"s" + Utf8ToUtf16(std::to_string(i)));
    s.cells[XlsSheet::Key(0, 1)] = XlsCell::Str(std::u16string(20000, u'x'));
    s.cells[XlsSheet::Key(1, 1)] = XlsCell::Str(std::u16string(9001, u'井'));
    s.cells[XlsSheet::Key(2, 1)] = XlsCell::Str(u"s7");  // shared with A8
    s.cells[XlsSheet::Key(3, 1)] = XlsCell::Num(-0.1);
    XlsCell b;
    b.kind = XlsCell::Kind::Boolean;
    b.code = 1;
    s.cells[XlsSheet::Key(4, 1)] = b;
    XlsCell e;
    e.kind = XlsCell::Kind::Error;
    e.code = 0x2A;
    s.cells[XlsSheet::Key(5, 1)] = e;
    s.cells[XlsSheet::Key(65535, 255)] = XlsCell::Num(1e300);
    s.cells[XlsSheet::Key(65536, 0)] = XlsCell::Num(1);  // beyond the format: dropped
    book.sheets.push_back(s);
    return book;
}

bool SameCell(const XlsCell& a, const XlsCell& b) {
    return a.kind == b.kind && a.code == b.code && a.xf == b.xf && a.text == b.text &&
           (a.number == b.number || (a.number != a.number && b.number != b.number));
}

TEST(XlsRoundTrip, OurReaderAndXlrdReadWhatTheWriterWrote) {
    const XlsWorkbook book = BigStrings();
    XlsWorkbook back;
    std::string error;
    ASSERT_TRUE(DecodeXlsFile(EncodeXlsFile(book), back, &error)) << error;
    ASSERT_EQ(back.sheets.size(), 1u);
    EXPECT_EQ(back.sheets[0].name, u"数据");
    const auto& want = book.sheets[0].cells;
    const auto& got = back.sheets[0].cells;
    EXPECT_EQ(got.size(), want.size() - 1);
    for (const auto& [key, cell] : got) {
        ASSERT_TRUE(want.count(key));
        EXPECT_TRUE(SameCell(cell, want.at(key))) << XlsSheet::RowOf(key) << "," << XlsSheet::ColOf(key);
    }

    // xlrd walks every row and column of the used range: leave out the far cell.
    XlsWorkbook near = book;
    near.sheets[0].cells.erase(XlsSheet::Key(65535, 255));
    near.sheets[0].cells.erase(XlsSheet::Key(65536, 0));
    test::TempDir dir;
    test::WriteAll(dir / "big.xls", EncodeXlsFile(near));
    const auto sheets = test::ReadWithXlrd(dir / "big.xls");
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].At(2999, 0)->value, "s2999");
    EXPECT_EQ(sheets[0].At(0, 1)->value, std::string(20000, 'x'));
    EXPECT_EQ(Utf8ToUtf16(sheets[0].At(1, 1)->value.get<std::string>()), std::u16string(9001, u'井'));
    EXPECT_EQ(sheets[0].At(4, 1)->type, "boolean");
    EXPECT_EQ(sheets[0].At(5, 1)->type, "error");
}

TEST(XlsReader, DamagedStreamsAreRefusedNotMisread) {
    const std::string stream = EncodeBiff8Workbook(BigStrings());
    XlsWorkbook book;
    std::string error;
    EXPECT_FALSE(DecodeBiff8Workbook(stream.substr(0, 3000), book, &error));
    EXPECT_NE(error, "");
    EXPECT_FALSE(DecodeBiff8Workbook("", book, nullptr));
    // Random damage must never crash the reader (the sanitizer build checks
    // the memory accesses too).
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i) {
        std::string bad = stream;
        for (int k = 0; k < 4; ++k) bad[rng() % 20000] = static_cast<char>(rng());
        XlsWorkbook b;
        DecodeBiff8Workbook(bad, b, nullptr);
    }
}

TEST(XlsReader, EncryptedAndOldWorkbooksAreRefused) {
    std::string stream = EncodeBiff8Workbook(BigStrings());
    // Put a FILEPASS record right after the BOF (the BOF record is 20 bytes).
    stream.insert(20, std::string("\x2F\x00\x00\x00", 4));
    std::string error;
    XlsWorkbook book;
    EXPECT_FALSE(DecodeBiff8Workbook(stream, book, &error));
    EXPECT_NE(error.find("encrypted"), std::string::npos);
    std::string biff5 = EncodeBiff8Workbook(BigStrings());
    biff5[5] = 0x05;  // version 0x0500
    EXPECT_FALSE(DecodeBiff8Workbook(biff5, book, &error));
    EXPECT_FALSE(DecodeXlsFile("not a compound document", book, &error));
}

}  // namespace
}  // namespace orb
