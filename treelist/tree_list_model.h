// The tree behind the tree list and the rows it shows. Only items whose
// ancestors are all expanded have rows; rows run in tree order (an item,
// then its children's rows when it is expanded). Every change to the tree
// that adds, removes or alters rows is reported to a RowSink, which the
// Win32 control turns into list-view rows and tests mirror in a vector.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "treelist/tree_list_item.h"

namespace treelist {

class RowSink {
 public:
  virtual ~RowSink() = default;
  // Rows for these items now stand at firstRow, firstRow + 1, ...
  virtual void insertRows(int firstRow, const std::vector<TreeListItem*>& items) = 0;
  virtual void deleteRows(int firstRow, int count) = 0;
  // The row's item changed how it looks (expanded state, texts).
  virtual void updateRow(int row, TreeListItem* item) = 0;
  // Every row may have changed its texts; the number of rows did not.
  virtual void refreshAll() = 0;
  // Drops every row and shows these instead, for changes too wide to
  // report row by row.
  virtual void resetRows(const std::vector<TreeListItem*>& items) = 0;
  // Brackets a run of changes: the control stops redrawing in between.
  // Nested brackets count; redrawing resumes at the outermost end.
  virtual void beginBulk() {}
  virtual void endBulk() {}
};

// A sink that drops everything, for a model used without a view.
class NullRowSink : public RowSink {
 public:
  void insertRows(int, const std::vector<TreeListItem*>&) override {}
  void deleteRows(int, int) override {}
  void updateRow(int, TreeListItem*) override {}
  void refreshAll() override {}
  void resetRows(const std::vector<TreeListItem*>&) override {}
};

// Holds a RowSink bracket open for one scope.
class BulkChange {
 public:
  explicit BulkChange(RowSink& sink) : sink_(sink) { sink_.beginBulk(); }
  ~BulkChange() { sink_.endBulk(); }
  BulkChange(const BulkChange&) = delete;
  BulkChange& operator=(const BulkChange&) = delete;

 private:
  RowSink& sink_;
};

// Told before items leave the tree for good, so that whoever keeps
// pointers into it lets go of them first.
class RemovalObserver {
 public:
  virtual ~RemovalObserver() = default;
  // top and its whole subtree are about to be destroyed; null: every item
  // below the root is.
  virtual void itemsRemoving(const TreeListItem* top) = 0;
};

class TreeListModel {
 public:
  explicit TreeListModel(RowSink& sink);
  ~TreeListModel();
  TreeListModel(const TreeListModel&) = delete;
  TreeListModel& operator=(const TreeListModel&) = delete;

  TreeListItem& root() { return *root_; }
  const TreeListItem& root() const { return *root_; }
  RowSink& sink() { return sink_; }
  void setSink(RowSink& sink) { sink_ = std::ref(sink); }

  enum class ParentExpansion { kExpandFirst, kKeepCollapsed };

  // Inserts item under parent (null: the root) at position (below 0 or past
  // the end: appended). A leaf parent refuses: null is returned and the
  // item is destroyed. A collapsed parent other than the root is expanded
  // first unless asked not to; the new item's rows appear only when its
  // parent shows rows.
  TreeListItem* insert(TreeListItem* parent, int position, std::unique_ptr<TreeListItem> item,
                       ParentExpansion expansion = ParentExpansion::kExpandFirst);
  // Takes item (and its subtree) out of the tree and deletes its rows. A
  // parent left without children is marked collapsed. Null for the root or
  // an item of another tree.
  std::unique_ptr<TreeListItem> detach(TreeListItem* item);
  // Detaches and destroys item, after letting it release what it holds.
  bool remove(TreeListItem* item);
  // Removes every item below the root.
  void clear();
  // The one observer of remove() and clear() (null: none). Moving items
  // (detach, then insert) does not destroy them and is not reported.
  void setRemovalObserver(RemovalObserver* observer) { removalObserver_ = observer; }
  RemovalObserver* removalObserver() const { return removalObserver_; }

