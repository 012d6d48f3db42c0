// One node of the tree list: an ordered list of owned children, an expanded
// flag and the count of rows its subtree shows when it is expanded. The
// node knows nothing about rows or windows; TreeListModel turns changes to
// the tree into row changes.
#pragma once

#include <memory>
#include <vector>

namespace treelist {

class TreeListItem {
 public:
  // kind 0 is the control's hidden root; the album/track list uses 1. A leaf
  // never takes children.
  TreeListItem(int kind, bool leaf) : kind_(kind), leaf_(leaf) {}
  virtual ~TreeListItem() = default;
  TreeListItem(const TreeListItem&) = delete;
  TreeListItem& operator=(const TreeListItem&) = delete;

  // May the cell in this column be edited in place? Any non-zero kind may.
  virtual bool mayEditColumn(int column) const { return kind_ != 0; }
  // Frees what the item holds beyond the tree; the base frees its children.
  // Called just before the item is destroyed by the model.
  virtual void release() { children_.clear(); }

  TreeListItem* parent() const { return parent_; }
  int kind() const { return kind_; }
  bool isLeaf() const { return leaf_; }
  bool isExpanded() const { return expanded_; }
  // Position among the siblings, -1 until inserted.
  int indexInParent() const { return index_; }
  int childCount() const { return static_cast<int>(children_.size()); }
  bool hasChildren() const { return !children_.empty(); }
  // Null when index is out of range.
  TreeListItem* child(int index) const;
  TreeListItem* firstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
  TreeListItem* lastChild() const { return children_.empty() ? nullptr : children_.back().get(); }
  // Rows below this item while it is expanded: one per child plus the rows
  // of every expanded child. Kept whether or not the item itself is expanded.
  int visibleDescendants() const { return visible_; }
  // Rows this item takes in its parent's run of rows: its own row plus its
  // children's rows when it is expanded.
  int rowSpan() const { return 1 + (expanded_ ? visible_ : 0); }
  // True when this item is below `ancestor` (not the item itself).
  bool isDescendantOf(const TreeListItem* ancestor) const;

 private:
  friend class TreeListModel;

  // Bookkeeping used by the model. insertChild clamps position to the end
  // and renumbers the later siblings; takeChild does the reverse. Both keep
  // the visible counts of this item and its expanded ancestors right.
  TreeListItem* insertChild(int position, std::unique_ptr<TreeListItem> item);
  std::unique_ptr<TreeListItem> takeChild(int index);
  void setExpanded(bool expanded);
  // Adds delta to this item's count and carries it up while the items it
  // passes are expanded (a collapsed item hides the change from its parent).
  void addVisible(int delta);
  // Recomputes the counts of the whole subtree bottom-up, for bulk changes.
  int recountVisible();

  TreeListItem* parent_ = nullptr;
  const int kind_;
  const bool leaf_;
  bool expanded_ = false;
  int index_ = -1;
  int visible_ = 0;
  std::vector<std::unique_ptr<TreeListItem>> children_;
};

}  // namespace treelist
