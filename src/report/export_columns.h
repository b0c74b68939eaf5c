// The 22 columns that the TXT and Excel exports know, and the small text
// helpers both exports share.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orb {

inline constexpr int kExportColumnCount = 22;

// Caption of export column 0..21 (UTF-8). The index is the stored identity of
// a column in ExpFmt.ini; the caption is its name in the dialog and the files.
extern const std::array<std::string_view, kExportColumnCount> kExportCaptions;

// Index of the column whose caption is exactly `caption`, or -1.
int ExportColumnOfCaption(std::string_view caption);

// The leading decimal number of `text`, read the way strtod reads it in the C
// locale (leading white space skipped, longest numeric prefix); 0 when there is
// none. Never depends on the process locale.
double ParseLeadingDouble(std::string_view text);

// printf("%0.<decimals>f", value) without the process locale.
std::string FormatFixed(double value, int decimals);

// True azimuth: magnetic azimuth text + declination, brought into [0, 360).
double TrueAzimuth(std::string_view magneticAzimuthText, float declination);

}  // namespace orb
