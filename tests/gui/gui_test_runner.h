// Running GoogleTest tests inside a started wxWidgets, and helpers for GUI tests
// that wait for the real X server and look at its pixels.
#pragma once

#include <wx/image.h>

#include <functional>
#include <string>

class wxApp;

// Runs the tests with `app` as the running application (taken over). Listing the
// tests needs no display. Returns the exit status for main().
int RunGuiTests(int argc, char** argv, wxApp* app);

// Runs pending events until `condition` holds (up to 3 s); returns whether it held.
bool WaitFor(const std::function<bool()>& condition);

// Lets pending paints and size changes run.
void Settle();

// The whole X screen through ImageMagick's import, kept at `path`; empty on failure.
wxImage Screenshot(const std::string& path);
