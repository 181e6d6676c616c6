// Helpers for GUI tests that wait for the real X server and look at its pixels.
#pragma once

#include <wx/image.h>

#include <functional>
#include <string>

// Runs pending events until `condition` holds, for up to three seconds; returns
// whether it held.
bool WaitFor(const std::function<bool()>& condition);

// Lets pending paints and size changes run.
void Settle();

// The whole X screen as the user sees it, through ImageMagick's import, kept at
// `path` for a look; an empty image when it cannot be taken.
wxImage Screenshot(const std::string& path);
