// The TXT export layout file ExpFmt.ini from anywhere: any content must load
// as a valid layout (the file's own when it is sound, else the defaults), the
// format dialog's list logic must keep its lists consistent whatever is
// clicked, and the export must write one line per checked row whatever the
// layout and the cell texts.
//
// Input: the whole input is the file. When it is at least 100 bytes long,
// its first 100 bytes also give the layout of an export of a table whose rows
// come from the remaining bytes (rows split at '\n', cells at '\t'), and the
// input's first bytes drive clicks of the format dialog, one each.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "report/fake_table.h"
#include "report/txt_export.h"
#include "report/txt_export_format.h"
#include "report/txt_format_editor.h"

namespace {

using orb::kExportColumnCount;
using orb::TxtExportFormat;
using orb::TxtFormatEditor;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

std::string MemFilePath(const uint8_t* data, std::size_t size) {
    static const int fd = [] {
        const int f = memfd_create("ExpFmt.ini", MFD_CLOEXEC);
        Check(f >= 0, "memfd_create");
        return f;
    }();
    Check(ftruncate(fd, 0) == 0, "ftruncate");
    Check(size == 0 || pwrite(fd, data, size, 0) == static_cast<ssize_t>(size), "pwrite");
    return "/proc/self/fd/" + std::to_string(fd);
}

void CheckLoader(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TxtExportFormat loaded = orb::LoadTxtExportFormat(MemFilePath(data, size));
    Check(loaded.IsValid(), "a loaded layout is valid");

    TxtExportFormat decoded;
    decoded.count = 99;  // must stay untouched when the bytes are refused
    const TxtExportFormat before = decoded;
    if (orb::DecodeExpFmt(bytes, decoded)) {
        Check(size == orb::kExpFmtFileSize, "only 100 bytes decode");
        Check(loaded == decoded, "the file loads as decoded");
        Check(orb::EncodeExpFmt(decoded) == bytes, "a sound layout writes back byte for byte");
    } else {
        Check(decoded == before, "a refused file changes nothing");
        Check(loaded == TxtExportFormat{}, "a damaged file gives the defaults");
    }
}

void CheckEditor(const TxtFormatEditor& e) {
    const TxtExportFormat& f = e.format();
    Check(f.IsValid(), "the dialog's layout stays valid");
    const std::vector<int>& avail = e.available();
    Check(std::is_sorted(avail.begin(), avail.end()), "available columns in ascending order");
    std::vector<int> all = avail;
    const std::vector<int> chosen = e.chosen();
    all.insert(all.end(), chosen.begin(), chosen.end());
    std::sort(all.begin(), all.end());
    Check(all.size() == kExportColumnCount, "every column is in exactly one list");
    for (int i = 0; i < kExportColumnCount; ++i) Check(all[i] == i, "every column is in exactly one list");
    Check(e.availableSel() >= -1 && e.availableSel() <= kExportColumnCount, "available selection in range");
    Check(e.chosenSel() >= -1 && e.chosenSel() <= kExportColumnCount, "chosen selection in range");
    Check(e.availableSel() == -1 || e.chosenSel() == -1, "at most one list has a selection");
}

// One click per byte: the low digit picks the action, the rest the row
// (-1 .. 22, so clicks past either end are tried too).
void DriveEditor(TxtFormatEditor& e, const uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const int row = (data[i] / 10) % 24 - 1;
        switch (data[i] % 10) {
            case 0:
                e.ClickAvailable(row);
                break;
            case 1:
                e.ClickChosen(row);
                break;
            case 2:
                e.DoubleClickAvailable(row);
                break;
            case 3:
                e.DoubleClickChosen(row);
                break;
            case 4:
                e.Add();
                break;
            case 5:
                e.Delete();
                break;
            case 6:
                e.MoveUp();
                break;
            case 7:
                e.MoveDown();
                break;
            case 8:
                e.SetSpaceSeparator(row & 1);
                break;
            default:
                e.SetWriteCaptions(row & 1);
                break;
        }
        CheckEditor(e);
    }
    Check(e.AvailableCaptions().size() == e.available().size() &&
              e.ChosenCaptions().size() == e.chosen().size(),
          "one caption per row");
    // The edited layout survives its file.
    TxtExportFormat back;
    Check(orb::DecodeExpFmt(orb::EncodeExpFmt(e.format()), back) && back == e.format(),
          "edited layout round trip");
}

orb::test::FakeTable TableFrom(std::string_view rest) {
    orb::test::FakeTable table;
    while (!rest.empty() && table.rows.size() < 16) {
        const std::size_t eol = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, eol);
        rest.remove_prefix(std::min(eol + 1, rest.size()));
        orb::test::FakeRow row;
        row.checked = !line.empty() && (line[0] & 1);
        for (auto& cell : row.cells) {
            const std::size_t tab = std::min(line.find('\t'), line.size());
            cell.assign(line.substr(0, tab));
            std::erase(cell, '\r');  // the table never shows line breaks
            line.remove_prefix(std::min(tab + 1, line.size()));
        }
        table.rows.push_back(row);
    }
    return table;
}

std::size_t CountLines(const std::string& s) {
    std::size_t n = 0;
    for (std::size_t p = s.find("\r\n"); p != std::string::npos; p = s.find("\r\n", p + 2)) ++n;
    return n;
}

void CheckExport(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TxtExportFormat format;
    orb::DecodeExpFmt(bytes.substr(0, orb::kExpFmtFileSize), format);

    TxtFormatEditor editor;
    editor.Load(format);
    CheckEditor(editor);
    Check(editor.format() == format, "the dialog opens with the file's layout");

    const orb::test::FakeTable table = TableFrom(bytes.substr(orb::kExpFmtFileSize));
    int16_t raw = 0;
    std::memcpy(&raw, data + 96, sizeof raw);
    const float declination = static_cast<float>(raw % 3601) / 10.0f;  // -360.0 .. 360.0
    const std::string out = orb::BuildTxtExport(table, format, declination);
    const auto checked = static_cast<std::size_t>(
        std::count_if(table.rows.begin(), table.rows.end(), [](const auto& r) { return r.checked; }));
    Check(CountLines(out) == checked + (format.writeCaptions != 0 ? 1 : 0), "one line per checked row");
    Check(out.size() >= 2 * CountLines(out) && (out.empty() || out.ends_with("\r\n")),
          "lines end with CR LF");

    DriveEditor(editor, data, std::min<std::size_t>(size, 128));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    CheckLoader(data, size);
    if (size >= orb::kExpFmtFileSize) CheckExport(data, size);
    return 0;
}
