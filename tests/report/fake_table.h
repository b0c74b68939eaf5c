// A survey table as the exports see it: rows of 21 cell texts with check boxes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "view/table_source.h"

namespace orb::test {

struct FakeRow {
    bool checked = true;
    std::array<std::string, kTableColumns> cells;
};

class FakeTable : public TableSource {
public:
    std::vector<FakeRow> rows;

    std::size_t RowCount() const override { return rows.size(); }
    bool IsChecked(std::size_t row) const override { return rows.at(row).checked; }
    std::string CellText(std::size_t row, int column) const override { return rows.at(row).cells.at(column); }
    bool showAll() const override { return true; }
    bool reverseOrder() const override { return false; }
    int lastClickedRow() const override { return -1; }

    // A station row as the survey table shows it; `number` is its 序号.
    FakeRow& AddStation(int number, bool checked = true) {
        FakeRow r;
        r.checked = checked;
        r.cells = {"",         std::to_string(number),
                   "00:03:10", "1234.50",
                   "12.50",    "123.4",
                   "45.6",     "270.0",
                   "52.3",     "1.0002",
                   "0.9876",   "35.5",
                   "3.6",      "2013-05-07 14:03:09",
                   "51678",    "0.1234",
                   "-0.5678",  "0.8123",
                   "0.3000",   "-0.4000",
                   "0.8660"};
        rows.push_back(r);
        return rows.back();
    }
    // A synchronizer mark row: number and time only, no check.
    FakeRow& AddMark(int number, const std::string& time) {
        FakeRow r;
        r.checked = false;
        r.cells[1] = std::to_string(number);
        r.cells[13] = time;
        rows.push_back(r);
        return rows.back();
    }
};

// `count` rows that all show the same station: big tables without the memory.
class RepeatedTable : public TableSource {
public:
    RepeatedTable(std::size_t count, int number = 0) : count_(count) {
        FakeTable t;
        row_ = t.AddStation(number);
    }
    std::size_t RowCount() const override { return count_; }
    bool IsChecked(std::size_t) const override { return true; }
    std::string CellText(std::size_t, int column) const override { return row_.cells.at(column); }
    bool showAll() const override { return true; }
    bool reverseOrder() const override { return false; }
    int lastClickedRow() const override { return -1; }

private:
    std::size_t count_;
    FakeRow row_;
};

}  // namespace orb::test
