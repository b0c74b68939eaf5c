#include "view/sync_matcher.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "core/angles.h"
#include "core/ole_date.h"

namespace orb {
namespace {

constexpr double kSecond = 1.0 / 86400.0;

// Every mark against every record in record order, strict comparison.
std::vector<std::ptrdiff_t> LiteralLoop(const std::vector<SurveyRecord>& records,
                                        const std::vector<SyncRecord>& marks, int32_t interval) {
    std::vector<std::ptrdiff_t> out;
    for (const SyncRecord& m : marks) {
        double best = (static_cast<double>(interval) + 1.0) / 86400.0;
        std::ptrdiff_t index = -1;
        for (std::size_t j = 0; j < records.size(); ++j) {
            const double d = std::fabs(ContinuousDay(m.markTime) - ContinuousDay(records[j].sampleTime));
            if (d < best) {
                best = d;
                index = static_cast<std::ptrdiff_t>(j);
            }
        }
        out.push_back(index);
    }
    return out;
}

std::vector<SurveyRecord> Samples(std::initializer_list<double> times) {
    std::vector<SurveyRecord> v;
    for (double t : times) {
        SurveyRecord r;
        r.sampleTime = t;
        v.push_back(r);
    }
    return v;
}

std::vector<SyncRecord> Marks(std::initializer_list<double> times) {
    std::vector<SyncRecord> v;
    int32_t seq = 0;
    for (double t : times) v.push_back(SyncRecord{seq++, 1, t, kDateValid});
    return v;
}

TEST(NearestRecordsForMarks, ToleranceIsStrict) {
    const double tol = 11 * kSecond;  // interval 10 s
    const auto records = Samples({0.0, 1.0});
    EXPECT_EQ(NearestRecordsForMarks(records, Marks({tol}), 10), (std::vector<std::ptrdiff_t>{-1}));
    EXPECT_EQ(NearestRecordsForMarks(records, Marks({tol - 0.001 * kSecond}), 10),
              (std::vector<std::ptrdiff_t>{0}));
    const double day = MakeOleDateTime(2013, 5, 7, 14, 3, 9).value;
    const auto real = Samples({day - 60 * kSecond, day});
    EXPECT_EQ(NearestRecordsForMarks(real, Marks({day + 10.999 * kSecond, day + 12 * kSecond}), 10),
              (std::vector<std::ptrdiff_t>{1, -1}));
    // A non-positive tolerance can never be beaten.
    EXPECT_EQ(NearestRecordsForMarks(records, Marks({0.0}), -1), (std::vector<std::ptrdiff_t>{-1}));
    EXPECT_EQ(NearestRecordsForMarks(records, Marks({0.5}), std::numeric_limits<int32_t>::max()),
              (std::vector<std::ptrdiff_t>{0}));
}

TEST(NearestRecordsForMarks, TiesGoToTheLowestIndex) {
    // Equal times and equal distances on both sides of the mark.
    const auto records =
        Samples({0.5 + 4 * kSecond, 0.5 - 4 * kSecond, 0.5 + 4 * kSecond, 0.5 - 4 * kSecond});
    EXPECT_EQ(NearestRecordsForMarks(records, Marks({0.5}), 10), (std::vector<std::ptrdiff_t>{0}));
    const auto apart = Samples({0.8, 0.75, 0.25, 0.25});
    EXPECT_EQ(NearestRecordsForMarks(apart, Marks({0.5, 0.25}), 86400), (std::vector<std::ptrdiff_t>{1, 2}));
}

TEST(NearestRecordsForMarks, DistinctTimesAtTheSameRoundedDistanceTie) {
    // 1 - 3e-20 and 1 - 1e-20 both round to 1: three different sample times,
    // one distance; the lowest index wins even though it is not the nearest
    // time on the exact scale.
    const auto records = Samples({3e-20, 1e-20, 0.0, 2.0 + 1e-9});
    EXPECT_EQ(NearestRecordsForMarks(records, Marks({1.0}), 100000), (std::vector<std::ptrdiff_t>{0}));
    EXPECT_EQ(LiteralLoop(records, Marks({1.0}), 100000), (std::vector<std::ptrdiff_t>{0}));
    const auto reordered = Samples({0.0, 3e-20, 1e-20});
    EXPECT_EQ(NearestRecordsForMarks(reordered, Marks({1.0}), 100000), (std::vector<std::ptrdiff_t>{0}));
}

TEST(NearestRecordsForMarks, UsesTheContinuousDayScaleAndSkipsNaN) {
    // Before 1899-12-30 the time of day counts forward from a negative day:
    // -1.25 is 1899-12-29 06:00 and -1.25 - 30 s is 06:00:30, 30 s later.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto records = Samples({nan, -1.25, std::numeric_limits<double>::infinity()});
    const double mark = -1.25 - 30 * kSecond;
    EXPECT_EQ(LiteralLoop(records, Marks({mark}), 60), (std::vector<std::ptrdiff_t>{1}));
    EXPECT_EQ(
        NearestRecordsForMarks(records, Marks({mark, nan, std::numeric_limits<double>::infinity()}), 60),
        (std::vector<std::ptrdiff_t>{1, -1, -1}));
}

TEST(NearestRecordsForMarks, AgreesWithTheLiteralLoopOnRandomData) {
    std::mt19937_64 rng(20130507);
    for (int round = 0; round < 300; ++round) {
        const int n = std::uniform_int_distribution<int>(0, 60)(rng);
        const int k = std::uniform_int_distribution<int>(0, 20)(rng);
        const int32_t interval =
            round % 4 == 1 ? 400000 : std::uniform_int_distribution<int32_t>(-2, 40)(rng);
        // Whole and half seconds from a small range give many exact ties;
        // a few days before 1899-12-30 exercise the continuous scale.
        const double base = round % 3 == 0 ? -2.0 : 41401.5;
        // Every fourth round mixes tiny times with whole days, where distinct
        // times round to the same distance.
        const bool tiny = round % 4 == 1;
        auto when = [&] {
            const int halfSeconds = std::uniform_int_distribution<int>(-200, 200)(rng);
            double t = base + halfSeconds * 0.5 * kSecond;
            if (tiny)
                t = std::uniform_int_distribution<int>(0, 1)(rng) ? halfSeconds * 1e-20 : halfSeconds / 100.0;
            if (std::uniform_int_distribution<int>(0, 9)(rng) == 0) t = std::nextafter(t, 1e9);
            return t;
        };
        std::vector<SurveyRecord> records;
        for (int j = 0; j < n; ++j) {
            SurveyRecord r;
            r.sampleTime = when();
            records.push_back(r);
        }
        std::vector<SyncRecord> marks;
        for (int j = 0; j < k; ++j) marks.push_back(SyncRecord{j, 1, when(), kDateValid});
        ASSERT_EQ(NearestRecordsForMarks(records, marks, interval), LiteralLoop(records, marks, interval))
            << "round " << round;
    }
}

TEST(MatchSyncMarks, SetsBothFlagsAndNeverClearsThem) {
    COrbDoc doc;
    for (double t : {0.5, 0.5 + 20 * kSecond, 0.5 + 40 * kSecond, 0.5 + 60 * kSecond}) {
        SurveyRecord r;
        r.sampleTime = t;
        doc.AppendRecord(r);
    }
    SurveyRecord hand = doc.Record(3);
    hand.selected = 1;
    doc.SetRecord(3, hand);
    // Two marks nearest to sample 1; one mark far from everything.
    doc.AppendMark(SyncRecord{0, 1, 0.5 + 19 * kSecond, 0});
    doc.AppendMark(SyncRecord{1, 1, 0.5 + 22 * kSecond, 1});
    doc.AppendMark(SyncRecord{2, 1, 0.6, 0});
    doc.SetModified(false);
    SurveyEdits edits(doc);
    EXPECT_EQ(MatchSyncMarks(edits, 10), 2u);
    EXPECT_TRUE(doc.IsModified());
    const int32_t expectSelected[] = {0, 1, 0, 1};
    const int32_t expectMatched[] = {0, 1, 0, 0};
    for (std::size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(doc.Record(j).selected, expectSelected[j]) << j;
        EXPECT_EQ(doc.Record(j).syncMatched, expectMatched[j]) << j;
    }
    // Matching again finds the same records and changes nothing.
    doc.SetModified(false);
    EXPECT_EQ(MatchSyncMarks(edits, 10), 2u);
    EXPECT_FALSE(doc.IsModified());
    COrbDoc empty;
    SurveyEdits emptyEdits(empty);
    EXPECT_EQ(MatchSyncMarks(emptyEdits, 10), 0u);
    EXPECT_FALSE(empty.IsModified());
}

}  // namespace
}  // namespace orb
