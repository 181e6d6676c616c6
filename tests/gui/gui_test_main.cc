// main() for GUI test binaries: starts wxWidgets in the test run's X server
// (DISPLAY, normally an Xvfb that the test command starts), then runs the tests on
// the GUI thread.
#include <wx/app.h>

#include "tests/gui/gui_test_runner.h"

namespace {

class GuiTestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) { return RunGuiTests(argc, argv, new GuiTestApp); }
