// The album name that "OneFolderCreated" carries in its wParam. The drop
// thread posts the message and goes on, so the name must outlive the call:
// the poster makes a heap copy, the main window's handler takes it over and
// frees it, and a post that fails frees it at once. The copy is in the ANSI
// code page, as the tree list shows names; the drop thread has already put
// the album, under its UTF-16 name, into the album vector, so the handler's
// AppendIfMissing(eid, ...) for it changes nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace app::engine {

// A heap copy of a narrow (ANSI code page) name for wParam.
char* NewPostedAlbumName(const std::string& name);
// Frees a name made by NewPostedAlbumName; null is allowed.
void FreePostedAlbumName(char* name);

// The handler's owner of the name in wParam (null wParam: no name).
class PostedAlbumName {
 public:
  explicit PostedAlbumName(WPARAM wParam) : name_(reinterpret_cast<char*>(wParam)) {}
  ~PostedAlbumName() { FreePostedAlbumName(name_); }
  PostedAlbumName(const PostedAlbumName&) = delete;
  PostedAlbumName& operator=(const PostedAlbumName&) = delete;

  bool has() const { return name_ != nullptr; }
  // Empty when there is no name.
  std::string text() const { return name_ ? std::string(name_) : std::string(); }

 private:
  char* name_;
};

// Posts "OneFolderCreated" to `window`: wParam a new copy of `name` in the
// ANSI code page (0 when name is null), lParam the EID (or -2 / -3). False,
// with the copy freed, when the post failed.
bool PostOneFolderCreated(HWND window, const std::u16string* name, int64_t eid);

}  // namespace app::engine
