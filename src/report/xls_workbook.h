// A workbook as the Excel export keeps it: sheets of cell values, plus the
// few raw BIFF8 records that carry over from an existing .xls file (fonts,
// number formats, cell styles, column widths, merged areas).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orb {

// Index of the plain cell format among the default formats the writer puts
// into every workbook (the first 15 are style formats).
inline constexpr uint16_t kDefaultCellXf = 15;

struct XlsCell {
    enum class Kind : uint8_t { Blank, Number, Text, Boolean, Error };
    Kind kind = Kind::Blank;
    uint8_t code = 0;  // Boolean: 0 or 1; Error: the BIFF error code
    uint16_t xf = kDefaultCellXf;
    double number = 0;
    std::u16string text;

    static XlsCell Num(double v) { return {Kind::Number, 0, kDefaultCellXf, v, {}}; }
    static XlsCell Str(std::u16string s) { return {Kind::Text, 0, kDefaultCellXf, 0, std::move(s)}; }
};

// A BIFF8 record kept byte for byte (its CONTINUE records follow as records
// of their own).
struct XlsRawRecord {
    uint16_t type = 0;
    std::string data;
};

struct XlsSheet {
    std::u16string name;
    uint8_t visibility = 0;  // 0 visible, 1 hidden, 2 very hidden
    // Key: row << 16 | column, so the map runs row by row.
    std::map<uint64_t, XlsCell> cells;
    std::vector<XlsRawRecord> columnRecords;  // DEFCOLWIDTH, COLINFO
    std::vector<XlsRawRecord> mergeRecords;   // MERGECELLS

    static uint64_t Key(uint32_t row, uint32_t col) { return uint64_t{row} << 16 | col; }
    static uint32_t RowOf(uint64_t key) { return static_cast<uint32_t>(key >> 16); }
    static uint32_t ColOf(uint64_t key) { return static_cast<uint32_t>(key & 0xFFFF); }
    const XlsCell* Find(uint32_t row, uint32_t col) const;
};

// The block an export writes: rows of cells from A1 on (every row as long as
// the first). A Blank cell, or an empty text, empties its cell and keeps the
// cell's format.
using XlsRows = std::vector<std::vector<XlsCell>>;

struct XlsWorkbook {
    std::vector<XlsSheet> sheets;
    int activeSheet = 0;
    bool date1904 = false;
    // FONT, FORMAT, XF, STYLE and PALETTE records of an existing file, in file
    // order; empty: the writer uses its own defaults.
    std::vector<XlsRawRecord> styleRecords;
    // Compound-document streams besides the workbook that are kept (the
    // document property streams), by name.
    std::vector<std::pair<std::string, std::string>> otherStreams;

    // Index of the sheet called `name` (ASCII letters compared without case,
    // as the spreadsheet programs do), or -1.
    int FindSheet(std::u16string_view name) const;
};

}  // namespace orb
