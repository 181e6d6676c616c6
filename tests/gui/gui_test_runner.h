// Runs the GoogleTest tests of a GUI test binary inside a started wxWidgets, with
// `app` as the running application (taken over). Listing the tests needs no
// display. Returns the exit status for main().
#pragma once

class wxApp;

int RunGuiTests(int argc, char** argv, wxApp* app);
