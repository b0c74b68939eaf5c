// The earth's main field at a well from the built-in models: WMM2025 for
// survey dates 2025.0 to before 2030.0, IGRF-14 from 1900.0 to before 2025.0.
// The model library does not enforce a model's dates or heights; this class
// does, and gives no value (with the reason) outside them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orb {

enum class GeomagModelChoice : uint8_t { kAuto, kWmm2025, kIgrf14 };

// Where the horizontal intensity is this low the magnetic azimuth is
// unreliable (caution) or not to be trusted at all (blackout).
inline constexpr double kCautionHorizontalNt = 6000.0;
inline constexpr double kBlackoutHorizontalNt = 2000.0;
enum class FieldZone : uint8_t { kNormal, kCaution, kBlackout };

// Geodetic position on WGS84: degrees, metres above the ellipsoid.
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
    double height = 0;
};

struct MagneticField {
    double declination = 0;  // D, degrees east of true north
    double inclination = 0;  // I (dip), degrees, positive downwards
    double total = 0;        // F, nT
    double horizontal = 0;   // H, nT
    double north = 0;        // X, nT
    double east = 0;         // Y, nT
    double down = 0;         // Z, nT
    const char* model = "";  // "WMM2025" or "IGRF-14"
    FieldZone zone = FieldZone::kNormal;
};

struct MagneticResult {
    std::optional<MagneticField> field;
    std::string problem;  // why there is no field (Chinese), empty when there is one
};

// "auto", "wmm2025", "igrf14".
std::optional<GeomagModelChoice> ParseGeomagModelChoice(std::string_view text);

// The zone of a horizontal intensity in nT.
FieldZone ZoneOfHorizontal(double horizontalNt);
// Empty for kNormal, otherwise the warning shown with the values.
const char* FieldZoneWarning(FieldZone zone);

class MagneticReference {
public:
    // Reads wmm2025 and igrf14 from `folder`; a missing or damaged file leaves
    // that model out (loadProblem() says which).
    explicit MagneticReference(const std::string& folder);
    ~MagneticReference();
    MagneticReference(const MagneticReference&) = delete;
    MagneticReference& operator=(const MagneticReference&) = delete;

    const std::string& loadProblem() const { return loadProblem_; }

    // The field at `point` on `decimalYear`. kAuto takes the model of the
    // date; an explicit IGRF-14 is also valid 2025.0 to before 2030.0 (its
    // own prediction), an explicit WMM2025 only in its five years.
    MagneticResult Evaluate(const GeoPoint& point, double decimalYear,
                            GeomagModelChoice choice = GeomagModelChoice::kAuto) const;

private:
    struct Models;
    std::unique_ptr<Models> models_;
    std::string loadProblem_;
};

// One instance over GeomagModelFolder(), made on first use.
const MagneticReference& BuiltInMagneticReference();

}  // namespace orb
