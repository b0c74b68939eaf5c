// The simulator's end of the line: a pseudo-terminal whose slave the program
// opens as its serial port, and the loop that feeds commands to the
// simulator and writes its replies no faster than the configured baud rate.
#pragma once

#include <string>

#include "devsim/device_simulator.h"

namespace devsim {

class PtyLine {
public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    // Creates the pseudo-terminal (raw, 9600 8N1) and keeps the slave open
    // itself, so the program may close and reopen it without a hang-up.
    bool Open(std::string& error);
    const std::string& slavePath() const { return slavePath_; }
    int master() const { return master_; }
    // Waits (at most `limitMs`) until the program has read what was written.
    void WaitUntilRead(int limitMs) const;
    // Closes both ends: the program's port sees a hang-up, and whatever it
    // has not read yet is lost.
    void HangUp();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

enum class LineEnd { kStopped, kHungUp, kError };

// Serves the line until `stopFd` becomes readable (a signalfd or pipe) or a
// reply asks for a hang-up. `baud` 0 writes as fast as possible; otherwise
// byte k of a continuous transmission goes out no earlier than k * 10 / baud
// seconds after the first (8N1: ten bits per byte).
LineEnd ServeLine(PtyLine& line, DeviceSimulator& sim, int baud, int stopFd);

}  // namespace devsim
