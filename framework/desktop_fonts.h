// The desktop's fonts, read ahead of the first window that needs them.
#pragma once

// Starts reading the desktop's font configuration, which the toolkit does on a
// thread of its own the first time any text is measured or drawn, and returns
// at once. Started as soon as the toolkit is up, the reading runs while the
// first windows are made instead of holding up the first text measured.
// Call it on the user-interface thread; later calls do nothing.
void StartReadingDesktopFonts();
