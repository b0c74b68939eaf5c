// Station quality checks and the well trajectory panel of the main window.
#include "app/main_frame.h"

namespace orb {

void CMainFrame::ConnectQualityCommands() {}

}  // namespace orb
