// Where the program finds its geomagnetic model files (NAME.wmm and
// NAME.wmm.cof, generated at build time from the published coefficients).
#pragma once

#include <string>

namespace orb {

// The folder holding wmm2025.wmm and igrf14.wmm: next to the running
// program's installed data (<prefix>/share/orb/geomag beside <prefix>/bin),
// else a geomag folder in the program's folder or up to three levels above it
// (the build tree), else the folder compiled in. Empty when none holds them.
std::string GeomagModelFolder();

// The same search from a given program folder (tests, other programs).
std::string GeomagModelFolderFor(const std::string& programFolder);

}  // namespace orb
