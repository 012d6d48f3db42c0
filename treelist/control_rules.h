// Decisions of the tree-list control that need no window: where a dragged
// item goes at a pointer position, when the list scrolls during a drag,
// which selection clicks are refused, which columns are widened and when a
// cell is cut off, and which characters the in-place editor takes.
#pragma once

#include <cstdint>
#include <vector>

#include "treelist/tree_list_types.h"

namespace treelist {

// ---- Dragging -------------------------------------------------------------

// A point more than a tenth of the row height below the row's top edge
// puts the dragged items after the row; the top tenth puts them before it.
TreeListMove MoveModeAt(int pointY, int rowTop, int rowHeight);

enum class AutoScroll { kNone, kUp, kDown };

// The scroll step while the pointer is outside the rows during a drag:
// above them while rows are hidden above, below them while rows are hidden
// below. rowsTop/rowsBottom bound the area that shows rows.
AutoScroll AutoScrollFor(int pointY, int rowsTop, int rowsBottom, int topRow, int rowsPerPage, int rowCount);

// Pause before every scroll step.
constexpr uint32_t kAutoScrollStepMs = 50;

// ---- Selection --------------------------------------------------------------

// What is selected: 0 nothing, 1 a leaf item, 2 a non-leaf item.
enum class SelectionKind : int { kNothing = 0, kLeaf = 1, kNonLeaf = 2 };

struct SelectedRow {
  int row = -1;
  bool leaf = false;
};

struct SelectionRepair {
  bool refuse = false;              // show message 17409
  std::vector<int> rowsToDeselect;  // in ascending order
};

// After the list view has handled a click: albums and tracks are never
// selected together. kindBefore is the kind of the first row selected when
// the button went down (firstRowBefore), clicked the row under the click,
// selectedAfter the selection the list view made of it.
SelectionRepair RepairSelection(SelectionKind kindBefore, int firstRowBefore, bool control, bool shift,
                                SelectedRow clicked, const std::vector<SelectedRow>& selectedAfter);

// ---- Columns ----------------------------------------------------------------

// A column this narrow or narrower is widened back.
constexpr int kNarrowColumnWidth = 50;
constexpr int kWidenedColumnWidth = 51;

struct ColumnSizing {
  enum Action { kNone, kWiden, kStretchLast } action = kNone;
  int column = -1;
  int width = 0;
};

// One step of column sizing, run on every paint. A column of 50 pixels or
// less whose widened flag is clear is widened to 51 and flagged (the other
// columns wait for the next paint); any other column clears its flag. When
// every column passes, the last column takes the rest of the visible width
// if the others leave it more than 50 pixels. widened has one flag per column.
ColumnSizing NextColumnSizing(const std::vector<int>& widths, std::vector<bool>& widened, int visibleWidth);

// A cell's text is cut off when its column is narrower than the text plus
// twice the system's drag height, plus the room of the image in column 0
// (16 pixels on album rows, 32 on track rows).
bool IsCellCutOff(int columnWidth, int textWidth, int dragHeight, int column, bool albumRow);

// ---- In-place editing ----------------------------------------------------------

// Longest text the editor takes, in bytes of stored text and in characters
// typed (a double-byte character counts once).
constexpr int kEditMaxBytes = 126;
constexpr int kEditMaxChars = 62;

// A typed character with code 48 or above is refused once the text would
// still hold 62 characters after the selection it replaces is removed.
bool MayTypeCharacter(uint32_t code, int textLength, int selectionLength);

}  // namespace treelist
