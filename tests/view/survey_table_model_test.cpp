#include "view/survey_table_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/angles.h"
#include "core/ole_date.h"

namespace orb {
namespace {

// Distinct values per record so a wrong row-to-record mapping shows.
SurveyRecord MakeRecord(int i, int32_t selected = 0) {
    SurveyRecord r;
    r.selected = selected;
    r.inclination = 10.0f + static_cast<float>(i);
    r.azimuth = 100.0f + static_cast<float>(i);
    r.depth = 50.0f + static_cast<float>(i);
    r.sampleTime = MakeOleDateTime(2013, 5, 7, 14, 3, 9).value + i * 10 / 86400.0;
    r.sampleTimeStatus = kDateValid;
    return r;
}

class RecordingListener : public TableListener {
public:
    void BeginReset() override { log += "R<"; }
    void EndReset() override { log += "R>"; }
    void BeginAppend(std::size_t f, std::size_t l) override {
        log += "A" + std::to_string(f) + std::to_string(l) + "<";
    }
    void EndAppend() override { log += "A>"; }
    void BeginRemove(std::size_t f, std::size_t l) override {
        log += "D" + std::to_string(f) + std::to_string(l) + "<";
    }
    void EndRemove() override { log += "D>"; }
    void RowChanged(std::size_t row) override { log += "C" + std::to_string(row); }
    void AllRowsChanged() override { log += "T"; }
    void ScrollToBottom() override { log += "B"; }
    std::string log;
};

class TableModelTest : public ::testing::Test {
protected:
    void Fill(std::initializer_list<int32_t> selected) {
        int i = 0;
        for (int32_t s : selected) doc.AppendRecord(MakeRecord(i++, s));
        edits.MarkSaved();
        model.ReloadTable();
    }
    void SetTiming(int16_t delay, int16_t interval) {
        edits.SetProbeInformation(doc.probeNumber(), SurveyTiming{delay, interval});
    }
    std::vector<std::ptrdiff_t> RowRecords() const {
        std::vector<std::ptrdiff_t> v;
        for (std::size_t row = 0; row < model.RowCount(); ++row) v.push_back(model.RecordIndexOfRow(row));
        return v;
    }
    std::string Cell(std::size_t row, int column) const { return model.CellText(row, column); }

