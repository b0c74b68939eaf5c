// Application looks (commands 205 to 219): each maps to a Qt style and a
// palette that keep the window readable and tell the looks apart.
#pragma once

class QPalette;

namespace orb {

inline constexpr int kDefaultLook = 215;

// A stored look outside 205..219 falls back to the default.
int ValidLook(int stored);

// Installs the look's style and palette on the application. 211 to 214
// keep the Office 2007 colour style chosen last (blue at first).
void ApplyLook(int id);

// The palette of a look, for tests and previews.
QPalette LookPalette(int id);
const char* LookStyleName(int id);

}  // namespace orb
