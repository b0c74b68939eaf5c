// The "Workbook" stream of an Excel 97-2003 file: BIFF8 records for the
// workbook globals (formats, sheet list, shared strings) and one substream of
// cell records per sheet.
#pragma once

#include <string>

#include "report/xls_workbook.h"

namespace orb {

inline constexpr uint32_t kBiff8MaxRows = 65536;
inline constexpr uint32_t kBiff8MaxColumns = 256;

// Cells beyond 65536 rows or 256 columns are not written.
std::string EncodeBiff8Workbook(const XlsWorkbook& book);

}  // namespace orb
