// The cells of one worksheet part of an .xlsx package, as the patcher
// replaces them.
#pragma once

#include <libxml/tree.h>

#include <set>
#include <string>

#include "report/xls_workbook.h"

namespace orb::xlsx {

// Puts `rows` into A1 onwards of the worksheet `doc`: each replaced cell
// keeps its style, an empty value empties its cell, every other cell and
// element of the sheet stays. Returns the references ("B2") of the replaced
// cells that held a formula. Throws std::runtime_error when the part is no
// worksheet.
std::set<std::string> PutCells(xmlDoc* doc, const XlsRows& rows);

// `text` as the characters of an XML text node: characters XML cannot carry
// are written as _xHHHH_, and a literal "_xHHHH_" is protected.
std::string EscapeCellText(std::u16string_view text);

}  // namespace orb::xlsx
