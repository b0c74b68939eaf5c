#include "geo/magnetic_reference.h"

#include <GeographicLib/MagneticModel.hpp>
#include <cmath>
#include <cstdio>

#include "core/ui_text.h"
#include "geo/geomag_files.h"

namespace orb {

namespace {

using GeographicLib::MagneticModel;

struct ModelSpan {
    const char* name;
    double from, to;  // valid for from <= t < to
};
constexpr ModelSpan kWmmSpan{"WMM2025", 2025.0, 2030.0};
constexpr ModelSpan kIgrfAutoSpan{"IGRF-14", 1900.0, 2025.0};
constexpr ModelSpan kIgrfOwnSpan{"IGRF-14", 1900.0, 2030.0};

std::unique_ptr<MagneticModel> Load(const std::string& name, const std::string& folder,
                                    std::string& problem) {
    try {
        return std::make_unique<MagneticModel>(name, folder);
    } catch (const std::exception& e) {
        problem += (problem.empty() ? "" : "; ") + std::string("地磁模型 ") + name + " 无法读取: " + e.what();
        return nullptr;
    }
}

std::string Format(const char* fmt, double a, double b = 0, double c = 0) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

std::string PointProblem(const GeoPoint& p, const MagneticModel& m) {
    if (!std::isfinite(p.latitude) || std::fabs(p.latitude) > 90)
        return ORB_TEXT("core", "纬度须在 -90° 到 90° 之间");
    if (!std::isfinite(p.longitude) || p.longitude < -180 || p.longitude > 360)
        return ORB_TEXT("core", "经度须在 -180° 到 360° 之间");
    if (!std::isfinite(p.height) || p.height < m.MinHeight() || p.height > m.MaxHeight())
        return Format("高度 %.0f m 超出地磁模型范围（%.0f 到 %.0f m）", p.height, m.MinHeight(),
                      m.MaxHeight());
    return {};
}

MagneticField Components(const MagneticModel& m, const GeoPoint& p, double t, const char* name) {
    double bEast = 0, bNorth = 0, bUp = 0;
    m(t, p.latitude, p.longitude, p.height, bEast, bNorth, bUp);
    MagneticField f;
    MagneticModel::FieldComponents(bEast, bNorth, bUp, f.horizontal, f.total, f.declination, f.inclination);
    f.north = bNorth;
    f.east = bEast;
    f.down = -bUp;
    f.model = name;
    f.zone = ZoneOfHorizontal(f.horizontal);
    return f;
}

}  // namespace

struct MagneticReference::Models {
    std::unique_ptr<MagneticModel> wmm, igrf;
};

std::optional<GeomagModelChoice> ParseGeomagModelChoice(std::string_view text) {
    if (text == "auto") return GeomagModelChoice::kAuto;
    if (text == "wmm2025") return GeomagModelChoice::kWmm2025;
    if (text == "igrf14") return GeomagModelChoice::kIgrf14;
    return std::nullopt;
}

FieldZone ZoneOfHorizontal(double h) {
    if (h <= kBlackoutHorizontalNt) return FieldZone::kBlackout;
    if (h <= kCautionHorizontalNt) return FieldZone::kCaution;
    return FieldZone::kNormal;
}

const char* FieldZoneWarning(FieldZone zone) {
    switch (zone) {
        case FieldZone::kCaution:
            return ORB_TEXT("core", "警示区：水平分量 H ≤ 6000 nT，磁方位不可靠");
        case FieldZone::kBlackout:
            return ORB_TEXT("core", "盲区：水平分量 H ≤ 2000 nT，磁方位不可信");
        case FieldZone::kNormal:
            break;
    }
    return "";
}

MagneticReference::MagneticReference(const std::string& folder) : models_(std::make_unique<Models>()) {
    if (folder.empty()) {
        loadProblem_ = ORB_TEXT("core", "找不到地磁模型文件（geomag 文件夹）");
        return;
    }
    models_->wmm = Load("wmm2025", folder, loadProblem_);
    models_->igrf = Load("igrf14", folder, loadProblem_);
}

MagneticReference::~MagneticReference() = default;

MagneticResult MagneticReference::Evaluate(const GeoPoint& point, double t, GeomagModelChoice choice) const {
    const bool wantWmm = choice == GeomagModelChoice::kWmm2025 ||
                         (choice == GeomagModelChoice::kAuto && t >= kWmmSpan.from && t < kWmmSpan.to);
    const ModelSpan span =
        wantWmm ? kWmmSpan : (choice == GeomagModelChoice::kIgrf14 ? kIgrfOwnSpan : kIgrfAutoSpan);
    const MagneticModel* model = wantWmm ? models_->wmm.get() : models_->igrf.get();
    if (!std::isfinite(t) || t < span.from || t >= span.to) {
        if (choice == GeomagModelChoice::kAuto)
            return {std::nullopt, Format("日期 %.3f 超出内置地磁模型的范围（IGRF-14 1900.0 到 2025.0 之前，"
                                         "WMM2025 2025.0 到 2030.0 之前）：只能用操作员输入的值",
                                         t)};
        return {std::nullopt, std::string("日期 ") + Format("%.3f", t) + " 超出 " + span.name + " 的范围（" +
                                  Format("%.1f 到 %.1f 之前", span.from, span.to) + "）"};
    }
    if (!model) return {std::nullopt, loadProblem_};
    if (std::string problem = PointProblem(point, *model); !problem.empty()) return {std::nullopt, problem};
    return {Components(*model, point, t, span.name), {}};
}

const MagneticReference& BuiltInMagneticReference() {
    static const MagneticReference instance(GeomagModelFolder());
    return instance;
}

}  // namespace orb
