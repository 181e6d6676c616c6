// CZORMListCtrl: the framework's report-style list. Its owner, or a subclass that
// answers the rows of a virtual list (wxLC_VIRTUAL) itself, supplies the rows; the
// list adds what all the framework's lists share: alternate row shading, a
// highlighted column, a line above a totals row, per-column fonts, a notice in an
// empty list, a footer strip and an optional window kept above the list, its own hold
// on the column header, and column widths fitted to their contents.
//
// On this platform wxListCtrl is the generic list: its rows are drawn by a main
// window under a separate header window, each row in one font and one background.
// So the list paints the cell backgrounds under the rows before that window's own
// painting, and after it the cells whose font differs from their row's, the totals
// line and the empty-list notice. A virtual list answers the row and cell attributes
// itself; subclasses answer its cells through GetCellText and keep OnGetItemImage
// to themselves. A plain list gets the row font set on its items while any column
// has a font.
//
// Everything runs on the user-interface thread. The configuration setters take
// effect at the next paint; none of them is saved anywhere.
#pragma once

#include <wx/font.h>
#include <wx/listctrl.h>
#include <wx/timer.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/menu_resource.h"
#include "listctrl/filter.h"
#include "listctrl/header_ctrl.h"
#include "listctrl/list_drag.h"
#include "listctrl/inplace_editors.h"
#include "listctrl/list_cell_style.h"
#include "listctrl/list_footer.h"
#include "listctrl/export/export_types.h"

class wxDC;
class CZORMFilterBar;

class CZORMListCtrl : public wxListCtrl, public CZORMListFooterSource {
 public:
  // Columns 0 to kLockableColumns - 1 can have their widths locked.
  static constexpr int kLockableColumns = 16;

