#include "report/biff8_writer.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "report/biff8_records.h"

namespace orb {

namespace {

using biff::Out;

bool FitsOneByte(std::u16string_view s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x100; });
}

void Chars(Out& out, std::u16string_view s, bool compressed) {
    for (char16_t c : s) compressed ? out.U8(static_cast<uint8_t>(c)) : out.U16(c);
}

void Bof(Out& out, uint16_t dt) {
    out.Begin(biff::kBof);
    out.U16(0x0600);  // BIFF8
    out.U16(dt);
    out.U16(0x0DBB);  // build
    out.U16(0x07CC);  // year
    out.U32(0x00000000);
    out.U32(0x00000006);  // lowest version that can read the file: BIFF8
    out.End();
}

void Window1(Out& out, int activeSheet) {
    out.Begin(biff::kWindow1);
    out.U16(0);
    out.U16(0);
    out.U16(0x4000);
    out.U16(0x2000);
    out.U16(0x0038);  // horizontal and vertical scroll bars, sheet tabs
    out.U16(static_cast<uint16_t>(activeSheet));
    out.U16(0);
    out.U16(1);
    out.U16(600);
    out.End();
}

void Font(Out& out) {
    out.Begin(biff::kFont);
    out.U16(200);     // 10 pt
    out.U16(0);       // no attributes
    out.U16(0x7FFF);  // automatic colour
    out.U16(400);     // normal weight
    out.U16(0);
    out.U8(0);
    out.U8(0);
    out.U8(0);
    out.U8(0);
    const std::u16string_view face = u"Arial";
    out.U8(static_cast<uint8_t>(face.size()));
    out.U8(0);
    Chars(out, face, true);
    out.End();
}

void Xf(Out& out, bool style, uint8_t usedAttributes) {
    out.Begin(biff::kXf);
    out.U16(0);                        // font 0
    out.U16(0);                        // "General"
    out.U16(style ? 0xFFF5 : 0x0001);  // locked; style formats have no parent
    out.U8(0x20);                      // bottom aligned
    out.U8(0);
    out.U8(0);
    out.U8(usedAttributes);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U16(0x20C0);  // automatic pattern colours
    out.End();
}

// Five fonts (index 4 is never used by the format), 15 style formats, the
// plain cell format 15 and the "Normal" style.
void DefaultStyles(Out& out) {
    for (int i = 0; i < 5; ++i) Font(out);
    Xf(out, true, 0);
    for (int i = 1; i < 15; ++i) Xf(out, true, 0xF4);
    Xf(out, false, 0);
    out.Begin(biff::kStyle);
    out.U16(0x8000);  // built-in style on format 0
    out.U8(0);        // "Normal"
    out.U8(0xFF);
    out.End();
}

void BoundSheet(Out& out, const XlsSheet& sheet) {
    out.Begin(biff::kBoundSheet);
    out.U32(0);  // stream position of the sheet, patched later
    out.U8(sheet.visibility & 3);
    out.U8(0);  // worksheet
    const std::u16string_view name = std::u16string_view(sheet.name).substr(0, 255);
    const bool compressed = FitsOneByte(name);
    out.U8(static_cast<uint8_t>(name.size()));
    out.U8(compressed ? 0 : 1);
    Chars(out, name, compressed);
    out.End();
}

bool Writable(uint64_t key) {
    return XlsSheet::RowOf(key) < kBiff8MaxRows && XlsSheet::ColOf(key) < kBiff8MaxColumns;
}

// The used range of a sheet, for its DIMENSIONS record.
struct Bounds {
    uint32_t firstRow = 0, lastRow = 0;
    uint16_t firstCol = 0, lastCol = 0;
    bool any = false;

    void Add(uint32_t r, uint16_t c) {
        firstRow = any ? std::min(firstRow, r) : r;
        lastRow = any ? std::max(lastRow, r) : r;
        firstCol = any ? std::min(firstCol, c) : c;
        lastCol = any ? std::max(lastCol, c) : c;
        any = true;
    }
};

