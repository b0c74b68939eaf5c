// orb-devsim and orb-cli as child processes of a test: start, wait with a
// limit, read what they printed. Used by the line-fault tests.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace orb::test {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

class ScratchDir {
public:
    ScratchDir() {
        char tmpl[] = "/tmp/orb-faults-XXXXXX";
        path_ = ::mkdtemp(tmpl);
    }
    ~ScratchDir() { std::filesystem::remove_all(path_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

inline pid_t SpawnProgram(const std::vector<std::string>& args, const std::string& out,
                          const std::string& err) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> all = args;
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Exit status (128 + signal when killed by one), or -1 when the process was
// still running after `limit` (it is killed then).
inline int WaitExit(pid_t pid, std::chrono::milliseconds limit) {
    if (pid <= 0) return -2;
    const auto deadline = SteadyClock::now() + limit;
    while (SteadyClock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(5ms);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

// orb-devsim serving one scenario, unpaced unless `extra` names a baud rate.
class SimProcess {
public:
    SimProcess(const ScratchDir& dir, const nlohmann::json& scenario, std::vector<std::string> extra = {})
        : out_(dir.File("devsim.out")), err_(dir.File("devsim.err")) {
        const std::string scen = dir.File("scenario.json");
        std::ofstream(scen) << scenario.dump();
        std::vector<std::string> args = {ORB_BINARY_DIR "/tools/orb-devsim", "--scenario", scen};
        if (std::find(extra.begin(), extra.end(), "--baud") == extra.end())
            extra.insert(extra.end(), {"--baud", "0"});
        args.insert(args.end(), extra.begin(), extra.end());
        pid_ = SpawnProgram(args, out_, err_);
        path = WaitForDevice(1, 10s);
    }
    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            WaitExit(pid_, 5000ms);
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The device path of the `n`-th appearance of the port (1 = the first),
    // or empty when it did not appear within `limit`.
    std::string WaitForDevice(std::size_t n, std::chrono::milliseconds limit) const {
        const auto deadline = SteadyClock::now() + limit;
        while (SteadyClock::now() < deadline) {
            const auto lines = Lines(ReadAll(out_));
            if (lines.size() >= n && ReadAll(out_).back() == '\n') return lines[n - 1];
            std::this_thread::sleep_for(5ms);
        }
        return {};
    }
    // "orb-devsim: corrupted <kind> <number> (...)" lines: the numbers of `kind`.
    std::vector<int> Corrupted(const std::string& kind) const {
        std::vector<int> numbers;
        const std::string prefix = "orb-devsim: corrupted " + kind + " ";
        for (const std::string& l : Lines(ReadAll(err_))) {
            if (l.rfind(prefix, 0) == 0) numbers.push_back(std::atoi(l.c_str() + prefix.size()));
        }
        return numbers;
    }
    std::string Stderr() const { return ReadAll(err_); }

    std::string path;

private:
    std::string out_, err_;
    pid_t pid_ = -1;
};

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

inline ProgramRun RunOrbCli(const ScratchDir& dir, const std::vector<std::string>& args,
                            std::chrono::milliseconds limit = 30000ms) {
    std::vector<std::string> all = {ORB_BINARY_DIR "/tools/orb-cli"};
    all.insert(all.end(), args.begin(), args.end());
    const std::string out = dir.File("cli.out"), err = dir.File("cli.err");
    ProgramRun r;
    r.status = WaitExit(SpawnProgram(all, out, err), limit);
    r.out = ReadAll(out);
    r.err = ReadAll(err);
    return r;
}

}  // namespace orb::test
