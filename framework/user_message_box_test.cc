#include "framework/user_message_box.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include "framework/registry.h"
#include "platform/user_message.h"
#include "tests/support/test_env.h"

namespace {

class ExpectRegistryError : public wxExpectModalBase<wxMessageDialog, ExpectRegistryError> {
 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    EXPECT_EQ("Registry Error", dialog->GetCaption());
    EXPECT_EQ("Access is denied.", dialog->GetMessage());
    EXPECT_EQ(wxOK | wxICON_INFORMATION, dialog->GetMessageDialogStyle() &
                                             (wxOK | wxCANCEL | wxYES_NO | wxICON_MASK));
    return wxID_OK;
  }
};

TEST(UserMessageBoxTest, ARegistryFailureShowsItsMessageBox) {
  ScopedTestHome home;
  const std::string folder = home.config_dir() + "/Morvend";
  ASSERT_EQ(0, mkdir(folder.c_str(), 0555));
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
