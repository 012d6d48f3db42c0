// CTreeListCtrl: a report-style list view made into a tree list. It owns
// the tree (TreeListModel) and shows one row per shown item. The list view
// is a virtual one (owner data): it holds only the number of rows and their
// selection and focus, and asks the control for every text, image and
// indent, so filling or refilling the list costs one message however many
// rows it has. The control keeps the item of each row in order, draws
// the rows itself (images, indents, colours, the insertion marker), opens
// an in-place editor on a slow second click in editable columns, lets the
// user drag rows with an insertion marker and automatic scrolling, and
// talks to its parent through three registered messages. Everything that
// depends on what the items are is an overridable operation; the
// album/track list (CTrackListCtrl) supplies them.
//
// The control hooks the window procedures of both the list view and its
// parent: the parent's part answers the list view's owner-draw and
// notification messages, so the owner window needs to do nothing for the
// control to work.
#pragma once

#include <windows.h>
// The common controls need the types of windows.h first.
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "treelist/control_rules.h"
#include "treelist/in_place_edit_win32.h"
#include "treelist/tree_list_model.h"
#include "treelist/tree_list_types.h"
#include "treelist/window_hook_win32.h"

namespace treelist {

struct ColourPair {
  COLORREF text;
  COLORREF background;
};

class CTreeListCtrl : protected RowSink {
 public:
  // Timer identifiers on the list window (the list view's own timers use
  // pointer values, far from these).
  static constexpr UINT_PTR kEditTimer = 0x7101;
  static constexpr UINT_PTR kScrollTimer = 0x7102;
  static constexpr UINT_PTR kHoverTimer = 0x7103;
  // Grey of the insertion marker.
  static constexpr COLORREF kMarkerColour = RGB(128, 128, 128);

  CTreeListCtrl();
  virtual ~CTreeListCtrl();
  CTreeListCtrl(const CTreeListCtrl&) = delete;
  CTreeListCtrl& operator=(const CTreeListCtrl&) = delete;

  // Creates the list view as a child of parent with the control's style:
  // report view, owner data, selection always shown, owner-drawn fixed
  // rows, no sort header, vertical scroll bar.
  bool Create(HWND parent, const RECT& rect, UINT id);
  // Takes over an existing list view (a control of a dialog template) and
  // gives it the control's style. The owner-data style cannot be added to
  // a list view once it exists, so a list view created without it is
  // refused.
  bool Attach(HWND listView);
  HWND hwnd() const { return list_; }
  UINT id() const { return id_; }

  // Inserts a column after the existing ones. editable: cells of the column
  // may be edited in place. kind 4 draws right-aligned. The new column's
  // index, -1 on failure (then nothing is added).
  int InsertColumn(const std::wstring& heading, int format, int width, bool editable, int kind);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  bool IsColumnEditable(int column) const;
  void SetColumnEditable(int column, bool editable);

  // Brackets many single changes (a loader adding items one by one): the
  // list redraws once at the end. Brackets nest.
  void BeginUpdate();
  void EndUpdate();

  // ---- The tree ----------------------------------------------------------
  TreeListModel& Model() { return model_; }
  TreeListItem* InsertItem(TreeListItem* parent, int position, std::unique_ptr<TreeListItem> item);
  bool RemoveItem(TreeListItem* item);
  void RemoveAllItems();
  bool Expand(TreeListItem* item) { return ExpandItem(item); }
  bool Collapse(TreeListItem* item) { return CollapseItem(item); }
  int RowOfItem(const TreeListItem* item) const { return model_.rowOf(item); }
  // The item shown in a row; null outside the rows.
  TreeListItem* ItemOfRow(int row) const;
  int RowCount() const { return list_ ? static_cast<int>(rows_.size()) : 0; }

  std::vector<int> SelectedRows() const;
  std::vector<TreeListItem*> SelectedItems() const;
  // Row -1 stands for every row.
  void SelectRow(int row, bool selected);

  // ---- Dragging ----------------------------------------------------------
  bool IsDragging() const { return dragging_; }
  DropTarget CurrentDropTarget() const { return dropTarget_; }
  // A drag of files from outside (the OLE drop target drives these with
  // points in list client coordinates). ExternalDragOver answers the
  // target after the derived list's rules; EndExternalDrag the last one.
  void BeginExternalDrag();
  DropTarget ExternalDragOver(POINT client);
  DropTarget EndExternalDrag();
  bool IsExternalDrag() const { return externalDrag_; }

