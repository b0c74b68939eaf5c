#include "core/north_reference.h"

#include <cmath>
#include <cstdio>

#include "core/angles.h"
#include "core/ui_text.h"

namespace orb {

namespace {

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

std::string AngleText(const char* what, double value, AngleSource source, const std::string& origin) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %.4f°，", what, Finite(value));
    std::string s = buf;
    if (source == AngleSource::kModel) return s + "模型" + (origin.empty() ? "" : " " + origin);
    if (source == AngleSource::kOperator) return s + "操作员输入";
    return s + "未设";
}

}  // namespace

std::optional<NorthReference> ParseNorthReference(std::string_view text) {
    if (text == "magnetic") return NorthReference::kMagnetic;
    if (text == "true") return NorthReference::kTrue;
    if (text == "grid") return NorthReference::kGrid;
    return std::nullopt;
}

const char* NorthReferenceKey(NorthReference r) {
    switch (r) {
        case NorthReference::kMagnetic:
            return "magnetic";
        case NorthReference::kGrid:
            return "grid";
        case NorthReference::kTrue:
            break;
    }
    return "true";
}

const char* NorthReferenceName(NorthReference r) {
    switch (r) {
        case NorthReference::kMagnetic:
            return ORB_TEXT("core", "磁北");
        case NorthReference::kGrid:
            return ORB_TEXT("core", "网格北");
        case NorthReference::kTrue:
            break;
    }
    return ORB_TEXT("core", "真北");
}

double AzimuthOffset(const NorthCorrection& c) {
    switch (c.reference) {
        case NorthReference::kMagnetic:
            return 0.0;
        case NorthReference::kGrid:
            return Finite(c.declination) - Finite(c.convergence);
        case NorthReference::kTrue:
            break;
    }
    return Finite(c.declination);
}

double ConvertAzimuth(double magneticAzimuth, const NorthCorrection& c) {
    return NormalizeAngle(magneticAzimuth + AzimuthOffset(c));
}

TrajectorySettings WithNorthCorrection(TrajectorySettings settings, const NorthCorrection& correction) {
    settings.declination = AzimuthOffset(correction);
    return settings;
}

std::string NorthCorrectionText(const NorthCorrection& c) {
    std::string s = std::string(ORB_TEXT("core", "方位参考")) + ": " + NorthReferenceName(c.reference);
    if (c.reference == NorthReference::kMagnetic) return s + "（记录的磁方位）";
    s += "（" + AngleText("磁偏角", c.declination, c.declinationSource, c.declinationOrigin);
    if (c.reference == NorthReference::kGrid)
        s += "；" + AngleText("子午线收敛角", c.convergence, c.convergenceSource, c.convergenceOrigin);
    return s + "）";
}

}  // namespace orb
