#include "report/xls_workbook.h"

namespace orb {

const XlsCell* XlsSheet::Find(uint32_t row, uint32_t col) const {
    const auto it = cells.find(Key(row, col));
    return it == cells.end() ? nullptr : &it->second;
}

namespace {

char16_t FoldAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
}

bool SameSheetName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

}  // namespace

int XlsWorkbook::FindSheet(std::u16string_view name) const {
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        if (SameSheetName(sheets[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace orb
