// Texts the operator and the batch input give: coordinates, dates and batch lines.
#include <gtest/gtest.h>

#include <cmath>

#include "geo/coordinate_text.h"
#include "geo/geomag_batch.h"
#include "geo/survey_date.h"

namespace orb {
namespace {

TEST(CoordinateTextTest, DecimalAndDmsForms) {
    using A = CoordinateAxis;
    struct Case {
        const char* text;
        A axis;
        double expected;  // NAN: refused
    } const cases[] = {
        {"39.9075", A::kLatitude, 39.9075},
        {"-33.5", A::kLatitude, -33.5},
        {"39°54'27\"", A::kLatitude, 39 + 54 / 60.0 + 27 / 3600.0},
        {"39°54′27″N", A::kLatitude, 39 + 54 / 60.0 + 27 / 3600.0},
        {"33 30 S", A::kLatitude, -33.5},
        {"W 93 30", A::kLongitude, -93.5},
        {"116°23.5' E", A::kLongitude, 116 + 23.5 / 60.0},
        {"-0 30", A::kLongitude, -0.5},
        {"180", A::kLongitude, 180},
        {"91", A::kLatitude, NAN},
        {"39 60", A::kLatitude, NAN},
        {"39 54 60", A::kLatitude, NAN},
        {"39.5 30", A::kLatitude, NAN},
        {"39 N", A::kLongitude, NAN},
        {"-39 N", A::kLatitude, NAN},
        {"39,5", A::kLatitude, NAN},
        {"", A::kLatitude, NAN},
        {"1 2 3 4", A::kLatitude, NAN},
        {"abc", A::kLatitude, NAN},
    };
    for (const Case& c : cases) {
        const std::optional<double> v = ParseCoordinate(c.text, c.axis);
        if (std::isnan(c.expected)) {
            EXPECT_FALSE(v) << c.text;
        } else {
            ASSERT_TRUE(v) << c.text;
            EXPECT_NEAR(*v, c.expected, 1e-12) << c.text;
        }
    }
    EXPECT_EQ(FormatDms(39.9075, CoordinateAxis::kLatitude), "39°54′27.00″N");
    EXPECT_EQ(FormatDms(-93.5, CoordinateAxis::kLongitude), "93°30′00.00″W");
    EXPECT_EQ(FormatDms(10.9999999, CoordinateAxis::kLatitude), "11°00′00.00″N");
}

TEST(SurveyDateTest, DecimalYearsAndParsing) {
    EXPECT_EQ(DecimalYear({2025, 1, 1}), 2025.0);
    EXPECT_EQ(DecimalYear({2024, 7, 2}), 2024.5);  // leap year: day 183 of 366
    EXPECT_NEAR(DecimalYear({2025, 12, 31}), 2025 + 364 / 365.0, 1e-12);
    EXPECT_TRUE(ParseIsoDate("2024-02-29"));
    for (const char* bad : {"2025-02-29", "2025-13-01", "2025-1-01", "20250101", "2025-01-01x", ""})
        EXPECT_FALSE(ParseIsoDate(bad)) << bad;
}

TEST(GeomagBatchTest, LinesAndResults) {
    BatchQuery q;
    EXPECT_EQ(ParseBatchLine("2025.5 30 110 1500", q), BatchLineKind::kQuery);
    EXPECT_EQ(q.decimalYear, 2025.5);
    EXPECT_EQ(q.point.latitude, 30);
    EXPECT_EQ(q.point.longitude, 110);
    EXPECT_EQ(q.point.height, 1500);
    EXPECT_EQ(ParseBatchLine("  2025\t-30 -110 0 \r", q), BatchLineKind::kQuery);
    for (const char* blank : {"", "   ", "# comment"})
        EXPECT_EQ(ParseBatchLine(blank, q), BatchLineKind::kBlank);
    for (const char* bad : {"2025 30 110", "2025 30 110 0 5", "2025 95 110 0", "2025 30 400 0",
                            "2025 30 110 0m", "2025 nan 110 0", "2025,5 30 110 0"})
        EXPECT_EQ(ParseBatchLine(bad, q), BatchLineKind::kMalformed) << bad;
    EXPECT_EQ(BatchResultLine({}), "- - - - - - - none");
    MagneticField f{-3.74459, 47.08457, 50339.664, 34277.19, 34204.01, -2238.61, 36866.734, "WMM2025"};
    EXPECT_EQ(BatchResultLine({f, {}}),
              "-3.7446 47.0846 50339.66 34277.19 34204.01 -2238.61 36866.73 WMM2025");
}

}  // namespace
}  // namespace orb
