#include "view/survey_table_model.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

#include "core/fixed_text.h"
#include "core/ole_date.h"
#include "document/well_info.h"
#include "view/cell_format.h"
#include "view/survey_columns.h"

namespace orb {

namespace {

std::string RowNumberText(std::size_t row) {
    return std::to_string(row);
}

}  // namespace

SurveyTableModel::SurveyTableModel(SurveyEdits& edits) : edits_(edits), doc_(edits.document()) {
    edits_.AddListener(this);
}

SurveyTableModel::SurveyTableModel(COrbDoc& doc)
    : ownEdits_(std::make_unique<SurveyEdits>(doc)), edits_(*ownEdits_), doc_(doc) {
    edits_.AddListener(this);
}

SurveyTableModel::~SurveyTableModel() {
    edits_.RemoveListener(this);
}

void SurveyTableModel::SurveyChanged(const SurveyChange& change) {
    if (listener_) listener_->SurveyChanged(change);
    using Kind = SurveyChange::Kind;
    switch (change.kind) {
        case Kind::kEverything:
            ReloadTable();
            break;
        case Kind::kRecords:
            RecordsChanged(change.first, change.count);
            break;
        case Kind::kRecordsCleared:
        case Kind::kMarksCleared:
            DeleteAllRows();
            break;
        case Kind::kRecordAppended:
            AppendRecordRow(change.first);
            break;
        case Kind::kMarkAppended:
            AppendMarkRow(doc_.Mark(change.first));
            break;
        case Kind::kMarksRemoved:
            for (std::size_t i = 0; i < change.count; ++i) DeleteLastRow();
            break;
        case Kind::kTiming:
            if (listener_ && !rows_.empty()) listener_->AllRowsChanged();
            break;
        case Kind::kTexts:
            break;
    }
}

// One record (a check box, a depth, their undo) updates its row and keeps
// the row's other state; anything larger refills, as the selection commands
// always did.
void SurveyTableModel::RecordsChanged(std::size_t first, std::size_t count) {
    if (count != 1) return RefreshTable();
    const std::size_t row = RowOfRecord(first);
    if (row >= rows_.size()) return;
    rows_[row].checked = doc_.Record(first).selected != 0 ? 1 : 0;
    if (typingRow_ == row)
        typedDepth_[row] = typingText_;
    else
        typedDepth_.erase(row);  // an undone or redone depth shows the record's
    if (listener_) listener_->RowChanged(row);
}

std::size_t SurveyTableModel::RowOfRecord(std::size_t recordIndex) const {
    auto shows = [&](const Row& r) { return r.kind == RowKind::kRecord && r.index == recordIndex; };
    if (marks_.empty()) {
        // Record rows are in record order, or in reverse.
        auto before = [&](const Row& r, std::size_t i) { return reverseOrder_ ? r.index > i : r.index < i; };
        const auto it = std::lower_bound(rows_.begin(), rows_.end(), recordIndex, before);
        if (it != rows_.end() && shows(*it)) return static_cast<std::size_t>(it - rows_.begin());
        return rows_.size();
    }
    return static_cast<std::size_t>(std::find_if(rows_.begin(), rows_.end(), shows) - rows_.begin());
}

const char* SurveyTableModel::HeaderText(int column) {
    return TableColumnAt(column).caption;
}

int SurveyTableModel::ColumnWidth(int column) {
    return TableColumnAt(column).width;
}

bool SurveyTableModel::IsChecked(std::size_t row) const {
    return row < rows_.size() && rows_[row].checked != 0;
}

bool SurveyTableModel::IsMarkRow(std::size_t row) const {
    return row < rows_.size() && rows_[row].kind == RowKind::kMark;
}

std::ptrdiff_t SurveyTableModel::RecordIndexOfRow(std::size_t row) const {
    if (row >= rows_.size() || rows_[row].kind != RowKind::kRecord) return kNoRecord;
    const std::size_t index = rows_[row].index;
    // The records may have been emptied (a new download) before the rows.
    if (index >= doc_.RecordCount()) return kNoRecord;
    return static_cast<std::ptrdiff_t>(index);
}

std::string SurveyTableModel::RelativeTimeText(std::size_t recordIndex) const {
    const SampleTiming t = Timing();
    return FormatRelativeTime(RelativeSeconds(t.sampleDelayMinutes, t.sampleIntervalSeconds, recordIndex));
}

std::string SurveyTableModel::CellText(std::size_t row, int column) const {
    if (row >= rows_.size() || column < 0 || column >= kTableColumns) return {};
    if (column == kRowColumn) return RowNumberText(row);
    const Row& r = rows_[row];
    if (r.kind == RowKind::kMark) {
        if (column != kSampleTimeColumn) return {};
        const Mark& m = marks_[r.index];
        return FormatOleDate(m.time, m.status);
    }
    return RecordCellText(row, r, column);
}

std::string SurveyTableModel::RecordCellText(std::size_t row, const Row& r, int column) const {
    if (column == kCheckColumn || r.index >= doc_.RecordCount()) return {};
    if (column == kRelativeTimeColumn) return RelativeTimeText(r.index);
    if (column == kDepthColumn) {
        if (auto it = typedDepth_.find(row); it != typedDepth_.end()) return it->second;
        return r.depthShown ? FixedText(doc_.records()[r.index].depth, 2) : std::string();
    }
    return RecordFieldText(doc_.records()[r.index], column);
}

void SurveyTableModel::Notify(void (TableListener::*fn)()) const {
    if (listener_) (listener_->*fn)();
}

void SurveyTableModel::ClearRows() {
    rows_.clear();
    marks_.clear();
    typedDepth_.clear();
}

bool SurveyTableModel::PushRecordRow(std::size_t recordIndex) {
    const int32_t selected = doc_.records()[recordIndex].selected;
    if (selected == 0 && !showAll_) return false;
    const uint8_t station = selected != 0 ? 1 : 0;
    rows_.push_back(Row{static_cast<uint32_t>(recordIndex), RowKind::kRecord, station, station, 0});
    return true;
}

void SurveyTableModel::FillRows() {
    const std::size_t n = doc_.RecordCount();
    ClearRows();
    rows_.reserve(n);
    if (reverseOrder_) {
        for (std::size_t i = n; i-- > 0;) PushRecordRow(i);
    } else {
        for (std::size_t i = 0; i < n; ++i) PushRecordRow(i);
    }
}

void SurveyTableModel::Refill() {
    Notify(&TableListener::BeginReset);
    FillRows();
    Notify(&TableListener::EndReset);
}

void SurveyTableModel::ReloadTable() {
    // The well is known before the rows are: what follows the reset (the
    // quality references of the well) already sees the new one.
    if (wellSink_) wellSink_(doc_.teamNumber(), doc_.wellNumber());
    reverseOrder_ = false;
    showAll_ = true;
    Refill();
}

void SurveyTableModel::RefreshTable() {
    Refill();
}

void SurveyTableModel::AppendRecordRow(std::size_t recordIndex) {
    if (recordIndex >= doc_.RecordCount()) return;
    const std::size_t row = rows_.size();
    if (doc_.records()[recordIndex].selected == 0 && !showAll_) return;
    if (listener_) listener_->BeginAppend(row, row);
    PushRecordRow(recordIndex);
    Notify(&TableListener::EndAppend);
    // The newest row stays in sight while a download runs.
    Notify(&TableListener::ScrollToBottom);
}

void SurveyTableModel::AppendMarkRow(const SyncRecord& mark) {
    const std::size_t row = rows_.size();
    if (listener_) listener_->BeginAppend(row, row);
    marks_.push_back(Mark{mark.markTime, mark.markTimeStatus});
    rows_.push_back(Row{static_cast<uint32_t>(marks_.size() - 1), RowKind::kMark, 0, 0, 0});
    Notify(&TableListener::EndAppend);
    Notify(&TableListener::ScrollToBottom);
}

void SurveyTableModel::DeleteAllRows() {
    Notify(&TableListener::BeginReset);
    ClearRows();
    Notify(&TableListener::EndReset);
}

void SurveyTableModel::DeleteLastRow() {
    if (rows_.empty()) return;
    const std::size_t row = rows_.size() - 1;
    if (listener_) listener_->BeginRemove(row, row);
    if (rows_.back().kind == RowKind::kMark) marks_.pop_back();
    rows_.pop_back();
    typedDepth_.erase(row);
    Notify(&TableListener::EndRemove);
}

bool SurveyTableModel::SelectAll() {
    return edits_.SelectAll();
}

bool SurveyTableModel::SelectNone() {
    return edits_.SelectNone();
}

bool SurveyTableModel::InvertSelection() {
    return edits_.InvertSelection();
}

void SurveyTableModel::ShowAll() {
    showAll_ = true;
    RefreshTable();
}

void SurveyTableModel::ShowSelected() {
    showAll_ = false;
    RefreshTable();
}

void SurveyTableModel::ReverseDisplay() {
    reverseOrder_ = !reverseOrder_;
    RefreshTable();
}

bool SurveyTableModel::OnShowAutoSelected() {
    // Afterwards `selected` mirrors `syncMatched` exactly, so listing the
    // selected records in the current order lists exactly the matched ones.
    showAll_ = false;
    if (edits_.ShowAutoSelected()) return true;
    RefreshTable();  // the mode changed all the same
    return false;
}

void SurveyTableModel::RowClicked(int row) {
    if (row >= 0 && static_cast<std::size_t>(row) < rows_.size()) lastClickedRow_ = row;
}

bool SurveyTableModel::OperatorSetChecked(std::size_t row, bool checked) {
    const std::ptrdiff_t index = RecordIndexOfRow(row);
    if (index == kNoRecord) return false;
    if ((rows_[row].checked != 0) == checked) return false;
    // The notice updates the row; a box whose record already says so (a
    // value other than 0 and 1) only needs the row set.
    if (edits_.SetStation(static_cast<std::size_t>(index), checked)) return true;
    rows_[row].checked = checked ? 1 : 0;
    if (listener_) listener_->RowChanged(row);
    return true;
}

bool SurveyTableModel::OperatorToggle(std::size_t row) {
    return OperatorSetChecked(row, !IsChecked(row));
}

bool SurveyTableModel::CanEditDepth(std::size_t row, int column) const {
    return column == kDepthColumn && IsChecked(row) && RecordIndexOfRow(row) != kNoRecord;
}

bool SurveyTableModel::CommitDepthEdit(std::size_t row, std::string_view text) {
    const std::ptrdiff_t index = RecordIndexOfRow(row);
    if (index == kNoRecord) return false;
    // Text that is no number would show one thing and store another (0).
    const std::optional<float> depth = ParseDialogFloat(text);
    if (!depth) return false;
    // The typed text shows until the next refill, even when the depth it
    // gives was already the record's.
    typingRow_ = row;
    typingText_ = std::string(text);
    const bool changed = edits_.SetDepth(static_cast<std::size_t>(index), *depth);
    typingRow_ = SIZE_MAX;
    if (!changed) {
        typedDepth_[row] = std::move(typingText_);
        if (listener_) listener_->RowChanged(row);
    }
    return true;
}

std::size_t SurveyTableModel::MemoryBytes() const {
    std::size_t bytes = sizeof(*this) + rows_.capacity() * sizeof(Row) + marks_.capacity() * sizeof(Mark);
    for (const auto& [row, text] : typedDepth_) bytes += sizeof(row) + sizeof(text) + text.capacity() + 16;
    return bytes;
}

}  // namespace orb
