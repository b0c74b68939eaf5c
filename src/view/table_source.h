// What the printed report and the exports read from the survey table: the
// rows in display order, their check boxes and their cell texts.
#pragma once

#include <cstddef>
#include <string>

namespace orb {

inline constexpr int kTableColumns = 21;

class TableSource {
public:
    virtual ~TableSource() = default;
    virtual std::size_t RowCount() const = 0;
    virtual bool IsChecked(std::size_t row) const = 0;
    // Cell text of column 0..20, UTF-8 (numbers are plain ASCII).
    virtual std::string CellText(std::size_t row, int column) const = 0;
    virtual bool showAll() const = 0;
    virtual bool reverseOrder() const = 0;
    virtual int lastClickedRow() const = 0;
};

}  // namespace orb