  // No window until Create.
  CZORMListCtrl();
  // Creates the window at once; see Create.
  CZORMListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                long style);
  // Deletes the window above, if any.
  ~CZORMListCtrl() override;
  CZORMListCtrl(const CZORMListCtrl&) = delete;
  CZORMListCtrl& operator=(const CZORMListCtrl&) = delete;

  // Creates the list window with the wxLC_* `style` and attaches the header member to
  // its column header when it has one. Returns false when the window could not be
  // created; nothing is attached then.
  bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style);

  // The number of columns of the list's header; 0 when the list is not in report view
  // (it then has no header).
  int GetColumnCount() const override;

  // Fits each column below kLockableColumns whose width is not locked to both its
  // header text and its widest cell. Columns from kLockableColumns on keep their width.
  void AutoSizeColumns();

  // The width the list's own auto-sizing (wxLIST_AUTOSIZE_USEHEADER) gives a
  // column of a virtual list, with the same margins, but fitted to the widest
  // cell of every row, where the list's own samples a long list. Rows are
  // estimated from their characters' widths and only those that may be the
  // widest are measured, so a list of many thousand rows costs milliseconds.
  int FittingVirtualColumnWidth(int column) const;

  // --- Drawing ---

  // Draws the cells of `column` on a light grey background, except on shaded rows
  // and in the totals row; -2 (or any index without a column) highlights none.
  void SetHighlightedColumn(int column) { m_nHighlightedColumn = column; }
  int GetHighlightedColumn() const { return m_nHighlightedColumn; }

  // Draws a line above the last row (in report view).
  void SetTotalsLine(bool on) { m_bTotalsLine = on; }
  bool HasTotalsLine() const { return m_bTotalsLine; }

  // Draws rows 0, 2, 4, ... on a light green-grey background.
  void SetAlternateShading(bool on) { m_bAlternateShading = on; }
  bool HasAlternateShading() const { return m_bAlternateShading; }

  // Draws rules between the rows and columns.
  void SetGridLines(bool on);
  bool HasGridLines() const { return m_bGridLines; }

  // The font of cells whose column has no font of its own, once any column has one.
  void SetDefaultCellFont(const wxFont& font) { m_fontDefaultCell = font; }
  const wxFont& GetDefaultCellFont() const { return m_fontDefaultCell; }

  // Draws the cells of `column` in `font`, which stays the caller's and must outlive
  // its use by the list; null removes the column's font. Set the default cell font
  // first: it is used for the columns without a font.
  void SetColumnFont(unsigned column, wxFont* font);
  // The font of `column`; null when it has none.
  wxFont* GetColumnFont(unsigned column) const;

  // A locked column keeps its width in AutoSizeColumns. Columns from
  // kLockableColumns on cannot be locked (they are never auto-sized anyway).
  void LockColumnWidth(int column, bool locked = true);
  bool IsColumnWidthLocked(int column) const;

  // --- Companions ---

  // Makes `window` (a child of the list's parent, or null) the window kept in a
  // 20-pixel strip 3 pixels above the list. The list takes it over and deletes it
  // with itself; a window set before is deleted now. A window above that is
  // destroyed by someone else is forgotten.
  void SetWindowAbove(wxWindow* window);
  wxWindow* GetWindowAbove() const { return m_pWndAbove; }

  // The footer strip; it has a window once its Create was called.
  CZORMListFooter& GetFooter() { return m_wndFooter; }

  // The list's hold on its column header; attached while the list has a header.
  CZORMHeaderCtrl& GetHeader() { return m_wndHeader; }

  // Moves the window above and the footer to their strips beside the list's current
  // window rectangle. The list does this itself whenever it is resized or moved.
  void LayOutCompanions() override;

  // --- Commands and context menu ---

  // The list's views, as the system's list-view style numbers them.
  enum class View { kIcon = 0, kReport = 1, kSmallIcon = 2, kList = 3 };
  View GetView() const;
  // Switches the view; the report view's columns are kept across the other views.
  // A virtual list stays in report view: the generic list draws virtual rows
  // only there.
  void SetView(View view);

  // Runs the list command of the character `code` (taken as upper case): '1' icon,
  // '2' list, '3' report and '4' small-icon view, '8' shading on or off, '9' grid
  // lines on or off, 'A' select all, 'I' invert the selection, 'R' SelectRandom, 'S'
  // the next view (icon, small icon, list, report), 'F' ClearFilters, 'K'
  // SaveFilter, 'L' RestoreFilter, 'Y' ShowFilters, 'E' Export with the title
  // "Export" (offering "Email" to the export recipients, if any), 'P' a PDF of the
  // selected rows titled "List Print", printed (nothing when no row is selected);
  // other codes do nothing.
  // Pressing Ctrl with a key while the list has the focus runs the key's code.
  void RunListCommand(int code);

  void SelectAll();
  void InvertSelection();
  // Asks how many rows to pick (a number or a percentage) and selects that many
  // rows at random, the same rows in every run of the program.
  void SelectRandom();
  // Puts the text of `column` (own index) in the selected rows on the clipboard,
  // one line each, and says how many were copied.
  void CopyColumn(int column);

  // The context menu: submenu `submenu` of menu resource `menu` (0: none), whose
  // commands go to `owner` (null: the list's top-level window). When `prepare` is
  // not wxEVT_NULL, a CZORMMenuPrepareEvent of that type is sent to `target` (null:
  // the owner) before the menu is shown, so it can change the menu.
  void SetContextMenu(unsigned menu, unsigned submenu, wxWindow* owner = nullptr,
                      wxEventType prepare = wxEVT_NULL, wxWindow* target = nullptr);
  // The list menu (0: none): the items of its first submenu, whose texts end in a
  // command's code character, are appended to the context menu with a "Copy Column"
  // popup before them.
  void SetListMenu(unsigned menu) { m_nListMenu = menu; }

  // The header text of the column shown at display position `column`, at most 127
  // characters (cut between characters); empty when there is no such column.
  std::string GetColumnHeaderText(int column) const;

  // The rows that are selected, in ascending order.
  std::vector<long> GetSelectedRows() const;

  // The number of rows of a virtual list (the base's, which this hides so that the
  // list knows its rows changed).
  void SetItemCount(long count);

  // Names the list's section in the settings store; empty: nothing is kept.
  void SetRegistryName(const std::string& name) { m_strRegistryName = name; }
  const std::string& GetRegistryName() const { return m_strRegistryName; }

  // The ids of the items the list adds to its context menu run from this one up
  // (0xE000 as the system numbers them); the list acts on the first
  // kAddedCommandCount of them.
  static constexpr int kFirstAddedCommand = MenuCommandId(0xE000);
  static constexpr int kAddedCommandCount = 57;

  // --- Handed to the report-based exports ---

  void SetReportTitle(const std::string& title) { m_strReportTitle = title; }
  const std::string& GetReportTitle() const { return m_strReportTitle; }
  void SetReportNotes(const std::string& notes) { m_strReportNotes = notes; }
  const std::string& GetReportNotes() const { return m_strReportNotes; }

  // Leaves `column` out of the report-based exports, or takes it back in.
  void ExcludeColumnFromExport(unsigned column, bool excluded = true);
  bool IsColumnExcludedFromExport(unsigned column) const;

  // Report-writer column flags of `column` for the exports (0 when never set). A
  // writer going by display position asks for GetColumnIndexFromOrder(position).
  void SetColumnReportFlags(unsigned column, uint32_t flags) {
    m_mapColumnReportFlags[column] = flags;
  }
  uint32_t GetColumnReportFlags(unsigned column) const;

  // The drawing settings as the drawing rules take them.
  ListDrawSettings GetDrawSettings() const;

  // Changing the style may replace the header window; the header member follows it.
  void SetWindowStyleFlag(long style) override;

  // --- Row dragging (list_drag.cc) ---

  // Lets the user drag the selected rows with the left button; off at first.
  void EnableDrag(bool enabled = true) { m_bDragEnabled = enabled; }
  bool IsDragEnabled() const { return m_bDragEnabled; }
  // Sends a CZORMListDropEvent of `type` to `window` when dragged rows are dropped;
  // a null window or wxEVT_NULL sends nothing.
  void SetDropNotification(wxWindow* window, wxEventType type = wxEVT_ZORM_LIST_DROP);
  // Whether the list's own rows can become the drop row; on at first.
  void SetDropOnSelf(bool allowed) { m_dragState.drop_on_self = allowed; }
  // The running or last drag, for the receiver of the drop event.
  const ZORMListCtrlDragState& GetDragState() const { return m_dragState; }
  // A new image list with one image of the visible selected rows (cut to column 0
  // in report view), its mask colour pure green; null when no row is selected, and
  // without an image when none of them is visible. The image's top-left corner in
  // the list's client coordinates goes to *top_left.
  std::unique_ptr<wxImageList> CreateSelectionDragImage(wxPoint* top_left);

  // --- Filters and the list's settings section (list_filters.cc, list_settings.cc) ---

  // Shows a filter bar under the column header (in report view), whose boxes fill
  // the filter map as the user changes them.
  void EnableFilterBar();
  // The filter bar; null until EnableFilterBar.
  CZORMFilterBar* GetFilterBar() const { return m_pFilterBar; }

  // When the filters change, a CZORMFilterChangeEvent of `type` goes to `target`
  // (null: the list's parent). wxEVT_NULL sends none.
  void SetFilterChangeMessage(wxEventType type, wxWindow* target = nullptr) {
    m_filterChange = type;
    m_pFilterChangeTarget = target;
  }
  // The current filters by column; the owner applies them to its rows.
  const ZORMFilterMap& GetFilters() const { return m_mapFilters; }

  // Puts `text` into the filter box of `column`, which then counts as changed: the
  // filter map follows and the owner is told. Nothing for a column without a box.
  void SetFilterText(int column, const std::string& text);
  // Sends the filter-change event, if any, to its target.
  void NotifyFilterChange();
  // Ctrl+F: empties the filter map and every box and tells the owner.
  void ClearFilters();
  // Ctrl+K: asks for a name and keeps the current filters under it.
  void SaveFilter();
  // Ctrl+L: lets the user restore or remove a saved filter, and pick the default.
  void RestoreFilter();
  // Ctrl+Y: shows the current filters one message at a time.
  void ShowFilters();
  // Saved filters by name, each in its saved form (EncodeFilters).
  const std::map<std::string, std::string>& GetSavedFilters() const { return m_mapSavedFilters; }

  // The list's settings section "CListCtrl_<registry name>" in the application's
  // profile. Reads give `default_value` for a missing value; write failures are
  // not reported.
  std::string GetListProfileString(const char* entry, const char* default_value = "") const;
  unsigned GetListProfileInt(const char* entry, int default_value) const;
  void WriteListProfileString(const char* entry, const char* value);
  void WriteListProfileInt(const char* entry, int value);
  // Writes the column order (below 32 columns) and, when they changed, the saved
  // filters to the list's section; nothing for a list without a registry name.
  // Runs when the list is destroyed.
  void SaveListState();
  // Reads the list's section back: the saved filters, the column order when it fits
  // the columns, and the default filter into the filter bar. Call once the columns
  // exist; damaged values are skipped.
  void LoadListState();

  // Item rectangles in the list's client coordinates, below the filter bar when
  // there is one.
  bool GetItemRect(long item, wxRect& rect, int code = wxLIST_RECT_BOUNDS) const;
  bool GetSubItemRect(long item, long subItem, wxRect& rect, int code = wxLIST_RECT_BOUNDS) const;

  // --- Exports (listctrl/export/) ---
  //
  // Each writer reads the list only through its columns, its rows, the selected
  // rows in ascending order and GetExportCellText. A file is written completely or
  // not at all (ExportFile); an export that takes long shows its progress and can
  // be cancelled.

  // Ctrl+E: asks which form the selected rows go to and runs that writer. "Email"
  // is offered only when `recipients` is given.
  void Export(std::string title, const std::vector<std::string>* recipients = nullptr);
  // The addresses the list's own export command (Ctrl+E, the list menu's
  // "Export") offers "Email" to; none at first, and with none "Email" is not
  // offered. Callers of Export pass their own.
  void SetExportRecipients(std::vector<std::string> recipients) {
    m_exportRecipients = std::move(recipients);
  }
  const std::vector<std::string>& GetExportRecipients() const { return m_exportRecipients; }
  // "Calvaro-Export-<local time as %Y%m%d-%H%M%S>.<extension>".
  std::string GetExportFileName(const char* extension) const;
  // One entry per column: the longest of the header and every row's cell text, in
  // characters, and the header text; kExportColumnExcluded and an empty name for a
  // column left out of the report-based exports. Either output may be null. False
  // when the list has no columns.
  bool GetExportColumns(std::vector<uint32_t>* widths, std::vector<std::string>* names) const;
  // The step after a writer: asks to open, opens (one second later), prints or
  // does nothing with the written file, as `action` says. `type_name` is the form
  // as the user reads it ("CSV", "Text", "JSON", "XML", "XLSX", "Adobe PDF").
  void FinishExport(const char* type_name, unsigned record_count, const std::string& path,
                    ExportAction action);

  // The writers. Each returns at once when the list has no columns or no rows,
  // asks for the file with a save dialog (the text and JSON writers only when
  // `path` is empty), writes the selected rows and ends in FinishExport.
  void ExportCSV(ExportAction action);
  void ExportXML(ExportAction action);
  // True when the file was written.
  bool ExportText(std::string title, std::string path, ExportAction action);
  bool ExportJSON(std::string title, std::string path, ExportAction action);
  void ExportExcel(ExportAction action);
  // Asks for the page options first. True once both dialogs were confirmed,
  // whether or not the PDF could be written. Ctrl+P: title "List Print", Print.
  bool ExportPDF(std::string title, ExportAction action);
  // Hands a text export of the selected rows to the desktop's mail composer as
  // the attachment "Calvaro_Report.txt" (at most 256 recipients). True when the
  // composer took it.
  bool ExportEmail(std::string title, const std::vector<std::string>* recipients);

  // The writers' bodies once the path is known, for callers that have one (the
  // writers above, tests, benchmarks). They write the selected rows to `path` and
  // tell the user of a failure; false when nothing was written (a failure or a
  // cancel), true when the file is in place. They do not run FinishExport.
  bool WriteCSVFile(const std::string& path);
  bool WriteXMLFile(const std::string& path);
  bool WriteExcelFile(const std::string& path);
  // The PDF with these options; `title` as ExportPDF takes it. The report writer's
  // failure is shown with its result code.
  bool WritePDFFile(const std::string& path, std::string title, const PdfExportOptions& options);

  // The text of a cell as the exports take it: the list's own text of the cell
  // at display position `column` in UTF-8. A virtual list may answer it without
  // going through wxString, and must then give the same text the list shows
  // (GetCellText(row, GetColumnIndexFromOrder(column))).
  virtual std::string GetExportCellText(long row, int column) const;

  // --- Footer figures and in-place editing ---

  // The lowest selected row; -1 when none is selected. Quick on a long virtual list
  // whose selection the list's own commands made.
  long GetFirstSelectedRow() const override;
  long GetFooterRowCount() const override { return GetItemCount(); }
  long GetFooterSelectedCount() const override { return GetSelectedItemCount(); }

  // One column's in-place editor. The begin and end events (CZORMListEditEvent of
  // these types, wxEVT_NULL for none) go to `notify`, or to the list's parent
  // when that is null.
  struct ZORMListCtrlEditItem {
    wxWindow* editor = nullptr;  // not owned
    wxWindow* notify = nullptr;
    wxEventType end = wxEVT_NULL;    // sent when an edit ends without being cancelled
    wxEventType begin = wxEVT_NULL;  // sent before the editor is placed and shown
  };
  // Makes a click on a cell of `column` show `item.editor` over the cell; replaces
  // the column's earlier registration. The editor must outlive the list's use of
  // it; the list makes its row window the editor's parent.
  void RegisterEditor(unsigned column, const ZORMListCtrlEditItem& item);

  // Ends the running edit on the commit path: hides `editor`, gives the focus to
  // the list and sends the column's end event, except for an edit box whose text
  // did not change (the edit then counts as cancelled). Returns true.
  bool EndEdit(wxWindow* editor);
  // Ends the running edit as cancelled: hides the editor, sends nothing.
  void CancelEdit();

  // The editor of the running edit; null when none runs.
  wxWindow* GetCurrentEditor() const { return m_pCurrentEditor; }
  // The cell of the running or last edit.
  long GetEditRow() const { return m_nEditRow; }
  int GetEditColumn() const { return m_nEditColumn; }
  // Whether the last edit ended cancelled (or as an unchanged edit box).
  bool IsEditCancelled() const { return m_bEditCancelled; }

  // The list's own editors, hidden until an edit shows them. Each is made, in the
  // list's row window, when it is first asked for: most lists are never edited,
  // and making all four more than doubled the cost of making the list. Asked for
  // only once the list is created.
  CZORMListCtrl_Date& GetDateEditor() { return Editor(m_wndDateEditor); }
  CZORMListCtrl_Edit& GetTextEditor() { return Editor(m_wndTextEditor); }
  CZORMListCtrl_Combo& GetComboEditor() { return Editor(m_wndComboEditor); }
  CZORMListCtrl_Checkbox& GetCheckboxEditor() { return Editor(m_wndCheckboxEditor); }

 protected:
  // A virtual list's row: text colour and font. The generic list draws a row in one
  // attribute, so this is the attribute of the row's first cell without its
  // background; the backgrounds, which may differ from cell to cell, are painted
  // under the rows by the list.
  wxItemAttr* OnGetItemAttr(long item) const override;
  // One cell of a virtual list: colours and font as the drawing rules decide.
  wxItemAttr* OnGetItemColumnAttr(long item, long column) const override;

 private:
  wxWindow* GetMainWindow() const;
  wxWindow* FindHeaderWindow() const;
  void AttachHeader();
  void BindMainWindow();
  void UnbindMainWindow();

  void OnMainWindowPaint(wxPaintEvent& event);
  void PaintCellBackgrounds(wxDC& dc);
  void SetPlainRowFonts();
  void PaintCellFonts(wxDC& dc);
  void PaintCellText(wxDC& dc, long row, int column, const wxRect& cell);
  void PaintTotalsLine(wxDC& dc);
  void PaintEmptyNotice(wxDC& dc);
  void OnSize(wxSizeEvent& event);
  void OnMove(wxMoveEvent& event);
  void OnShow(wxShowEvent& event);
  void OnItemChanged(wxListEvent& event);
  void OnWindowAboveDestroyed(wxWindowDestroyEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnAddedCommand(wxCommandEvent& event);

  // Context menu helpers (list_context_menu.cc).
  wxWindow* ContextMenuOwner();
  void AppendListMenu(wxMenu* popup);
  void BindAddedCommands(wxMenu* menu);
  void CopyListMenuItems(const wxMenu& source, wxMenu* target);
  // Selects `rows` (ascending) after clearing the selection, quickly on a long list.
  void SelectOnly(std::vector<long> rows);
  // The selection as the list's commands left it (list_selection.cc).
  void RememberSelection(std::vector<long> rows);
  void ForgetSelection();
  void OnRowWindowInput(wxEvent& event);
  void RefreshFooter();

  // The drawing rules' decision for the cell shown at display position `position`
  // of `row`, under the current settings.
  ListDrawDecision DecideCell(long row, long position) const;
  // The font for a cell (by display position) as the drawing rules chose it; an
  // invalid font for the list's own.
  wxFont CellFont(ListCellFont choice, long position) const;
  // The font the generic list draws `row` in: that of its first cell.
  wxFont RowFont(long row) const;
  // The rectangle of `row` in the row window; false when there is no such row.
  bool RowRectInRowWindow(long row, wxRect* rect) const;
  // The visible rows, first and last; false when none.
  bool VisibleRows(long* first, long* last) const;
  // A lasting attribute with these values: the generic list keeps the pointers it is
  // given while it caches rows, so they are never freed before the list.
  wxItemAttr* SharedAttr(uint32_t text, const wxColour& background, const wxFont& font) const;

  int m_nHighlightedColumn = -2;
  CZORMListFooter m_wndFooter;
  wxWindow* m_pWndAbove = nullptr;
  bool m_bGridLines = false;
  bool m_bAlternateShading = false;
  wxFont m_fontDefaultCell;
  bool m_bTotalsLine = false;
  std::string m_strReportTitle;
  std::string m_strReportNotes;
  std::map<unsigned, unsigned> m_mapExportExclude;  // only the keys matter
  std::map<unsigned, uint32_t> m_mapColumnReportFlags;
  std::vector<std::string> m_exportRecipients;  // for the export command; empty: none
  std::map<unsigned, wxFont*> m_mapColumnFonts;  // fonts not owned
  CZORMHeaderCtrl m_wndHeader;
  std::string m_strRegistryName;

  unsigned m_nContextMenu = 0;  // menu resource; 0: no context menu
  unsigned m_nContextSubmenu = 0;
  wxWindow* m_pMenuOwner = nullptr;  // null: the top-level window
  wxEventType m_menuPrepare = wxEVT_NULL;
  wxWindow* m_pMenuPrepareTarget = nullptr;  // null: the menu owner
  unsigned m_nListMenu = 0;
  int m_nNextCommandId = kFirstAddedCommand;
  std::map<int, int> m_mapColumnCopy;    // command id -> column
  std::map<int, char> m_mapCommandCodes;  // command id -> list command code
  bool m_bSelectionKnown = false;         // m_knownSelection is the list's selection
  std::vector<long> m_knownSelection;     // ascending
  bool m_bSettingSelection = false;       // rows read meanwhile are not drawn
  std::array<bool, kLockableColumns> m_bLockedWidths{};

  wxWindow* m_pMainWindowBound = nullptr;  // the row window our paint handler is bound to
  bool m_bInDefaultPaint = false;
  mutable std::vector<std::unique_ptr<wxItemAttr>> m_sharedAttrs;

  // --- Row dragging (list_drag.cc) ---
  void OnBeginDrag(wxListEvent& event);
  void OnDragMotion(wxMouseEvent& event);
  void OnDragButtonUp(wxMouseEvent& event);
  void OnDragCaptureLost(wxMouseCaptureLostEvent& event);
  // Ends a running drag: capture, image and drop mark go; sends nothing.
  void StopDrag();
  // Moves the drop mark to `row` (-1: none), repainting the rows it leaves and takes.
  void MarkDropRow(long row);
  // The window under `screen`, the drag image left out; the list for its row window.
  wxWindow* WindowUnderPointer(const wxPoint& screen) const;
  // Draws the drop row over the list's own drawing of the rows.
  void PaintDropHighlight(wxDC& dc);
  ZORMListCtrlDragState m_dragState;
  bool m_bDragEnabled = false;
  wxWindow* m_pDragImageWindow = nullptr;  // shows the drag image while dragging
  wxWindow* m_pDragEventWindow = nullptr;  // the row window whose mouse the drag holds
  long m_nDropMark = -1;                   // row drawn as drop row; -1: none

  // --- Filters and the list's settings section ---
  void OnFilterChange(int column);
  void OnSizeFollowFilterBar(wxSizeEvent& event);
  void PlaceFilterBar();
  int FilterBarHeight() const;
  // Empties the filters and fills the boxes from a saved filter's text.
  void ApplySavedFilter(const std::string& encoded);
  CZORMFilterBar* m_pFilterBar = nullptr;  // a child window
  ZORMFilterMap m_mapFilters;
  wxEventType m_filterChange = wxEVT_NULL;
  wxWindow* m_pFilterChangeTarget = nullptr;  // null: the parent
  std::map<std::string, std::string> m_mapSavedFilters;
  bool m_bSavedFiltersChanged = false;

  // In-place editing (list_editing.cc).
  // The editor in `slot`, made first if need be. An editor object exists only
  // with its window: a combo box that never had one cannot be destroyed quietly.
  template <typename EditorType>
  EditorType& Editor(std::optional<EditorType>& slot) {
    if (!slot) {
      slot.emplace();
      slot->Create(GetMainWindow());
    }
    return *slot;
  }
  void BindEditing();
  void UnbindEditing();
  // Edits the cell shown at display position `position` of `row`.
  void StartEdit(long row, int position);
  // The display position under `in_rows` (row window coordinates) in `row`; -1
  // when none.
  int ColumnAt(long row, const wxPoint& in_rows) const;
  void SendEditEvent(const ZORMListCtrlEditItem& item, wxEventType type);
  void KeepEditorInPlace();
  void OnEditMouseDown(wxMouseEvent& event);
  void OnEditMouseUp(wxMouseEvent& event);
  void OnEditWheel(wxMouseEvent& event);
  void OnEditScroll(wxScrollWinEvent& event);
  void OnEditCharHook(wxKeyEvent& event);
  void OnEndLabelEdit(wxListEvent& event);

  std::map<unsigned, ZORMListCtrlEditItem> m_mapEditItems;
  long m_nEditRow = 0;
  int m_nEditColumn = 0;
  bool m_bEditCancelled = false;
  wxWindow* m_pCurrentEditor = nullptr;
  std::string m_strTextBeforeEdit;
  wxRect m_rectEditor;  // where the running edit's editor was placed, list coordinates
  wxWindow* m_pEditingBound = nullptr;  // the row window the editing handlers are bound to
  wxPoint m_ptClickDown{-1, -1};        // where the left button went down; -1: not in the rows
  bool m_bWheelScrolling = false;       // scroll events now come from the wheel
  std::optional<CZORMListCtrl_Date> m_wndDateEditor;
  std::optional<CZORMListCtrl_Edit> m_wndTextEditor;
  std::optional<CZORMListCtrl_Combo> m_wndComboEditor;
  std::optional<CZORMListCtrl_Checkbox> m_wndCheckboxEditor;

  // --- Column order (list_column_order.cc) ---
  //
  // The user reorders the columns by dragging a column header onto another place.
  // The list moves the column where wx keeps it, so wx's own column calls
  // (GetColumn, GetColumnWidth, GetItemText, SetItem, ...) and GetColumnHeaderText,
  // GetExportCellText and FittingVirtualColumnWidth take the display position.
  // Everything the framework keeps per column stays with the column wherever it
  // is shown, so it takes the column's own index (its place when it was
  // inserted): fonts, the highlighted column, width locks, export exclusion and
  // report flags, editors, filters and their boxes, CopyColumn, and the column of
  // the edit and filter-change events. Inserting or deleting a column first puts
  // the columns back in their own order, so the index it is given is the own one.
 public:
  // The column order: entry `position` is the own index of the column shown there.
  wxArrayInt GetColumnsOrder() const override;
  // Shows the columns in `orders` (as GetColumnsOrder gives it). False, and nothing
  // changes, unless it names each column exactly once. A running edit ends first.
  bool SetColumnsOrder(const wxArrayInt& orders) override;
  // The display position of the column whose own index is `column`; `column`
  // itself when there is no such column.
  int GetColumnOrder(int column) const override;
  // The own index of the column shown at `position`; `position` itself when there
  // is no such position.
  int GetColumnIndexFromOrder(int position) const override;
  // Moves the column shown at `from` to display position `to`, as a header drag
  // does. Nothing when either is not a position.
  void MoveColumn(int from, int to);

  bool DeleteColumn(int column) override;
  bool DeleteAllColumns() override;

 protected:
  // The text of a virtual list's cell by the column's own index; what a virtual
  // subclass answers instead of OnGetItemText. Empty here.
  virtual wxString GetCellText(long item, long column) const;
  // The same text in UTF-8, for measuring: a view that stays valid until the next
  // call with the same `buffer`. Fitting a column asks it of every row, so a list
  // of many rows answers it from its own strings, using `buffer` at most. Here it
  // is GetCellText converted into `buffer`; a text with no UTF-8 form gives bytes
  // that are not UTF-8, so the row is laid out rather than estimated.
  virtual std::string_view GetCellTextUtf8(long item, long column, std::string* buffer) const;
  // A virtual list's cells go to GetCellText through the column order.
  wxString OnGetItemText(long item, long column) const final;
  // The row's image (OnGetItemImage) goes with the column whose own index is 0.
  int OnGetItemColumnImage(long item, long column) const override;
  long DoInsertColumn(long column, const wxListItem& info) override;

 private:
  // Moves headers, widths and (in a plain list) cells so that display position p
  // shows what position source[p] showed.
  void RearrangeColumns(const std::vector<int>& source);
  void RestoreOwnOrder();
  std::vector<int> m_columnOrder;  // own index by display position; empty: unmoved

  // --- Drag scrolling (zorm_list_ctrl_drag.cc) ---
  // While rows are dragged, a pointer held within a row's height of the rows'
  // top or bottom edge scrolls the list a row each tick, so rows can be dropped
  // beyond the visible ones.
  static constexpr int kDragScrollMs = 75;
  void OnDragScrollTimer(wxTimerEvent& event);
  // DragScrollStep for the pointer at `in_rows` in the row window.
  int DragScrollStepAt(const wxPoint& in_rows) const;
  // Marks the row under `in_rows` (row window coordinates) as the drop row.
  void TrackDropRow(const wxPoint& in_rows);
  wxTimer m_dragScroll;

  wxDECLARE_EVENT_TABLE();
};
