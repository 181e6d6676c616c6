// main() for GUI test binaries: starts wxWidgets in the test run's X server
// (DISPLAY, normally an Xvfb that the test command starts), then runs the tests on
// the GUI thread. Listing the tests needs no display.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

namespace {

class GuiTestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  wxApp::SetInstance(new GuiTestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    fprintf(stderr, "cannot start wxWidgets: is DISPLAY set to a running X server?\n");
    return 1;
  }
  int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
