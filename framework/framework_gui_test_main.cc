// main() for the framework's GUI tests: like the shared GUI test main, but the
// running application object is a CZORMWinApp, as in the framework's programs.
#include <gtest/gtest.h>
#include <wx/init.h>

#include "framework/win_app.h"

namespace {

class TestApp : public CZORMWinApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    fprintf(stderr, "cannot start wxWidgets: is DISPLAY set to a running X server?\n");
    return 1;
  }
  int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
