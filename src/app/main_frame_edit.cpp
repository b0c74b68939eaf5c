// Undo, redo and copy of the main window (edit_commands.h).
#include "app/edit_commands.h"
#include "app/main_frame.h"

namespace orb {

void CMainFrame::ConnectEditCommands() {
    editCommands_ = new CEditCommands(this);
}

}  // namespace orb
