// CTrackListCtrl: the album and track list of the main window. A
// CTreeListCtrl whose items are albums and tracks (TrackList), with the
// list's drop-target rules and moves, its keys (Delete asks the main
// window to erase, the Help key shows a note) and tips with the full text
// of cut-off cells.
#pragma once

#include <string>
#include <vector>

#include "treelist/cell_tip_win32.h"
#include "treelist/track_list.h"
#include "treelist/tree_list_ctrl_win32.h"

namespace treelist {

class CTrackListCtrl : public CTreeListCtrl {
 public:
  // The main window's erase command, posted for the Delete key.
  static constexpr WORD kEraseCommand = 3;
  static constexpr const char* kHelpKeyNote = "F1 Pressed!";

  CTrackListCtrl(TrackListHost* host, TrackListDevice* device);
  ~CTrackListCtrl() override;

  TrackList& List() { return list_; }

  // The five columns of the main window: headings for title, artist, time,
  // album and genre, left-aligned, each (list width - 3) / 5 wide, none
  // editable.
  bool InsertStandardColumns(const std::vector<std::wstring>& headings);

  // What the main window and the job engine do to the list.
  void LoadAll(const std::vector<LoadedAlbum>& albums) { list_.loadAll(albums); }
  TrackListItem* OLEInsertFolder(const std::string& name, Eid eid = 0) {
    return list_.oleInsertFolder(name, eid);
  }
  TrackListItem* AddCompletedTrack(const TransferredTrack& track) { return list_.addCompletedTrack(track); }
  void Renumber() { list_.renumber(); }
  void EraseSelectedItem() { list_.eraseSelectedItem(SelectedItems()); }
  void EraseAll() { list_.eraseAll(); }
  HRESULT SelectedIds(std::vector<Eid>& albums, std::vector<Eid>& tracks) {
    return list_.selectedIds(SelectedItems(), albums, tracks);
  }
  // The drop album and position of a drop of files from the last target
  // of the external drag.
  const DropPosition& SetDropPositionFromTarget(DropTarget target) { return list_.setDropPosition(target); }
  bool CanStartDrag() { return list_.canStartDrag(SelectedItems()); }

  CCellTip& Tip() { return tip_; }

 protected:
  void EraseSelection() override { EraseSelectedItem(); }
  int ChooseRowColours(int row, const TreeListItem* item, bool selected, bool focused) const override;
  RowLook LookOfRow(const TreeListItem* item) const override { return list_.rowLook(item); }
  bool StoreEditedText(int row, int column, const std::string& text) override;
  void AdjustMarkerRect(RECT& rect, int row) override;
  DropTarget AdjustDropTarget(POINT point, DropTarget proposed) override {
    return list_.adjustDropTarget(proposed);
  }
  void PerformMove(DropTarget target) override;
  bool MayStartDrag(int row) override { return CanStartDrag(); }
  void OnKeyPressed(UINT key) override;
  std::string CellText(const TreeListItem* item, int column) const override {
    return list_.cellText(item, column);
  }
  bool MayHoverExpand(const TreeListItem* item) const override;
  void OnExternalDragBegan() override { list_.beginFileDrag(); }
  void OnDragEnded() override;
  void ShowMessage(unsigned messageId) override;
  void OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnAttached() override;

 private:
  TrackListHost* host_;
  TrackList list_;
  CCellTip tip_;
};

}  // namespace treelist
