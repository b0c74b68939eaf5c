// TXT and Excel export commands of the main window.
#include "app/main_frame.h"

namespace orb {

void CMainFrame::ConnectExportCommands() {}

}  // namespace orb
