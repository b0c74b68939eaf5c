// Writes the export's block into an existing BIFF8 workbook stream without
// rewriting the rest of it. Every record is copied byte for byte except what
// the new cells force to change: the cells of the block on "Sheet1" (each
// replaced cell keeps its format index), the shared-string table (new strings
// are appended, so existing references stay valid; its index record is
// rebuilt), the sheet offsets, Sheet1's row, row-block index and dimension
// records, and the index records of sheets that moved. A workbook without a
// "Sheet1" gets one, appended after its last sheet so that sheet indexes used
// by formulas and names stay valid.
//
// Formulas elsewhere keep their last results; the spreadsheet program
// recomputes them on opening. A shared or array formula anchored inside the
// block loses its anchor, as it would when its cell is overwritten.
#pragma once

#include <string>
#include <string_view>

#include "report/xls_workbook.h"

namespace orb {

// False with a reason in `error` when `stream` is no readable BIFF8 workbook
// (older versions, encrypted or damaged streams); `out` is then unchanged.
bool PatchBiff8Workbook(std::string_view stream, const XlsRows& rows, std::string& out, std::string* error);

}  // namespace orb
