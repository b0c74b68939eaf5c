// Writing side of xlsx_file.h.
#include <locale.h>
#include <xlsxwriter.h>

#include "core/text_codec.h"
#include "report/xlsx_file.h"

namespace orb {

namespace {

const char* ErrorText(uint8_t code) {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        default:
            return "#N/A";
    }
}

lxw_error WriteCell(lxw_worksheet* ws, uint32_t row, uint16_t col, const XlsCell& cell) {
    switch (cell.kind) {
        case XlsCell::Kind::Number:
            return worksheet_write_number(ws, row, col, cell.number, nullptr);
        case XlsCell::Kind::Text:
            if (cell.text.empty()) return LXW_NO_ERROR;
            return worksheet_write_string(ws, row, col, Utf16ToUtf8(cell.text).c_str(), nullptr);
        case XlsCell::Kind::Boolean:
            return worksheet_write_boolean(ws, row, col, cell.code != 0, nullptr);
        case XlsCell::Kind::Error: {
            // An error value can only be written as a formula giving it.
            const std::string text = ErrorText(cell.code);
            return worksheet_write_formula_str(ws, row, col, ("=" + text).c_str(), nullptr, text.c_str());
        }
        case XlsCell::Kind::Blank:
            return LXW_NO_ERROR;
    }
    return LXW_NO_ERROR;
}

bool WriteSheet(lxw_workbook* wb, const XlsSheet& sheet, bool active, std::string* error) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, Utf16ToUtf8(sheet.name).c_str());
    if (!ws) {
        if (error) *error = "invalid sheet name " + Utf16ToUtf8(sheet.name);
        return false;
    }
    for (const auto& [key, cell] : sheet.cells) {
        const uint32_t row = XlsSheet::RowOf(key);
        const uint32_t col = XlsSheet::ColOf(key);
        if (row >= LXW_ROW_MAX || col >= LXW_COL_MAX) continue;
        const lxw_error e = WriteCell(ws, row, static_cast<uint16_t>(col), cell);
        if (e != LXW_NO_ERROR) {
            if (error) *error = lxw_strerror(e);
            return false;
        }
    }
    if (active) {
        worksheet_activate(ws);
    } else if (sheet.visibility != 0) {
        worksheet_hide(ws);
    }
    return true;
}

// The library prints numbers with the C library's printf, which follows the
// process locale (a comma-decimal locale would make the workbook unreadable):
// while it works, this thread uses the C locale.
class CLocaleScope {
public:
    CLocaleScope()
        : c_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0))), old_(c_ ? uselocale(c_) : nullptr) {}
    ~CLocaleScope() {
        if (!c_) return;
        uselocale(old_);
        freelocale(c_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t c_;
    locale_t old_;
};

}  // namespace

bool WriteXlsxFile(const XlsWorkbook& book, const std::string& path, std::string* error) {
    const CLocaleScope cLocale;
    lxw_workbook* wb = workbook_new(path.c_str());
    if (!wb) {
        if (error) *error = "the workbook cannot be created";
        return false;
    }
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        if (!WriteSheet(wb, book.sheets[i], static_cast<int>(i) == book.activeSheet, error)) {
            lxw_workbook_free(wb);
            return false;
        }
    }
    const lxw_error e = workbook_close(wb);
    if (e != LXW_NO_ERROR) {
        if (error) *error = lxw_strerror(e);
        return false;
    }
    return true;
}

}  // namespace orb
