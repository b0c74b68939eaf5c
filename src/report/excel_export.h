// The Excel export: the checked rows of the survey table, in display order,
// into cells A1:V(n + 1) of sheet "Sheet1" of a new or existing workbook —
// Excel 97-2003 (.xls) or, for names ending in .xlsx, Office Open XML.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_result.h"
#include "core/ui_text.h"
#include "report/xls_workbook.h"
#include "view/table_source.h"

namespace orb {

inline constexpr std::string_view kExcelExportDone = ORB_TEXT("core", "导出表格成功");
inline constexpr std::string_view kExcelCannotOpen = ORB_TEXT("core", "启动Excel服务器失败!");
inline constexpr std::string_view kExcelCommandFailed = ORB_TEXT("core", "命令失败。");
// Followed by the file's path.
inline constexpr std::string_view kExcelNotWorkbook = ORB_TEXT("core", "不是可读的Excel工作簿，没有导出：");

// An existing workbook larger than this is refused unread (kCannotRead): no
// sheet of 65,536 rows comes near it.
inline constexpr std::size_t kMaxWorkbookFileBytes = std::size_t{256} << 20;

enum class ExcelFormat { None, Xls, Xlsx };

// Xls for the extensions exactly "xls" or "XLS", Xlsx for exactly "xlsx" or
// "XLSX", None otherwise (the window then ends the command silently).
ExcelFormat ExcelFormatOfPath(std::string_view path);

// Writes the stations into `path`. An existing workbook is patched, not
// rewritten: it keeps its file format and everything but the cells
// A1:V(n + 1) of "Sheet1" (see biff8_patcher.h and xlsx_patcher.h). The file
// is replaced through a temporary file beside it. The result's message is the
// text of the message box:
//   kOk            "导出表格成功"
//   kCannotCreate  "启动Excel服务器失败!": the workbook cannot be created or written
//   kCannotRead    "不是可读的Excel工作簿，没有导出：FILE": the existing file is
//                  no readable workbook (it is left untouched)
//   kRefused       "不是可读的Excel工作簿，没有导出：FILE": it is no regular file
//                  (a FIFO, a device, a folder), detail kNotRegularFileMessage
//   kTooLarge      more stations than the sheet has rows; nothing written
//   kWriteFailed   the error's own description, or "命令失败。"
FileResult ExportExcel(const TableSource& table, float declination, const std::string& path);

// Number of checked rows of the table.
std::size_t CountCheckedRows(const TableSource& table);

// The 22 values of the caption row and of one table row (columns A to V).
std::vector<XlsCell> ExcelCaptionRow();
void AppendExcelRow(const TableSource& table, std::size_t row, float declination, std::vector<XlsCell>& out);

// The caption row and the checked rows, as the export writes them.
XlsRows SurveyRows(const TableSource& table, float declination);

// Puts the caption row and the checked rows into A1:V(n + 1) of "Sheet1",
// adding that sheet before the active one when the workbook has none. Cells
// that are overwritten keep their format; an empty text empties its cell.
void PutSurveyRows(XlsWorkbook& book, const TableSource& table, float declination);

}  // namespace orb
