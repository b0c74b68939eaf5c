// orb-devsim: a simulated probe and synchronizer on a pseudo-terminal. The
// first line of standard output is the device to open as the serial port.
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "device/device_frame.h"
#include "devsim/civil_time.h"
#include "devsim/device_simulator.h"
#include "devsim/scenario.h"
#include "devsim/sim_line.h"

namespace {

// SIGINT, SIGTERM and SIGHUP become readable on the returned descriptor.
int StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    signal(SIGPIPE, SIG_IGN);
    return signalfd(-1, &set, SFD_CLOEXEC);
}

// Makes `link` (when given) name `target`.
bool Link(const std::string& target, const std::string& link) {
    if (link.empty()) return true;
    ::unlink(link.c_str());
    return ::symlink(target.c_str(), link.c_str()) == 0;
}

// Waits `ms` milliseconds; false when a stop signal came first.
bool WaitOrStop(int stopFd, int ms) {
    pollfd p{stopFd, POLLIN, 0};
    return ::poll(&p, 1, ms) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Simulated probe and synchronizer on a pseudo-terminal"};
    std::string scenarioPath, logPath, linkPath;
    int baud = 9600;
    bool verbose = false;
    app.add_option("--scenario", scenarioPath, "JSON scenario file (default: a built-in 60-station survey)");
    app.add_option("--baud", baud, "line speed for pacing replies; 0 = as fast as possible")
        ->check(CLI::Range(0, 4000000));
    app.add_option("--log", logPath, "write every received command frame in hex, one per line");
    app.add_option("--link", linkPath, "also make a symbolic link with this name to the device");
    std::vector<std::string> replayPaths;
    app.add_option("--replay", replayPaths,
                   "play back the replies of a receive journal or a line log (repeatable, in order)");
    app.add_flag("-v,--verbose", verbose, "describe commands and replies on standard error");
    bool withParent = false;
    app.add_flag("--exit-with-parent", withParent,
                 "stop when the program that started the simulator ends, even if it crashed");
    CLI11_PARSE(app, argc, argv);

    devsim::Scenario scenario;
    try {
        scenario = scenarioPath.empty() ? devsim::DefaultScenario(devsim::LocalCivilNow())
                                        : devsim::LoadScenario(scenarioPath, devsim::LocalCivilNow());
    } catch (const std::exception& e) {
        std::cerr << "orb-devsim: " << e.what() << "\n";
        return 2;
    }
    devsim::ReplayScript replay;
    for (const std::string& path : replayPaths) {
        std::string error;
        if (!replay.Load(path, error)) {
            std::cerr << "orb-devsim: " << error << "\n";
            return 2;
        }
    }
    std::ofstream log;
    if (!logPath.empty()) {
        log.open(logPath, std::ios::out | std::ios::trunc);
        if (!log) {
            std::cerr << "orb-devsim: cannot write " << logPath << "\n";
            return 2;
        }
    }
    const int stopFd = StopSignals();
    if (stopFd < 0) {
        std::cerr << "orb-devsim: cannot watch the stop signals\n";
        return 1;
    }
    // A crashed parent must not leave the simulator holding its pipes open.
    if (withParent && (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() == 1)) return 0;
    devsim::DeviceSimulator sim(std::move(scenario), devsim::LocalCivilNow);
    if (!replayPaths.empty()) sim.SetReplay(&replay);
    sim.onCommand = [&](std::span<const uint8_t> frame) {
        const std::string hex = orb::BytesToHex(frame);
        if (log.is_open()) log << hex << std::endl;  // flushed: others read it while we run
        if (verbose) std::cerr << "<- " << hex << "\n";
    };
    // Always told: whoever injects the fault needs to know what it hit.
    sim.onCorrupt = [](const std::string& kind, int number, int bytes) {
        std::cerr << "orb-devsim: corrupted " << kind << " " << number << " (" << bytes << " bytes)"
                  << std::endl;
    };
    if (verbose) {
        std::cerr << "orb-devsim: " << sim.scenario().samples.size() << " samples, "
                  << sim.scenario().marks.size() << " marks, "
                  << (baud ? std::to_string(baud) + " baud" : std::string("unpaced")) << "\n";
    }
    const int reconnectMs = sim.scenario().faults.reconnectAfterMs;
    devsim::LineEnd end = devsim::LineEnd::kStopped;
    for (bool first = true;; first = false) {
        if (!first && !WaitOrStop(stopFd, reconnectMs)) break;
        devsim::PtyLine line;
        std::string error;
        if (!line.Open(error) || !Link(line.slavePath(), linkPath)) {
            std::cerr << "orb-devsim: " << (error.empty() ? "cannot create link " + linkPath : error) << "\n";
            return 1;
        }
        // One line per (re)appearing device: the first is the port to open.
        std::cout << line.slavePath() << std::endl;
        end = devsim::ServeLine(line, sim, baud, stopFd);
        if (!linkPath.empty()) ::unlink(linkPath.c_str());
        if (end == devsim::LineEnd::kHungUp && verbose) std::cerr << "orb-devsim: line hung up\n";
        if (end != devsim::LineEnd::kHungUp || reconnectMs < 0) break;
    }
    return end == devsim::LineEnd::kError ? 1 : 0;
}
