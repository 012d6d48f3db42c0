// A RowSink that keeps the rows in a vector, as the list view would, so
// that tests can check the rows stay in step with the tree.
#pragma once

#include <string>
#include <vector>

#include "treelist/tree_list_model.h"

namespace treelisttest {

class MirrorRows : public treelist::RowSink {
 public:
  void insertRows(int firstRow, const std::vector<treelist::TreeListItem*>& items) override;
  void deleteRows(int firstRow, int count) override;
  void updateRow(int row, treelist::TreeListItem* item) override;
  void refreshAll() override { ++refreshes; }
  void resetRows(const std::vector<treelist::TreeListItem*>& items) override;
  void beginBulk() override { ++bulkDepth; }
  void endBulk() override { --bulkDepth; }

  std::vector<treelist::TreeListItem*> rows;
  int inserts = 0;  // insertRows calls
  int deletes = 0;  // deleteRows calls
  int updates = 0;  // updateRow calls
  int refreshes = 0;
  int resets = 0;
  int bulkDepth = 0;
  // Set when a call named rows outside the mirror or an item out of step.
  std::string fault;
};

}  // namespace treelisttest
