// Existing workbooks from anywhere: the .xls reader that the Excel export
// uses to update a workbook must refuse or read any bytes without reading out
// of bounds, and whatever it reads must write back to a file that reads to
// the same sheets and cells (the update writes the whole workbook again).
//
// The same bytes go through the patcher that the export uses for an existing
// workbook: it refuses them with a reason, or its result is a workbook that
// the reader reads with the new cells in Sheet1 and that patches again.
//
// The input is tried twice: as a complete .xls file (compound document) and
// as a bare BIFF8 workbook stream, so that mutations reach the record parser
// without first having to keep the container intact.
#include <glib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "report/biff8_patcher.h"
#include "report/biff8_reader.h"
#include "report/biff8_writer.h"
#include "report/xls_file.h"
#include "report/xls_workbook.h"

namespace {

using orb::XlsCell;
using orb::XlsSheet;
using orb::XlsWorkbook;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool SameCell(const XlsCell& a, const XlsCell& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
        case XlsCell::Kind::Number:
            return a.number == b.number || (std::isnan(a.number) && std::isnan(b.number));
        case XlsCell::Kind::Text:
            return a.text == b.text;
        case XlsCell::Kind::Boolean:
        case XlsCell::Kind::Error:
            return a.code == b.code;
        default:
            return true;
    }
}

bool Writable(uint64_t key) {
    return XlsSheet::RowOf(key) < orb::kBiff8MaxRows && XlsSheet::ColOf(key) < orb::kBiff8MaxColumns;
}

// `back` is what `book` reads as after it was written: the same sheets, and
// the same cells wherever the format can hold them.
void CheckSameBook(const XlsWorkbook& book, const XlsWorkbook& back) {
    Check(back.sheets.size() == book.sheets.size(), "every sheet is written back");
    Check(back.date1904 == book.date1904, "the date system is kept");
    for (std::size_t s = 0; s < book.sheets.size(); ++s) {
        const XlsSheet& a = book.sheets[s];
        const XlsSheet& b = back.sheets[s];
        Check(a.name == b.name && a.visibility == b.visibility, "sheet name and visibility are kept");
        auto ib = b.cells.begin();
        for (const auto& [key, cell] : a.cells) {
            if (!Writable(key)) continue;
            Check(ib != b.cells.end() && ib->first == key, "every cell is written back");
            Check(SameCell(cell, ib->second), "every cell keeps its value");
            ++ib;
        }
        Check(ib == b.cells.end(), "no cell appears from nowhere");
    }
}

void CheckRead(const XlsWorkbook& book) {
    Check(book.sheets.empty()
              ? book.activeSheet == 0
              : book.activeSheet >= 0 && book.activeSheet < static_cast<int>(book.sheets.size()),
          "the active sheet exists");
}

void TryFile(std::string_view bytes) {
    XlsWorkbook book;
    std::string error;
    if (!orb::DecodeXlsFile(bytes, book, &error)) {
        Check(!error.empty(), "a refused file has a reason");
        return;
    }
    CheckRead(book);
    const std::string written = orb::EncodeXlsFile(book);
    Check(!written.empty(), "a read workbook can be written");
    XlsWorkbook back;
    Check(orb::DecodeXlsFile(written, back, &error), "a written workbook reads back");
    CheckSameBook(book, back);
}

const orb::XlsRows& Block() {
    static const orb::XlsRows rows = [] {
        orb::XlsRows r(3);
        for (int c = 0; c < 22; ++c) r[0].push_back(XlsCell::Str(u"caption"));
        for (int c = 0; c < 22; ++c) r[1].push_back(XlsCell::Num(c + 0.5));
        for (int c = 0; c < 22; ++c) r[2].push_back(c % 2 ? XlsCell::Str(u"\u4E95\u659C") : XlsCell{});
        return r;
    }();
    return rows;
}

void CheckPatched(const XlsWorkbook& book) {
    const int s = book.FindSheet(u"Sheet1");
    Check(s >= 0, "a patched workbook has Sheet1");
    const XlsCell* a2 = book.sheets[static_cast<std::size_t>(s)].Find(1, 3);
    Check(a2 && a2->kind == XlsCell::Kind::Number && a2->number == 3.5, "the patched cells read back");
}

void TryPatchFile(std::string_view bytes) {
    std::string out, error;
    if (!orb::PatchXlsFile(bytes, Block(), out, &error)) {
        Check(!error.empty(), "a refused file has a reason");
        return;
    }
    XlsWorkbook book, original;
    if (orb::DecodeXlsFile(out, book, &error)) {
        CheckPatched(book);
    } else {
        Check(!orb::DecodeXlsFile(bytes, original, &error), "a readable file stays readable when patched");
    }
    std::string again;
    Check(orb::PatchXlsFile(out, Block(), again, &error), "a patched file patches again");
}

void TryPatchStream(std::string_view bytes) {
    std::string out, error;
    if (!orb::PatchBiff8Workbook(bytes, Block(), out, &error)) {
        Check(!error.empty(), "a refused stream has a reason");
        return;
    }
    XlsWorkbook book;
    if (!orb::DecodeBiff8Workbook(out, book, &error)) {
        // The patcher copies records it does not need to understand; only a
        // stream the reader takes must stay readable.
        XlsWorkbook original;
        Check(!orb::DecodeBiff8Workbook(bytes, original, &error),
              "a readable stream stays readable when patched");
        return;
    }
    CheckPatched(book);
}

void TryStream(std::string_view bytes) {
    XlsWorkbook book;
    std::string error;
    if (!orb::DecodeBiff8Workbook(bytes, book, &error)) {
        Check(!error.empty(), "a refused stream has a reason");
        return;
    }
    CheckRead(book);
    XlsWorkbook back;
    Check(orb::DecodeBiff8Workbook(orb::EncodeBiff8Workbook(book), back, &error),
          "a written stream reads back");
    CheckSameBook(book, back);
}

}  // namespace

// libgsf keeps part of the directory tree of a compound document whose
// directory loops back on itself (a few hundred bytes per refused file,
// allocated inside gsf_infile_msole_new; Orb releases everything libgsf
// hands back). glib has no frame pointers, so only a full unwind shows
// where such a block came from.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:gsf_infile_msole_new\n";
}

// libgsf reports every oddity of a damaged container on stderr, as warnings
// and as failed checks; what other parts of glib report (misuse of their
// interfaces) stays visible.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_log_set_default_handler(
        [](const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) {
            if (domain && g_str_has_prefix(domain, "libgsf")) return;
            g_log_default_handler(domain, level, message, nullptr);
        },
        nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TryFile(bytes);
    TryStream(bytes);
    TryPatchFile(bytes);
    TryPatchStream(bytes);
    return 0;
}
