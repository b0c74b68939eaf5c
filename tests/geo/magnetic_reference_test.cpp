// The built-in geomagnetic models against the published WMM2025 test points
// and an independent evaluation of the IGRF-14 coefficients, the model
// limits and the low-horizontal-field zones.
#include "geo/magnetic_reference.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "geo/geomag_files.h"

namespace orb {
namespace {

const MagneticReference& Models() {
    static const MagneticReference ref(ORB_BINARY_DIR "/geomag");
    return ref;
}

struct WmmPoint {
    double year, heightKm, lat, lon, d, i, h, x, y, z, f;
};

std::vector<WmmPoint> OfficialWmmPoints() {
    std::ifstream in(ORB_SOURCE_DIR "/resources/geomag/WMM2025_FINAL_TEST_VALUES_HIGHPREC.txt");
    std::vector<WmmPoint> points;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        WmmPoint p{};
        if (s >> p.year >> p.heightKm >> p.lat >> p.lon >> p.d >> p.i >> p.h >> p.x >> p.y >> p.z >> p.f)
            points.push_back(p);
    }
    return points;
}

TEST(MagneticReferenceTest, OfficialWmm2025TestPoints) {
    ASSERT_TRUE(Models().loadProblem().empty()) << Models().loadProblem();
    const std::vector<WmmPoint> points = OfficialWmmPoints();
    ASSERT_EQ(points.size(), 100u);
    for (const WmmPoint& p : points) {
        SCOPED_TRACE(testing::Message() << p.year << " " << p.heightKm << " km " << p.lat << " " << p.lon);
        // The file's heights are in km, the model's in metres.
        const MagneticResult r = Models().Evaluate({p.lat, p.lon, p.heightKm * 1000.0}, p.year);
        ASSERT_TRUE(r.field) << r.problem;
        const MagneticField& f = *r.field;
        EXPECT_STREQ(f.model, "WMM2025");
        EXPECT_NEAR(f.north, p.x, 0.1);
        EXPECT_NEAR(f.east, p.y, 0.1);
        EXPECT_NEAR(f.down, p.z, 0.1);
        EXPECT_NEAR(f.total, p.f, 0.1);
        EXPECT_NEAR(f.horizontal, p.h, 0.1);
        EXPECT_NEAR(f.declination, p.d, 0.01);
        EXPECT_NEAR(f.inclination, p.i, 0.01);
        EXPECT_EQ(f.zone, ZoneOfHorizontal(p.h));
    }
}

// Schmidt semi-normalised synthesis on the sphere straight from the IGRF
// text file, as the model's authors describe it: an evaluation that shares
// nothing with the converter or the model library.
class IgrfByHand {
public:
    IgrfByHand() {
        std::ifstream in(ORB_SOURCE_DIR "/resources/geomag/igrf14coeffs.txt");
        for (std::string line; std::getline(in, line);) {
            std::istringstream s(line);
            std::string kind;
            s >> kind;
            if (kind != "g" && kind != "h") continue;
            int n = 0, m = 0;
            s >> n >> m;
            std::vector<double>& v = coef_[{kind[0], n * 100 + m}];
            for (double x = 0; s >> x;) v.push_back(x);
        }
    }

