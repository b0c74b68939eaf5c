// Table rows as text for the clipboard: the caption line and one line per
// row, the cell texts of columns 1..20 separated by tabs, so they paste into
// a spreadsheet cell by cell. The check-box column has no text and is left
// out.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "view/survey_table_model.h"

namespace orb {

// `rows` in the order given; rows out of range are skipped. Every line ends
// in "\n".
std::string TableRowsText(const SurveyTableModel& model, std::span<const std::size_t> rows);

}  // namespace orb