  void SetDragEnabled(bool enabled) { dragEnabled_ = enabled; }
  void SetEditEnabled(bool enabled) { editEnabled_ = enabled; }
  HWND EditControl() const { return edit_ ? edit_->hwnd() : nullptr; }
  // Closes an open editor, keeping its text when commit is set.
  void CloseEdit(bool commit);

  // Colour pairs by key; keys 1 and 3 are window text on window background,
  // 2, 4 and 5 highlight text on highlight, as created with the control.
  void SetColourPair(int key, ColourPair colours) { colours_[key] = colours; }
  ColourPair Colours(int key) const;

 protected:
  // ---- Overridable operations ---------------------------------------------
  virtual void EraseSelection();
  virtual bool CollapseItem(TreeListItem* item) { return model_.collapse(item); }
  virtual bool ExpandItem(TreeListItem* item) { return model_.expand(item); }
  virtual TreeListItem* InsertItemAt(TreeListItem* parent, int position, std::unique_ptr<TreeListItem> item);
  virtual void OnRightClick(int row) {}
  // Key of the colour pair for a row.
  virtual int ChooseRowColours(int row, const TreeListItem* item, bool selected, bool focused) const;
  // Image and indent of an item's row.
  virtual RowLook LookOfRow(const TreeListItem* item) const { return {0, 0}; }
  // Keeps an edited text; false when the cell does not store it.
  virtual bool StoreEditedText(int row, int column, const std::string& text) { return false; }
  virtual void DrawInsertionMarker(HDC dc, const RECT& rowRect, const RECT& iconRect, int row);
  virtual void AdjustMarkerRect(RECT& rect, int row) {}
  virtual DropTarget AdjustDropTarget(POINT point, DropTarget proposed) { return proposed; }
  virtual void PerformMove(DropTarget target) {}
  virtual bool RunMenuCommand(int command) { return false; }
  virtual bool MayStartDrag(int row) { return true; }
  virtual void OnKeyPressed(UINT key) {}
  virtual void OnKeyReleased(UINT key) {}
  virtual std::string CellText(const TreeListItem* item, int column) const { return {}; }
  // Hovering over a closed item during a drag opens it when this says so.
  virtual bool MayHoverExpand(const TreeListItem* item) const { return true; }
  // A drag of files from outside starts over the list.
  virtual void OnExternalDragBegan() {}
  // A drag of the control's own rows or of files ended, dropped or not.
  virtual void OnDragEnded() {}
  // Shows message text `messageId` (17409: albums and tracks together).
  virtual void ShowMessage(unsigned messageId) {}
  // Every mouse move and left-button press and release over the list.
  virtual void OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {}
  // The list window exists; derived lists create their own helpers here.
  virtual void OnAttached() {}

  // ---- Geometry for derived lists ----------------------------------------
  // Row under a point among the shown rows, -1 when none.
  int RowAt(POINT point, RECT* rowRect = nullptr) const;
  // Column whose horizontal range in a row holds the point, -1 when none.
  int ColumnAt(int row, POINT point, RECT* cellRect = nullptr) const;
  // Width of a text in the list's font.
  int TextWidth(const std::wstring& text) const;
  std::wstring CellTextWide(const TreeListItem* item, int column) const;
  // The area that shows rows: the client area below the header.
  RECT RowArea() const;
  int RowHeight() const;

  // ---- RowSink ----------------------------------------------------------
  void insertRows(int firstRow, const std::vector<TreeListItem*>& items) override;
  void deleteRows(int firstRow, int count) override;
  void updateRow(int row, TreeListItem* item) override;
  void refreshAll() override;
  void resetRows(const std::vector<TreeListItem*>& items) override;
  void beginBulk() override;
  void endBulk() override;
  // Switches redrawing off once a bracket changes more than two rows.
  void SuspendRedrawFor(int rows);

 private:
  struct ColumnInfo {
    bool editable = false;
    int kind = 0;
    UINT drawFormat = DT_LEFT;
  };
  struct Cell {
    int row = -1;
    int column = -1;
  };
  // What the list view keeps of its rows: selected rows, the focused row
  // and the selection mark (-1: none). A virtual list view keeps them by
  // row number, so the control moves them when rows come and go above.
  struct RowStates {
    std::vector<int> selected;
    int focused = -1;
    int mark = -1;
  };

