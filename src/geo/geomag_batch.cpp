#include "geo/geomag_batch.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace orb {

namespace {

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

BatchLineKind ParseBatchLine(std::string_view line, BatchQuery& q) {
    std::size_t i = 0;
    while (i < line.size() && Blank(line[i])) ++i;
    if (i == line.size() || line[i] == '#') return BatchLineKind::kBlank;
    double v[4] = {};
    for (double& x : v) {
        while (i < line.size() && Blank(line[i])) ++i;
        const auto [end, ec] = std::from_chars(line.data() + i, line.data() + line.size(), x);
        if (ec != std::errc() || !std::isfinite(x)) return BatchLineKind::kMalformed;
        i = static_cast<std::size_t>(end - line.data());
        if (i < line.size() && !Blank(line[i])) return BatchLineKind::kMalformed;
    }
    while (i < line.size() && Blank(line[i])) ++i;
    if (i != line.size() || std::fabs(v[1]) > 90 || v[2] < -180 || v[2] > 360)
        return BatchLineKind::kMalformed;
    q = {v[0], {v[1], v[2], v[3]}};
    return BatchLineKind::kQuery;
}

std::string BatchResultLine(const MagneticResult& r) {
    if (!r.field) return "- - - - - - - none";
    const MagneticField& f = *r.field;
    char buf[256];
    std::snprintf(buf, sizeof buf, "%.4f %.4f %.2f %.2f %.2f %.2f %.2f %s", f.declination, f.inclination,
                  f.total, f.horizontal, f.north, f.east, f.down, f.model);
    return buf;
}

}  // namespace orb
