// main() for GUI tests, with a CZORMWinApp as the running application.
#include "framework/win_app.h"
#include "tests/gui/gui_test_runner.h"

namespace {

class TestApp : public CZORMWinApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) { return RunGuiTests(argc, argv, new TestApp); }
