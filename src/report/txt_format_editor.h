// The logic of the TXT format dialog: the list of available columns, the list
// of chosen columns, their selections and the separator and caption choices.
// The window's dialog only mirrors this state: after every call it refills
// (or updates) its two lists from available()/chosen(), selects rows
// availableSel()/chosenSel() when they exist and focuses focus().
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/txt_export_format.h"

namespace orb {

class TxtFormatEditor {
public:
    enum class List { None, Available, Chosen };

    TxtFormatEditor() { Load(TxtExportFormat{}); }

    // Opening the dialog: both lists filled from `format`, no selection.
    void Load(const TxtExportFormat& format);

    // Column indexes in row order; kExportColumns gives their captions.
    const std::vector<int>& available() const { return available_; }
    std::vector<int> chosen() const { return format_.Chosen(); }
    std::vector<std::string_view> AvailableCaptions() const;
    std::vector<std::string_view> ChosenCaptions() const;

    int availableSel() const { return availableSel_; }
    int chosenSel() const { return chosenSel_; }
    // The list that should have the keyboard focus after the last call.
    List focus() const { return focus_; }

    // A click on a row of a list (-1 or out of range: on no row); it clears the
    // selection of the other list.
    void ClickAvailable(int row);
    void ClickChosen(int row);
    // A double-click adds (available list) or deletes (chosen list) the row.
    void DoubleClickAvailable(int row);
    void DoubleClickChosen(int row);

    void Add();
    void Delete();
    void MoveUp();
    void MoveDown();

    bool spaceSeparator() const { return format_.separator != 0; }
    void SetSpaceSeparator(bool space) { format_.separator = space ? 1 : 0; }
    bool writeCaptions() const { return format_.writeCaptions != 0; }
    void SetWriteCaptions(bool on) { format_.writeCaptions = on ? 1 : 0; }

    const TxtExportFormat& format() const { return format_; }

    // OK: writes the layout to `path`. On success the dialog closes, else it
    // shows the result's message and stays open.
    FileResult Accept(const std::string& path) const { return SaveTxtExportFormat(path, format_); }

private:
    void SwapChosen(int a, int b);

    TxtExportFormat format_;
    std::vector<int> available_;
    int availableSel_ = -1;
    int chosenSel_ = -1;
    List focus_ = List::None;
};

}  // namespace orb
