// Drives a popup menu as a user would pick from it: waits until the menu is on the
// screen, notes where it opened and what it holds, and picks an item (or closes it).
#pragma once

#include <wx/gdicmn.h>

#include <functional>
#include <string>
#include <vector>

struct ShownPopupMenu {
  bool shown = false;
  wxPoint origin;  // screen position of the menu's top-left corner
  // The items as shown, mnemonic marks removed; "[x] " before a checked item, "-"
  // for a separator; a submenu's items follow it, prefixed with its label and '/'.
  std::vector<std::string> items;
};

// Calls `open`, which shows a popup menu or has it shown (a key sent), and waits up
// to 3 s for the menu. Once the menu shows, picks the item that `path` names by label (a submenu first: "Copy
// Column", "Column 2"), or closes the menu when `path` is empty.
ShownPopupMenu DrivePopupMenu(const std::function<void()>& open,
                              const std::vector<std::string>& path);
