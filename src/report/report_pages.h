// The bodies of the two report page kinds, below the common frame.
#pragma once

#include "report/report_layout.h"

namespace orb {

void DrawMultiPointBody(Canvas& c, const PageGeometry& g, const ReportInput& in, int page);
void DrawSinglePointBody(Canvas& c, const PageGeometry& g, const ReportInput& in);

}  // namespace orb
