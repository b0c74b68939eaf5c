// The cells of one worksheet part of an .xlsx package, as the patcher
// replaces them.
#pragma once

#include <libxml/tree.h>

#include <set>
#include <string>
#include <string_view>

#include "report/xls_workbook.h"

namespace orb::xlsx {

// Puts `rows` into A1 onwards of the worksheet `doc`: each replaced cell
// keeps its style, an empty value empties its cell, every other cell and
// element of the sheet stays. Returns the references ("B2") of the replaced
// cells that held a formula. Throws std::runtime_error when the part is no
// worksheet.
std::set<std::string> PutCells(xmlDoc* doc, const XlsRows& rows);

// The same on the worksheet part's text, without a tree of its cells: the
// cells are read and written as text and libxml2 rewrites the rest of the
// part. False (and `out`, `formulas` unchanged) when the part holds anything
// this path does not take, such as rows or cells without their number, a
// namespace declared on a row or cell, comments between cells, or text that
// is not well-formed; PutCells on the parsed part then does the work or
// says what is wrong.
bool PutCellsInText(std::string_view sheet, const XlsRows& rows, std::string& out,
                    std::set<std::string>& formulas);

// `text` as the characters of an XML text node: characters XML cannot carry
// are written as _xHHHH_, and a literal "_xHHHH_" is protected.
std::string EscapeCellText(std::u16string_view text);

// Shared by both paths.
bool IsEmptyCell(const XlsCell& v);                 // empties its cell
std::string CellNumberText(double v);               // the shortest text that reads back as `v`
void AppendCellNumber(std::string& out, double v);  // the same, appended
bool NeedsSpacePreserve(const std::string& text);   // xml:space="preserve" on its element
// The worksheet's dimension, widened to hold a block of `rows` x `cols`.
void WidenDimension(xmlNode* worksheet, uint32_t rows, uint32_t cols);

}  // namespace orb::xlsx
