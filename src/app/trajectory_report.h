// The report's optional trajectory page from the window's settings.
#pragma once

#include <QString>

#include "report/report_layout.h"

namespace orb {

// When "Report/TrajectoryPage" is on, asks `in` for the trajectory page with
// the quality and trajectory settings saved for the well and the
// declination of the main window that shows in.doc (0 without one).
void AddTrajectoryPage(ReportInput& in);
// The same with the well number and declination given.
void AddTrajectoryPage(ReportInput& in, const QString& wellNumber, float declination);

}  // namespace orb
