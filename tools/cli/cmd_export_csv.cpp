// orb-cli export-csv FILE.tlm -o OUT: The selected stations as a CSV survey listing with a commented header
// (UTF-8, RFC 4180).
#include "cli/exchange_command.h"
#include "report/exchange_csv.h"

namespace orbcli {
namespace {

Register reg{"export-csv",
             "The selected stations as a CSV survey listing with a commented header (UTF-8, RFC 4180)",
             [](CLI::App& sub) { return SetupExchangeExport(sub, orb::ExchangeCsv); }};

}  // namespace
}  // namespace orbcli
