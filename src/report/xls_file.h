// Excel 97-2003 files: the BIFF8 workbook stream inside a compound document.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "report/xls_workbook.h"

namespace orb {

// The bytes of a complete .xls file for `book`.
std::string EncodeXlsFile(const XlsWorkbook& book);

// Hands the same bytes to `put` without a copy (they are built in memory, so
// every byte of the file goes through the caller's writer). Returns put's
// answer, or -1 when the file cannot be built.
int WriteXlsFile(const XlsWorkbook& book, const std::function<int(std::string_view)>& put);

// Reads the bytes of an .xls file. False with a reason in `error` when they
// are not a compound document holding a readable BIFF8 workbook.
bool DecodeXlsFile(std::string_view bytes, XlsWorkbook& book, std::string* error);

// Writes `rows` into the .xls file `bytes` (see biff8_patcher.h) and gives the
// new file in `out`. Every other stream and storage of the compound document
// (macros, document properties, embedded objects) is copied as it is. False
// with a reason in `error` when `bytes` are no readable workbook.
bool PatchXlsFile(std::string_view bytes, const XlsRows& rows, std::string& out, std::string* error);

}  // namespace orb