  LRESULT OnListHook(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnParentHook(UINT message, WPARAM wParam, LPARAM lParam);
  bool HookParent(HWND parent);
  bool HookList(HWND list);
  LRESULT OnListMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // True when the parent's message was the control's; result is its answer.
  bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool Subclass(HWND list, HWND parent);
  void Unsubclass();
  void ApplyStyle();
  // Setup shared by Create and Attach once the list window is known.
  void PrepareList();

  // Rows (tree_list_ctrl_rows_win32.cpp).
  // The focused row. The list view can only be asked for it by a walk over
  // every row, so the control follows it through LVN_ITEMCHANGED and asks
  // only when what it followed turns out wrong.
  int FocusedRow();
  void OnItemChanged(const NMLISTVIEW& change);
  // The states of the rows from fromRow on, cleared in the list view; the
  // focus is left alone (-1) when it is above fromRow.
  RowStates TakeRowStates(int fromRow);
  void RestoreRowStates(const RowStates& states);
  // Tells the list view the number of rows and repaints what moved unless
  // redrawing is off.
  void ApplyRowCount(int firstChangedRow);
  // The row whose first column starts with the typed text (LVN_ODFINDITEM).
  int FindRow(const NMLVFINDITEMW& find) const;

  // Clicks (tree_list_ctrl_win32.cpp).
  LRESULT OnLButtonDown(WPARAM keys, LPARAM lParam);
  LRESULT OnLButtonDblClk(WPARAM keys, LPARAM lParam);
  LRESULT OnLButtonUp(WPARAM keys, LPARAM lParam);
  void OnClickNotify(const NMITEMACTIVATE& click);
  void OnEditTimer();
  bool IsOnItem(int row, POINT point) const;
  bool ToggleRow(int row);
  void ApplySelectionRule(SelectionKind kindBefore, int firstBefore, WPARAM keys, int clickedRow);
  void OnKeyDown(UINT key);
  void OnKeyUp(UINT key);

  // Editing.
  void StartEdit(int row, int column);
  void FinishEdit(WPARAM commit, LPARAM direction);

  // Dragging (tree_list_ctrl_drag_win32.cpp).
  void OnBeginDrag(int row);
  void UpdateDragTarget(POINT point);
  void SetDropTarget(DropTarget target);
  void EndOwnDrag(bool drop);
  void OnScrollTimer();
  void OnHoverTimer();
  void StopDragTimers();

  // Drawing (tree_list_ctrl_draw_win32.cpp).
  void DrawRow(const DRAWITEMSTRUCT& draw);
  // One step of column sizing; true when a column's width changed.
  bool SizeColumns();
  void FillDispInfo(NMLVDISPINFOW& info) const;

  CWindowHook listHook_;
  CWindowHook parentHook_;
  HWND list_ = nullptr;
  HWND parent_ = nullptr;
  UINT id_ = 0;
  int rowHeight_ = 18;

  TreeListModel model_;
  // The item of each row, in row order: what the virtual list view shows.
  std::vector<TreeListItem*> rows_;
  int focusedRow_ = -1;  // as last reported by the list view
  std::vector<ColumnInfo> columns_;
  std::vector<bool> widened_;
  std::map<int, ColourPair> colours_;
  int bulkDepth_ = 0;
  int bulkRows_ = 0;  // rows changed in the current bracket
  bool redrawSuspended_ = false;

  bool dragEnabled_ = true;
  bool editEnabled_ = true;
  std::unique_ptr<CInPlaceEdit> edit_;
  TreeListItem* editItem_ = nullptr;
  bool ownsWindow_ = false;

  // Click state.
  int firstSelectedAtPress_ = -1;
  int onlySelectedAtPress_ = -1;
  int clickedRow_ = -1;
  int pressToggledRow_ = -1;
  Cell pendingEdit_;
  bool editTimerRunning_ = false;
  bool suppressClick_ = false;
  bool shiftDown_ = false;
  bool controlDown_ = false;

  // Drag state.
  bool dragging_ = false;
  bool externalDrag_ = false;
  bool dropInside_ = false;
  DropTarget dropTarget_;
  POINT lastDragPoint_{};
  bool scrollTimerRunning_ = false;
  int hoverRow_ = -1;
};

}  // namespace treelist