  // Shows or hides the children's rows directly below the item's row.
  // False (nothing changed) for a leaf, the root or an item already in
  // that state. Expanding an item without children only marks it.
  bool expand(TreeListItem* item);
  bool collapse(TreeListItem* item);
  // Marks an item without children collapsed without reporting its row
  // (its look changes; the caller refreshes the rows).
  bool markCollapsed(TreeListItem* item);
  bool toggle(TreeListItem* item);
  // Sets the expanded state of every non-leaf item below the root for which
  // pick answers true, then rebuilds the rows in one pass: linear in the
  // size of the tree however many items change.
  void setExpandedWhere(const std::function<bool(const TreeListItem&)>& pick, bool expanded);

  // Number of rows (the root has none).
  int rowCount() const { return root_->visibleDescendants(); }
  // True when every ancestor shows its children, so the item has a row.
  bool isShown(const TreeListItem* item) const;
  // Row of a shown item, -1 for the root, null, a hidden item or an item of
  // another tree. The rows of the root's children are cached, so this
  // walks only the item's own siblings below its top-level ancestor.
  int rowOf(const TreeListItem* item) const;
  // Item of a row, null outside 0..rowCount()-1.
  TreeListItem* itemAt(int row) const;
  // The items of every row in order, for a full refill of the view.
  std::vector<TreeListItem*> shownItems() const;
  // Asks the sink to drop every row and insert the rows of the whole tree.
  void rebuildRows();

  // Calls fn for every item below the root, parents before children.
  void forEach(const std::function<void(TreeListItem&)>& fn);
  // True when item is in this tree (the root included).
  bool contains(const TreeListItem* item) const { return belongsHere(item); }

  // Adds a child to an item that is in no tree yet, to build a subtree
  // before it is inserted; no rows are involved. Null for a leaf parent.
  static TreeListItem* Adopt(TreeListItem& parent, int position, std::unique_ptr<TreeListItem> item,
                             ParentExpansion expansion);
  // Appends items under parent (null: the root) with one report of their
  // rows. False (nothing inserted) for a leaf parent.
  bool appendAll(TreeListItem* parent, std::vector<std::unique_ptr<TreeListItem>> items,
                 ParentExpansion expansion = ParentExpansion::kExpandFirst);

  // While a QuietChanges lives, changes are not reported row by row; when
  // the last one ends the rows are refilled once. For changes that touch
  // many rows, where one refill is cheaper than many row updates.
  class QuietChanges {
   public:
    explicit QuietChanges(TreeListModel& model) : model_(model) { ++model_.quietDepth_; }
    ~QuietChanges() {
      if (--model_.quietDepth_ == 0) model_.rebuildRows();
    }
    QuietChanges(const QuietChanges&) = delete;
    QuietChanges& operator=(const QuietChanges&) = delete;

   private:
    TreeListModel& model_;
  };

 private:
  bool belongsHere(const TreeListItem* item) const;
  // Items of the rows of item's children (and their shown descendants).
  void collectChildRows(const TreeListItem& item, std::vector<TreeListItem*>& out) const;
  // Items of the rows of item itself and its shown descendants.
  void collectRows(TreeListItem& item, std::vector<TreeListItem*>& out) const;

  bool reporting() const { return quietDepth_ == 0; }
  // Index among the root's children of the item's top-level ancestor (the
  // item itself when it is one); -1 for the root or a foreign item.
  int topIndexOf(const TreeListItem* item) const;
  // The rows of the root's children from this index on are out of date.
  void invalidateRowsFrom(int topIndex) const;
  // Invalidates what a change inside item's subtree (or to its expanded
  // state) moves: the rows of the top-level items after its own.
  void invalidateAfter(const TreeListItem* item) const { invalidateRowsFrom(topIndexOf(item) + 1); }
  // Row of the root's child at index, computed on from the last valid one.
  int topRow(int index) const;

  std::unique_ptr<TreeListItem> root_;
  std::reference_wrapper<RowSink> sink_;
  int quietDepth_ = 0;
  RemovalObserver* removalObserver_ = nullptr;
  // Row of each child of the root, valid below topRowsValid_. Loading,
  // opening and closing touch one album at a time, so the rows after it
  // are recomputed once when next asked, not walked for every row lookup.
  mutable std::vector<int> topRows_;
  mutable int topRowsValid_ = 0;
};

}  // namespace treelist
