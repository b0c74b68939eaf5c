// The survey document: the records, the synchronizer marks, the three
// identification texts and the probe's sampling timing. Every mutating
// operation marks it modified, so the window can ask before a survey is
// thrown away. The window and orb-cli change a survey only through
// SurveyEdits (survey_edits.h), which notifies the views and keeps the undo
// history; the raw setters here are for it, the file loader and test setup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/survey_record.h"

namespace orb {

// The probe's sampling delay and interval: they define every record's
// relative time and travel in the survey file. Only opening a file and the
// probe information reply change them.
struct SurveyTiming {
    int16_t sampleDelayMinutes = 0;
    int16_t sampleIntervalSeconds = 0;
    friend bool operator==(const SurveyTiming&, const SurveyTiming&) = default;
};

class COrbDoc {
public:
    // Records, in download order.
    const std::vector<SurveyRecord>& records() const { return records_; }
    std::size_t RecordCount() const { return records_.size(); }
    const SurveyRecord& Record(std::size_t i) const { return records_.at(i); }
    void SetRecord(std::size_t i, const SurveyRecord& r);
    void AppendRecord(const SurveyRecord& r);
    void RemoveAllRecords();
    void ReserveRecords(std::size_t n);
    // Bulk rewrite (corrections, selection commands): f(std::vector<SurveyRecord>&).
    template <class F>
    void EditRecords(F&& f) {
        f(records_);
        modified_ = true;
    }

    // Synchronizer marks, in download order.
    const std::vector<SyncRecord>& syncRecords() const { return syncRecords_; }
    std::size_t MarkCount() const { return syncRecords_.size(); }
    const SyncRecord& Mark(std::size_t i) const { return syncRecords_.at(i); }
    void AppendMark(const SyncRecord& m);
    void RemoveLastMark();
    void RemoveAllMarks();
    void ReserveMarks(std::size_t n);
    // Bulk rewrite of the marks (file loading): f(std::vector<SyncRecord>&).
    template <class F>
    void EditMarks(F&& f) {
        f(syncRecords_);
        modified_ = true;
    }

    // Identification texts (UTF-16).
    const std::u16string& teamNumber() const { return teamNumber_; }
    const std::u16string& wellNumber() const { return wellNumber_; }
    const std::u16string& probeNumber() const { return probeNumber_; }
    void SetTeamNumber(std::u16string s);
    void SetWellNumber(std::u16string s);
    void SetProbeNumber(std::u16string s);

    SurveyTiming timing() const { return timing_; }
    void SetTiming(SurveyTiming t);

    bool IsModified() const { return modified_; }
    void SetModified(bool m) { modified_ = m; }

    // Empties records, marks and texts (New); the timing stays.
    void Clear();
    // Takes over another document's contents in one step (a completed load).
    void ReplaceWith(COrbDoc&& other);

private:
    std::vector<SurveyRecord> records_;
    std::vector<SyncRecord> syncRecords_;
    std::u16string teamNumber_;
    std::u16string wellNumber_;
    std::u16string probeNumber_;
    SurveyTiming timing_;
    bool modified_ = false;
};

}  // namespace orb
