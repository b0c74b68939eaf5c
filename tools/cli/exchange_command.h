// What orb-cli export-csv, export-las and export-witsml share: FILE.tlm,
// -o OUT (required), the trajectory options, and the safe write.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>

#include "cli/command.h"
#include "report/exchange_survey.h"

namespace orbcli {

using ExchangeWriter = std::function<std::string(const orb::ExchangeSurvey&)>;

// The setup of an exchange export that formats the survey with `writer`.
Runner SetupExchangeExport(CLI::App& sub, ExchangeWriter writer);

}  // namespace orbcli
