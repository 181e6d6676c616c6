#include "tests/gui/gui_test_runner.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/debug.h>
#include <wx/init.h>
#include <wx/utils.h>

#include <cstdlib>

namespace {

// A failed wx assertion (an unanswered or unexpected modal dialog among them) fails
// the running test instead of waiting on an assertion dialog nobody can answer.
void FailTestOnAssert(const wxString& file, int line, const wxString& func,
                      const wxString& cond, const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str().data(), line)
      << "wx assertion " << cond.utf8_str().data() << " in " << func.utf8_str().data() << ": "
      << msg.utf8_str().data();
}

}  // namespace

int RunGuiTests(int argc, char** argv, wxApp* app) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) {
    delete app;
    return RUN_ALL_TESTS();
  }
  wxApp::SetInstance(app);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    fprintf(stderr, "cannot start wxWidgets: is DISPLAY set to a running X server?\n");
    return 1;
  }
  wxSetAssertHandler(FailTestOnAssert);
  int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}

bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 300 && !condition(); ++i) {
    wxYield();
    wxMilliSleep(10);
  }
  return condition();
}

void Settle() {
  for (int i = 0; i < 10; ++i) {
    wxYield();
    wxMilliSleep(20);
  }
}

wxImage Screenshot(const std::string& path) {
  const std::string command = "import -window root '" + path + "'";
  if (system(command.c_str()) != 0) return wxImage();
  static const bool handlers = (wxInitAllImageHandlers(), true);
  (void)handlers;
  return wxImage(path, wxBITMAP_TYPE_PNG);
}
