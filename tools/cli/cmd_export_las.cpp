// orb-cli export-las FILE.tlm -o OUT: The selected stations as LAS 3.0 with the inclinometry sections.
#include "cli/exchange_command.h"
#include "report/exchange_las.h"

namespace orbcli {
namespace {

Register reg{"export-las", "The selected stations as LAS 3.0 with the inclinometry sections",
             [](CLI::App& sub) { return SetupExchangeExport(sub, orb::ExchangeLas); }};

}  // namespace
}  // namespace orbcli
