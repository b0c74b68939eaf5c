#include "document/survey_edits.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tlm_test_util.h"

namespace orb {
namespace {

using Kind = SurveyChange::Kind;

struct Recorder : SurveyListener {
    std::vector<SurveyChange> changes;
    void SurveyChanged(const SurveyChange& c) override { changes.push_back(c); }
};

std::vector<uint8_t> Image(const COrbDoc& d) {
    std::vector<uint8_t> out(d.RecordCount() * sizeof(SurveyRecord));
    if (!out.empty()) std::memcpy(out.data(), d.records().data(), out.size());
    for (const std::u16string* t : {&d.teamNumber(), &d.wellNumber()})
        for (char16_t c : *t) out.push_back(static_cast<uint8_t>(c));
    return out;
}

// A saved survey with some stations, some matched records, depths and odd
// bytes (NaN payloads) that must survive an undo bit for bit.
struct Fixture {
    COrbDoc doc = test::SampleDoc(6, 2);
    SurveyEdits edits{doc};
    Recorder rec;
    Fixture() {
        doc.EditRecords([](std::vector<SurveyRecord>& r) {
            for (std::size_t i = 0; i < r.size(); ++i) {
                r[i].selected = i % 2 == 0 ? 1 : 0;
                r[i].syncMatched = i % 3 == 0 ? 1 : 0;
                r[i].depth = 100.0f + static_cast<float>(i);
            }
        });
        edits.MarkSaved();
        edits.AddListener(&rec);
    }
};

struct UndoableCase {
    const char* name;
    std::function<bool(SurveyEdits&)> edit;
    Kind notice;
};

const UndoableCase kUndoable[] = {
    {"toggle", [](SurveyEdits& e) { return e.ToggleStation(1); }, Kind::kRecords},
    {"set station", [](SurveyEdits& e) { return e.SetStation(3, true); }, Kind::kRecords},
    {"depth", [](SurveyEdits& e) { return e.SetDepth(2, -0.0f); }, Kind::kRecords},
    {"select all", [](SurveyEdits& e) { return e.SelectAll(); }, Kind::kRecords},
    {"select none", [](SurveyEdits& e) { return e.SelectNone(); }, Kind::kRecords},
    {"invert", [](SurveyEdits& e) { return e.InvertSelection(); }, Kind::kRecords},
    {"auto selected", [](SurveyEdits& e) { return e.ShowAutoSelected(); }, Kind::kRecords},
    {"selection",
     [](SurveyEdits& e) {
         return e.SetSelection(std::vector<uint8_t>{1, 1, 0, 0, 1, 1});
     },
     Kind::kRecords},
    {"compensate",
     [](SurveyEdits& e) {
         CompensationOffsets o;
         o.azimuth = 350;
         o.dip = 1.5;
         return e.Compensate(o);
     },
     Kind::kRecords},
    {"depths", [](SurveyEdits& e) { return e.GenerateDepths(500, 10); }, Kind::kRecords},
    {"well texts", [](SurveyEdits& e) { return e.SetWellTexts(u"队2", u"井-9"); }, Kind::kTexts},
};

TEST(SurveyEdits, EveryUndoableEditUndoesAndRedoesBitForBit) {
    for (const UndoableCase& c : kUndoable) {
        SCOPED_TRACE(c.name);
        Fixture f;
        const std::vector<uint8_t> before = Image(f.doc);
        ASSERT_TRUE(c.edit(f.edits));
        const std::vector<uint8_t> after = Image(f.doc);
        EXPECT_NE(after, before);
        EXPECT_TRUE(f.doc.IsModified());
        ASSERT_EQ(f.rec.changes.size(), 1u);
        EXPECT_EQ(f.rec.changes[0].kind, c.notice);
        ASSERT_TRUE(f.edits.CanUndo());
        ASSERT_TRUE(f.edits.Undo());
        EXPECT_EQ(Image(f.doc), before);
        EXPECT_FALSE(f.doc.IsModified()) << "back at the saved state";
        EXPECT_EQ(f.rec.changes.back().kind, c.notice);
        ASSERT_TRUE(f.edits.Redo());
        EXPECT_EQ(Image(f.doc), after);
        EXPECT_TRUE(f.doc.IsModified());
        EXPECT_FALSE(f.edits.CanRedo());
        // The same edit again changes nothing: no step, no notice.
        const std::size_t notices = f.rec.changes.size();
        if (std::string(c.name) != "toggle" && std::string(c.name) != "invert" &&
            std::string(c.name) != "compensate") {
            EXPECT_FALSE(c.edit(f.edits));
            EXPECT_EQ(f.rec.changes.size(), notices);
        }
    }
}

TEST(SurveyEdits, CommandsThatChangeNothingLeaveTheDocumentUnmodified) {
    COrbDoc empty;
    SurveyEdits e(empty);
    Recorder rec;
    e.AddListener(&rec);
    CompensationOffsets o;
    o.inclination = 1;
    EXPECT_FALSE(e.SelectNone());
    EXPECT_FALSE(e.SelectAll());
    EXPECT_FALSE(e.Compensate(o));
    EXPECT_FALSE(e.GenerateDepths(100, 1));
    EXPECT_FALSE(e.ToggleStation(0));
    EXPECT_FALSE(e.SetWellTexts(u"", u""));
    e.SetProbeInformation(u"TALO123", SurveyTiming{3, 15});
    EXPECT_EQ(empty.timing(), (SurveyTiming{3, 15}));
    EXPECT_FALSE(empty.IsModified());
    EXPECT_FALSE(e.CanUndo());

    Fixture f;
    EXPECT_FALSE(f.edits.SetDepth(0, 100.0f));
    EXPECT_FALSE(f.edits.SetStation(0, true));
    EXPECT_FALSE(f.edits.SetSelection(std::vector<uint8_t>{1}));  // wrong size
    EXPECT_FALSE(f.edits.SetDepth(99, 1.0f));
    EXPECT_FALSE(f.doc.IsModified());
    EXPECT_TRUE(f.rec.changes.empty());
    // The same timing again is no change either; a new one on a survey is.
    f.edits.SetProbeInformation(f.doc.probeNumber(), f.doc.timing());
    EXPECT_FALSE(f.doc.IsModified());
    f.edits.SetProbeInformation(f.doc.probeNumber(), SurveyTiming{7, 20});
    EXPECT_TRUE(f.doc.IsModified());
    ASSERT_EQ(f.rec.changes.size(), 1u);
    EXPECT_EQ(f.rec.changes[0].kind, Kind::kTiming);
}

TEST(SurveyEdits, DeviceAndFileChangesClearTheHistory) {
    const std::vector<std::pair<const char*, std::function<void(SurveyEdits&)>>> cases = {
        {"download", [](SurveyEdits& e) { e.ClearRecords(0); }},
        {"record", [](SurveyEdits& e) { e.AppendRecord(SurveyRecord{}); }},
        {"marks", [](SurveyEdits& e) { e.ClearMarks(0); }},
        {"mark", [](SurveyEdits& e) { e.AppendMark(SyncRecord{}); }},
        {"open", [](SurveyEdits& e) { e.ReplaceSurvey(test::SampleDoc(2, 0)); }},
        {"new", [](SurveyEdits& e) { e.ClearSurvey(); }},
    };
    for (const auto& [name, change] : cases) {
        SCOPED_TRACE(name);
        Fixture f;
        ASSERT_TRUE(f.edits.SelectAll());
        ASSERT_TRUE(f.edits.Undo());
        change(f.edits);
        EXPECT_FALSE(f.edits.CanUndo());
        EXPECT_FALSE(f.edits.CanRedo());
    }
}

TEST(SurveyEdits, SavedStateAndRedoBranches) {
    Fixture f;
    ASSERT_TRUE(f.edits.ToggleStation(1));
    f.edits.MarkSaved();
    EXPECT_FALSE(f.doc.IsModified());
    ASSERT_TRUE(f.edits.Undo());
    EXPECT_TRUE(f.doc.IsModified()) << "before the saved state";
    ASSERT_TRUE(f.edits.Redo());
    EXPECT_FALSE(f.doc.IsModified());
    // A new edit after an undo drops the redo step and the saved state with it.
    ASSERT_TRUE(f.edits.Undo());
    ASSERT_TRUE(f.edits.SetDepth(4, 1.5f));
    EXPECT_FALSE(f.edits.CanRedo());
    ASSERT_TRUE(f.edits.Undo());
    EXPECT_TRUE(f.doc.IsModified()) << "the saved state is no longer reachable";
    // A probe information reply cannot be undone: no way back to unmodified.
    Fixture g;
    ASSERT_TRUE(g.edits.SelectAll());
    g.edits.SetProbeInformation(u"TALOE9", SurveyTiming{1, 2});
    ASSERT_TRUE(g.edits.Undo());
    EXPECT_TRUE(g.doc.IsModified());
}

TEST(SurveyEdits, NoticesNameTheChangedRecordsAndMarks) {
    Fixture f;
    ASSERT_TRUE(f.edits.SetDepth(4, 7.0f));
    ASSERT_TRUE(f.edits.InvertSelection());
    f.edits.AppendMark(SyncRecord{5, 1, 45000.5, 0});
    f.edits.AppendMark(SyncRecord{6, 1, 45000.6, 0});
    f.edits.AppendMark(SyncRecord{7, 1, 45000.7, 0});
    f.edits.TrimMarks(3);  // 2 stored marks + 3 appended
    f.edits.TrimMarks(1);
    const std::vector<std::ptrdiff_t> picks = {-1, 2, 5, 99};
    EXPECT_EQ(f.edits.MatchStations(picks), 2u);
    const auto& c = f.rec.changes;
    ASSERT_EQ(c.size(), 8u);
    EXPECT_EQ(c[0].kind, Kind::kRecords);
    EXPECT_EQ(c[0].first, 4u);
    EXPECT_EQ(c[0].count, 1u);
    EXPECT_EQ(c[1].first, 0u);
    EXPECT_EQ(c[1].count, 6u);
    EXPECT_EQ(c[2].kind, Kind::kMarkAppended);
    EXPECT_EQ(c[2].first, 2u);
    EXPECT_EQ(c[5].kind, Kind::kMarksRemoved);
    EXPECT_EQ(c[5].first, 3u);
    EXPECT_EQ(c[5].count, 2u);
    EXPECT_EQ(c[6].first, 1u);
    EXPECT_EQ(c[6].count, 2u);
    EXPECT_EQ(c[7].kind, Kind::kRecords);
    EXPECT_EQ(c[7].first, 2u);
    EXPECT_EQ(c[7].count, 4u);
    EXPECT_EQ(f.doc.Record(5).syncMatched, 1);
    EXPECT_EQ(f.doc.Record(5).selected, 1);
}

TEST(SurveyEdits, HistoryKeepsAtMostItsStepLimit) {
    Fixture f;
    for (std::size_t i = 0; i < SurveyEdits::kHistorySteps + 5; ++i)
        ASSERT_TRUE(f.edits.SetDepth(0, static_cast<float>(i) + 0.5f));
    std::size_t undone = 0;
    while (f.edits.Undo()) ++undone;
    EXPECT_EQ(undone, SurveyEdits::kHistorySteps);
    EXPECT_TRUE(f.doc.IsModified()) << "the saved state fell off the history";
}

}  // namespace
}  // namespace orb
