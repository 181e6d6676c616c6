// Names a window for accessibility tools: screen readers and the AT-SPI drivers of
// the end-to-end tests find a control by this name. Buttons, radio buttons and check
// boxes are named by their label already; controls without a label of their own (text
// boxes, lists) need a name set here. Call on the user-interface thread.
#pragma once

#include <wx/string.h>

class wxWindow;

// Gives `window` the accessible name `name`, replacing the one it had. A window that
// has no native widget yet is left as it is.
void SetAccessibleName(wxWindow* window, const wxString& name);
