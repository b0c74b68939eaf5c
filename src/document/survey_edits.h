// The one path by which a survey changes. Every operation applies its change
// to the document, tells the listeners what changed (one SurveyChange), and
// marks the document modified only when a value actually changed, so the
// save question never follows a command that changed nothing.
//
// The operator's own edits (check boxes, depths, the selection commands,
// compensation, depth generation, the well texts) are undoable. A download,
// a mark transfer or opening a file replaces what the history refers to: it
// clears the history. Undoing or redoing back to the state last saved clears
// the modified mark again (unless a probe information reply changed the
// document since).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/corrections.h"
#include "core/survey_record.h"
#include "document/orb_doc.h"

namespace orb {

// What one operation changed. Listeners decide how to follow it (a row
// update or a refill).
struct SurveyChange {
    enum class Kind : uint8_t {
        kEverything,      // a new survey (opened, new, or an undo across texts and records)
        kRecords,         // records [first, first + count) may have new values
        kRecordsCleared,  // every record was removed (a download starts)
        kRecordAppended,  // record `first` was appended
        kMarksCleared,    // every mark was removed (a mark transfer starts)
        kMarkAppended,    // mark `first` was appended
        kMarksRemoved,    // marks [first, first + count) were removed from the end
        kTexts,           // the team, well or probe number
        kTiming,          // the sampling delay or interval: every relative time
    };
    Kind kind = Kind::kEverything;
    std::size_t first = 0;
    std::size_t count = 0;
};

class SurveyListener {
public:
    virtual ~SurveyListener() = default;
    // Called after the change is in the document.
    virtual void SurveyChanged(const SurveyChange& change) = 0;
};

class SurveyEdits {
public:
    explicit SurveyEdits(COrbDoc& doc);
    SurveyEdits(const SurveyEdits&) = delete;
    SurveyEdits& operator=(const SurveyEdits&) = delete;

    const COrbDoc& document() const { return doc_; }
    // Listeners are told in the order they were added.
    void AddListener(SurveyListener* listener);
    void RemoveListener(SurveyListener* listener);

    // ---- The operator's edits (undoable). True when a value changed. ----
    // A record index out of range changes nothing.
    bool SetStation(std::size_t record, bool selected);
    bool ToggleStation(std::size_t record);
    bool SetDepth(std::size_t record, float depth);
    bool SelectAll();
    bool SelectNone();
    bool InvertSelection();
    // `selected` becomes exactly `syncMatched`.
    bool ShowAutoSelected();
    // One selection flag per record (0 or 1); a size that does not match the
    // records changes nothing. For selections proposed by other parts of the
    // program; undone in one step.
    bool SetSelection(std::span<const uint8_t> selected);
    bool Compensate(const CompensationOffsets& offsets);
    bool GenerateDepths(float initialDepth, float segmentLength);
    // The well information dialog: both texts as one edit.
    bool SetWellTexts(std::u16string teamNumber, std::u16string wellNumber);

    // ---- Device and file (not undoable; they clear the history). ----
    // A download starts: every record goes, room for `reserve` is made.
    void ClearRecords(std::size_t reserve);
    void AppendRecord(const SurveyRecord& record);
    // A download or mark transfer finished: every listed record (index into
    // the records; negative entries are skipped) becomes a matched station.
    // Returns how many entries picked a record.
    std::size_t MatchStations(std::span<const std::ptrdiff_t> picks);
    void ClearMarks(std::size_t reserve);
    void AppendMark(const SyncRecord& mark);
    // Removes the marks from `keep` on (nothing when there are no more).
    void TrimMarks(std::size_t keep);
    // The probe information reply: the probe number and the timing (not
    // undoable, the history stays). On a document without records or marks
    // nothing is at stake, so it is not marked modified.
    void SetProbeInformation(std::u16string probeNumber, SurveyTiming timing);
    // Opening a file: the loaded document replaces this one, unmodified.
    void ReplaceSurvey(COrbDoc&& loaded);
    // New: records, marks and texts emptied, unmodified.
    void ClearSurvey();

    // ---- History ----
    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    bool Undo();
    bool Redo();
    // The document was saved: this state is the unmodified one.
    void MarkSaved();
    // Called whenever CanUndo or CanRedo may have changed.
    void SetHistoryObserver(std::function<void()> observer) { historyObserver_ = std::move(observer); }
    // The most memory the history keeps; the oldest steps go first.
    static constexpr std::size_t kHistoryBytes = std::size_t{256} << 20;
    static constexpr std::size_t kHistorySteps = 100;

private:
    // Record values before and after one edit; only records that changed.
    struct RecordChange {
        uint32_t index;
        SurveyRecord before;
        SurveyRecord after;
    };
    // The common case of the selection commands: only `selected` changed.
    struct SelectionChange {
        uint32_t index;
        int32_t before;
        int32_t after;
    };
    struct Step {
        std::vector<RecordChange> records;
        std::vector<SelectionChange> selections;
        bool texts = false;
        std::u16string teamBefore, wellBefore, teamAfter, wellAfter;
        std::size_t first = 0, last = 0;  // range of changed records
        std::size_t Bytes() const;
    };

    // Runs `edit` on a copy of the records and commits the difference as one
    // undoable step.
    bool EditAll(const std::function<void(std::vector<SurveyRecord>&)>& edit);
    bool EditOne(std::size_t record, const std::function<void(SurveyRecord&)>& edit);
    bool Commit(Step&& step);
    void Apply(const Step& step, bool forward);
    void Push(Step&& step);
    void ClearHistory();
    void UpdateModified();
    void Notify(SurveyChange::Kind kind, std::size_t first = 0, std::size_t count = 0);
    void HistoryChanged();

    COrbDoc& doc_;
    std::vector<SurveyListener*> listeners_;
    std::vector<Step> steps_;
    std::size_t position_ = 0;  // steps applied
    // The history position of the saved state; kUnreachable when no undo or
    // redo leads back to it.
    static constexpr std::size_t kUnreachable = SIZE_MAX;
    std::size_t savedPosition_ = 0;
    std::function<void()> historyObserver_;
};

}  // namespace orb