// One pass over every cell before writing: the shared string table (every
// text cell refers to its string by index, handed out in cell order by
// NextIndex) and each sheet's used range.
struct CellSummary {
    std::vector<const std::u16string*> strings;
    std::vector<uint32_t> refs;
    std::vector<Bounds> bounds;
    std::size_t cells = 0;
    std::size_t next = 0;

    void Collect(const XlsWorkbook& book) {
        std::unordered_map<std::u16string_view, uint32_t> index;
        for (const XlsSheet& sheet : book.sheets) {
            Bounds& b = bounds.emplace_back();
            for (const auto& [key, cell] : sheet.cells) {
                if (!Writable(key)) continue;
                ++cells;
                b.Add(XlsSheet::RowOf(key), static_cast<uint16_t>(XlsSheet::ColOf(key)));
                if (cell.kind != XlsCell::Kind::Text) continue;
                const auto [it, added] = index.try_emplace(cell.text, static_cast<uint32_t>(strings.size()));
                if (added) strings.push_back(&cell.text);
                refs.push_back(it->second);
            }
        }
    }
    uint32_t NextIndex() { return refs[next++]; }
};

struct StringPosition {
    uint32_t streamPos;
    uint16_t recordOffset;
};

// Writes one string of the SST, continuing it in CONTINUE records where the
// 8224-byte limit cuts it; a string's header is never split.
void SstString(Out& out, std::u16string_view s, std::vector<StringPosition>& positions) {
    // The length field has 16 bits.
    s = s.substr(0, 0xFFFF);
    const bool compressed = FitsOneByte(s);
    const std::size_t charSize = compressed ? 1 : 2;
    if (out.DataSize() + 3 + (s.empty() ? 0 : charSize) > biff::kMaxRecordData) {
        out.End();
        out.Begin(biff::kContinue);
    }
    positions.push_back(
        {static_cast<uint32_t>(out.buf.size()), static_cast<uint16_t>(out.buf.size() - out.RecordStart())});
    out.U16(static_cast<uint16_t>(s.size()));
    out.U8(compressed ? 0 : 1);
    std::u16string_view rest = s;
    for (;;) {
        const std::size_t room = (biff::kMaxRecordData - out.DataSize()) / charSize;
        const std::size_t n = std::min(room, rest.size());
        Chars(out, rest.substr(0, n), compressed);
        rest.remove_prefix(n);
        if (rest.empty()) break;
        out.End();
        out.Begin(biff::kContinue);
        out.U8(compressed ? 0 : 1);
    }
}

void Sst(Out& out, const CellSummary& table) {
    std::vector<StringPosition> positions;
    positions.reserve(table.strings.size());
    out.Begin(biff::kSst);
    out.U32(static_cast<uint32_t>(table.refs.size()));
    out.U32(static_cast<uint32_t>(table.strings.size()));
    for (const std::u16string* s : table.strings) SstString(out, *s, positions);
    out.End();

    // Every `perBucket`-th string's position, for fast lookup by readers.
    const std::size_t perBucket = std::max<std::size_t>(8, 1 + positions.size() / 128);
    out.Begin(biff::kExtSst);
    out.U16(static_cast<uint16_t>(perBucket));
    for (std::size_t i = 0; i < positions.size(); i += perBucket) {
        out.U32(positions[i].streamPos);
        out.U16(positions[i].recordOffset);
        out.U16(0);
    }
    out.End();
}

