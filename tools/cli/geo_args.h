// Position options shared by the orb-cli commands that need the well's place
// (geomag, grid, trajectory --north grid): --lat and --lon in decimal degrees
// or degrees-minutes-seconds.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "geo/grid_projection.h"

namespace orbcli {

struct PositionArgs {
    std::string lat, lon;
};

void AddPositionArgs(CLI::App& sub, PositionArgs& args);

// False (after reporting on stderr) when either is missing or not an angle.
bool ParsePosition(const PositionArgs& args, double& lat, double& lon);

// False (after reporting) for a text that is not "utm" or "tm:CM".
bool ParseProjectionOption(const std::string& text, orb::ProjectionSpec& proj);

}  // namespace orbcli
