#include "app/engine/posted_album_name.h"

#include <cstring>
#include <new>

#include "app/registered_messages.h"
#include "platform/codepage.h"

namespace app::engine {

char* NewPostedAlbumName(const std::string& name) {
  char* copy = new (std::nothrow) char[name.size() + 1];
  if (!copy) return nullptr;
  std::memcpy(copy, name.c_str(), name.size() + 1);
  return copy;
}

void FreePostedAlbumName(char* name) { delete[] name; }

bool PostOneFolderCreated(HWND window, const std::u16string* name, int64_t eid) {
  char* copy = nullptr;
  if (name) {
    std::string narrow;
    if (!sys::FromUtf16(sys::kAnsiCodePage, *name, narrow, sys::kNoLimit, '?')) narrow.clear();
    copy = NewPostedAlbumName(narrow);
    if (!copy) return false;
  }
  if (!::PostMessageW(window, messages::kOneFolderCreated.id(), reinterpret_cast<WPARAM>(copy),
                      static_cast<LPARAM>(eid))) {
    FreePostedAlbumName(copy);
    return false;
  }
  return true;
}

}  // namespace app::engine
