#include "framework/accessible_name.h"

#include <gtk/gtk.h>
#include <wx/window.h>

void SetAccessibleName(wxWindow* window, const wxString& name) {
  GtkWidget* widget = window ? window->GetHandle() : nullptr;
  if (!widget) return;
  // A multi-line text box is a scrolled window around the text view, and the text
  // view is what takes the focus and what a screen reader announces.
  if (GTK_IS_SCROLLED_WINDOW(widget) && gtk_bin_get_child(GTK_BIN(widget)))
    widget = gtk_bin_get_child(GTK_BIN(widget));
  atk_object_set_name(gtk_widget_get_accessible(widget), name.utf8_str());
}
