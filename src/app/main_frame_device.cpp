// Device commands of the main window (port, probe, synchronizer): the menu
// items go to the device logic behind DeviceBridge, which also runs the
// start-up port search.
#include "app/command_guard.h"
#include "app/command_ids.h"
#include "app/device_bridge.h"
#include "app/main_frame.h"

namespace orb {

void CMainFrame::ConnectDeviceCommands() {
    auto* device = new DeviceBridge(this);
    for (int id : {cmd::kPortSelect, cmd::kProbeTest, cmd::kProbeInfo, cmd::kProbeClock, cmd::kProbeRealTime,
                   cmd::kProbeDownload, cmd::kProbeWorkMode, cmd::kSyncTest, cmd::kSyncClock,
                   cmd::kSyncDownload, cmd::kSyncClear}) {
        ConnectCommand(Action(id), device, this, [this, id] { OnDeviceCommand(id); });
    }
}

void CMainFrame::OnDeviceCommand(int id) {
    if (DeviceBridge* device = FrameDevice(this)) device->controller().OnCommand(id);
}

// Runs once at start-up, before the progress control is placed.
void CMainFrame::StartupDeviceSearch() {
    if (DeviceBridge* device = FrameDevice(this)) device->StartupSearch();
}

}  // namespace orb
