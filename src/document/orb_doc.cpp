#include "document/orb_doc.h"

#include <utility>

namespace orb {

void COrbDoc::SetRecord(std::size_t i, const SurveyRecord& r) {
    records_.at(i) = r;
    modified_ = true;
}

void COrbDoc::AppendRecord(const SurveyRecord& r) {
    records_.push_back(r);
    modified_ = true;
}

void COrbDoc::RemoveAllRecords() {
    if (!records_.empty()) modified_ = true;
    records_.clear();
}

void COrbDoc::ReserveRecords(std::size_t n) {
    records_.reserve(n);
}

void COrbDoc::AppendMark(const SyncRecord& m) {
    syncRecords_.push_back(m);
    modified_ = true;
}

void COrbDoc::RemoveLastMark() {
    if (syncRecords_.empty()) return;
    syncRecords_.pop_back();
    modified_ = true;
}

void COrbDoc::RemoveAllMarks() {
    if (!syncRecords_.empty()) modified_ = true;
    syncRecords_.clear();
}

void COrbDoc::ReserveMarks(std::size_t n) {
    syncRecords_.reserve(n);
}

void COrbDoc::SetTeamNumber(std::u16string s) {
    if (s != teamNumber_) modified_ = true;
    teamNumber_ = std::move(s);
}

void COrbDoc::SetWellNumber(std::u16string s) {
    if (s != wellNumber_) modified_ = true;
    wellNumber_ = std::move(s);
}

void COrbDoc::SetProbeNumber(std::u16string s) {
    if (s != probeNumber_) modified_ = true;
    probeNumber_ = std::move(s);
}

void COrbDoc::SetTiming(SurveyTiming t) {
    if (t != timing_) modified_ = true;
    timing_ = t;
}

void COrbDoc::Clear() {
    records_.clear();
    records_.shrink_to_fit();
    syncRecords_.clear();
    syncRecords_.shrink_to_fit();
    teamNumber_.clear();
    wellNumber_.clear();
    probeNumber_.clear();
    modified_ = false;
}

void COrbDoc::ReplaceWith(COrbDoc&& other) {
    records_ = std::move(other.records_);
    syncRecords_ = std::move(other.syncRecords_);
    teamNumber_ = std::move(other.teamNumber_);
    wellNumber_ = std::move(other.wellNumber_);
    probeNumber_ = std::move(other.probeNumber_);
    timing_ = other.timing_;
    modified_ = false;
}

}  // namespace orb
