// The survey as a LAS 3.0 file: ~Version, ~Well and ~Parameter, then the
// three inclinometry sections (~Inclinometry_Parameter with the tie-on and
// the references, ~Inclinometry_Definition, ~Inclinometry_Data), always all
// three together. Comma-delimited data, -999.25 where a value is undefined.
#pragma once

#include <string>
#include <string_view>

#include "report/exchange_survey.h"

namespace orb {

inline constexpr const char* kLasNull = "-999.25";

std::string ExchangeLas(const ExchangeSurvey& survey);

// A text as a LAS value or description: the characters that delimit a line
// (":" "|" "{" "}" and line breaks) become look-alikes that do not.
std::string LasText(std::string_view text);

}  // namespace orb
