#include "framework/user_message_box.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include "framework/registry.h"
#include "platform/user_message.h"
#include "tests/support/test_env.h"

namespace {

// Checks the registry failure's message box and closes it.
class ExpectRegistryError : public wxExpectModalBase<wxMessageDialog, ExpectRegistryError> {
 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    EXPECT_EQ(dialog->GetCaption(), "Registry Error");
    EXPECT_EQ(dialog->GetMessage(), "Access is denied.");
    long style = dialog->GetMessageDialogStyle();
    EXPECT_TRUE(style & wxICON_INFORMATION);
    EXPECT_TRUE(style & wxOK);
    EXPECT_FALSE(style & (wxCANCEL | wxYES_NO));
    return wxID_OK;
  }
};

TEST(UserMessageBoxTest, ARegistryFailureShowsItsMessageBox) {
  ScopedTestHome home;
  const std::string folder = home.config_dir() + "/Morvend";
  ASSERT_EQ(mkdir(folder.c_str(), 0555), 0);
  InstallUserMessageBoxes();
  CZORMRegistry registry;
  bool opened = true;
  wxTEST_DIALOG(opened = registry.OpenKey("SOFTWARE\\Morvend", kHKeyLocalMachine),
                ExpectRegistryError().Describe("the registry error"));
  EXPECT_FALSE(opened);
  SetUserMessageHandler(nullptr);
  chmod(folder.c_str(), 0755);
}

}  // namespace
