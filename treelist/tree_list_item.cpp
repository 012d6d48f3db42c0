#include "treelist/tree_list_item.h"

#include <utility>

namespace treelist {

TreeListItem* TreeListItem::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  return children_[static_cast<size_t>(index)].get();
}

bool TreeListItem::isDescendantOf(const TreeListItem* ancestor) const {
  for (const TreeListItem* p = parent_; p; p = p->parent_)
    if (p == ancestor) return true;
  return false;
}

TreeListItem* TreeListItem::insertChild(int position, std::unique_ptr<TreeListItem> item) {
  if (position < 0 || position > childCount()) position = childCount();
  TreeListItem* placed = item.get();
  placed->parent_ = this;
  children_.insert(children_.begin() + position, std::move(item));
  for (int i = position; i < childCount(); ++i) children_[static_cast<size_t>(i)]->index_ = i;
  addVisible(placed->rowSpan());
  return placed;
}

std::unique_ptr<TreeListItem> TreeListItem::takeChild(int index) {
  if (index < 0 || index >= childCount()) return nullptr;
  std::unique_ptr<TreeListItem> item = std::move(children_[static_cast<size_t>(index)]);
  children_.erase(children_.begin() + index);
  for (int i = index; i < childCount(); ++i) children_[static_cast<size_t>(i)]->index_ = i;
  addVisible(-item->rowSpan());
  item->parent_ = nullptr;
  item->index_ = -1;
  return item;
}

void TreeListItem::setExpanded(bool expanded) {
  if (expanded_ == expanded) return;
  expanded_ = expanded;
  // The item's own count does not change; what its parent sees does.
  if (parent_) parent_->addVisible(expanded ? visible_ : -visible_);
}

void TreeListItem::addVisible(int delta) {
  for (TreeListItem* item = this; item; item = item->parent_) {
    item->visible_ += delta;
    // The root (no parent) always shows its children; any other collapsed
    // item keeps the change to itself.
    if (!item->expanded_ && item->parent_) break;
  }
}

int TreeListItem::recountVisible() {
  int rows = 0;
  for (auto& c : children_) {
    int below = c->recountVisible();
    rows += 1 + (c->expanded_ ? below : 0);
  }
  visible_ = rows;
  return rows;
}

}  // namespace treelist
