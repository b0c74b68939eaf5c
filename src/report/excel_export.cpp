#include "report/excel_export.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <system_error>
#include <vector>

#include "core/atomic_file.h"
#include "core/fixed_text.h"
#include "core/outside_file.h"
#include "core/text_codec.h"
#include "report/biff8_writer.h"
#include "report/export_columns.h"
#include "report/xls_file.h"
#include "report/xlsx_file.h"
#include "report/xlsx_patcher.h"

namespace orb {

namespace {

constexpr std::string_view kXlsxIncomplete =
    ORB_TEXT("core", "写入的工作簿不完整（磁盘或临时文件夹可能已满），文件没有导出。");

constexpr std::u16string_view kSheetName = u"Sheet1";

std::string_view ExtensionOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

// A number cell, or the text itself when it reads as no finite number (a
// workbook cell cannot hold infinities or NaN).
XlsCell NumberCell(double value, std::string_view text) {
    if (std::isfinite(value)) return XlsCell::Num(value);
    return XlsCell::Str(Utf8ToUtf16(text));
}

XlsCell Parsed(const TableSource& table, std::size_t row, int column) {
    const std::string text = table.CellText(row, column);
    return NumberCell(ParseLeadingNumber(text), text);
}

XlsCell Text(const TableSource& table, std::size_t row, int column) {
    return XlsCell::Str(Utf8ToUtf16(table.CellText(row, column)));
}

// Sets one cell; the iterator hint makes writing in key order cheap.
std::map<uint64_t, XlsCell>::iterator Put(XlsSheet& sheet, std::map<uint64_t, XlsCell>::iterator hint,
                                          uint64_t key, XlsCell&& value) {
    const std::size_t before = sheet.cells.size();
    auto it = sheet.cells.try_emplace(hint, key);
    const bool inserted = sheet.cells.size() != before;
    XlsCell& cell = it->second;
    if (value.kind == XlsCell::Kind::Text && value.text.empty()) {
        // Writing an empty text leaves an empty cell (keeping its format).
        if (inserted) return sheet.cells.erase(it);
        cell.kind = XlsCell::Kind::Blank;
        cell.text.clear();
        return std::next(it);
    }
    if (!inserted) value.xf = cell.xf;
    cell = std::move(value);
    return std::next(it);
}

void PutRow(XlsSheet& sheet, uint32_t row, std::vector<XlsCell>& values,
            std::map<uint64_t, XlsCell>::iterator& hint) {
    for (uint32_t c = 0; c < values.size(); ++c)
        hint = Put(sheet, hint, XlsSheet::Key(row, c), std::move(values[c]));
}

int SheetForExport(XlsWorkbook& book) {
    const int found = book.FindSheet(kSheetName);
    if (found >= 0) return found;
    const int at = (book.activeSheet >= 0 && book.activeSheet <= static_cast<int>(book.sheets.size()))
                       ? book.activeSheet
                       : 0;
    XlsSheet sheet;
    sheet.name = kSheetName;
    book.sheets.insert(book.sheets.begin() + at, std::move(sheet));
    book.activeSheet = at;
    return at;
}

enum class Loaded { New, Existing, Unreadable, Refused };

// The bytes of an existing file at `path`; an empty file holds nothing to
// keep and is written as a new workbook. A FIFO, a device or a folder is
// refused unread (a link to /dev/zero would otherwise be read for ever).
Loaded LoadExisting(const std::string& path, std::string& bytes, std::string& why) {
    OutsideFile file;
    FileResult r = file.Open(path);
    if (r.code == FileStatus::kCannotRead && r.error == ENOENT) return Loaded::New;
    if (r.ok()) r = file.ReadAll(bytes, kMaxWorkbookFileBytes);
    if (!r.ok()) {
        why = r.message;
        return r.code == FileStatus::kRefused ? Loaded::Refused : Loaded::Unreadable;
    }
    return bytes.empty() ? Loaded::New : Loaded::Existing;
}

bool IsXlsBytes(std::string_view bytes) {
    return bytes.rfind("\xD0\xCF\x11\xE0", 0) == 0;
}
bool IsXlsxBytes(std::string_view bytes) {
    return bytes.rfind("PK\x03\x04", 0) == 0;
}

// The content decides the format, so a workbook keeps the one it has.
bool PatchExisting(std::string_view bytes, const XlsRows& rows, std::string& out, std::string& why) {
    if (IsXlsBytes(bytes)) return PatchXlsFile(bytes, rows, out, &why);
    if (IsXlsxBytes(bytes)) return PatchXlsxFile(bytes, rows, out, &why);
    why = "not an Excel workbook";
    return false;
}

FileResult Result(FileStatus code, std::string_view message, std::string detail = {}, int error = 0) {
    return FileResult::Failure(code, error, std::string(message), std::move(detail));
}

FileResult Failed(const std::string& error, int err = 0) {
    return Result(FileStatus::kWriteFailed, error.empty() ? std::string(kExcelCommandFailed) : error, {},
                  err);
}

FileResult Done() {
    return FileResult::Success(std::string(kExcelExportDone));
}

FileResult CannotCreate(const FileResult& created) {
    // A refused target (a device, another user's link) says so itself.
    if (created.code == FileStatus::kRefused) return created;
    return Result(FileStatus::kCannotCreate, kExcelCannotOpen, created.message, created.error);
}

FileResult SaveBytes(std::string_view bytes, const std::string& path) {
    AtomicFile tmp(path);
    if (!tmp.created().ok()) return CannotCreate(tmp.created());
    FileResult w = tmp.Write(bytes);
    if (w.ok()) w = tmp.Commit();
    if (!w.ok()) return Failed(w.message, w.error);
    return Done();
}

FileResult SaveXls(const XlsWorkbook& book, const std::string& path) {
    AtomicFile tmp(path);
    if (!tmp.created().ok()) return CannotCreate(tmp.created());
    FileResult w;
    if (WriteXlsFile(book, [&](std::string_view bytes) {
            w = tmp.Write(bytes);
            return w.ok() ? 0 : 1;
        }) < 0)
        return Failed({});
    if (w.ok()) w = tmp.Commit();
    if (!w.ok()) return Failed(w.message, w.error);
    return Done();
}

// The library does not check the writes of its own temporary files: a full
// temporary folder gives a truncated workbook and no error. Read it back.
bool WrittenWholly(const XlsWorkbook& book, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    XlsWorkbook back;
    std::string error;
    if (!in.good() && !in.eof()) return false;
    if (!DecodeXlsxFile(bytes, back, &error) || back.sheets.size() != book.sheets.size()) return false;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        if (back.sheets[i].cells.size() != book.sheets[i].cells.size()) return false;
    }
    return true;
}

FileResult SaveXlsx(const XlsWorkbook& book, const std::string& path) {
    AtomicFile tmp(path);
    if (!tmp.created().ok()) return CannotCreate(tmp.created());
    std::string error;
    errno = 0;
    if (!WriteXlsxFile(book, tmp.path(), &error)) {
        // The library names only its zip step; the system's reason (a full
        // disk, say) is what the operator can act on.
        const int err = errno;
        if (err != 0) error += (error.empty() ? "" : "\n") + std::string(std::strerror(err));
        return Failed(error, err);
    }
    if (!WrittenWholly(book, tmp.path())) return Result(FileStatus::kWriteFailed, kXlsxIncomplete);
    const FileResult w = tmp.Commit();
    if (!w.ok()) return Failed(w.message, w.error);
    return Done();
}

std::string TooManyText(std::size_t stations, uint32_t maxRows, bool xls) {
    const std::string n = std::to_string(stations);
    const std::string most = std::to_string(maxRows - 1);
    // The format's years are arguments: a translated template holds no digits.
    if (xls)
        return FillTemplate(
            ORB_TEXT("core",
                     "要导出的测点有%1个，超出Excel %2-%3工作表可容纳的%4个测点（另有标题行），未导出。"),
            {n, "97", "2003", most});
    return FillTemplate(
        ORB_TEXT("core", "要导出的测点有%1个，超出工作表可容纳的%2个测点（另有标题行），未导出。"),
        {n, most});
}

}  // namespace

