// Where the file dialogs start: the folder of the survey the operator last
// opened or saved, or the last folder chosen in any file dialog, rather than
// the folder the program happened to be started from.
#pragma once

#include <QString>

namespace orb {

// The folder to start a file dialog in (the home folder when none is known).
QString StartFolder();

// Remembers the folder of `file` (a survey opened or saved, or a file chosen
// in a dialog) for the next dialog. Empty names are ignored.
void RememberFolderOf(const QString& file);

}  // namespace orb
