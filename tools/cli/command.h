// orb-cli sub-commands register themselves here, one file per command, so a
// new command never needs an edit elsewhere.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

namespace orbcli {

// Options shared by every sub-command (given before the command name).
struct GlobalOptions {
    std::string port;            // --port PATH or port-list number
    std::string trace;           // --trace FILE: line log
    std::string journal;         // --journal DIR: receive journal folder (default: the window's)
    double deadlineSeconds = 0;  // --deadline SECONDS: overall limit of a device command (0: default)
};
GlobalOptions& Globals();

// A command's setup adds its options to `sub` and returns the function that
// runs it after parsing; that function returns the process exit status.
using Runner = std::function<int()>;
using Setup = std::function<Runner(CLI::App& sub)>;

struct Command {
    std::string name;
    std::string help;
    Setup setup;
};

std::vector<Command>& Registry();

struct Register {
    Register(std::string name, std::string help, Setup setup) {
        Registry().push_back({std::move(name), std::move(help), std::move(setup)});
    }
};

}  // namespace orbcli