ExcelFormat ExcelFormatOfPath(std::string_view path) {
    const std::string_view ext = ExtensionOf(path);
    if (ext == "xls" || ext == "XLS") return ExcelFormat::Xls;
    if (ext == "xlsx" || ext == "XLSX") return ExcelFormat::Xlsx;
    return ExcelFormat::None;
}

std::size_t CountCheckedRows(const TableSource& table) {
    std::size_t n = 0;
    for (std::size_t r = 0, rows = table.RowCount(); r < rows; ++r) n += table.IsChecked(r) ? 1 : 0;
    return n;
}

std::vector<XlsCell> ExcelCaptionRow() {
    std::vector<XlsCell> row;
    for (const ExportColumn& c : kExportColumns) row.push_back(XlsCell::Str(Utf8ToUtf16(c.caption)));
    return row;
}

void AppendExcelRow(const TableSource& table, std::size_t row, float declination, std::vector<XlsCell>& out) {
    for (const ExportColumn& c : kExportColumns) {
        switch (c.value) {
            case ExportValue::kTableCell:
                out.push_back(c.numeric ? Parsed(table, row, c.tableColumn)
                                        : Text(table, row, c.tableColumn));
                break;
            case ExportValue::kTrueAzimuth: {
                const double trueAzimuth = TrueAzimuth(table.CellText(row, c.tableColumn), declination);
                out.push_back(NumberCell(trueAzimuth, PrintfFixed(trueAzimuth, 6)));
                break;
            }
            case ExportValue::kDeclination:
                // A single-precision value, widened exactly.
                out.push_back(XlsCell::Num(static_cast<double>(declination)));
                break;
        }
    }
}