void Globals(Out& out, const XlsWorkbook& book, const CellSummary& strings,
             std::vector<std::size_t>& sheetPatches) {
    Bof(out, 0x0005);
    out.Begin(biff::kCodePage);
    out.U16(1200);  // UTF-16
    out.End();
    Window1(out, book.activeSheet);
    out.Begin(biff::kDate1904);
    out.U16(book.date1904 ? 1 : 0);
    out.End();
    if (book.styleRecords.empty()) {
        DefaultStyles(out);
    } else {
        for (const XlsRawRecord& r : book.styleRecords) out.Raw(r.type, r.data);
    }
    for (const XlsSheet& sheet : book.sheets) {
        sheetPatches.push_back(out.buf.size() + 4);
        BoundSheet(out, sheet);
    }
    Sst(out, strings);
    out.Begin(biff::kEof);
    out.End();
}

void Dimensions(Out& out, const Bounds& b) {
    out.Begin(biff::kDimensions);
    out.U32(b.firstRow);
    out.U32(b.any ? b.lastRow + 1 : 0);
    out.U16(b.firstCol);
    out.U16(b.any ? static_cast<uint16_t>(b.lastCol + 1) : 0);
    out.U16(0);
    out.End();
}

void CellHeader(Out& out, uint16_t type, uint64_t key, const XlsCell& cell) {
    out.Begin(type);
    out.U16(static_cast<uint16_t>(XlsSheet::RowOf(key)));
    out.U16(static_cast<uint16_t>(XlsSheet::ColOf(key)));
    out.U16(cell.xf);
}

void Cell(Out& out, uint64_t key, const XlsCell& cell, CellSummary& strings) {
    switch (cell.kind) {
        case XlsCell::Kind::Number:
            CellHeader(out, biff::kNumber, key, cell);
            out.F64(cell.number);
            break;
        case XlsCell::Kind::Text:
            CellHeader(out, biff::kLabelSst, key, cell);
            out.U32(strings.NextIndex());
            break;
        case XlsCell::Kind::Boolean:
        case XlsCell::Kind::Error:
            CellHeader(out, biff::kBoolErr, key, cell);
            out.U8(cell.code);
            out.U8(cell.kind == XlsCell::Kind::Error ? 1 : 0);
            break;
        case XlsCell::Kind::Blank:
            CellHeader(out, biff::kBlank, key, cell);
            break;
    }
    out.End();
}

void Window2(Out& out, bool selected) {
    out.Begin(biff::kWindow2);
    // Grid lines, headings, zeros, default grid colour, outline symbols;
    // the active sheet is also selected and shown.
    out.U16(selected ? 0x06B6 : 0x00B6);
    out.U16(0);
    out.U16(0);
    out.U32(64);
    out.U16(0);
    out.U16(0);
    out.U32(0);
    out.End();
}

void Sheet(Out& out, const XlsSheet& sheet, const Bounds& bounds, bool active, CellSummary& strings) {
    Bof(out, 0x0010);
    for (const XlsRawRecord& r : sheet.columnRecords) out.Raw(r.type, r.data);
    Dimensions(out, bounds);
    for (const auto& [key, cell] : sheet.cells) {
        if (Writable(key)) Cell(out, key, cell, strings);
    }
    Window2(out, active);
    for (const XlsRawRecord& r : sheet.mergeRecords) out.Raw(r.type, r.data);
    out.Begin(biff::kEof);
    out.End();
}

void PatchU32(std::string& buf, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) buf[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string EncodeBiff8Workbook(const XlsWorkbook& book) {
    CellSummary summary;
    summary.Collect(book);
    Out out;
    // Number records are the largest: 18 bytes each.
    out.buf.reserve(4096 + summary.cells * 18 + summary.strings.size() * 24);
    std::vector<std::size_t> sheetPatches;
    Globals(out, book, summary, sheetPatches);
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        PatchU32(out.buf, sheetPatches[i], static_cast<uint32_t>(out.buf.size()));
        Sheet(out, book.sheets[i], summary.bounds[i], static_cast<int>(i) == book.activeSheet, summary);
    }
    // Small workbook streams are padded to the size at which the compound
    // document keeps them in regular sectors, as Excel itself expects.
    if (out.buf.size() < 4096) out.buf.resize(4096, '\0');
    return std::move(out.buf);
}

}  // namespace orb
