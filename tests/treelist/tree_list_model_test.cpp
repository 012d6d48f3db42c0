// Tree bookkeeping and the rows it reports: positions in the parent,
// visible-descendant counts, row of an item and item of a row, and
// expanding and collapsing as row ranges.
#include "treelist/tree_list_model.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/treelist/mirror_rows.h"

namespace {

using treelist::TreeListItem;
using treelist::TreeListModel;
using treelisttest::MirrorRows;

std::unique_ptr<TreeListItem> Node() { return std::make_unique<TreeListItem>(1, false); }
std::unique_ptr<TreeListItem> Leaf() { return std::make_unique<TreeListItem>(1, true); }

class TreeListModelTest : public ::testing::Test {
 protected:
  // Rows as seen through the mirror, checked against the tree each time.
  void expectInStep() {
    EXPECT_EQ(rows.fault, "");
    EXPECT_EQ(rows.bulkDepth, 0);
    ASSERT_EQ(rows.rows, model.shownItems());
    for (int r = 0; r < model.rowCount(); ++r) {
      EXPECT_EQ(model.itemAt(r), rows.rows[static_cast<size_t>(r)]);
      EXPECT_EQ(model.rowOf(rows.rows[static_cast<size_t>(r)]), r);
    }
  }

  MirrorRows rows;
  TreeListModel model{rows};
};

TEST_F(TreeListModelTest, InsertKeepsSiblingIndexesAndAppendsOutOfRangePositions) {
  TreeListItem* a = model.insert(nullptr, -1, Node());
  TreeListItem* c = model.insert(nullptr, 7, Node());
  TreeListItem* b = model.insert(nullptr, 1, Node());
  TreeListItem* first = model.insert(nullptr, 0, Node());
  ASSERT_TRUE(a && b && c && first);
  EXPECT_EQ(first->indexInParent(), 0);
  EXPECT_EQ(a->indexInParent(), 1);
  EXPECT_EQ(b->indexInParent(), 2);
  EXPECT_EQ(c->indexInParent(), 3);
  EXPECT_EQ(model.rowCount(), 4);
  EXPECT_EQ(rows.inserts, 4);
  expectInStep();

  ASSERT_TRUE(model.remove(a));
  EXPECT_EQ(b->indexInParent(), 1);
  EXPECT_EQ(c->indexInParent(), 2);
  expectInStep();
}

TEST_F(TreeListModelTest, LeafRefusesChildrenAndForeignItemsAreIgnored) {
  TreeListItem* leaf = model.insert(nullptr, -1, Leaf());
  EXPECT_EQ(model.insert(leaf, -1, Leaf()), nullptr);
  EXPECT_EQ(leaf->childCount(), 0);

  MirrorRows otherRows;
  TreeListModel other(otherRows);
  TreeListItem* foreign = other.insert(nullptr, -1, Node());
  EXPECT_EQ(model.insert(foreign, -1, Leaf()), nullptr);
  EXPECT_FALSE(model.remove(foreign));
  EXPECT_FALSE(model.expand(foreign));
  EXPECT_EQ(model.rowOf(foreign), -1);
  EXPECT_FALSE(model.remove(&model.root()));
  EXPECT_EQ(model.itemAt(-1), nullptr);
  EXPECT_EQ(model.itemAt(1), nullptr);
  EXPECT_EQ(model.rowOf(nullptr), -1);
  expectInStep();
}

TEST_F(TreeListModelTest, InsertingIntoCollapsedParentOpensItUnlessAskedNotTo) {
  TreeListItem* a = model.insert(nullptr, -1, Node());
  TreeListItem* b = model.insert(nullptr, -1, Node());
  model.insert(a, -1, Leaf());
  EXPECT_TRUE(a->isExpanded());
  EXPECT_EQ(model.rowCount(), 3);

  TreeListItem* hidden = model.insert(b, -1, Leaf(), TreeListModel::ParentExpansion::kKeepCollapsed);
  EXPECT_FALSE(b->isExpanded());
  EXPECT_EQ(model.rowOf(hidden), -1);
  EXPECT_EQ(b->visibleDescendants(), 1);
  EXPECT_EQ(model.rowCount(), 3);
  expectInStep();
}

TEST_F(TreeListModelTest, ExpandAndCollapseInsertAndDeleteTheChildRowsBelowTheItem) {
  // a (open: a1, a2), b (closed: b1, b2, b3), c
  TreeListItem* a = model.insert(nullptr, -1, Node());
  TreeListItem* b = model.insert(nullptr, -1, Node());
  TreeListItem* c = model.insert(nullptr, -1, Node());
  model.insert(a, -1, Leaf());
  model.insert(a, -1, Leaf());
  for (int i = 0; i < 3; ++i) model.insert(b, -1, Leaf(), TreeListModel::ParentExpansion::kKeepCollapsed);
  EXPECT_EQ(model.rowOf(c), 4);

  int insertsBefore = rows.inserts;
  ASSERT_TRUE(model.expand(b));
  EXPECT_EQ(rows.inserts, insertsBefore + 1);  // one range, not one call per row
  EXPECT_EQ(model.rowOf(b), 3);
  EXPECT_EQ(model.rowOf(b->child(0)), 4);
  EXPECT_EQ(model.rowOf(b->child(2)), 6);
  EXPECT_EQ(model.rowOf(c), 7);
  EXPECT_EQ(model.root().visibleDescendants(), 8);
  EXPECT_FALSE(model.expand(b));
  expectInStep();

  int deletesBefore = rows.deletes;
  ASSERT_TRUE(model.collapse(a));
  EXPECT_EQ(rows.deletes, deletesBefore + 1);
  EXPECT_EQ(model.rowOf(b), 1);
  EXPECT_EQ(model.rowOf(a->child(0)), -1);
  EXPECT_EQ(a->visibleDescendants(), 2);  // kept while closed
  EXPECT_EQ(model.rowCount(), 6);
  expectInStep();

  EXPECT_FALSE(model.expand(a->child(0)));  // a leaf has nothing to show
  EXPECT_FALSE(model.collapse(c));
}

TEST_F(TreeListModelTest, NestedCountsFollowChangesBelowClosedAndOpenAncestors) {
  TreeListItem* top = model.insert(nullptr, -1, Node());
  TreeListItem* mid = model.insert(top, -1, Node());
  model.insert(mid, -1, Leaf());
  model.insert(mid, -1, Leaf());
  EXPECT_EQ(model.rowCount(), 4);
  ASSERT_TRUE(model.collapse(top));
  // A change under a closed item reaches its count but not the rows.
  model.insert(mid, -1, Leaf());
  EXPECT_EQ(mid->visibleDescendants(), 3);
  EXPECT_EQ(top->visibleDescendants(), 4);
  EXPECT_EQ(model.rowCount(), 1);
  ASSERT_TRUE(model.expand(top));
  EXPECT_EQ(model.rowCount(), 5);
  ASSERT_TRUE(model.collapse(mid));
  EXPECT_EQ(top->visibleDescendants(), 1);
  EXPECT_EQ(model.rowCount(), 2);
  expectInStep();
}

TEST_F(TreeListModelTest, RemovingTheLastChildClosesTheParent) {
  TreeListItem* a = model.insert(nullptr, -1, Node());
  TreeListItem* only = model.insert(a, -1, Leaf());
  ASSERT_TRUE(a->isExpanded());
  int updatesBefore = rows.updates;
  ASSERT_TRUE(model.remove(only));
  EXPECT_FALSE(a->isExpanded());
  EXPECT_EQ(rows.updates, updatesBefore + 1);
  EXPECT_EQ(model.rowCount(), 1);
  expectInStep();
}

TEST_F(TreeListModelTest, QuietChangesRefillTheRowsOnceAtTheEnd) {
  TreeListItem* a = model.insert(nullptr, -1, Node());
  for (int i = 0; i < 5; ++i) model.insert(a, -1, Leaf());
  int insertsBefore = rows.inserts;
  int deletesBefore = rows.deletes;
  {
    TreeListModel::QuietChanges quiet(model);
    model.remove(a->child(1));
    model.remove(a->child(1));
    model.insert(nullptr, 0, Node());
    EXPECT_EQ(rows.resets, 0);
  }
  EXPECT_EQ(rows.resets, 1);
  EXPECT_EQ(rows.inserts, insertsBefore);
  EXPECT_EQ(rows.deletes, deletesBefore);
  EXPECT_EQ(model.rowCount(), 5);
  expectInStep();
}

TEST_F(TreeListModelTest, SetExpandedWhereAndAppendAllWorkInOnePass) {
  std::vector<std::unique_ptr<TreeListItem>> batch;
  for (int i = 0; i < 3; ++i) {
    auto node = Node();
    for (int j = 0; j < 4; ++j)
      TreeListModel::Adopt(*node, -1, Leaf(), TreeListModel::ParentExpansion::kKeepCollapsed);
    batch.push_back(std::move(node));
  }
  int insertsBefore = rows.inserts;
  ASSERT_TRUE(model.appendAll(nullptr, std::move(batch)));
  EXPECT_EQ(rows.inserts, insertsBefore + 1);
  EXPECT_EQ(model.rowCount(), 3);

  model.setExpandedWhere([](const TreeListItem&) { return true; }, true);
  EXPECT_EQ(model.rowCount(), 15);
  EXPECT_EQ(model.rowOf(model.root().child(2)), 10);
  expectInStep();

  // Appending under an open item puts the rows after its last child's row.
  std::vector<std::unique_ptr<TreeListItem>> more;
  more.push_back(Leaf());
  more.push_back(Leaf());
  ASSERT_TRUE(model.appendAll(model.root().child(0), std::move(more)));
  EXPECT_EQ(model.rowOf(model.root().child(0)->child(5)), 6);
  expectInStep();

  model.setExpandedWhere([](const TreeListItem& item) { return item.indexInParent() != 1; }, false);
  EXPECT_EQ(model.rowCount(), 7);
  expectInStep();

  EXPECT_FALSE(model.appendAll(model.root().child(0)->child(0), {}));
}

TEST_F(TreeListModelTest, RowsOfLaterItemsFollowChangesInsideEarlierOnes) {
  // Rows of later top-level items are remembered; every change before them
  // must move them.
  std::vector<TreeListItem*> tops;
  for (int i = 0; i < 6; ++i) tops.push_back(model.insert(nullptr, -1, Node()));
  EXPECT_EQ(model.rowOf(tops[5]), 5);
  model.insert(tops[1], -1, Leaf());
  EXPECT_EQ(model.rowOf(tops[5]), 6);
  model.collapse(tops[1]);
  EXPECT_EQ(model.rowOf(tops[5]), 5);
  model.expand(tops[1]);
  model.insert(tops[1], 0, Leaf());
  EXPECT_EQ(model.rowOf(tops[2]), 4);
  model.remove(tops[0]);
  EXPECT_EQ(model.rowOf(tops[2]), 3);
  EXPECT_EQ(model.itemAt(3), tops[2]);
  model.insert(nullptr, 0, Node());
  EXPECT_EQ(model.rowOf(tops[5]), 7);
  expectInStep();
}

}  // namespace
