// The zormlist window: a list file shown in a virtual CZORMListCtrl with every
// feature of the framework's list switched on, so that people building on the
// framework, and its tests, can see and drive one. The frame has no menu bar: the
// list's own Ctrl+key commands and its context menu are what users operate.
//
// Everything runs on the user-interface thread.
#pragma once

#include <wx/frame.h>

#include <string>

#include "listctrl/filter_change_event.h"
#include "listctrl/list_edit_event.h"
#include "listctrl/zorm_list_ctrl.h"
#include "tools/zormlist/list_file.h"

// A virtual list that answers its cells from a parsed list file. It shows some of
// the file's rows, in an order of its owner's choosing (all of them at first).
class CListFileCtrl : public CZORMListCtrl {
 public:
  CListFileCtrl() = default;

  // Replaces the columns and rows with those of `file`, shows every row and fits the
  // column widths; no row is selected afterwards.
  void ShowFile(ListFile file);

  // Shows the file's rows `rows` (indices into GetFile().rows), in that order.
  void ShowRows(std::vector<size_t> rows);

  const ListFile& GetFile() const { return m_file; }
  ListFile& GetFile() { return m_file; }
  // The file row shown as list row `item`.
  size_t FileRowOf(long item) const { return m_shown[size_t(item)]; }

  // The cell of list row `item` and the file's column `column`.
  wxString GetCellText(long item, long column) const override;

 private:
  ListFile m_file;
  std::vector<size_t> m_shown;  // file rows in list order
};

class CZormListFrame : public wxFrame {
 public:
  // Shows `file`, read from `path` (absolute, so a reload finds it wherever the
  // program has moved since).
  CZormListFrame(const std::string& path, ListFile file);
  CZormListFrame(const CZormListFrame&) = delete;
  CZormListFrame& operator=(const CZormListFrame&) = delete;

  CListFileCtrl& GetList() { return m_wndList; }

  // Reads the file again and shows it; a file that has become unreadable is
  // reported and the rows shown so far stay.
  void ReloadFile();

  // Shows the file rows that pass the list's filters, in file order.
  void ShowFilteredRows();

 private:
  void NameListForAccessibility();
  // In-place editing: a column whose name ends in "?" gets the check box, one
  // ending in "@" the date picker, the first column the combo with the column's
  // values, the others the edit box. A committed edit is written into the row.
  void SetUpEditors();
  void OnBeginEdit(CZORMListEditEvent& event);
  void OnEndEdit(CZORMListEditEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnReload(wxCommandEvent& event);
  // Dragging rows: the selected rows dropped on a row of the list move before it
  // and stay selected.
  void EnableRowDragging();
  void OnRowsDropped(CZORMListDropEvent& event);

  // The filter bar, its change event and the list's saved state.
  void SwitchOnFilters();
  void OnFiltersChanged(CZORMFilterChangeEvent& event);

  std::string m_strPath;
  CListFileCtrl m_wndList;
  bool m_bEditEventsBound = false;
};

// Shows `message` about the list file in a message box with the program's caption
// and a stop icon, owned by `parent` (may be null).
void ShowListFileError(wxWindow* parent, const std::string& message);
