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
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/survey_record.h"
#include "document/orb_doc.h"
#include "view/survey_columns.h"
#include "view/table_listener.h"
#include "view/table_source.h"

namespace orb {

// The probe's sampling delay and interval; they define every record's
// relative time. Owned by the main window (set by the probe information
// reply and by opening a file).
struct SampleTiming {
    int16_t sampleDelayMinutes = 0;
    int16_t sampleIntervalSeconds = 0;
};
using TimingSource = std::function<SampleTiming()>;

// Receives the document's team and well numbers on every ReloadTable, so the
// well information dialog shows them.
using WellNumbersSink =
    std::function<void(const std::u16string& teamNumber, const std::u16string& wellNumber)>;

class SurveyTableModel final : public TableSource {
public:
    static constexpr std::ptrdiff_t kNoRecord = -1;
    static constexpr int kDepthColumn = TableColumn::kDepthColumn;

    // Without a timing source both values are 0.
    explicit SurveyTableModel(COrbDoc& doc, TimingSource timing = {});

    void SetListener(TableListener* listener) { listener_ = listener; }
    const COrbDoc& document() const { return doc_; }
    void SetTimingSource(TimingSource timing);
    void SetWellNumbersSink(WellNumbersSink sink) { wellSink_ = std::move(sink); }
    SampleTiming Timing() const;
    // Call after the delay or interval changed: every relative time changes.
    void TimingChanged();

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

    // Filling. ReloadTable resets the modes (all rows, record order), refills
    // and hands the team and well numbers to the sink. RefreshTable refills
    // under the current modes.
    void ReloadTable();
    void RefreshTable();
    // Appends a row for record `recordIndex` (already in the document) unless
    // only selected records are shown and it is not selected. True when a row
    // was appended.
    bool AppendRecordRow(std::size_t recordIndex);
    void AppendMarkRow(const SyncRecord& mark);
    void DeleteAllRows();
    void DeleteLastRow();

    // Selection and display commands.
    void SelectAll();
    void SelectNone();
    void InvertSelection();
    void ShowAll();
    void ShowSelected();
    void ReverseDisplay();
    // Makes the matched records the selection and lists exactly those.
    void OnShowAutoSelected();

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

    void ClearRows();
    bool PushRecordRow(std::size_t recordIndex);
    void FillRows();
    void Refill();
    template <class F>
    void EditAllAndRefresh(F&& setSelected);
    std::string RecordCellText(std::size_t row, const Row& r, int column) const;
    void Notify(void (TableListener::*fn)()) const;

    COrbDoc& doc_;
    TimingSource timing_;
    WellNumbersSink wellSink_;
    TableListener* listener_ = nullptr;
    std::vector<Row> rows_;
    std::vector<Mark> marks_;
    std::unordered_map<std::size_t, std::string> typedDepth_;  // row -> typed text
    bool showAll_ = true;
    bool reverseOrder_ = false;
    int lastClickedRow_ = -1;
};

}  // namespace orb
