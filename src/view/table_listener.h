// Change notifications of the survey table model. A window adapter forwards
// them to its widget (the Begin/End pairs map onto the begin/end calls a
// table widget model needs around a structural change). Every method has an
// empty default, so a listener overrides only what it uses.
#pragma once

#include <cstddef>

namespace orb {

struct SurveyChange;

class TableListener {
public:
    virtual ~TableListener() = default;
    // All rows are about to be replaced / have been replaced.
    virtual void BeginReset() {}
    virtual void EndReset() {}
    // Rows first..last (inclusive) are about to be appended / have been.
    virtual void BeginAppend(std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void EndAppend() {}
    // Rows first..last (inclusive) are about to be removed / have been.
    virtual void BeginRemove(std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void EndRemove() {}
    // The check state or a cell text of one row changed.
    virtual void RowChanged(std::size_t /*row*/) {}
    // Texts of every row may have changed (the timing values changed).
    virtual void AllRowsChanged() {}
    // The survey changed; told before the rows follow the change, so what
    // depends on the records (the quality verdicts) is current when the rows
    // are asked for again.
    virtual void SurveyChanged(const SurveyChange& /*change*/) {}
    // A row was appended during a transfer: show the bottom of the table.
    virtual void ScrollToBottom() {}
};

}  // namespace orb
