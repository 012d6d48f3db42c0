// The album/track list without a window: albums (non-leaf items under the
// root) and their tracks (leaves), the texts and images of their rows, the
// numbering of albums and tracks, and what the program does to the list:
// loading it from the player, adding albums and tracks as a drop is
// transferred, erasing, and dragging albums or tracks to a new place on the
// player. CTrackListCtrl shows it in a list view; tests drive it directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/hresult.h"
#include "treelist/track_list_device.h"
#include "treelist/track_list_host.h"
#include "treelist/track_list_item.h"
#include "treelist/tree_list_model.h"
#include "treelist/tree_list_types.h"

namespace treelist {

// One track as the loader reads it from the player (narrow texts).
struct LoadedTrack {
  Eid eid = 0;
  std::string title;
  std::string artist;
  std::string album;
  std::string genre;
  int64_t durationMs = 0;
};

struct LoadedAlbum {
  Eid eid = 0;
  std::string name;
  int64_t durationMs = 0;
  std::vector<LoadedTrack> tracks;
};

// The fields of a finished transfer job that the list shows.
struct TransferredTrack {
  Eid eid = 0;  // the new track's identifier on the player; 0 when not known
  std::string title;
  std::string artist;
  std::string album;
  std::string genre;
  int64_t durationMs = 0;
  uint64_t size = 0;
  std::string sourcePath;
};

// Where the tracks of a drop of files go in the list.
struct DropPosition {
  TrackListItem* album = nullptr;  // the album that receives the tracks; null: none yet
  int trackPosition = 0;           // position in the album the drop pointed at
  int nextRow = -1;                // row the drop pointed at (informational)
  bool dropToHead = false;         // the drop went before the target row
};

// Images of the main window's image list.
namespace image {
constexpr int kAlbumClosed = 0;
constexpr int kAlbumOpen = 1;
constexpr int kTrack = 2;
constexpr int kPlaceholderClosed = 3;
constexpr int kPlaceholderOpen = 4;
}  // namespace image

// Columns of the list.
namespace column {
constexpr int kTitle = 0;  // album name on album rows
constexpr int kArtist = 1;
constexpr int kTime = 2;
constexpr int kAlbum = 3;
constexpr int kGenre = 4;
constexpr int kCount = 5;
}  // namespace column

class TrackList : private RemovalObserver {
 public:
  // host and device may be null (then no messages are shown and nothing
  // that needs the player can be done). The list observes the model's
  // removals: however items leave the tree (the control's RemoveAllItems
  // included), the drop album and the dragged items are let go of first.
  TrackList(TreeListModel& model, TrackListHost* host, TrackListDevice* device);
  ~TrackList() override;
  TrackList(const TrackList&) = delete;
  TrackList& operator=(const TrackList&) = delete;

  TreeListModel& model() { return model_; }
  void setHost(TrackListHost* host) { host_ = host; }
  void setDevice(TrackListDevice* device) { device_ = device; }

  int albumCount() const { return model_.root().childCount(); }
  TrackListItem* albumAt(int index) const { return AsTrackItem(model_.root().child(index)); }

  // ---- Loading from the player --------------------------------------------
  // Appends an album row (collapsed, its play time in the time column).
  TrackListItem* addLoadedAlbum(const std::string& name, int64_t durationMs, Eid eid);
  // Appends a track to an album of this list; the album opens to show it.
  // Null when album is not an album of this list.
  TrackListItem* addLoadedTrack(TrackListItem* album, const LoadedTrack& track);
  // Replaces the whole list in one pass: albums with tracks open, empty ones
  // closed; then numbers everything.
  void loadAll(const std::vector<LoadedAlbum>& albums);

  // ---- A drop of files being transferred ------------------------------------
  // Appends a new, empty album and makes it the drop album.
  TrackListItem* oleInsertFolder(const std::string& name, Eid eid = 0);
  // Appends a transferred track to the drop album (which stays closed if it
  // is closed) and adds its play time to the album. Null without a drop album.
  TrackListItem* addCompletedTrack(const TransferredTrack& track);
  // The drop album and position from the drop target of a drop of files.
  const DropPosition& setDropPosition(DropTarget target);
  const DropPosition& dropPosition() const { return drop_; }
  int dropTrackCount() const { return dropTrackCount_; }
  // Forgets the drop album (after it was erased, or to start afresh).
  void forgetDropAlbum();

