// Normal gravity, the map grids and the north references built on them.
#include <gtest/gtest.h>

#include <cmath>

#include "core/north_reference.h"
#include "geo/grid_projection.h"
#include "geo/normal_gravity.h"
#include "geo/north_resolver.h"

namespace orb {
namespace {

TEST(NormalGravityTest, Wgs84AtEquatorPoleAndHeight) {
    EXPECT_NEAR(NormalGravity(0, 0), 9.7803253359, 1e-9);
    EXPECT_NEAR(NormalGravity(90, 0), 9.8321849378, 1e-9);
    EXPECT_NEAR(NormalGravity(-90, 0), 9.8321849378, 1e-9);
    // Free-air gradient about 3.086e-6 /s² per metre: 1000 m, not 1 km read as metres.
    EXPECT_NEAR(NormalGravity(45, 1000) - NormalGravity(45, 0), -3.086e-3, 2e-5);
    EXPECT_NEAR(NormalGravityInG(0, 0), 9.7803253359 / 9.80665, 1e-12);
}

TEST(GridProjectionTest, PublishedEd50UtmVector) {
    // ED50 / UTM zone 31N on the International 1924 ellipsoid.
    const TransverseMercatorZone ed50{{6378388.0, 1 / 297.0}, 0.9996, 3.0, 500000.0, 0.0};
    const GridResult r = ProjectTransverseMercator(ed50, 52.07758, 4.28869);
    ASSERT_TRUE(r.point) << r.problem;
    EXPECT_NEAR(r.point->easting, 588319.02, 0.5);  // the published degrees carry 5 decimals (~1 m)
    EXPECT_NEAR(r.point->northing, 5770571.03, 0.5);
    EXPECT_NEAR(r.point->convergence, 1.01664, 2e-5);
    EXPECT_NEAR(r.point->scale, 0.99969575, 2e-8);
    // Latitude and longitude swapped is far outside the zone's answer.
    const GridResult swapped = ProjectTransverseMercator(ed50, 4.28869, 52.07758);
    EXPECT_FALSE(swapped.point && std::fabs(swapped.point->convergence - 1.01664) < 0.1);
}

TEST(GridProjectionTest, UtmAndGaussKrugerZones) {
    struct Case {
        const char* projection;
        double lat, lon;
        const char* zone;
        // Near the meridian gamma ~ dlon sin(lat) and k ~ k0 (1 + (dlon cos(lat))^2 / 2).
        double convergence;
        double scale;  // 0: not checked
    } const cases[] = {
        {"utm", 40.0, 117.5, "50N", 0.3214, 0.9996224},
        {"utm", -33.9, 151.2, "56S", 1.0040, 0.9999415},
        {"utm", 88.0, 10.0, "UPS N", 10.0, 0.0},
        {"tm:117", 40.0, 117.0, "CM 117°E", 0.0, 1.0},
        {"tm:117", 40.0, 118.5, "CM 117°E", 0.9642, 1.0002019},
        {"tm:-93", 30.0, -95.0, "CM 93°W", -1.0000, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.projection);
        const GridResult r = ProjectGrid(*ParseProjection(c.projection), c.lat, c.lon);
        ASSERT_TRUE(r.point) << r.problem;
        EXPECT_EQ(r.point->zone, c.zone);
        EXPECT_NEAR(r.point->convergence, c.convergence, 2e-3);
        if (c.scale != 0) {
            EXPECT_NEAR(r.point->scale, c.scale, 1e-6);
        }
    }
    EXPECT_FALSE(ProjectGrid(*ParseProjection("tm:117"), 40.0, 160.0).point);
    EXPECT_FALSE(ProjectGrid({}, 91.0, 10.0).point);
    for (const char* bad : {"", "tm:", "tm:abc", "tm:200", "UTM", "tm:117x"})
        EXPECT_FALSE(ParseProjection(bad)) << bad;
    EXPECT_EQ(ProjectionText(*ParseProjection("tm:117")), "tm:117");
    EXPECT_EQ(GaussKrugerCentralMeridian(118.4, 6), 117.0);
    EXPECT_EQ(GaussKrugerCentralMeridian(118.4, 3), 117.0);
    EXPECT_EQ(GaussKrugerCentralMeridian(119.6, 3), 120.0);
    EXPECT_EQ(GaussKrugerCentralMeridian(-0.5, 6), -3.0);
}

TEST(NorthReferenceTest, AzimuthInEveryReference) {
    NorthCorrection c;
    c.declination = -5;
    c.convergence = 1.5;
    struct Case {
        NorthReference ref;
        double magnetic, expected;
    } const cases[] = {{NorthReference::kMagnetic, 40, 40},
                       {NorthReference::kTrue, 40, 35},
                       {NorthReference::kGrid, 40, 33.5},
                       {NorthReference::kTrue, 2, 357},
                       {NorthReference::kGrid, 359, 352.5}};
    for (const Case& k : cases) {
        c.reference = k.ref;
        EXPECT_NEAR(ConvertAzimuth(k.magnetic, c), k.expected, 1e-12) << NorthReferenceKey(k.ref);
        EXPECT_EQ(ParseNorthReference(NorthReferenceKey(k.ref)), k.ref);
    }
    c.declination = NAN;
    c.reference = NorthReference::kTrue;
    EXPECT_EQ(ConvertAzimuth(40, c), 40);
    EXPECT_FALSE(ParseNorthReference("True"));
}

TEST(NorthResolverTest, OperatorModelAndGridSources) {
    const MagneticReference models(ORB_BINARY_DIR "/geomag");
    NorthInputs in;
    in.position = GeoPoint{40.0, 118.5, 0};
    in.decimalYear = 2026.0;
    in.reference = NorthReference::kGrid;
    in.projection = *ParseProjection("tm:117");
    NorthResolution r = ResolveNorthCorrection(in, models);
    ASSERT_TRUE(r.correction) << r.problem;
    const MagneticResult field = models.Evaluate(*in.position, 2026.0);
    EXPECT_EQ(r.correction->declination, field.field->declination);
    EXPECT_EQ(r.correction->declinationSource, AngleSource::kModel);
    EXPECT_EQ(r.correction->declinationOrigin, "WMM2025");
    EXPECT_NEAR(r.correction->convergence, 0.9642, 2e-3);
    EXPECT_NE(NorthCorrectionText(*r.correction).find("网格北"), std::string::npos);

    in.operatorDeclination = -6.5;
    r = ResolveNorthCorrection(in, models);
    EXPECT_EQ(r.correction->declination, -6.5);
    EXPECT_EQ(r.correction->declinationSource, AngleSource::kOperator);

    in.operatorDeclination.reset();
    in.decimalYear = 2031.0;  // no model: no declination, and the reason
    r = ResolveNorthCorrection(in, models);
    EXPECT_FALSE(r.correction);
    EXPECT_FALSE(r.problem.empty());

    in.position.reset();  // grid without a position
    in.operatorDeclination = 1.0;
    EXPECT_FALSE(ResolveNorthCorrection(in, models).correction);
    in.reference = NorthReference::kTrue;
    EXPECT_EQ(ResolveNorthCorrection(in, models).correction->declination, 1.0);
}

}  // namespace
}  // namespace orb
