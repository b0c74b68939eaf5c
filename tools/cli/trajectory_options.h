// The options every trajectory command of orb-cli shares (trajectory and the
// exchange exports): declination, north reference, convergence, tie-on,
// vertical-section azimuth, depth unit and the station choice. What the
// survey file's own context holds is the default; an option overrides it.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "cli/geo_args.h"
#include "document/orb_doc.h"
#include "report/exchange_survey.h"

namespace orbcli {

struct TrajectoryOptionArgs {
    std::string declination;
    std::string north;
    std::string convergence;
    std::string tieOn;
    std::string vsAzimuth;
    std::string units;
    bool all = false;
    PositionArgs position;  // the models' declination and the grid's convergence
    std::string projection = "utm";
};

void AddTrajectoryOptions(CLI::App& sub, TrajectoryOptionArgs& args);

// The options for `doc`: its context, then the command line; with a
// position, the models give the declination (unless the operator or the
// file did) and the grid the convergence (unless given). False (after
// reporting on stderr) for a value that is not accepted. `resolve` false
// only checks the options (before the survey is read).
bool BuildExchangeOptions(const TrajectoryOptionArgs& args, const orb::COrbDoc& doc,
                          orb::ExchangeOptions& options, bool resolve = true);

}  // namespace orbcli
