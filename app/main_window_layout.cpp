#include "app/main_window_layout.h"

#include <algorithm>

namespace app {

namespace {

constexpr int kListLeft = 10;
constexpr int kListTop = 15;
constexpr int kListHorizontalMargin = 20;
// Room below the list for the buttons, the line, the status line.
constexpr int kListVerticalMargin = 70;
// The list's border and scroll bar take this much of its width before the
// five columns share the rest.
constexpr int kColumnSlack = 24;
constexpr int kButtonsAboveStatus = 11;
constexpr int kSeparatorAboveStatus = 6;
constexpr int kHintRightMargin = 6;
constexpr int kBottomMargin = 2;

}  // namespace

MainWindowLayout ComputeMainWindowLayout(const InitialLayout& initial, int width, int height) {
  MainWindowLayout out;
  out.list = {kListLeft, kListTop, std::max(0, width - kListHorizontalMargin),
              std::max(0, height - kListVerticalMargin)};

  const int columnSpace = std::max(0, width - kColumnSlack);
  const int column = columnSpace / 5;
  for (int i = 0; i < 4; ++i) out.columnWidths[i] = column;
  // The last column takes what the division left over.
  out.columnWidths[4] = columnSpace - 4 * column;

  out.status = initial.status;
  out.status.top = height - kBottomMargin - initial.status.height;

  out.hint = initial.hint;
  out.hint.left = width - kHintRightMargin - initial.hint.width;
  out.hint.top = height - kBottomMargin - initial.hint.height;

  out.separator = {0, out.status.top - kSeparatorAboveStatus, width, initial.separator.height};

  const int buttonBottom = out.status.top - kButtonsAboveStatus;
  out.erase = initial.erase;
  out.erase.top = buttonBottom - initial.erase.height;
  // Exit keeps the same distance from the right edge as Erase keeps from
  // the left one.
  out.exit = initial.exit;
  out.exit.left = width - initial.erase.left - initial.exit.width;
  out.exit.top = buttonBottom - initial.exit.height;
  out.eraseAll = initial.eraseAll;
  out.eraseAll.left = (width - initial.eraseAll.width) / 2;
  out.eraseAll.top = buttonBottom - initial.eraseAll.height;
  return out;
}

}  // namespace app
