// The operator's TXT export layout and its 100-byte file ExpFmt.ini.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_result.h"
#include "report/export_columns.h"

namespace orb {

struct TxtExportFormat {
    int32_t writeCaptions = 1;  // non-zero: the file begins with the caption line
    int32_t separator = 1;      // non-zero: fields separated by " ", zero: by ","
    // The first `count` entries are the chosen columns in output order; the
    // rest carry no meaning (-1 in a fresh layout).
    std::array<int32_t, kExportColumnCount> columns;
    int32_t count = 0;

    TxtExportFormat() { columns.fill(-1); }

    std::vector<int> Chosen() const { return {columns.begin(), columns.begin() + ClampedCount()}; }
    int ClampedCount() const {
        return count < 0 ? 0 : (count > kExportColumnCount ? kExportColumnCount : count);
    }
    // count within 0..22 and the chosen entries distinct indexes 0..21.
    bool IsValid() const;
    bool operator==(const TxtExportFormat&) const = default;
};

inline constexpr std::size_t kExpFmtFileSize = 100;

// The 100 bytes of ExpFmt.ini: writeCaptions, separator, the 22 columns and
// count, each a little-endian signed 32-bit integer.
std::string EncodeExpFmt(const TxtExportFormat& format);
// False (and `format` untouched) unless `bytes` is exactly 100 bytes holding a
// valid layout.
bool DecodeExpFmt(std::string_view bytes, TxtExportFormat& format);

// Where the layout lives: $XDG_CONFIG_HOME/Orb/ExpFmt.ini, or
// ~/.config/Orb/ExpFmt.ini when XDG_CONFIG_HOME is unset or not absolute.
std::string TxtExportFormatPath();

// The layout stored at `path`; the defaults when the file is missing,
// unreadable or damaged. A file that is there but cannot be read, or is no
// regular file (a FIFO is never waited for), fills `unread` with the
// operator's message; a missing or damaged one does not.
TxtExportFormat LoadTxtExportFormat(const std::string& path, FileResult* unread = nullptr);

// Writes the layout to `path` atomically, creating its folder when needed.
// A failure carries the operator's message.
FileResult SaveTxtExportFormat(const std::string& path, const TxtExportFormat& format);

}  // namespace orb
