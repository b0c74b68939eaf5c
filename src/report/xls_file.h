// Excel 97-2003 files: the BIFF8 workbook stream inside a compound document.
#pragma once

#include <string>
#include <string_view>

#include "report/xls_workbook.h"

namespace orb {

// The bytes of a complete .xls file for `book`.
std::string EncodeXlsFile(const XlsWorkbook& book);

// Writes the same bytes to the open descriptor `fd`, which stays open. False,
// with the system's description in `error` when known, on failure.
bool WriteXlsFile(const XlsWorkbook& book, int fd, std::string* error);

// Reads the bytes of an .xls file. False with a reason in `error` when they
// are not a compound document holding a readable BIFF8 workbook.
bool DecodeXlsFile(std::string_view bytes, XlsWorkbook& book, std::string* error);

// Writes `rows` into the .xls file `bytes` (see biff8_patcher.h) and gives the
// new file in `out`. Every other stream and storage of the compound document
// (macros, document properties, embedded objects) is copied as it is. False
// with a reason in `error` when `bytes` are no readable workbook.
bool PatchXlsFile(std::string_view bytes, const XlsRows& rows, std::string& out, std::string* error);

}  // namespace orb
