#include "framework/association.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/timer.h>

#include "tests/support/test_env.h"

namespace {

// Answers each GTK dialog that comes up, the application chooser and wx's native
// message boxes alike, with Cancel, and writes down what it saw.
class DialogCloser : public wxTimer {
 public:
  DialogCloser() { Start(50); }
  void Notify() override {
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
      GtkWidget* window = GTK_WIDGET(item->data);
      if (!GTK_IS_DIALOG(window) || !gtk_widget_get_visible(window)) continue;
      if (GTK_IS_APP_CHOOSER_DIALOG(window)) m_seen += "application chooser;";
      if (GTK_IS_MESSAGE_DIALOG(window)) {
        gchar* text = nullptr;
        GtkMessageType type = GTK_MESSAGE_OTHER;
        g_object_get(window, "text", &text, "message-type", &type, nullptr);
        m_seen += std::string(gtk_window_get_title(GTK_WINDOW(window))) + "|" + text +
                  (type == GTK_MESSAGE_ERROR ? "|stop;" : "|other;");
        g_free(text);
      }
      gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_CANCEL);
    }
    g_list_free(windows);
  }
  std::string m_seen;
};

}  // namespace

// The real xdg-open, in a home without desktop settings or a browser, finds no
// program for an unknown type: the user is offered the chooser instead of an error.
TEST(CZORMAssociationTest, UnknownTypeOffersTheChooserAndAMissingFileIsReported) {
  struct Case {
    const char* name;
    const char* contents;  // null: the file does not exist
    const char* seen;
  };
  const Case kCases[] = {
      {"x.zzqqunknown", "\x01\x02\x03zz", "application chooser;"},
      {"gone.txt", nullptr, "Open Error|Failed to process file: The specified file was not found|stop;"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ScopedTestHome home;
    home.SetEnv("BROWSER", "zorm-no-browser");
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION"})
      home.SetEnv(name, nullptr);
    const std::string path = home.path() + "/" + c.name;
    if (c.contents != nullptr) {
      ASSERT_TRUE(WriteWholeFile(path, c.contents));
    }
    DialogCloser closer;
    EXPECT_EQ(0, CZORMAssociation(path).OpenFile());
    EXPECT_EQ(c.seen, closer.m_seen);
  }
}
