#include "treelist/control_rules.h"

#include <algorithm>

namespace treelist {

TreeListMove MoveModeAt(int pointY, int rowTop, int rowHeight) {
  // "More than a tenth below the top", kept in integers: 10 * d > h.
  return 10 * (pointY - rowTop) > rowHeight ? tlMove_Lower : tlMove_Upper;
}

AutoScroll AutoScrollFor(int pointY, int rowsTop, int rowsBottom, int topRow, int rowsPerPage, int rowCount) {
  if (pointY < rowsTop) return topRow > 0 ? AutoScroll::kUp : AutoScroll::kNone;
  if (pointY >= rowsBottom) return topRow + rowsPerPage < rowCount ? AutoScroll::kDown : AutoScroll::kNone;
  return AutoScroll::kNone;
}

SelectionRepair RepairSelection(SelectionKind kindBefore, int firstRowBefore, bool control, bool shift,
                                SelectedRow clicked, const std::vector<SelectedRow>& selectedAfter) {
  SelectionRepair repair;
  if (kindBefore == SelectionKind::kNothing || clicked.row < 0) return repair;
  const bool wantLeaf = kindBefore == SelectionKind::kLeaf;
  if (control) {
    if (clicked.leaf != wantLeaf) {
      repair.refuse = true;
      repair.rowsToDeselect.push_back(clicked.row);
    }
    return repair;
  }
  if (!shift) return repair;  // a plain click starts a new selection
  if (clicked.leaf != wantLeaf) {
    // The range reaches into the other kind: keep the row selected before.
    repair.refuse = true;
    for (const SelectedRow& s : selectedAfter)
      if (s.row != firstRowBefore) repair.rowsToDeselect.push_back(s.row);
  } else {
    // The range between two rows of one kind may hold rows of the other.
    for (const SelectedRow& s : selectedAfter)
      if (s.leaf != wantLeaf) repair.rowsToDeselect.push_back(s.row);
    repair.refuse = !repair.rowsToDeselect.empty();
  }
  std::sort(repair.rowsToDeselect.begin(), repair.rowsToDeselect.end());
  return repair;
}

ColumnSizing NextColumnSizing(const std::vector<int>& widths, std::vector<bool>& widened, int visibleWidth) {
  widened.resize(widths.size(), false);
  for (size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] <= kNarrowColumnWidth && !widened[i]) {
      // The flag stops a column that cannot be widened from being tried on
      // every paint: it is tried every other paint at most.
      widened[i] = true;
      return {ColumnSizing::kWiden, static_cast<int>(i), kWidenedColumnWidth};
    }
    widened[i] = false;
  }
  if (widths.size() < 2) return {};
  int others = 0;
  for (size_t i = 0; i + 1 < widths.size(); ++i) others += widths[i];
  if (others + kNarrowColumnWidth >= visibleWidth) return {};
  int rest = visibleWidth - others;
  if (rest == widths.back()) return {};
  return {ColumnSizing::kStretchLast, static_cast<int>(widths.size() - 1), rest};
}

bool IsCellCutOff(int columnWidth, int textWidth, int dragHeight, int column, bool albumRow) {
  int needed = textWidth + 2 * dragHeight;
  if (column == 0) needed += albumRow ? 16 : 32;
  return columnWidth < needed;
}

bool MayTypeCharacter(uint32_t code, int textLength, int selectionLength) {
  if (code < 48) return true;  // control keys, space and punctuation below '0'
  return textLength - selectionLength < kEditMaxChars;
}

}  // namespace treelist
