// The TXT export: the checked rows of the survey table, in display order, with
// the operator's columns, separator and caption line.
#pragma once

#include <string>
#include <string_view>

#include "core/file_result.h"
#include "report/txt_export_format.h"
#include "view/table_source.h"

namespace orb {

// The export only writes files whose extension is exactly "txt" or "TXT"; the
// window ends the command silently for any other name.
bool IsTxtExportPath(std::string_view path);

// The complete file content: captions in GBK, data in ASCII, CR LF line ends.
std::string BuildTxtExport(const TableSource& table, const TxtExportFormat& format, float declination);

// Writes BuildTxtExport to `path` (exactly as given, case kept) through a
// temporary file beside it; a failure leaves any earlier file untouched.
// A success carries no message (none is shown then).
FileResult ExportTxt(const TableSource& table, const TxtExportFormat& format, float declination,
                     const std::string& path);

}  // namespace orb
