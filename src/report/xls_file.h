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

}  // namespace orb
