#include "tests/gui/popup_menu_driver.h"

#include <gtk/gtk.h>
#include <wx/timer.h>

#include "tests/gui/gui_test_runner.h"

namespace {

std::string Label(GtkWidget* item) {
  const gchar* text = gtk_menu_item_get_label(GTK_MENU_ITEM(item));
  std::string label = text != nullptr ? text : "";
  std::erase(label, '_');
  return label;
}

// The menu of the popup window on screen, if any.
GtkMenu* ShownMenu() {
  GList* windows = gtk_window_list_toplevels();
  GtkMenu* found = nullptr;
  for (GList* each = windows; each != nullptr && found == nullptr; each = each->next) {
    auto* window = GTK_WIDGET(each->data);
    if (!gtk_widget_get_visible(window) || !GTK_IS_BIN(window)) continue;
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(window));
    if (child != nullptr && GTK_IS_MENU(child)) found = GTK_MENU(child);
  }
  g_list_free(windows);
  return found;
}

std::vector<GtkWidget*> Items(GtkMenu* menu) {
  std::vector<GtkWidget*> items;
  GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
  for (GList* each = children; each != nullptr; each = each->next)
    items.push_back(GTK_WIDGET(each->data));
  g_list_free(children);
  return items;
}

// Lists the items of `menu` and its submenus, a submenu's items after its own
// item and prefixed with its label and '/'.
void ListItems(GtkMenu* menu, const std::string& prefix, std::vector<std::string>* items) {
  for (GtkWidget* item : Items(menu)) {
    if (GTK_IS_SEPARATOR_MENU_ITEM(item)) {
      items->push_back(prefix + "-");
      continue;
    }
    const bool checked =
        GTK_IS_CHECK_MENU_ITEM(item) && gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(item));
    items->push_back(prefix + (checked ? "[x] " : "") + Label(item));
    if (GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(item)))
      ListItems(GTK_MENU(submenu), prefix + Label(item) + "/", items);
  }
}

void Inspect(GtkMenu* menu, const std::vector<std::string>& path, ShownPopupMenu* shown) {
  shown->shown = true;
  gdk_window_get_origin(gtk_widget_get_window(gtk_widget_get_toplevel(GTK_WIDGET(menu))),
                        &shown->origin.x, &shown->origin.y);
  ListItems(menu, "", &shown->items);
  GtkMenu* level = menu;
  for (size_t step = 0; step < path.size() && level != nullptr; ++step) {
    GtkWidget* match = nullptr;
    for (GtkWidget* item : Items(level))
      if (!GTK_IS_SEPARATOR_MENU_ITEM(item) && Label(item) == path[step]) match = item;
    if (match == nullptr) break;
    if (step + 1 < path.size()) {
      level = GTK_MENU(gtk_menu_item_get_submenu(GTK_MENU_ITEM(match)));
    } else {
      gtk_menu_item_activate(GTK_MENU_ITEM(match));
    }
  }
  gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));
}

}  // namespace

ShownPopupMenu DrivePopupMenu(const std::function<void()>& open,
                              const std::vector<std::string>& path) {
  ShownPopupMenu shown;
  wxTimer poll;
  int attempts = 0;
  poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    GtkMenu* menu = ShownMenu();
    // A menu is placed when it maps; give it a moment before reading its position.
    if (menu != nullptr && gtk_widget_get_mapped(GTK_WIDGET(menu)) && ++attempts > 2) {
      poll.Stop();
      Inspect(menu, path, &shown);
    }
  });
  poll.Start(50);
  open();
  WaitFor([&] { return shown.shown; });
  poll.Stop();
  return shown;
}
