#include "framework/association.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/timer.h>

#include "tests/support/test_env.h"

// Answers each GTK dialog that comes up with Cancel and notes its kind and title
// and, for a message box, its text and whether it shows the stop icon.
struct DialogCloser : wxTimer {
  DialogCloser() { Start(50); }
  void Notify() override {
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
      if (!GTK_IS_DIALOG(item->data) || !gtk_widget_get_visible(GTK_WIDGET(item->data))) continue;
      gchar* text = nullptr;
      GtkMessageType type = GTK_MESSAGE_OTHER;
      if (GTK_IS_MESSAGE_DIALOG(item->data))
        g_object_get(item->data, "text", &text, "message-type", &type, nullptr);
      seen += G_OBJECT_TYPE_NAME(item->data) + std::string("|") +
              gtk_window_get_title(GTK_WINDOW(item->data)) + "|" + (text ? text : "") +
              (type == GTK_MESSAGE_ERROR ? "|stop;" : ";");
      g_free(text);
      gtk_dialog_response(GTK_DIALOG(item->data), GTK_RESPONSE_CANCEL);
    }
    g_list_free(windows);
  }
  std::string seen;
};

// The real xdg-open, in a home without desktop settings or a browser, finds no
// program for an unknown type: the user gets the chooser, not an error.
TEST(CZORMAssociationTest, UnknownTypeOffersTheChooserAndAMissingFileIsReported) {
  const std::pair<const char*, const char*> kCases[] = {
      // file (created unless "gone"), the dialogs shown
      {"x.zzqqunknown", "GtkAppChooserDialog|Select Application|;"},
      {"gone.txt",
       "GtkMessageDialog|Open Error|Failed to process file: The specified file was not "
       "found|stop;"},
  };
  for (const auto& [name, seen] : kCases) {
    SCOPED_TRACE(name);
    ScopedTestHome home;
    home.SetEnv("BROWSER", "zorm-no-browser");
    for (const char* desktop : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION"})
      home.SetEnv(desktop, nullptr);
    const std::string path = home.path() + "/" + name;
    if (std::string(name) != "gone.txt") WriteWholeFile(path, "\x01\x02\x03zz");
    DialogCloser closer;
    EXPECT_EQ(0, CZORMAssociation(path).OpenFile());
    EXPECT_EQ(seen, closer.seen);
  }
}