void PutSurveyRows(XlsWorkbook& book, const TableSource& table, float declination) {
    XlsSheet& sheet = book.sheets[SheetForExport(book)];
    auto hint = sheet.cells.begin();
    std::vector<XlsCell> values = ExcelCaptionRow();
    PutRow(sheet, 0, values, hint);
    uint32_t sheetRow = 1;
    for (std::size_t r = 0, rows = table.RowCount(); r < rows; ++r) {
        if (!table.IsChecked(r)) continue;
        values.clear();
        AppendExcelRow(table, r, declination, values);
        PutRow(sheet, sheetRow++, values, hint);
    }
}

XlsRows SurveyRows(const TableSource& table, float declination) {
    XlsRows rows;
    rows.push_back(ExcelCaptionRow());
    for (std::size_t r = 0, n = table.RowCount(); r < n; ++r) {
        if (!table.IsChecked(r)) continue;
        AppendExcelRow(table, r, declination, rows.emplace_back());
    }
    return rows;
}

FileResult ExportExcel(const TableSource& table, float declination, const std::string& path) {
    std::string bytes, why;
    const Loaded loaded = LoadExisting(path, bytes, why);
    const std::string notWorkbook = std::string(kExcelNotWorkbook) + path;
    if (loaded == Loaded::Unreadable) return Result(FileStatus::kCannotRead, notWorkbook, why);
    if (loaded == Loaded::Refused) return Result(FileStatus::kRefused, notWorkbook, why);
    const bool xls =
        loaded == Loaded::New ? ExcelFormatOfPath(path) != ExcelFormat::Xlsx : !IsXlsxBytes(bytes);
    const uint32_t maxRows = xls ? kBiff8MaxRows : kXlsxMaxRows;
    const std::size_t stations = CountCheckedRows(table);
    if (stations + 1 > maxRows) {
        return Result(FileStatus::kTooLarge, TooManyText(stations, maxRows, xls));
    }
    if (loaded == Loaded::Existing) {
        std::string patched;
        if (!PatchExisting(bytes, SurveyRows(table, declination), patched, why))
            return Result(FileStatus::kCannotRead, notWorkbook, why);
        return SaveBytes(patched, path);
    }
    XlsWorkbook book;
    PutSurveyRows(book, table, declination);
    return xls ? SaveXls(book, path) : SaveXlsx(book, path);
}

}  // namespace orb
