// Device commands of the main window (port, probe, synchronizer). The menu
// items exist and are routed here; the protocol work is added with the
// device commands.
#include "app/command_ids.h"
#include "app/main_frame.h"

namespace orb {

void CMainFrame::ConnectDeviceCommands() {
    for (int id : {cmd::kPortSelect, cmd::kProbeTest, cmd::kProbeInfo, cmd::kProbeClock, cmd::kProbeRealTime,
                   cmd::kProbeDownload, cmd::kProbeWorkMode, cmd::kSyncTest, cmd::kSyncClock,
                   cmd::kSyncDownload, cmd::kSyncClear}) {
        connect(Action(id), &QAction::triggered, this, [this, id] { OnDeviceCommand(id); });
    }
}

void CMainFrame::OnDeviceCommand(int /*id*/) {}

// Runs once at start-up, before the progress control is placed.
void CMainFrame::StartupDeviceSearch() {}

}  // namespace orb
