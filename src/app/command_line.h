// The orb command line, parsed in one place for every option, so that
// "orb --help" lists all of them:
//   orb [FILE] [--port PATH] [--simulate [SCENARIO.json]] [--screenshot PNG]
#pragma once

#include <QString>
#include <QStringList>

namespace orb {

struct CommandLine {
    QString file;        // the survey to open at start-up
    QString screenshot;  // save the main window as this PNG, then quit
    QString port;        // a real device to list first
    bool simulate = false;
    QString scenario;  // the simulator's scenario, when --simulate names one
};

// Parses `arguments` (the program name first). --help and --version print
// their text and end the program, as usual for a command line.
CommandLine ParseCommandLine(const QStringList& arguments);

// The text "orb --help" prints.
QString CommandLineHelpText();

}  // namespace orb
