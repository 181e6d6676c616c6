// main() for the upgrade utility's GUI tests: the running application is the
// utility's own, so a test can run its start-up (InitInstance) with arguments of
// its choosing.
#include "app/upgrade_gui_test_main.h"

#include "framework/about_wnd.h"
#include "tests/gui/gui_test_runner.h"

bool TestUpgradeApp::InitFramework(const std::string& title, unsigned about_bitmap_id,
                                   const std::string& build_date) {
  framework_calls.push_back({title, about_bitmap_id, build_date});
  // Every start-up in this process makes its own About window.
  delete m_pAboutWnd;
  m_pAboutWnd = nullptr;
  return CZORMUpgradeApp::InitFramework(title, about_bitmap_id, build_date);
}

bool TestUpgradeApp::RunWith(const std::vector<std::string>& arguments) {
  std::vector<char*> pointers;
  std::vector<std::string> copies = arguments;
  copies.insert(copies.begin(), "calvaro-upgrade");
  for (std::string& argument : copies) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  const int saved_argc = argc;
  const wxArrayString saved_argv = argv.GetArguments();
  argc = static_cast<int>(copies.size());
  argv.Init(argc, pointers.data());
  const bool result = InitInstance();
  std::vector<std::string> restored;
  for (const wxString& argument : saved_argv) restored.push_back(argument.ToStdString(wxConvUTF8));
  pointers.clear();
  for (std::string& argument : restored) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  argc = saved_argc;
  argv.Init(argc, pointers.data());
  return result;
}

TestUpgradeApp& TestApp() { return *static_cast<TestUpgradeApp*>(wxTheApp); }

int main(int argc, char** argv) { return RunGuiTests(argc, argv, new TestUpgradeApp); }
