// The survey table without its widget: the rows in display order (record
// rows and synchronizer mark rows), their check states and their 21 cell
// texts, the display modes and the selection commands. A window shows it
// through a thin adapter that forwards TableListener notifications; the
// printed report and the exports read it through TableSource.
//
// Every row remembers the record it shows, so an operator's toggle or depth
// edit always changes exactly that record, whatever the display modes or the
// timing values. Cell texts are produced on demand from the document; a row
// holds 8 bytes.
//
// The model changes the survey only through its SurveyEdits and follows
// every change notice of it: a change of one record updates that row, a
// larger change refills the rows under the current modes, a new survey
// reloads the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/survey_record.h"
#include "document/orb_doc.h"
#include "document/survey_edits.h"
#include "view/survey_columns.h"
#include "view/table_listener.h"
#include "view/table_source.h"

namespace orb {

// The probe's sampling delay and interval, as the document holds them.
using SampleTiming = SurveyTiming;

// Receives the document's team and well numbers on every ReloadTable, so the
// well information dialog shows them.
using WellNumbersSink =
    std::function<void(const std::u16string& teamNumber, const std::u16string& wellNumber)>;

class SurveyTableModel final : public TableSource, private SurveyListener {
public:
    static constexpr std::ptrdiff_t kNoRecord = -1;
    static constexpr int kDepthColumn = TableColumn::kDepthColumn;

    // Follows the given edit path (the window's, a device session's).
    explicit SurveyTableModel(SurveyEdits& edits);
    // A model with an edit path of its own over `doc` (tools, tests).
    explicit SurveyTableModel(COrbDoc& doc);
    ~SurveyTableModel() override;
    SurveyTableModel(const SurveyTableModel&) = delete;
    SurveyTableModel& operator=(const SurveyTableModel&) = delete;

    void SetListener(TableListener* listener) { listener_ = listener; }
    const COrbDoc& document() const { return doc_; }
    SurveyEdits& edits() const { return edits_; }
    void SetWellNumbersSink(WellNumbersSink sink) { wellSink_ = std::move(sink); }
    SampleTiming Timing() const { return doc_.timing(); }

    // Column headings (UTF-8) and widths in pixels, columns 0..20 (see
    // view/survey_columns.h).
    static const char* HeaderText(int column);
    static int ColumnWidth(int column);

    // TableSource.
    std::size_t RowCount() const override { return rows_.size(); }
    bool IsChecked(std::size_t row) const override;
    std::string CellText(std::size_t row, int column) const override;
    bool showAll() const override { return showAll_; }
    bool reverseOrder() const override { return reverseOrder_; }
    int lastClickedRow() const override { return lastClickedRow_; }

    bool IsMarkRow(std::size_t row) const;
    // The record a row shows; kNoRecord for a mark row, a row out of range
    // or a row whose record no longer exists.
    std::ptrdiff_t RecordIndexOfRow(std::size_t row) const;
    std::string RelativeTimeText(std::size_t recordIndex) const;

    // Filling. ReloadTable hands the team and well numbers to the sink,
    // resets the modes (all rows, record order) and refills. RefreshTable
    // refills under the current modes.
    void ReloadTable();
    void RefreshTable();

    // Selection and display commands; the selection commands are the edit
    // path's, true when a record changed.
    bool SelectAll();
    bool SelectNone();
    bool InvertSelection();
    void ShowAll();
    void ShowSelected();
    void ReverseDisplay();
    // Makes the matched records the selection and lists exactly those.
    bool OnShowAutoSelected();

    // Operator actions. A click that hits a row becomes lastClickedRow.
    void RowClicked(int row);
    // Sets a record row's box and that record's `selected`; a mark row or a
    // row without record changes nothing. True when the record changed.
    bool OperatorSetChecked(std::size_t row, bool checked);
    bool OperatorToggle(std::size_t row);
    // Depth editing starts only on the depth column of a checked record row.
    bool CanEditDepth(std::size_t row, int column) const;
    // Keeps `text` as the cell text until the next refill and stores its
    // number as the record's depth. False (nothing changes) when the row
    // shows no record or the text is no number (kNotANumberMessage).
    bool CommitDepthEdit(std::size_t row, std::string_view text);

    // Bytes the model holds beyond the document's records.
    std::size_t MemoryBytes() const;

private:
    enum class RowKind : uint8_t { kRecord, kMark };
    struct Row {
        uint32_t index;  // record index, or position in marks_
        RowKind kind;
        uint8_t checked;
        uint8_t depthShown;  // the record was a station when the row was filled
        uint8_t unused;
    };
    struct Mark {
        double time;
        int32_t status;
    };

    void SurveyChanged(const SurveyChange& change) override;
    void RecordsChanged(std::size_t first, std::size_t count);
    // The row that shows record `recordIndex`, or rows_.size().
    std::size_t RowOfRecord(std::size_t recordIndex) const;
    // Appends a row for record `recordIndex` (already in the document) unless
    // only selected records are shown and it is not selected.
    void AppendRecordRow(std::size_t recordIndex);
    void AppendMarkRow(const SyncRecord& mark);
    void DeleteAllRows();
    void DeleteLastRow();
    void ClearRows();
    bool PushRecordRow(std::size_t recordIndex);
    void FillRows();
    void Refill();
    std::string RecordCellText(std::size_t row, const Row& r, int column) const;
    void Notify(void (TableListener::*fn)()) const;

    std::unique_ptr<SurveyEdits> ownEdits_;
    SurveyEdits& edits_;
    const COrbDoc& doc_;
    WellNumbersSink wellSink_;
    TableListener* listener_ = nullptr;
    std::vector<Row> rows_;
    std::vector<Mark> marks_;
    std::unordered_map<std::size_t, std::string> typedDepth_;  // row -> typed text
    std::size_t typingRow_ = SIZE_MAX;                         // the row whose depth edit is being committed
    std::string typingText_;
    bool showAll_ = true;
    bool reverseOrder_ = false;
    int lastClickedRow_ = -1;
};

}  // namespace orb
