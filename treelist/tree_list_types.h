// Small values shared by the tree-list control and the album/track list.
#pragma once

namespace treelist {

// Where dragged items go relative to the drop target row.
enum TreeListMove : int {
  tlMove_None = 0,
  tlMove_Upper = -1,  // before the target row
  tlMove_Lower = 1,   // after the target row
  tlMove_Added = 2,   // into the target (an album), after its last child
};

struct DropTarget {
  int row = -1;  // -1: no target, the drop does nothing
  TreeListMove mode = tlMove_None;

  bool valid() const { return row >= 0 && mode != tlMove_None; }
  static DropTarget None() { return {}; }
  friend bool operator==(const DropTarget& a, const DropTarget& b) {
    return a.row == b.row && a.mode == b.mode;
  }
};

// Image index and indent level of a row.
struct RowLook {
  int image = 0;
  int indent = 0;
};

// Texts shown to the user come from the message module by number.
namespace msg {
constexpr unsigned kCaption = 4096;
constexpr unsigned kMixedSelection = 17409;  // albums and tracks cannot be selected together
constexpr unsigned kAlbumFull = 17665;       // an album holds at most 999 tracks
constexpr unsigned kDeviceFailure = 17921;   // the player refused or failed an operation
}  // namespace msg

}  // namespace treelist
