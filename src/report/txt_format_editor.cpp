#include "report/txt_format_editor.h"

#include <algorithm>
#include <utility>

namespace orb {

void TxtFormatEditor::Load(const TxtExportFormat& format) {
    format_ = format.IsValid() ? format : TxtExportFormat{};
    available_.clear();
    const std::vector<int> chosen = format_.Chosen();
    for (int c = 0; c < kExportColumnCount; ++c) {
        if (std::find(chosen.begin(), chosen.end(), c) == chosen.end()) available_.push_back(c);
    }
    availableSel_ = chosenSel_ = -1;
    focus_ = List::None;
}

std::vector<std::string_view> TxtFormatEditor::AvailableCaptions() const {
    std::vector<std::string_view> out;
    for (int c : available_) out.push_back(kExportColumns[c].caption);
    return out;
}

std::vector<std::string_view> TxtFormatEditor::ChosenCaptions() const {
    std::vector<std::string_view> out;
    for (int c : chosen()) out.push_back(kExportColumns[c].caption);
    return out;
}

void TxtFormatEditor::ClickAvailable(int row) {
    availableSel_ = (row >= 0 && row < static_cast<int>(available_.size())) ? row : -1;
    chosenSel_ = -1;
    focus_ = List::Available;
}

void TxtFormatEditor::ClickChosen(int row) {
    chosenSel_ = (row >= 0 && row < format_.count) ? row : -1;
    availableSel_ = -1;
    focus_ = List::Chosen;
}

void TxtFormatEditor::DoubleClickAvailable(int row) {
    ClickAvailable(row);
    Add();
}

void TxtFormatEditor::DoubleClickChosen(int row) {
    ClickChosen(row);
    Delete();
}

void TxtFormatEditor::Add() {
    if (availableSel_ < 0 || availableSel_ >= static_cast<int>(available_.size())) return;
    if (format_.count >= kExportColumnCount) return;
    format_.columns[format_.count++] = available_[availableSel_];
    available_.erase(available_.begin() + availableSel_);
    // The selection stays on the same row number: the row that followed.
    focus_ = List::Available;
}

void TxtFormatEditor::Delete() {
    if (chosenSel_ < 0 || chosenSel_ >= format_.count) return;
    const int column = format_.columns[chosenSel_];
    std::copy(format_.columns.begin() + chosenSel_ + 1, format_.columns.begin() + format_.count,
              format_.columns.begin() + chosenSel_);
    format_.columns[--format_.count] = -1;
    // The available list stays in ascending column order.
    available_.insert(std::upper_bound(available_.begin(), available_.end(), column), column);
    focus_ = List::Chosen;
}

void TxtFormatEditor::SwapChosen(int a, int b) {
    std::swap(format_.columns[a], format_.columns[b]);
}

void TxtFormatEditor::MoveUp() {
    focus_ = List::Chosen;
    // A selection past the last row (left by deleting it) must not swap in a
    // meaningless entry.
    if (chosenSel_ < 1 || chosenSel_ >= format_.count) return;
    SwapChosen(chosenSel_, chosenSel_ - 1);
    --chosenSel_;
}

void TxtFormatEditor::MoveDown() {
    focus_ = List::Chosen;
    if (chosenSel_ < 0 || chosenSel_ >= format_.count - 1) return;
    SwapChosen(chosenSel_, chosenSel_ + 1);
    ++chosenSel_;
}

}  // namespace orb
