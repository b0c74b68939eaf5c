// The survey listing as CSV (UTF-8, RFC 4180: CRLF line ends, fields with a
// comma, quote or line break quoted, quotes doubled). It opens with header
// records whose first field starts with "#" (well, team, probe, survey date,
// depth unit, north reference, declination and convergence with their
// sources, tie-on), then the column names and one record per station.
#pragma once

#include <string>
#include <string_view>

#include "report/exchange_survey.h"

namespace orb {

inline constexpr const char* kExchangeCsvColumns =
    "MD,Inc,Azi,TVD,N,E,VS,Dogleg,DLS,Build,Turn,GTF,MTF,TotalGravity,FieldStrength,Dip,Quality";

std::string ExchangeCsv(const ExchangeSurvey& survey);

// One field as RFC 4180 wants it.
std::string CsvField(std::string_view text);

}  // namespace orb
