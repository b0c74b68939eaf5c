// Writes the export's block into an existing .xlsx package without
// rewriting the rest of it. Every part is copied byte for byte except
// Sheet1's worksheet part (only the cells of the block change: each replaced
// cell keeps its style, everything else in the sheet stays, from column
// widths and merged cells to formulas outside the block, conditional formats
// and data validation), the calculation chain when a replaced cell held a
// formula, and the workbook part, which asks the spreadsheet program to
// recalculate on opening. Texts are written as inline strings, so the shared
// strings stay as they are. A workbook without "Sheet1" gets one, appended
// after its last sheet so that sheet positions used by names stay valid.
#pragma once

#include <string>
#include <string_view>

#include "report/xls_workbook.h"

namespace orb {

// False with a reason in `error` when `bytes` are no readable workbook
// package; `out` is then unchanged.
bool PatchXlsxFile(std::string_view bytes, const XlsRows& rows, std::string& out, std::string* error);

}  // namespace orb
