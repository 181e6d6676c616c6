// main() for the framework's GUI tests: like the shared GUI test main, but the
// running application object is a CZORMWinApp, as in the framework's programs.
#include "framework/win_app.h"
#include "tests/gui/gui_test_runner.h"

namespace {

class TestApp : public CZORMWinApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) { return RunGuiTests(argc, argv, new TestApp); }
