#include "view/table_text.h"

namespace orb {

namespace {

template <class Cell>
void AppendLine(std::string& out, Cell&& cell) {
    for (int c = 1; c < kTableColumns; ++c) {
        if (c > 1) out.push_back('\t');
        out += cell(c);
    }
    out.push_back('\n');
}

}  // namespace

std::string TableRowsText(const SurveyTableModel& model, std::span<const std::size_t> rows) {
    std::string out;
    AppendLine(out, [](int c) { return std::string(SurveyTableModel::HeaderText(c)); });
    for (const std::size_t row : rows) {
        if (row >= model.RowCount()) continue;
        AppendLine(out, [&](int c) { return model.CellText(row, c); });
    }
    return out;
}

}  // namespace orb
