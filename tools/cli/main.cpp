// orb-cli: headless commands on the same core as the Orb window.
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <map>

#include "cli/command.h"

namespace orbcli {

GlobalOptions& Globals() {
    static GlobalOptions g;
    return g;
}

std::vector<Command>& Registry() {
    static std::vector<Command> r;
    return r;
}

}  // namespace orbcli

int main(int argc, char** argv) {
    // Number texts must never follow the environment's locale.
    std::setlocale(LC_ALL, "C");
    CLI::App app{"orb-cli: survey files, exports and instruments without the window"};
    app.require_subcommand(1);
    app.add_option("--port", orbcli::Globals().port,
                   "Serial device path, or a number of the port list (also ORB_PORT)");
    app.add_option("--trace", orbcli::Globals().trace, "Write a line log of every frame to FILE");
    app.add_option("--journal", orbcli::Globals().journal,
                   "Folder of the receive journals (default: the window's data folder)");

    auto& reg = orbcli::Registry();
    std::sort(reg.begin(), reg.end(), [](auto& a, auto& b) { return a.name < b.name; });
    std::map<CLI::App*, orbcli::Runner> runners;
    for (auto& cmd : reg) {
        CLI::App* sub = app.add_subcommand(cmd.name, cmd.help);
        runners[sub] = cmd.setup(*sub);
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    for (auto& [sub, run] : runners) {
        if (sub->parsed()) return run();
    }
    return 2;
}
