// orb-cli grid: the map grid at a position: zone, easting, northing, the
// meridian convergence (grid north clockwise from true north) and the scale.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/command.h"
#include "cli/geo_args.h"
#include "cli/tlm_io_util.h"

namespace orbcli {
namespace {

struct GridArgs {
    PositionArgs position;
    std::string projection = "utm";
};

int RunGrid(const GridArgs& a) {
    double lat = 0, lon = 0;
    orb::ProjectionSpec proj;
    if (!ParsePosition(a.position, lat, lon) || !ParseProjectionOption(a.projection, proj))
        return kExitBadArgs;
    const orb::GridResult r = orb::ProjectGrid(proj, lat, lon);
    if (!r.point) {
        std::fprintf(stderr, "orb-cli: grid: %s\n", r.problem.c_str());
        return kExitBadArgs;
    }
    const orb::GridPoint& p = *r.point;
    std::printf("zone %s\neasting %.3f m\nnorthing %.3f m\nconvergence %.6f°\nscale %.8f\n", p.zone.c_str(),
                p.easting, p.northing, p.convergence, p.scale);
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<GridArgs>();
    AddPositionArgs(sub, args->position);
    sub.add_option("--projection", args->projection,
                   "utm (zone from the position, WGS84) or tm:CENTRAL_MERIDIAN (Gauss-Krueger, CGCS2000); "
                   "default utm");
    return [args] { return RunGrid(*args); };
}

Register reg{"grid", "Map grid at a position: zone, easting, northing, convergence and scale", Setup};

}  // namespace
}  // namespace orbcli