  // ---- Numbering ----------------------------------------------------------
  // Albums 1, 2, ...; tracks numbered on through the whole list; album
  // totals recomputed; albums without tracks closed.
  void renumber();

  // ---- Erasing (from the list only: the main window erases on the player
  // first, by the ids of selectedIds) ----------------------------------------
  // The real items among selected, without tracks whose album is selected too.
  std::vector<TrackListItem*> erasableItems(const std::vector<TreeListItem*>& selected) const;
  void eraseSelectedItem(const std::vector<TreeListItem*>& selected);
  void eraseAll();
  // Device identifiers of the selection for erasing: albums, and tracks
  // outside selected albums. kOk, or the failure of looking an id up.
  HRESULT selectedIds(const std::vector<TreeListItem*>& selected, std::vector<Eid>& albums,
                      std::vector<Eid>& tracks);

  // ---- Dragging albums or tracks within the list ---------------------------
  // Whether the selection may be dragged: not during a transfer, not empty,
  // not albums and tracks together. When it may, its real items become the
  // items to move.
  bool canStartDrag(const std::vector<TreeListItem*>& selected);
  // A drag of files from outside: the track rules apply to its target.
  void beginFileDrag();
  void endDrag();
  bool isDragging() const { return dragKind_ != DragKind::kNone; }
  bool draggingAlbums() const { return dragKind_ == DragKind::kAlbums; }
  const std::vector<TrackListItem*>& draggedItems() const { return dragged_; }
  // Applies the drop-target rules to the target the control chose.
  DropTarget adjustDropTarget(DropTarget proposed) const;
  // Moves the dragged items to the target on the player, then in the list.
  // kFalse when nothing was to be done or the move was refused (message
  // 17665 when an album would exceed 999 tracks); the player's failure
  // (message 17921) leaves the list unchanged.
  HRESULT moveSelection(DropTarget target);

  // ---- Rows -----------------------------------------------------------------
  std::string cellText(const TreeListItem* item, int column) const;
  RowLook rowLook(const TreeListItem* item) const;
  // Keeps an edited cell text in the item's record (at most 126 bytes).
  // False for the time column and for columns the item does not store.
  bool storeEditedText(TreeListItem* item, int column, const std::string& text);

  // Album and track operations by row, for the control.
  bool expandAlbum(TrackListItem* album) { return model_.expand(album); }
  bool collapseAlbum(TrackListItem* album) { return model_.collapse(album); }
  void expandAll();
  void collapseAll();

  // More rows than this removed at once are dropped from the view by one
  // refill instead of row by row.
  static constexpr int kBulkRowThreshold = 256;

 private:
  enum class DragKind { kNone, kAlbums, kTracks, kFiles };

  void itemsRemoving(const TreeListItem* top) override;
  bool isAlbumOfThisList(const TrackListItem* item) const;
  void eraseItems(const std::vector<TrackListItem*>& items);
  // Identifier of a track, asked from the player by position when unknown;
  // kListOutOfStep when the track at that position has another title.
  HRESULT trackId(TrackListItem* track, Eid& eid);
  // A move's identifier lookup failed: tells the user or the owner; answers result.
  HRESULT lookupFailed(HRESULT result);
  bool stillInList(const TrackListItem* item) const;
  HRESULT moveTracks(TrackListItem* target, TreeListMove mode);
  HRESULT moveAlbums(TrackListItem* target, TreeListMove mode);
  // Takes the dragged items out and puts them under parent from position
  // (already corrected for the items that stood above it).
  void relocate(TreeListItem* parent, int position);
  void showMessage(unsigned id) const;

  TreeListModel& model_;
  TrackListHost* host_;
  TrackListDevice* device_;
  DropPosition drop_;
  int dropTrackCount_ = 0;
  DragKind dragKind_ = DragKind::kNone;
  std::vector<TrackListItem*> dragged_;
};

}  // namespace treelist
