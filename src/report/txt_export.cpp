#include "report/txt_export.h"

#include <algorithm>
#include <array>

#include "core/atomic_file.h"
#include "core/fixed_text.h"
#include "core/text_codec.h"
#include "report/export_columns.h"

namespace orb {

namespace {

// Spaces after a value of `len` characters in export column `column`.
int ValuePadding(int column, std::size_t len) {
    auto by = [len](int l3, int l4, int l5) { return len == 3 ? l3 : len == 4 ? l4 : len == 5 ? l5 : 0; };
    switch (column) {
        case 2:
            return len == 0 ? 6 : len == 4 ? 3 : len == 5 ? 2 : len == 6 ? 1 : 0;
        case 3:
            return by(0, 2, 1);
        case 4:
        case 13:
            return by(3, 2, 1);
        case 5:
        case 6:
            return by(7, 6, 5);
        case 7:
        case 10:
            return by(5, 4, 3);
        case 8:
            return 2;
        case 11:
            return 5;
        case 12:
            return 1;
        case 14:
            return by(2, 1, 0);
        default:
            return 0;
    }
}

int CaptionPadding(int column) {
    return column == 2 ? 3 : column == 3 ? 2 : column == 14 ? 11 : 0;
}

std::string TrueAzimuthText(std::string_view azimuthText, float declination) {
    const auto rounded = static_cast<float>(TrueAzimuth(azimuthText, declination));
    std::string s = PrintfFixed(rounded, 2);
    return s == "360.00" ? "0.0" : s;
}

const std::array<std::string, kExportColumnCount>& GbkCaptions() {
    static const auto captions = [] {
        std::array<std::string, kExportColumnCount> a;
        for (int i = 0; i < kExportColumnCount; ++i) a[i] = Utf8ToGbk(kExportColumns[i].caption);
        return a;
    }();
    return captions;
}

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The value of one field as text for one table row.
std::string FieldValue(const TableSource& table, std::size_t row, int column, int number,
                       const std::string& declinationText, float declination) {
    if (column == kExportNumberColumn) return IntegerText(number, 4);
    const ExportColumn& c = kExportColumns[column];
    switch (c.value) {
        case ExportValue::kTrueAzimuth:
            return TrueAzimuthText(table.CellText(row, c.tableColumn), declination);
        case ExportValue::kDeclination:
            return declinationText;
        case ExportValue::kTableCell:
            break;
    }
    return table.CellText(row, c.tableColumn);
}

void AppendField(std::string& out, const std::string& value, int column, char separator) {
    // Table texts are ASCII; anything else goes out in the caption code page.
    if (IsAscii(value)) {
        out += value;
        out.append(ValuePadding(column, value.size()), ' ');
    } else {
        out += Utf8ToGbk(value);
        out.append(ValuePadding(column, Utf8Length(value)), ' ');
    }
    out.push_back(' ');
    out.push_back(separator);
}

}  // namespace

bool IsTxtExportPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view ext = name.substr(dot + 1);
    return ext == "txt" || ext == "TXT";
}

std::string BuildTxtExport(const TableSource& table, const TxtExportFormat& format, float declination) {
    const std::vector<int> columns = format.IsValid() ? format.Chosen() : std::vector<int>{};
    const char separator = format.separator != 0 ? ' ' : ',';
    std::string out;
    if (format.writeCaptions != 0) {
        for (int c : columns) {
            out += GbkCaptions()[c];
            out.push_back(separator);
            out.append(CaptionPadding(c), ' ');
            out.push_back(' ');
        }
        out += "\r\n";
    }
    const std::string declinationText = PrintfFixed(static_cast<double>(declination), 1);
    const std::size_t rows = table.RowCount();
    out.reserve(out.size() + rows * (columns.size() * 12 + 2));
    int number = 1;
    for (std::size_t r = 0; r < rows; ++r) {
        if (!table.IsChecked(r)) continue;
        for (int c : columns)
            AppendField(out, FieldValue(table, r, c, number, declinationText, declination), c, separator);
        out += "\r\n";
        ++number;
    }
    return out;
}

FileResult ExportTxt(const TableSource& table, const TxtExportFormat& format, float declination,
                     const std::string& path) {
    FileResult r = WriteFileAtomically(path, BuildTxtExport(table, format, declination));
    if (r.ok()) return r;
    const bool created = r.code == FileStatus::kWriteFailed;
    r.message =
        created ? "写入文件 " + path + " 失败：" + r.message : "无法创建文件 " + path + "：" + r.message;
    return r;
}

}  // namespace orb
