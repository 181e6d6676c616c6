// CZORMFilterBar: the strip of filter boxes under a list's column header, one text
// box per column, each kept under its column as widths, the column order and
// horizontal scrolling change. The list keeps it between its header and its rows.
//
// A box's change reaches the list (through the callback) when the user presses
// Enter in it, pauses typing for a second, or empties it; setting texts from code
// and clearing all boxes tell nothing. User-interface thread only.
#pragma once

#include <wx/timer.h>
#include <wx/window.h>

#include <functional>
#include <string>
#include <vector>

class wxListCtrl;
class wxTextCtrl;

class CZORMFilterBar : public wxWindow {
 public:
  // How long typing must pause before the change is passed on.
  static constexpr int kPauseMs = 1000;

  // A bar for `list` (its parent), calling `changed` with the column of a box the
  // user changed.
  CZORMFilterBar(wxListCtrl* list, std::function<void(int column)> changed);
  ~CZORMFilterBar() override;
  CZORMFilterBar(const CZORMFilterBar&) = delete;
  CZORMFilterBar& operator=(const CZORMFilterBar&) = delete;

  // Gives the bar one box per column of the list and moves each under its column.
  void FollowColumns();

  // Boxes belong to columns by their own index, wherever the column is shown.

  // The text of `column`'s box, as UTF-8; false when there is no such box.
  bool GetText(int column, std::string* text) const;
  // Replaces the text of `column`'s box; false when there is no such box.
  bool SetText(int column, const std::string& text);
  // Empties every box.
  void ClearAll();

  // The box of `column`; null when there is none.
  wxTextCtrl* GetBox(int column) const;

 private:
  void AddBox();
  void OnText(int column);
  void OnEnter(int column);
  void OnPause(wxTimerEvent& event);
  void PassOn(int column);

  wxListCtrl* m_pList;
  std::function<void(int)> m_changed;
  std::vector<wxTextCtrl*> m_boxes;  // children of the bar, by column
  wxTimer m_pause;
  int m_nTyping = -1;  // the box whose change waits for the pause
  std::vector<wxString> m_names;  // accessible names given to the boxes
};
