// Text forms of a trajectory: the station listing as CSV and the notes an
// operator needs to read it (station order, left-out records, steps without
// a defined severity, closure).
#pragma once

#include <array>
#include <string>

#include "core/trajectory.h"

namespace orb {

inline constexpr const char* kTrajectoryCsvHeader = "MD,Inc,TrueAzi,TVD,N,E,VS,Dogleg,DLS";

// Header line, then one line per station, each ended by '\n'. Numbers with a
// '.' decimal point whatever the locale: MD, Inc and TrueAzi with 2 decimals,
// TVD, N, E, VS, Dogleg and DLS with 3. DLS is empty where it is undefined
// (a step over zero depth).
std::string TrajectoryCsv(const Trajectory& trajectory);

// The nine texts of a station in the header's order, the one rule for its
// decimals; an undefined DLS reads `undefined`.
inline constexpr std::size_t kTrajectoryCellCount = 9;
std::array<std::string, kTrajectoryCellCount> TrajectoryCells(const TrajectoryStation& s,
                                                              const char* undefined);

// "°/30m" or "°/100ft".
const char* DlsUnitText(DlsInterval interval);

// Chinese notes, one per line, each ended by '\n': always the station order
// and the closure; the left-out records, zero-length steps and 180-degree
// doglegs when there are any.
std::string TrajectoryNotes(const Trajectory& trajectory, const TrajectorySettings& settings);

}  // namespace orb
