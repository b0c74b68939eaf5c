// Reads the "Workbook" stream of an Excel 97-2003 file back into an
// XlsWorkbook: every worksheet's cell values (formulas as their last
// results) and formats, column widths, merged areas and the format tables.
// Not kept: formulas themselves, rich-text runs, row heights, comments,
// hyperlinks, drawings and charts, chart and macro sheets, defined names,
// VBA projects, protection, conditional formats, data validation, print
// settings, panes and other view settings.
#pragma once

#include <string>
#include <string_view>

#include "report/xls_workbook.h"

namespace orb {

// False with a reason in `error` when `stream` is not a readable BIFF8
// workbook (older BIFF versions, encrypted or damaged files).
bool DecodeBiff8Workbook(std::string_view stream, XlsWorkbook& book, std::string* error);

}  // namespace orb
