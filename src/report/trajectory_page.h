// The optional last page of the printed report: the trajectory pictures of
// the selected stations below the common page frame.
#pragma once

#include "report/report_layout.h"

namespace orb {

// True for the last page of a job whose input asks for the trajectory page.
bool IsTrajectoryPage(const ReportInput& in, int page);

// Draws the page's body (heading and pictures) inside the frame.
void DrawTrajectoryPageBody(Canvas& c, const PageGeometry& g, const ReportInput& in);

// Where the pictures go on a page of geometry `g`.
PlotArea TrajectoryPageArea(const PageGeometry& g);

}  // namespace orb
