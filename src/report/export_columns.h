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

// printf("%0.<decimals>f", value) without the process locale; unlike the
// table's cell texts, a negative zero keeps its sign ("-0.0"), as printf
// writes it.
std::string PrintfFixed(double value, int decimals);

// True azimuth: the leading number of the magnetic azimuth text (strtod in
// the C locale) plus the declination, brought into [0, 360).
double TrueAzimuth(std::string_view magneticAzimuthText, float declination);

}  // namespace orb
