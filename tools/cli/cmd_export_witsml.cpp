// orb-cli export-witsml FILE.tlm -o OUT: The selected stations as a WITSML 1.4.1.1 trajectory.
#include "cli/exchange_command.h"
#include "report/exchange_witsml.h"

namespace orbcli {
namespace {

Register reg{"export-witsml", "The selected stations as a WITSML 1.4.1.1 trajectory",
             [](CLI::App& sub) { return SetupExchangeExport(sub, orb::ExchangeWitsml); }};

}  // namespace
}  // namespace orbcli
