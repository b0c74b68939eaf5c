// Runs a program of this build through the shell and captures its output,
// for the tests that check orb-cli as a user calls it.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace orb::test {

struct CommandRun {
    int status;  // exit status, -1 when the program did not exit normally
    std::string out;
};

enum class Stderr { kDiscard, kMerge };

inline CommandRun RunShell(const std::string& command, Stderr err) {
    const std::string cmd = command + (err == Stderr::kMerge ? " 2>&1" : " 2>/dev/null");
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return {-1, {}};
    CommandRun r{-1, {}};
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

inline CommandRun OrbCli(const std::string& args, Stderr err = Stderr::kDiscard) {
    return RunShell(ORB_BINARY_DIR "/tools/orb-cli " + args, err);
}

}  // namespace orb::test