    // X, Y, Z (nT) at a geodetic position (height in metres) and time, by
    // linear interpolation between the 5-year epochs.
    std::array<double, 3> Field(double lat, double lon, double height, double t) const {
        constexpr double a = 6378137.0, f = 1 / 298.257223563, b = a * (1 - f), rRef = 6371200.0;
        const double phi = lat * std::numbers::pi / 180, lam = lon * std::numbers::pi / 180;
        const double n = a / std::sqrt(1 - f * (2 - f) * std::sin(phi) * std::sin(phi));
        const double rho = (n + height) * std::cos(phi),
                     zc = (n * (b * b) / (a * a) + height) * std::sin(phi);
        const double r = std::hypot(rho, zc), theta = std::atan2(rho, zc);
        const double k = (t - 1900) / 5;
        const int e = std::min(static_cast<int>(k), 24);
        double br = 0, bt = 0, bp = 0;
        for (int deg = 1; deg <= 13; ++deg)
            for (int m = 0; m <= deg; ++m) {
                const double g = At('g', deg, m, e, k - e), h = m ? At('h', deg, m, e, k - e) : 0;
                const double p = Schmidt(deg, m, theta),
                             dp = (Schmidt(deg, m, theta + 1e-7) - Schmidt(deg, m, theta - 1e-7)) / 2e-7;
                const double ar = std::pow(rRef / r, deg + 2);
                const double c = std::cos(m * lam), s = std::sin(m * lam);
                br += (deg + 1) * ar * (g * c + h * s) * p;
                bt -= ar * (g * c + h * s) * dp;
                bp += ar * m * (g * s - h * c) * p / std::sin(theta);
            }
        const double psi = phi - (std::numbers::pi / 2 - theta);  // geodetic minus geocentric latitude
        const double x = -bt * std::cos(psi) - br * std::sin(psi),
                     z = bt * std::sin(psi) - br * std::cos(psi);
        return {x, bp, z};
    }

private:
    double At(char kind, int n, int m, int epoch, double frac) const {
        const std::vector<double>& v = coef_.at({kind, n * 100 + m});
        return v[epoch] + frac * (v[epoch + 1] - v[epoch]);
    }
    // Schmidt semi-normalised associated Legendre function by its closed sum.
    static double Schmidt(int n, int m, double theta) {
        double p = 0;
        for (int k = 0; k <= (n - m) / 2; ++k)
            p += std::pow(-1, k) * std::tgamma(2 * n - 2 * k + 1) /
                 (std::tgamma(k + 1) * std::tgamma(n - k + 1) * std::tgamma(n - m - 2 * k + 1)) *
                 std::pow(std::cos(theta), n - m - 2 * k);
        p *= std::pow(std::sin(theta), m) / std::pow(2, n);
        return m == 0 ? p : p * std::sqrt(2 * std::tgamma(n - m + 1) / std::tgamma(n + m + 1));
    }
    std::map<std::pair<char, int>, std::vector<double>> coef_;
};

TEST(MagneticReferenceTest, IgrfMatchesAnIndependentEvaluationBefore2000) {
    const IgrfByHand byHand;
    struct Case {
        double t, lat, lon, height;
    } const cases[] = {{1995.0, 39.9, 116.4, 50},
                       {1987.3, -33.9, 151.2, 0},
                       {1962.5, 64.1, -21.9, 2000},
                       {2010.75, 30.0, 110.0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        const MagneticResult r = Models().Evaluate({c.lat, c.lon, c.height}, c.t);
        ASSERT_TRUE(r.field) << r.problem;
        EXPECT_STREQ(r.field->model, "IGRF-14");
        const auto [x, y, z] = byHand.Field(c.lat, c.lon, c.height, c.t);
        EXPECT_NEAR(r.field->north, x, 1.0);
        EXPECT_NEAR(r.field->east, y, 1.0);
        EXPECT_NEAR(r.field->down, z, 1.0);
    }
}

TEST(MagneticReferenceTest, ContinuousAcrossEpochsAndModelChange) {
    const GeoPoint p{30.0, 110.0, 0};
    const double eps = 1e-6;
    // IGRF-14 across its 2020.0 epoch and across 2025.0 into its own prediction.
    for (double epoch : {2020.0, 2025.0}) {
        const MagneticResult before = Models().Evaluate(p, epoch - eps, GeomagModelChoice::kIgrf14);
        const MagneticResult after = Models().Evaluate(p, epoch + eps, GeomagModelChoice::kIgrf14);
        ASSERT_TRUE(before.field && after.field);
        EXPECT_NEAR(before.field->total, after.field->total, 0.01) << epoch;
        EXPECT_NEAR(before.field->declination, after.field->declination, 1e-5) << epoch;
    }
    // The automatic choice changes model at 2025.0; the two agree closely there.
    const MagneticResult igrf = Models().Evaluate(p, 2025.0 - eps);
    const MagneticResult wmm = Models().Evaluate(p, 2025.0);
    ASSERT_TRUE(igrf.field && wmm.field);
    EXPECT_STREQ(igrf.field->model, "IGRF-14");
    EXPECT_STREQ(wmm.field->model, "WMM2025");
    EXPECT_NEAR(igrf.field->total, wmm.field->total, 20.0);
    EXPECT_NEAR(igrf.field->declination, wmm.field->declination, 0.05);
}

TEST(MagneticReferenceTest, RefusesDatesAndPlacesNoModelCovers) {
    const GeoPoint p{30.0, 110.0, 0};
    struct Case {
        double t;
        GeomagModelChoice choice;
        bool valid;
    } const cases[] = {
        {2030.0, GeomagModelChoice::kAuto, false},    {2029.999, GeomagModelChoice::kAuto, true},
        {1899.999, GeomagModelChoice::kAuto, false},  {1900.0, GeomagModelChoice::kAuto, true},
        {2024.9, GeomagModelChoice::kWmm2025, false}, {2030.0, GeomagModelChoice::kIgrf14, false},
        {2027.0, GeomagModelChoice::kIgrf14, true},   {NAN, GeomagModelChoice::kAuto, false},
    };
    for (const Case& c : cases) {
        const MagneticResult r = Models().Evaluate(p, c.t, c.choice);
        EXPECT_EQ(r.field.has_value(), c.valid) << c.t;
        EXPECT_EQ(r.problem.empty(), c.valid) << c.t;
    }
    EXPECT_NE(Models().Evaluate(p, 2030.0).problem.find("2030.000"), std::string::npos);
    EXPECT_FALSE(Models().Evaluate({95.0, 110.0, 0}, 2026.0).field);
    EXPECT_FALSE(Models().Evaluate({30.0, 110.0, 900000.0}, 2026.0).field);  // above WMM's 850 km
    EXPECT_FALSE(MagneticReference("/nonexistent").Evaluate(p, 2026.0).field);
    EXPECT_FALSE(MagneticReference("/nonexistent").loadProblem().empty());
}

TEST(MagneticReferenceTest, CautionAndBlackoutNearTheMagneticPole) {
    struct Case {
        double lat, lon;
        FieldZone zone;
    } const cases[] = {{86.0, 140.0, FieldZone::kBlackout},  // near the north dip pole
                       {80.0, -96.0, FieldZone::kCaution},
                       {30.0, 110.0, FieldZone::kNormal}};
    for (const Case& c : cases) {
        const MagneticResult r = Models().Evaluate({c.lat, c.lon, 0}, 2026.0);
        ASSERT_TRUE(r.field);
        EXPECT_EQ(r.field->zone, c.zone) << c.lat << " H=" << r.field->horizontal;
    }
    EXPECT_EQ(ZoneOfHorizontal(2000.0), FieldZone::kBlackout);
    EXPECT_EQ(ZoneOfHorizontal(2000.01), FieldZone::kCaution);
    EXPECT_EQ(ZoneOfHorizontal(6000.0), FieldZone::kCaution);
    EXPECT_EQ(ZoneOfHorizontal(6000.01), FieldZone::kNormal);
    EXPECT_STREQ(FieldZoneWarning(FieldZone::kNormal), "");
}

TEST(MagneticReferenceTest, ModelFolderFoundFromTheProgramFolder) {
    EXPECT_EQ(GeomagModelFolderFor(ORB_BINARY_DIR "/tests"), ORB_BINARY_DIR "/geomag");
    EXPECT_EQ(GeomagModelFolderFor(ORB_BINARY_DIR), ORB_BINARY_DIR "/geomag");
    EXPECT_FALSE(GeomagModelFolder().empty());
}

}  // namespace
}  // namespace orb
