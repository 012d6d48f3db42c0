#include "treelist/tree_list_messages_win32.h"

namespace treelist {

UINT CloseEditLabelMessage() {
  static const UINT id = ::RegisterWindowMessageW(L"KztMsg_TreeListCloseEditLabel");
  return id;
}

UINT ChangeLabelMessage() {
  static const UINT id = ::RegisterWindowMessageW(L"KztMsg_TreeListChangeLabel");
  return id;
}

UINT PopupMenuMessage() {
  static const UINT id = ::RegisterWindowMessageW(L"KztMsg_TreeListPopupMenu");
  return id;
}

void RegisterTreeListMessages() {
  CloseEditLabelMessage();
  ChangeLabelMessage();
  PopupMenuMessage();
}

}  // namespace treelist
