// New Office Open XML workbooks (.xlsx), values only: written with
// libxlsxwriter and read back with the zip reader of libgsf and libxml2 to
// check what was written (an existing workbook is patched instead, see
// xlsx_patcher.h). The reader keeps the package limits of xlsx_package.h. Kept: sheet names, order and
// visibility, the active sheet, numbers, texts, booleans and error values (formulas as their last results; an
// error value is written as a formula that gives it). Lost: formulas, every format (so dates show as
// numbers), column widths, row heights, merged areas, the 1904 date system, comments, hyperlinks, drawings,
// charts, tables, defined names and all other parts.
#pragma once

#include <string>
#include <string_view>

#include "report/xls_workbook.h"

namespace orb {

inline constexpr uint32_t kXlsxMaxRows = 1048576;
inline constexpr uint32_t kXlsxMaxColumns = 16384;

// The text of a BIFF error code in a cell ("#DIV/0!"), "#N/A" for unknown codes.
const char* XlsxErrorText(uint8_t code);

// Writes `book` to `path`. False with a reason in `error` on failure.
bool WriteXlsxFile(const XlsWorkbook& book, const std::string& path, std::string* error);

// Reads the bytes of an .xlsx file. False with a reason in `error` when they
// are not a readable workbook.
bool DecodeXlsxFile(std::string_view bytes, XlsWorkbook& book, std::string* error);

}  // namespace orb
