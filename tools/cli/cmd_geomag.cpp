// orb-cli geomag: the earth's field at a position and date from the built-in
// models (WMM2025, IGRF-14), the normal gravity there, and the warnings; or,
// with --batch, one line "D I F H X Y Z MODEL" per input line.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "cli/command.h"
#include "cli/geo_args.h"
#include "cli/tlm_io_util.h"
#include "geo/geomag_batch.h"
#include "geo/normal_gravity.h"
#include "geo/survey_date.h"

namespace orbcli {
namespace {

struct GeomagArgs {
    PositionArgs position;
    std::string height = "0";
    std::string date, year;
    std::string model = "auto";
    bool batch = false;
};

bool SurveyYear(const GeomagArgs& a, double& t) {
    if (!a.year.empty()) return ParseNumberOption("--year", a.year, t);
    if (a.date.empty()) {
        t = orb::DecimalYear(orb::TodayUtc());
        return true;
    }
    const std::optional<orb::CalendarDate> d = orb::ParseIsoDate(a.date);
    if (!d) {
        std::fprintf(stderr, "orb-cli: --date \"%s\": use YYYY-MM-DD\n", a.date.c_str());
        return false;
    }
    t = orb::DecimalYear(*d);
    return true;
}

int RunBatch(orb::GeomagModelChoice choice) {
    const orb::MagneticReference& ref = orb::BuiltInMagneticReference();
    std::string line, out;
    for (long n = 1; std::getline(std::cin, line); ++n) {
        orb::BatchQuery q;
        const orb::BatchLineKind kind = orb::ParseBatchLine(line, q);
        if (kind == orb::BatchLineKind::kBlank) continue;
        if (kind == orb::BatchLineKind::kMalformed) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            std::fprintf(
                stderr, "orb-cli: geomag --batch: line %ld: expected \"DECIMAL_YEAR LAT LON HEIGHT_M\"\n", n);
            return kExitBadArgs;
        }
        out += orb::BatchResultLine(ref.Evaluate(q.point, q.decimalYear, choice));
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFileError;
}

void PrintField(const orb::MagneticField& f) {
    std::printf("模型: %s\n", f.model);
    std::printf("磁偏角 D: %.4f°\n磁倾角 I: %.4f°\n总强度 F: %.2f nT\n水平分量 H: %.2f nT\n", f.declination,
                f.inclination, f.total, f.horizontal);
    std::printf("北向分量 X: %.2f nT\n东向分量 Y: %.2f nT\n垂直分量 Z: %.2f nT\n", f.north, f.east, f.down);
    if (f.zone != orb::FieldZone::kNormal) std::printf("警告: %s\n", orb::FieldZoneWarning(f.zone));
}

int RunGeomag(const GeomagArgs& a) {
    const orb::GeomagModelChoice choice = *orb::ParseGeomagModelChoice(a.model);
    if (a.batch) return RunBatch(choice);
    orb::GeoPoint p;
    double t = 0;
    if (!ParsePosition(a.position, p.latitude, p.longitude) ||
        !ParseNumberOption("--height", a.height, p.height) || !SurveyYear(a, t))
        return kExitBadArgs;
    std::printf("位置: 纬度 %.6f°, 经度 %.6f°, 高度 %.1f m\n日期: %.4f\n", p.latitude, p.longitude, p.height,
                t);
    std::printf("正常重力: %.7f m/s² (%.6f g)\n", orb::NormalGravity(p.latitude, p.height),
                orb::NormalGravityInG(p.latitude, p.height));
    const orb::MagneticResult r = orb::BuiltInMagneticReference().Evaluate(p, t, choice);
    if (!r.field) {
        std::printf("没有模型值: %s\n", r.problem.c_str());
        return kExitFileError;
    }
    PrintField(*r.field);
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<GeomagArgs>();
    AddPositionArgs(sub, args->position);
    sub.add_option("--height", args->height, "Height above the WGS84 ellipsoid in metres; default 0");
    auto* date = sub.add_option("--date", args->date, "Survey date YYYY-MM-DD; default today (UTC)");
    sub.add_option("--year", args->year, "Survey date as a decimal year (2025.5)")->excludes(date);
    sub.add_option("--model", args->model,
                   "auto (by date: WMM2025 from 2025.0, IGRF-14 before), wmm2025, igrf14")
        ->check(CLI::IsMember({"auto", "wmm2025", "igrf14"}));
    sub.add_flag(
        "--batch", args->batch,
        "Read \"DECIMAL_YEAR LAT LON HEIGHT_M\" lines from stdin, write \"D I F H X Y Z MODEL\" lines");
    return [args] { return RunGeomag(*args); };
}

Register reg{
    "geomag",
    "Geomagnetic field (D, I, F, H, X, Y, Z) from WMM2025 / IGRF-14 and normal gravity at a position", Setup};

}  // namespace
}  // namespace orbcli
