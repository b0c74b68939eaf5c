#include "document/survey_edits.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace orb {

namespace {

bool SameBytes(const SurveyRecord& a, const SurveyRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// True when the records differ in nothing but `selected`.
bool OnlySelectionDiffers(SurveyRecord a, const SurveyRecord& b) {
    a.selected = b.selected;
    return SameBytes(a, b);
}

}  // namespace

std::size_t SurveyEdits::Step::Bytes() const {
    return sizeof(*this) + records.size() * sizeof(RecordChange) +
           selections.size() * sizeof(SelectionChange) +
           (teamBefore.size() + wellBefore.size() + teamAfter.size() + wellAfter.size()) * sizeof(char16_t);
}

SurveyEdits::SurveyEdits(COrbDoc& doc) : doc_(doc), savedPosition_(doc.IsModified() ? kUnreachable : 0) {}

void SurveyEdits::AddListener(SurveyListener* listener) {
    if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void SurveyEdits::RemoveListener(SurveyListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void SurveyEdits::Notify(SurveyChange::Kind kind, std::size_t first, std::size_t count) {
    const SurveyChange change{kind, first, count};
    // A listener may remove itself while being told.
    const std::vector<SurveyListener*> listeners = listeners_;
    for (SurveyListener* l : listeners) l->SurveyChanged(change);
}

void SurveyEdits::HistoryChanged() {
    if (historyObserver_) historyObserver_();
}

void SurveyEdits::UpdateModified() {
    doc_.SetModified(position_ != savedPosition_);
}

// ---- The operator's edits -------------------------------------------------

bool SurveyEdits::EditOne(std::size_t record, const std::function<void(SurveyRecord&)>& edit) {
    if (record >= doc_.RecordCount()) return false;
    SurveyRecord after = doc_.Record(record);
    edit(after);
    const SurveyRecord& before = doc_.Record(record);
    if (SameBytes(before, after)) return false;
    Step step;
    step.first = step.last = record;
    const auto index = static_cast<uint32_t>(record);
    if (OnlySelectionDiffers(before, after))
        step.selections.push_back({index, before.selected, after.selected});
    else
        step.records.push_back({index, before, after});
    return Commit(std::move(step));
}

bool SurveyEdits::EditAll(const std::function<void(std::vector<SurveyRecord>&)>& edit) {
    const std::vector<SurveyRecord>& current = doc_.records();
    std::vector<SurveyRecord> edited = current;
    edit(edited);
    Step step;
    step.first = SIZE_MAX;
    for (std::size_t i = 0; i < current.size(); ++i) {
        const SurveyRecord& before = current[i];
        const SurveyRecord& after = edited[i];
        if (SameBytes(before, after)) continue;
        const auto index = static_cast<uint32_t>(i);
        if (OnlySelectionDiffers(before, after))
            step.selections.push_back({index, before.selected, after.selected});
        else
            step.records.push_back({index, before, after});
        step.first = std::min(step.first, i);
        step.last = i;
    }
    if (step.records.empty() && step.selections.empty()) return false;
    return Commit(std::move(step));
}

bool SurveyEdits::Commit(Step&& step) {
    Apply(step, true);
    Push(std::move(step));
    return true;
}

void SurveyEdits::Apply(const Step& step, bool forward) {
    const bool records = !step.records.empty() || !step.selections.empty();
    if (records) {
        doc_.EditRecords([&](std::vector<SurveyRecord>& r) {
            for (const RecordChange& c : step.records) r[c.index] = forward ? c.after : c.before;
            for (const SelectionChange& c : step.selections)
                r[c.index].selected = forward ? c.after : c.before;
        });
    }
    if (step.texts) {
        doc_.SetTeamNumber(forward ? step.teamAfter : step.teamBefore);
        doc_.SetWellNumber(forward ? step.wellAfter : step.wellBefore);
    }
    if (records) Notify(SurveyChange::Kind::kRecords, step.first, step.last - step.first + 1);
    if (step.texts) Notify(SurveyChange::Kind::kTexts);
}

void SurveyEdits::Push(Step&& step) {
    steps_.resize(position_);  // the redo steps are gone
    if (savedPosition_ != kUnreachable && savedPosition_ > position_) savedPosition_ = kUnreachable;
    steps_.push_back(std::move(step));
    ++position_;
    std::size_t bytes = 0;
    for (const Step& s : steps_) bytes += s.Bytes();
    std::size_t drop = 0;
    while (steps_.size() - drop > 1 && (steps_.size() - drop > kHistorySteps || bytes > kHistoryBytes)) {
        bytes -= steps_[drop].Bytes();
        ++drop;
    }
    if (drop > 0) {
        steps_.erase(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(drop));
        position_ -= drop;
        savedPosition_ =
            savedPosition_ != kUnreachable && savedPosition_ >= drop ? savedPosition_ - drop : kUnreachable;
    }
    UpdateModified();
    HistoryChanged();
}

bool SurveyEdits::SetStation(std::size_t record, bool selected) {
    return EditOne(record, [&](SurveyRecord& r) { r.selected = selected ? 1 : 0; });
}

bool SurveyEdits::ToggleStation(std::size_t record) {
    return EditOne(record, [](SurveyRecord& r) { r.selected = r.selected == 0 ? 1 : 0; });
}

bool SurveyEdits::SetDepth(std::size_t record, float depth) {
    return EditOne(record, [&](SurveyRecord& r) { r.depth = depth; });
}

bool SurveyEdits::SelectAll() {
    return EditAll([](std::vector<SurveyRecord>& records) {
        for (SurveyRecord& r : records) r.selected = 1;
    });
}

bool SurveyEdits::SelectNone() {
    return EditAll([](std::vector<SurveyRecord>& records) {
        for (SurveyRecord& r : records) r.selected = 0;
    });
}

bool SurveyEdits::InvertSelection() {
    return EditAll([](std::vector<SurveyRecord>& records) {
        for (SurveyRecord& r : records) r.selected = r.selected == 0 ? 1 : 0;
    });
}

bool SurveyEdits::ShowAutoSelected() {
    return EditAll([](std::vector<SurveyRecord>& records) {
        for (SurveyRecord& r : records) r.selected = r.syncMatched != 0 ? 1 : 0;
    });
}

bool SurveyEdits::SetSelection(std::span<const uint8_t> selected) {
    if (selected.size() != doc_.RecordCount()) return false;
    return EditAll([&](std::vector<SurveyRecord>& records) {
        for (std::size_t i = 0; i < records.size(); ++i) records[i].selected = selected[i] != 0 ? 1 : 0;
    });
}

bool SurveyEdits::Compensate(const CompensationOffsets& offsets) {
    return EditAll([&](std::vector<SurveyRecord>& records) { ApplyCompensation(records, offsets); });
}

bool SurveyEdits::GenerateDepths(float initialDepth, float segmentLength) {
    return EditAll([&](std::vector<SurveyRecord>& records) {
        orb::GenerateDepths(records, initialDepth, segmentLength);
    });
}

bool SurveyEdits::SetWellTexts(std::u16string teamNumber, std::u16string wellNumber) {
    if (teamNumber == doc_.teamNumber() && wellNumber == doc_.wellNumber()) return false;
    Step step;
    step.texts = true;
    step.teamBefore = doc_.teamNumber();
    step.wellBefore = doc_.wellNumber();
    step.teamAfter = std::move(teamNumber);
    step.wellAfter = std::move(wellNumber);
    return Commit(std::move(step));
}

// ---- Device and file ----------------------------------------------------------

void SurveyEdits::ClearHistory() {
    const bool hadHistory = !steps_.empty();
    steps_.clear();
    position_ = 0;
    savedPosition_ = doc_.IsModified() ? kUnreachable : 0;
    if (hadHistory) HistoryChanged();
}

void SurveyEdits::ClearRecords(std::size_t reserve) {
    doc_.RemoveAllRecords();  // marks modified only when there were records
    doc_.ReserveRecords(reserve);
    ClearHistory();
    Notify(SurveyChange::Kind::kRecordsCleared);
}

void SurveyEdits::AppendRecord(const SurveyRecord& record) {
    doc_.AppendRecord(record);
    ClearHistory();
    Notify(SurveyChange::Kind::kRecordAppended, doc_.RecordCount() - 1, 1);
}

std::size_t SurveyEdits::MatchStations(std::span<const std::ptrdiff_t> picks) {
    std::size_t matched = 0;
    std::size_t first = SIZE_MAX, last = 0;
    const std::size_t n = doc_.RecordCount();
    for (const std::ptrdiff_t p : picks) {
        if (p < 0 || static_cast<std::size_t>(p) >= n) continue;
        ++matched;
        const SurveyRecord& r = doc_.Record(static_cast<std::size_t>(p));
        if (r.selected == 1 && r.syncMatched == 1) continue;
        first = std::min(first, static_cast<std::size_t>(p));
        last = std::max(last, static_cast<std::size_t>(p));
    }
    if (first == SIZE_MAX) return matched;
    doc_.EditRecords([&](std::vector<SurveyRecord>& records) {
        for (const std::ptrdiff_t p : picks) {
            if (p < 0 || static_cast<std::size_t>(p) >= n) continue;
            records[static_cast<std::size_t>(p)].selected = 1;
            records[static_cast<std::size_t>(p)].syncMatched = 1;
        }
    });
    ClearHistory();
    Notify(SurveyChange::Kind::kRecords, first, last - first + 1);
    return matched;
}

void SurveyEdits::ClearMarks(std::size_t reserve) {
    doc_.RemoveAllMarks();
    doc_.ReserveMarks(reserve);
    ClearHistory();
    Notify(SurveyChange::Kind::kMarksCleared);
}

void SurveyEdits::AppendMark(const SyncRecord& mark) {
    doc_.AppendMark(mark);
    ClearHistory();
    Notify(SurveyChange::Kind::kMarkAppended, doc_.MarkCount() - 1, 1);
}

void SurveyEdits::TrimMarks(std::size_t keep) {
    const std::size_t n = doc_.MarkCount();
    if (keep >= n) return;
    while (doc_.MarkCount() > keep) doc_.RemoveLastMark();
    ClearHistory();
    Notify(SurveyChange::Kind::kMarksRemoved, keep, n - keep);
}

void SurveyEdits::SetProbeInformation(std::u16string probeNumber, SurveyTiming timing) {
    const bool textChanged = probeNumber != doc_.probeNumber();
    const bool timingChanged = timing != doc_.timing();
    if (!textChanged && !timingChanged) return;
    const bool wasModified = doc_.IsModified();
    const bool empty = doc_.RecordCount() == 0 && doc_.MarkCount() == 0;
    doc_.SetProbeNumber(std::move(probeNumber));
    doc_.SetTiming(timing);
    if (empty) doc_.SetModified(wasModified);
    // The history stays valid (it never touches these values), but no undo
    // leads back to the saved state any more.
    if (doc_.IsModified()) savedPosition_ = kUnreachable;
    if (textChanged) Notify(SurveyChange::Kind::kTexts);
    if (timingChanged) Notify(SurveyChange::Kind::kTiming);
}

void SurveyEdits::ReplaceSurvey(COrbDoc&& loaded) {
    doc_.ReplaceWith(std::move(loaded));
    ClearHistory();
    Notify(SurveyChange::Kind::kEverything);
}

void SurveyEdits::ClearSurvey() {
    doc_.Clear();
    ClearHistory();
    Notify(SurveyChange::Kind::kEverything);
}

// ---- History ------------------------------------------------------------------

bool SurveyEdits::Undo() {
    if (!CanUndo()) return false;
    --position_;
    Apply(steps_[position_], false);
    UpdateModified();
    HistoryChanged();
    return true;
}

bool SurveyEdits::Redo() {
    if (!CanRedo()) return false;
    Apply(steps_[position_], true);
    ++position_;
    UpdateModified();
    HistoryChanged();
    return true;
}

void SurveyEdits::MarkSaved() {
    savedPosition_ = position_;
    doc_.SetModified(false);
}

}  // namespace orb