    TableModelTest() { doc.SetTiming(SurveyTiming{3, 10}); }
    COrbDoc doc;
    SurveyEdits edits{doc};
    SurveyTableModel model{edits};
};

TEST_F(TableModelTest, CellTextsFollowTheColumnFormats) {
    SurveyRecord r = MakeRecord(0, 1);
    r.depth = 1234.5f;
    r.inclination = 12.345f;
    r.azimuth = 359.96f;
    r.gravityToolFace = 359.96f;
    r.magneticToolFace = 12.34f;
    r.dip = 330.0f;
    r.totalGravity = 1.0f;
    r.totalMagnetic = 1.0f;
    r.temperature = 25.5f;
    r.batteryVoltage = 3.6f;
    r.gx = 0.5f;
    r.gy = -0.25f;
    r.gz = 0.99999f;
    r.mx = -0.00001f;
    r.my = 1.0f / 3.0f;
    r.mz = -2.0f;
    doc.AppendRecord(r);
    model.ReloadTable();
    const std::vector<std::string> expected = {
        "",      "0",      "00:03:00", "1234.50", "12.35",  "0.0",    "360.0",
        "12.3",  "330.0",  "1.0000",   "1.0000",  "25.5",   "3.6",    "2013-05-07 14:03:09",
        "52326", "0.5000", "-0.2500",  "1.0000",  "0.0000", "0.3333", "-2.0000"};
    ASSERT_EQ(model.RowCount(), 1u);
    for (int c = 0; c < kTableColumns; ++c) EXPECT_EQ(Cell(0, c), expected[c]) << "column " << c;
    EXPECT_TRUE(model.IsChecked(0));
    EXPECT_EQ(Cell(0, 21), "");
    EXPECT_EQ(Cell(1, 4), "");
}

TEST_F(TableModelTest, FieldStrengthIsMultipliedInSinglePrecision) {
    SurveyRecord r = MakeRecord(0);
    r.totalMagnetic = 0.900097489f;  // float product 47098.5, double product 47098.5012
    doc.AppendRecord(r);
    model.ReloadTable();
    EXPECT_EQ(Cell(0, 14), "47098");
}

TEST_F(TableModelTest, NegativeZerosShowWithoutSignButRecordKeepsIt) {
    SurveyRecord r = MakeRecord(0, 1);
    r.azimuth = static_cast<float>(NormalizeAngle(-0.0));  // vertical sample
    r.inclination = -0.0f;
    r.dip = -0.01f;
    r.totalMagnetic = -1e-9f;
    r.gx = -0.00004f;
    r.depth = -0.001f;
    doc.AppendRecord(r);
    model.ReloadTable();
    EXPECT_EQ(Cell(0, 5), "0.0");
    EXPECT_EQ(Cell(0, 4), "0.00");
    EXPECT_EQ(Cell(0, 8), "0.0");
    EXPECT_EQ(Cell(0, 10), "0.0000");
    EXPECT_EQ(Cell(0, 14), "0");
    EXPECT_EQ(Cell(0, 15), "0.0000");
    EXPECT_EQ(Cell(0, 3), "0.00");
    EXPECT_TRUE(std::signbit(doc.Record(0).azimuth));
}

TEST_F(TableModelTest, DatesAndUnselectedDepth) {
    SurveyRecord invalid = MakeRecord(0, 0);
    invalid.sampleTimeStatus = kDateInvalid;
    SurveyRecord null = MakeRecord(1, 0);
    null.sampleTimeStatus = kDateNull;
    SurveyRecord unrepresentable = MakeRecord(2, 0);
    unrepresentable.sampleTime = 1e10;
    doc.AppendRecord(invalid);
    doc.AppendRecord(null);
    doc.AppendRecord(unrepresentable);
    model.ReloadTable();
    EXPECT_EQ(Cell(0, 13), "Invalid DateTime");
    EXPECT_EQ(Cell(1, 13), "");
    EXPECT_EQ(Cell(2, 13), "Invalid DateTime");
    for (std::size_t row = 0; row < 3; ++row) {
        EXPECT_FALSE(model.IsChecked(row));
        EXPECT_EQ(Cell(row, 3), "");
    }
}

TEST_F(TableModelTest, RowsKnowTheirRecordInAllFourModes) {
    // Record 4 holds the non-standard flag 2: shown as a station, not counted as one.
    Fill({0, 1, 0, 1, 2});
    EXPECT_EQ(RowRecords(), (std::vector<std::ptrdiff_t>{0, 1, 2, 3, 4}));
    model.ReverseDisplay();
    EXPECT_EQ(RowRecords(), (std::vector<std::ptrdiff_t>{4, 3, 2, 1, 0}));
    model.ShowSelected();
    EXPECT_EQ(RowRecords(), (std::vector<std::ptrdiff_t>{4, 3, 1}));
    model.ReverseDisplay();
    EXPECT_EQ(RowRecords(), (std::vector<std::ptrdiff_t>{1, 3, 4}));
    for (std::size_t row = 0; row < model.RowCount(); ++row) {
        const auto rec = static_cast<std::size_t>(model.RecordIndexOfRow(row));
        EXPECT_EQ(Cell(row, 1), std::to_string(row));
        EXPECT_EQ(Cell(row, 2), model.RelativeTimeText(rec));
        EXPECT_EQ(Cell(row, 4), std::to_string(10 + rec) + ".00");
    }
    EXPECT_EQ(model.RecordIndexOfRow(3), SurveyTableModel::kNoRecord);
    edits.AppendMark(SyncRecord{});
    EXPECT_EQ(model.RecordIndexOfRow(3), SurveyTableModel::kNoRecord);
}

TEST_F(TableModelTest, RelativeTimesFollowDelayIntervalAndOrder) {
    Fill({0, 0, 0});
    EXPECT_EQ(Cell(0, 2), "00:03:00");
    EXPECT_EQ(Cell(1, 2), "00:03:10");
    EXPECT_EQ(Cell(2, 2), "00:03:20");
    model.ReverseDisplay();
    EXPECT_EQ(Cell(0, 1), "0");
    EXPECT_EQ(Cell(0, 2), "00:03:20");
    RecordingListener listener;
    model.SetListener(&listener);
    SetTiming(1500, 0);
    EXPECT_EQ(listener.log, "T");
    EXPECT_EQ(Cell(2, 2), "25:00:00");
    SetTiming(-1, 0);
    EXPECT_EQ(Cell(0, 2), "-00:01:00");
}

TEST_F(TableModelTest, SelectionCommandsRewriteEveryRecord) {
    Fill({0, 1, 0, 1, 0});
    model.SelectAll();
    model.InvertSelection();
    EXPECT_EQ(CountSelected(doc.records()), 0u);
    model.InvertSelection();
    EXPECT_EQ(CountSelected(doc.records()), 5u);
    model.ShowSelected();
    EXPECT_EQ(model.RowCount(), 5u);
    model.SelectNone();
    EXPECT_EQ(model.RowCount(), 0u);
    model.ShowAll();
    ASSERT_EQ(model.RowCount(), 5u);
    for (std::size_t row = 0; row < 5; ++row) {
        EXPECT_FALSE(model.IsChecked(row));
        EXPECT_EQ(Cell(row, 3), "");
    }
    model.ReverseDisplay();
    model.ReverseDisplay();
    EXPECT_EQ(RowRecords(), (std::vector<std::ptrdiff_t>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(model.reverseOrder());
}

TEST_F(TableModelTest, OperatorToggleChangesExactlyTheRowsRecord) {
    doc.SetTiming(SurveyTiming{0, 0});  // every record has the same relative time
    Fill({0, 0, 0, 0, 0});
    model.ReverseDisplay();
    EXPECT_TRUE(model.OperatorSetChecked(0, true));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Record(4).selected, 1);
    EXPECT_TRUE(model.OperatorToggle(3));
    EXPECT_EQ(doc.Record(1).selected, 1);
    EXPECT_EQ(CountSelected(doc.records()), 2u);
    EXPECT_TRUE(model.IsChecked(0));
    EXPECT_FALSE(model.OperatorSetChecked(0, true));  // no change, no write
    EXPECT_TRUE(model.OperatorToggle(0));
    EXPECT_EQ(doc.Record(4).selected, 0);
    EXPECT_FALSE(model.IsChecked(0));
    // Undo and redo update the row of the record, in any display order.
    ASSERT_TRUE(edits.Undo());
    EXPECT_TRUE(model.IsChecked(0));
    EXPECT_EQ(doc.Record(4).selected, 1);
    ASSERT_TRUE(edits.Redo());
    EXPECT_FALSE(model.IsChecked(0));
    // The depth cell keeps what it showed when the row was filled.
    EXPECT_EQ(Cell(3, 3), "");
    model.RefreshTable();
    EXPECT_EQ(Cell(3, 3), "51.00");
}

TEST_F(TableModelTest, FillingAndMarkRowsChangeNoRecord) {
    Fill({1, 0, 2});
    const std::vector<SurveyRecord> before = doc.records();
    model.RefreshTable();
    model.ReverseDisplay();
    model.ShowSelected();
    model.ShowAll();
    edits.AppendMark(SyncRecord{});
    edits.MarkSaved();
    const std::size_t markRow = model.RowCount() - 1;
    EXPECT_FALSE(model.OperatorToggle(markRow));
    EXPECT_FALSE(model.IsChecked(markRow));
    EXPECT_FALSE(model.CanEditDepth(markRow, 3));
    EXPECT_FALSE(model.CommitDepthEdit(markRow, "5"));
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(doc.records().size(), before.size());
    EXPECT_EQ(std::memcmp(doc.records().data(), before.data(), before.size() * sizeof(SurveyRecord)), 0);
}

TEST_F(TableModelTest, ClearedRowStaysVisibleInSelectedOnlyModeUntilRefill) {
    Fill({1, 0, 1});
    model.ShowSelected();
    ASSERT_EQ(model.RowCount(), 2u);
    EXPECT_TRUE(model.OperatorSetChecked(1, false));
    EXPECT_EQ(doc.Record(2).selected, 0);
    EXPECT_EQ(model.RowCount(), 2u);
    EXPECT_EQ(model.RecordIndexOfRow(1), 2);
    EXPECT_EQ(Cell(1, 3), "52.00");
    EXPECT_FALSE(model.CanEditDepth(1, 3));
    EXPECT_TRUE(model.OperatorSetChecked(1, true));  // still the same record
    EXPECT_EQ(doc.Record(2).selected, 1);
    model.OperatorSetChecked(1, false);
    model.RefreshTable();
    EXPECT_EQ(RowRecords(), (std::vector<std::ptrdiff_t>{0}));
}

TEST_F(TableModelTest, DepthEditingOnCheckedDepthCellsOnly) {
    Fill({1, 0, 1});
    model.ReverseDisplay();  // rows show records 2, 1, 0
    EXPECT_TRUE(model.CanEditDepth(0, 3));
    EXPECT_FALSE(model.CanEditDepth(0, 4));
    EXPECT_FALSE(model.CanEditDepth(1, 3));
    EXPECT_FALSE(model.CanEditDepth(9, 3));
    EXPECT_TRUE(model.CommitDepthEdit(0, "1234.5"));
    EXPECT_EQ(doc.Record(2).depth, 1234.5f);
    EXPECT_EQ(Cell(0, 3), "1234.5");
    EXPECT_TRUE(model.CommitDepthEdit(2, " 12.75 "));
    EXPECT_EQ(doc.Record(0).depth, 12.75f);
    EXPECT_EQ(Cell(2, 3), " 12.75 ");
    // No number: refused, so that screen, file, workbook and report agree.
    for (const char* text : {"abc", "12.75 m", "", "1e300", "nan"}) {
        EXPECT_FALSE(model.CommitDepthEdit(2, text)) << text;
        EXPECT_EQ(doc.Record(0).depth, 12.75f) << text;
        EXPECT_EQ(Cell(2, 3), " 12.75 ") << text;
    }
    EXPECT_EQ(doc.Record(1).depth, 51.0f);
    model.RefreshTable();
    EXPECT_EQ(Cell(0, 3), "1234.50");
    EXPECT_EQ(Cell(2, 3), "12.75");
}

TEST_F(TableModelTest, ShowAutoSelectedListsMatchedRecordsInReverse) {
    Fill({0, 0, 1, 0, 0, 0});
    doc.EditRecords([](std::vector<SurveyRecord>& rs) { rs[1].syncMatched = rs[4].syncMatched = 1; });
    model.ReverseDisplay();
    model.OnShowAutoSelected();
    EXPECT_FALSE(model.showAll());
    EXPECT_TRUE(model.reverseOrder());
    ASSERT_EQ(RowRecords(), (std::vector<std::ptrdiff_t>{4, 1}));
    EXPECT_EQ(Cell(0, 1), "0");
    EXPECT_EQ(Cell(1, 1), "1");
    EXPECT_EQ(Cell(0, 2), "00:03:40");
    EXPECT_EQ(Cell(1, 2), "00:03:10");
    EXPECT_TRUE(model.IsChecked(0) && model.IsChecked(1));
    EXPECT_EQ(Cell(0, 3), "54.00");
    EXPECT_EQ(doc.Record(2).selected, 0);
    model.ShowAll();
    EXPECT_EQ(model.RowCount(), 6u);
    EXPECT_FALSE(model.IsChecked(3));  // record 2, checked by hand before
}

TEST_F(TableModelTest, MarkRowsAndRowDeletion) {
    Fill({1});
    RecordingListener listener;
    model.SetListener(&listener);
    SyncRecord mark;
    mark.markTime = MakeOleDateTime(2013, 5, 7, 14, 3, 9).value;
    edits.AppendMark(mark);
    mark.markTimeStatus = kDateInvalid;
    edits.AppendMark(mark);
    EXPECT_EQ(listener.log, "A11<A>BA22<A>B");
    ASSERT_EQ(model.RowCount(), 3u);
    for (int c = 0; c < kTableColumns; ++c) {
        const std::string want = c == 1 ? "1" : c == 13 ? "2013-05-07 14:03:09" : "";
        EXPECT_EQ(Cell(1, c), want) << "column " << c;
    }
    EXPECT_EQ(Cell(2, 13), "Invalid DateTime");
    EXPECT_TRUE(model.IsMarkRow(2));
    EXPECT_FALSE(model.IsMarkRow(0));
    edits.TrimMarks(1);
    edits.AppendMark(SyncRecord{});
    EXPECT_EQ(Cell(2, 13), "1899-12-30 00:00:00");
    listener.log.clear();
    edits.TrimMarks(1);
    edits.ClearMarks(0);
    edits.TrimMarks(0);
    EXPECT_EQ(listener.log, "D22<D>R<R>");
    EXPECT_EQ(model.RowCount(), 0u);
}

TEST_F(TableModelTest, AppendRecordRowNotifiesAndHonoursSelectedOnly) {
    Fill({1, 0});
    RecordingListener listener;
    model.SetListener(&listener);
    model.ShowSelected();
    edits.AppendRecord(MakeRecord(2, 0));  // not shown
    edits.AppendRecord(MakeRecord(3, 1));
    EXPECT_EQ(model.RecordIndexOfRow(1), 3);
    EXPECT_TRUE(model.OperatorToggle(1));
    EXPECT_TRUE(model.CommitDepthEdit(0, "3"));
    EXPECT_TRUE(model.CommitDepthEdit(0, "3.0"));  // the same depth: the text still shows
    EXPECT_EQ(Cell(0, 3), "3.0");
    EXPECT_EQ(listener.log, "R<R>A11<A>BC1C0C0");
}

TEST_F(TableModelTest, ReloadResetsModesAndHandsOverWellNumbers) {
    Fill({1, 0});
    doc.SetTeamNumber(u"队1");
    doc.SetWellNumber(u"井7");
    std::u16string team, well;
    model.SetWellNumbersSink([&](const std::u16string& t, const std::u16string& w) {
        team = t;
        well = w;
    });
    model.ReverseDisplay();
    model.ShowSelected();
    model.RowClicked(0);
    model.ReloadTable();
    EXPECT_TRUE(model.showAll());
    EXPECT_FALSE(model.reverseOrder());
    EXPECT_EQ(model.RowCount(), 2u);
    EXPECT_EQ(team, u"队1");
    EXPECT_EQ(well, u"井7");
    EXPECT_EQ(model.lastClickedRow(), 0);  // not reset by refills
}

TEST_F(TableModelTest, LastClickedRowOnlyTakesRowsThatExist) {
    Fill({0, 0, 0});
    EXPECT_EQ(model.lastClickedRow(), -1);
    model.RowClicked(3);
    model.RowClicked(-1);
    EXPECT_EQ(model.lastClickedRow(), -1);
    model.RowClicked(2);
    EXPECT_EQ(model.lastClickedRow(), 2);
}

TEST_F(TableModelTest, RowsOutlivingTheirRecordsAreHarmless) {
    Fill({1, 1});
    doc.RemoveAllRecords();  // a new download empties the records first
    EXPECT_EQ(model.RecordIndexOfRow(0), SurveyTableModel::kNoRecord);
    EXPECT_EQ(Cell(0, 1), "0");
    EXPECT_EQ(Cell(0, 4), "");
    EXPECT_FALSE(model.OperatorToggle(0));
    EXPECT_FALSE(model.CanEditDepth(0, 3));
    EXPECT_FALSE(model.CommitDepthEdit(0, "1"));
}

TEST(TableModelHeaders, HeadingsAndWidths) {
    EXPECT_STREQ(SurveyTableModel::HeaderText(0), "");
    EXPECT_STREQ(SurveyTableModel::HeaderText(2), "相对时间");
    EXPECT_STREQ(SurveyTableModel::HeaderText(14), "地磁场强度");
    EXPECT_STREQ(SurveyTableModel::HeaderText(20), "mz");
    EXPECT_STREQ(SurveyTableModel::HeaderText(21), "");
    int total = 0;
    for (int c = 0; c < kTableColumns; ++c) total += SurveyTableModel::ColumnWidth(c);
    EXPECT_EQ(total, 1415);
    EXPECT_EQ(SurveyTableModel::ColumnWidth(13), 100);
}

}  // namespace
}  // namespace orb
