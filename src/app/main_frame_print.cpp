// Print, print preview, direct print and printer setup of the main window.
#include "app/main_frame.h"

namespace orb {

void CMainFrame::ConnectPrintCommands() {}

}  // namespace orb
