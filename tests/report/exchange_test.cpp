// The exchange model and the rules around it: the azimuth correction of each
// north reference, build and turn rates, what a session adds to a survey's
// context, and the quoting of texts in CSV and LAS.
#include <gtest/gtest.h>

#include "report/exchange_csv.h"
#include "report/exchange_las.h"
#include "report/exchange_survey.h"
#include "report/survey_references.h"

namespace orb {
namespace {

TEST(ExchangeReferences, CorrectionPerNorthReference) {
    struct Row {
        NorthReference north;
        std::optional<double> convergence;
        double expected;
    };
    const Row rows[] = {{NorthReference::kMagnetic, 1.5, 0.0},
                        {NorthReference::kTrue, 1.5, -5.5},
                        {NorthReference::kGrid, 1.5, -7.0},
                        {NorthReference::kGrid, std::nullopt, -5.5}};
    for (const Row& r : rows) {
        SurveyReferences refs{r.north, {-5.5, {}}, std::nullopt};
        if (r.convergence) refs.convergence = SourcedValue{*r.convergence, {}};
        EXPECT_DOUBLE_EQ(AzimuthCorrection(refs), r.expected) << NorthReferenceName(r.north);
    }
}

TEST(ExchangeReferences, SessionKeepsSourcesAndLeavesDefaultsOut) {
    EXPECT_TRUE(ContextWithSession({}, SessionValues{}).empty());  // saved in the original layout

    SurveyContext stored;
    stored.declination = SourcedValue{-5.5, {ValueSource::Kind::kModel, "WMM2025", ""}};
    SessionValues session;
    session.declination = -5.5f;
    EXPECT_EQ(ContextWithSession(stored, session).declination->source.model, "WMM2025");
    session.declination = -4.0f;
    const SurveyContext changed = ContextWithSession(stored, session);
    EXPECT_EQ(changed.declination->value, -4.0);
    EXPECT_EQ(changed.declination->source.kind, ValueSource::Kind::kOperator);

    SessionValues quality;
    quality.references.fieldStrength = 52000;
    quality.tolerances.dip = 0.5;
    quality.dlsInterval = DlsInterval::kPer100Feet;
    const SurveyContext q = ContextWithSession({}, quality);
    EXPECT_EQ(q.fieldStrength->value, 52000);
    EXPECT_FALSE(q.gravity.has_value());  // 1.000 g is the default
    EXPECT_EQ(q.tolerances->dip, 0.5);
    EXPECT_EQ(q.depthUnit, DepthUnit::kFeet);
    EXPECT_EQ(q.dlsCourseLength, 100.0);
    EXPECT_FALSE(q.declination.has_value());
}

TEST(ExchangeSurvey, RatesFromThePreviousStationAndTheTieOn) {
    COrbDoc doc;
    const float rows[][3] = {{130, 4, 350}, {100, 1, 10}, {130, 5, 355}, {160, 8, 5}};
    for (const auto& row : rows) {
        SurveyRecord r;
        r.selected = 1;
        r.depth = row[0];
        r.inclination = row[1];
        r.azimuth = row[2];
        doc.AppendRecord(r);
    }
    ExchangeOptions o;
    o.trajectory.tieOn = TieOn{70, 70, 0, 0, {0, 20}};
    const ExchangeSurvey s = BuildExchangeSurvey(doc, o);
    ASSERT_EQ(s.stations.size(), 4u);
    EXPECT_NEAR(*s.stations[0].buildRate, 1.0, 1e-9);   // 1° over 30 m from the tie-on
    EXPECT_NEAR(*s.stations[0].turnRate, -10.0, 1e-9);  // 20° to 10°
    EXPECT_NEAR(*s.stations[1].buildRate, 3.0, 1e-9);
    EXPECT_NEAR(*s.stations[1].turnRate, -20.0, 1e-9);  // 10° to 350° the short way
    EXPECT_FALSE(s.stations[2].buildRate.has_value());  // the same depth again
    EXPECT_NEAR(*s.stations[3].turnRate, 10.0, 1e-9);   // 355° to 5° across north
}

TEST(ExchangeText, CsvQuotingAndLasDelimiters) {
    EXPECT_EQ(CsvField("plain 井"), "plain 井");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"x\""), "\"say \"\"x\"\"\"");
    EXPECT_EQ(CsvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(LasText("W:1|{a}\nb"), "W：1｜（a） b");
}

TEST(ExchangeText, LasHasAllThreeInclinometrySectionsEvenWithoutStations) {
    const std::string las = ExchangeLas(BuildExchangeSurvey(COrbDoc(), {}));
    for (const char* s : {"~Inclinometry_Parameter", "~Inclinometry_Definition", "~Inclinometry_Data"})
        EXPECT_NE(las.find(s), std::string::npos) << s;
    EXPECT_NE(las.find("STRT.m"), std::string::npos);
    EXPECT_NE(las.find(kLasNull), std::string::npos);
    const std::string csv = ExchangeCsv(BuildExchangeSurvey(COrbDoc(), {}));
    EXPECT_NE(csv.find(std::string(kExchangeCsvColumns) + "\r\n"), std::string::npos);
}

}  // namespace
}  // namespace orb
