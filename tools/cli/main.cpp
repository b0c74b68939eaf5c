// orb-cli: headless commands on the same core as the Orb window.
#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <map>
#include <new>
#include <stdexcept>

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

namespace {

constexpr const char* kExitStatuses =
    "Exit status: 0 done; 1 a file could not be read or written, or the command ran out of memory;\n"
    "2 bad arguments. Device commands: 3 the transfer was cut (the stream stopped or the line hung\n"
    "up; what arrived is saved); 4 a reply did not come (通信超时！); 5 no port could be opened;\n"
    "6 a confirmation was refused; 7 the transfer reached its last item but items were lost on the\n"
    "line (saved; the missing indexes are named); 8 the device announced a negative count (nothing\n"
    "stored); 9 the --deadline passed (what arrived is saved); 10 -o FILE exists and nothing new\n"
    "arrived (FILE is left as it was); 130 interrupted (SIGINT, SIGTERM or SIGHUP; what arrived is\n"
    "saved).";

// A command that runs out of memory (a size an outside file or device lies
// about) fails like any other, with a message and an exit status.
int RunGuarded(const orbcli::Runner& run) {
    try {
        return run();
    } catch (const std::bad_alloc&) {
        std::fputs("orb-cli: 内存不足，命令没有完成。\n", stderr);
    } catch (const std::length_error&) {
        std::fputs("orb-cli: 数据太大，命令没有完成。\n", stderr);
    }
    return 1;
}

}  // namespace
}  // namespace orbcli

int main(int argc, char** argv) {
    // Number texts must never follow the environment's locale.
    std::setlocale(LC_ALL, "C");
    // A write past the file size limit fails and is reported (the atomic
    // writer removes its temporary file) instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    CLI::App app{"orb-cli: survey files, exports and instruments without the window"};
    app.require_subcommand(1);
    app.footer(orbcli::kExitStatuses);
    app.add_option("--port", orbcli::Globals().port,
                   "Serial device path, or a number of the port list (also ORB_PORT)");
    app.add_option("--trace", orbcli::Globals().trace, "Write a line log of every frame to FILE");
    app.add_option("--journal", orbcli::Globals().journal,
                   "Folder of the receive journals (default: the window's data folder)");
    app.add_option("--deadline", orbcli::Globals().deadlineSeconds,
                   "Overall time limit of a device command in seconds (default: 60 s plus three times "
                   "the line time of the samples and marks announced; sync-clear 180 s; realtime "
                   "without --count none)")
        ->check(CLI::NonNegativeNumber);

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
        if (sub->parsed()) return orbcli::RunGuarded(run);
    }
    return 2;
}
