// A bottom dock that never squeezes the table: the first time it is shown
// in a run it takes the height the operator last gave it, or two fifths of
// the window, and whatever the operator drags it to is remembered.
#pragma once

class QDockWidget;
class QMainWindow;

namespace orb {

// `key` names the remembered height in the settings.
void KeepDockSplit(QMainWindow* frame, QDockWidget* dock, const char* key);

}  // namespace orb
