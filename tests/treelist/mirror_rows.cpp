#include "tests/treelist/mirror_rows.h"

namespace treelisttest {

void MirrorRows::insertRows(int firstRow, const std::vector<treelist::TreeListItem*>& items) {
  ++inserts;
  if (firstRow < 0 || firstRow > static_cast<int>(rows.size())) {
    fault = "insert at " + std::to_string(firstRow) + " of " + std::to_string(rows.size());
    return;
  }
  rows.insert(rows.begin() + firstRow, items.begin(), items.end());
}

void MirrorRows::deleteRows(int firstRow, int count) {
  ++deletes;
  if (firstRow < 0 || count < 0 || firstRow + count > static_cast<int>(rows.size())) {
    fault = "delete " + std::to_string(count) + " at " + std::to_string(firstRow) + " of " +
            std::to_string(rows.size());
    return;
  }
  rows.erase(rows.begin() + firstRow, rows.begin() + firstRow + count);
}

void MirrorRows::updateRow(int row, treelist::TreeListItem* item) {
  ++updates;
  if (row < 0 || row >= static_cast<int>(rows.size()) || rows[static_cast<size_t>(row)] != item)
    fault = "update of row " + std::to_string(row) + " out of step";
}

void MirrorRows::resetRows(const std::vector<treelist::TreeListItem*>& items) {
  ++resets;
  rows = items;
}

}  // namespace treelisttest
