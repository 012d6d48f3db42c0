#include "treelist/tree_list_model.h"

#include <algorithm>
#include <utility>

namespace treelist {

TreeListModel::TreeListModel(RowSink& sink) : root_(std::make_unique<TreeListItem>(0, false)), sink_(sink) {}

// The view may already be gone when the model goes, so nothing is reported.
TreeListModel::~TreeListModel() = default;

bool TreeListModel::belongsHere(const TreeListItem* item) const {
  if (!item) return false;
  const TreeListItem* top = item;
  while (top->parent()) top = top->parent();
  return top == root_.get();
}

bool TreeListModel::isShown(const TreeListItem* item) const {
  if (!item || item == root_.get()) return false;
  const TreeListItem* p = item->parent();
  for (; p && p != root_.get(); p = p->parent())
    if (!p->isExpanded()) return false;
  return p == root_.get();
}

int TreeListModel::topIndexOf(const TreeListItem* item) const {
  if (!item || item == root_.get()) return -1;
  while (item->parent() && item->parent() != root_.get()) item = item->parent();
  return item->parent() == root_.get() ? item->indexInParent() : -1;
}

void TreeListModel::invalidateRowsFrom(int topIndex) const {
  topRowsValid_ = std::min(topRowsValid_, std::max(topIndex, 0));
}

int TreeListModel::topRow(int index) const {
  if (topRows_.size() < root_->children_.size()) topRows_.resize(root_->children_.size());
  while (topRowsValid_ <= index) {
    int i = topRowsValid_;
    topRows_[static_cast<size_t>(i)] = i == 0 ? 0
                                              : topRows_[static_cast<size_t>(i - 1)] +
                                                    root_->children_[static_cast<size_t>(i - 1)]->rowSpan();
    ++topRowsValid_;
  }
  return topRows_[static_cast<size_t>(index)];
}

int TreeListModel::rowOf(const TreeListItem* item) const {
  if (!isShown(item)) return -1;
  int row = 0;
  const TreeListItem* cur = item;
  for (; cur->parent() != root_.get(); cur = cur->parent()) {
    const TreeListItem* p = cur->parent();
    for (int i = 0; i < cur->indexInParent(); ++i) row += p->children_[static_cast<size_t>(i)]->rowSpan();
    row += 1;  // the parent's own row
  }
  return row + topRow(cur->indexInParent());
}

TreeListItem* TreeListModel::itemAt(int row) const {
  if (row < 0 || row >= rowCount()) return nullptr;
  // The top-level item whose run of rows holds the row.
  int count = root_->childCount();
  topRow(count - 1);
  int top =
      static_cast<int>(std::upper_bound(topRows_.begin(), topRows_.begin() + count, row) - topRows_.begin()) -
      1;
  const TreeListItem* level = root_->children_[static_cast<size_t>(top)].get();
  row -= topRows_[static_cast<size_t>(top)];
  for (;;) {
    if (row == 0) return const_cast<TreeListItem*>(level);
    row -= 1;  // the item's own row; look among its children
    bool descended = false;
    for (const auto& c : level->children_) {
      int span = c->rowSpan();
      if (row < span) {
        level = c.get();
        descended = true;
        break;
      }
      row -= span;
    }
    if (!descended) return nullptr;  // counts out of step; cannot happen
  }
}

void TreeListModel::collectRows(TreeListItem& item, std::vector<TreeListItem*>& out) const {
  out.push_back(&item);
  if (item.isExpanded()) collectChildRows(item, out);
}

void TreeListModel::collectChildRows(const TreeListItem& item, std::vector<TreeListItem*>& out) const {
  for (const auto& c : item.children_) collectRows(*c, out);
}

std::vector<TreeListItem*> TreeListModel::shownItems() const {
  std::vector<TreeListItem*> rows;
  rows.reserve(static_cast<size_t>(rowCount()));
  collectChildRows(*root_, rows);
  return rows;
}

void TreeListModel::rebuildRows() { sink_.get().resetRows(shownItems()); }

TreeListItem* TreeListModel::insert(TreeListItem* parent, int position, std::unique_ptr<TreeListItem> item,
                                    ParentExpansion expansion) {
  if (!item) return nullptr;
  if (!parent) parent = root_.get();
  if (parent->isLeaf() || !belongsHere(parent)) return nullptr;
  BulkChange bulk(sink_);
  if (expansion == ParentExpansion::kExpandFirst && parent != root_.get() && !parent->isExpanded())
    expand(parent);
  TreeListItem* placed = parent->insertChild(position, std::move(item));
  if (parent == root_.get())
    invalidateRowsFrom(placed->indexInParent());
  else
    invalidateAfter(parent);
  if (reporting() && isShown(placed)) {
    std::vector<TreeListItem*> rows;
    collectRows(*placed, rows);
    sink_.get().insertRows(rowOf(placed), rows);
  }
  return placed;
}

std::unique_ptr<TreeListItem> TreeListModel::detach(TreeListItem* item) {
  if (!item || item == root_.get() || !belongsHere(item)) return nullptr;
  BulkChange bulk(sink_);
  int row = reporting() ? rowOf(item) : -1;
  int span = item->rowSpan();
  TreeListItem* parent = item->parent();
  if (parent == root_.get())
    invalidateRowsFrom(item->indexInParent());
  else
    invalidateAfter(parent);
  std::unique_ptr<TreeListItem> owned = parent->takeChild(item->indexInParent());
  if (row >= 0) sink_.get().deleteRows(row, span);
  if (parent != root_.get() && !parent->hasChildren() && parent->isExpanded()) {
    parent->setExpanded(false);
    int parentRow = reporting() ? rowOf(parent) : -1;
    if (parentRow >= 0) sink_.get().updateRow(parentRow, parent);
  }
  return owned;
}

bool TreeListModel::remove(TreeListItem* item) {
  std::unique_ptr<TreeListItem> owned = detach(item);
  if (!owned) return false;
  if (removalObserver_) removalObserver_->itemsRemoving(owned.get());
  owned->release();
  return true;
}

void TreeListModel::clear() {
  if (removalObserver_) removalObserver_->itemsRemoving(nullptr);
  BulkChange bulk(sink_);
  if (reporting() && rowCount() > 0) sink_.get().deleteRows(0, rowCount());
  for (auto& c : root_->children_) c->release();
  root_->children_.clear();
  root_->visible_ = 0;
  invalidateRowsFrom(0);
}

bool TreeListModel::expand(TreeListItem* item) {
  if (!item || item == root_.get() || item->isLeaf() || item->isExpanded() || !belongsHere(item))
    return false;
  BulkChange bulk(sink_);
  item->setExpanded(true);
  invalidateAfter(item);
  int row = reporting() ? rowOf(item) : -1;
  if (row >= 0) {
    std::vector<TreeListItem*> rows;
    collectChildRows(*item, rows);
    if (!rows.empty()) sink_.get().insertRows(row + 1, rows);
    sink_.get().updateRow(row, item);
  }
  return true;
}

bool TreeListModel::collapse(TreeListItem* item) {
  if (!item || item == root_.get() || !item->isExpanded() || !belongsHere(item)) return false;
  BulkChange bulk(sink_);
  int row = reporting() ? rowOf(item) : -1;
  int hidden = item->visibleDescendants();
  item->setExpanded(false);
  invalidateAfter(item);
  if (row >= 0) {
    if (hidden > 0) sink_.get().deleteRows(row + 1, hidden);
    sink_.get().updateRow(row, item);
  }
  return true;
}

bool TreeListModel::markCollapsed(TreeListItem* item) {
  if (!item || item == root_.get() || item->hasChildren() || !item->isExpanded()) return false;
  item->setExpanded(false);
  invalidateAfter(item);
  return true;
}

bool TreeListModel::toggle(TreeListItem* item) {
  if (!item) return false;
  return item->isExpanded() ? collapse(item) : expand(item);
}

void TreeListModel::setExpandedWhere(const std::function<bool(const TreeListItem&)>& pick, bool expanded) {
  forEach([&](TreeListItem& item) {
    if (!item.isLeaf() && pick(item)) item.expanded_ = expanded;
  });
  root_->recountVisible();
  invalidateRowsFrom(0);
  if (reporting()) rebuildRows();
}

TreeListItem* TreeListModel::Adopt(TreeListItem& parent, int position, std::unique_ptr<TreeListItem> item,
                                   ParentExpansion expansion) {
  if (!item || parent.isLeaf()) return nullptr;
  if (expansion == ParentExpansion::kExpandFirst) parent.setExpanded(true);
  return parent.insertChild(position, std::move(item));
}

bool TreeListModel::appendAll(TreeListItem* parent, std::vector<std::unique_ptr<TreeListItem>> items,
                              ParentExpansion expansion) {
  if (!parent) parent = root_.get();
  if (parent->isLeaf() || !belongsHere(parent)) return false;
  if (items.empty()) return true;
  BulkChange bulk(sink_);
  if (expansion == ParentExpansion::kExpandFirst && parent != root_.get() && !parent->isExpanded())
    expand(parent);
  // Every new row goes after the parent's last row, so one row number does.
  int firstRow = -1;
  if (reporting()) {
    if (parent == root_.get())
      firstRow = rowCount();
    else if (parent->isExpanded() && isShown(parent))
      firstRow = rowOf(parent) + 1 + parent->visibleDescendants();
  }
  std::vector<TreeListItem*> rows;
  if (parent == root_.get())
    invalidateRowsFrom(parent->childCount());
  else
    invalidateAfter(parent);
  for (auto& item : items) {
    if (!item) continue;
    TreeListItem* placed = parent->insertChild(-1, std::move(item));
    if (firstRow >= 0) collectRows(*placed, rows);
  }
  if (!rows.empty()) sink_.get().insertRows(firstRow, rows);
  return true;
}

void TreeListModel::forEach(const std::function<void(TreeListItem&)>& fn) {
  // Iterative, parents before children, so deep trees cannot exhaust the stack.
  std::vector<TreeListItem*> pending;
  for (auto it = root_->children_.rbegin(); it != root_->children_.rend(); ++it) pending.push_back(it->get());
  while (!pending.empty()) {
    TreeListItem* item = pending.back();
    pending.pop_back();
    fn(*item);
    for (auto it = item->children_.rbegin(); it != item->children_.rend(); ++it) pending.push_back(it->get());
  }
}

}  // namespace treelist
