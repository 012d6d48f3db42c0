// The tree-list control's registered window messages. They are registered
// by name, so their numbers are whatever the system returns; registering
// them again returns the same numbers.
#pragma once

#include <windows.h>

namespace treelist {

// Posted by the in-place editor to the control. wParam 1 commits, 0
// cancels; lParam 0, or 255 after Up and 1 after Down.
UINT CloseEditLabelMessage();
// Sent by the control to its parent after the user changed a cell: wParam
// row (low 16 bits) and column (high 16 bits), lParam the new text (a
// narrow string of at most 255 bytes).
UINT ChangeLabelMessage();
// Sent by the control to its parent before a command runs: wParam the
// control's identifier, lParam the command (100 for the Delete key).
// Non-zero means the command may run.
UINT PopupMenuMessage();

// Registers all three; the program calls it once at start-up.
void RegisterTreeListMessages();

constexpr LPARAM kCloseAfterUp = 255;
constexpr LPARAM kCloseAfterDown = 1;
constexpr LPARAM kDeleteCommand = 100;

}  // namespace treelist
