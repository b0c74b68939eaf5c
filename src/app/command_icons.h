// Toolbar and window icons, drawn at start-up so they share one look: a
// 32 x 32 grid, 2-pixel dark outlines, a few flat fills.
#pragma once

#include <QIcon>

namespace orb {

// The icon of a command; a null icon for commands that have none.
QIcon CommandIcon(int id);
// The application icon (a survey probe inside a compass ring).
QIcon AppIcon();

}  // namespace orb
