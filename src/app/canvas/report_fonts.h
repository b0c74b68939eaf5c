// The report names the faces of a Chinese office desktop. They are mapped
// onto free faces that look the part, so that the report reads the same on a
// machine without them: a Kai face, a Song face for the FangSong texts and a
// serif with the metrics of Times.
#pragma once

#include <QtCore/QStringList>
#include <QtGui/QFont>
#include <string_view>

namespace orb {

// Families to try for a face name, best first; an unknown name maps to itself.
QStringList ReportFontFamilies(std::string_view face);

// Distance from the top of a text line to its baseline, in ems, of the face
// the report names (0 for a face it does not name). Texts are placed by their
// top-left corner, so this keeps every line where the layout meant it even
// when the substitute face has taller line metrics.
double ReportFaceAscent(std::string_view face);

// A font of the mapped face whose em is tenthsOfPoint / 720 inch on a device
// of dotsPerInch, as a printer font created by point size is.
QFont ReportFont(std::string_view face, int tenthsOfPoint, double dotsPerInch);

}  // namespace orb
