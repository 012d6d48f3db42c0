// Files and folders named on the command line, transferred as if the user
// had dropped them on the empty area of the album/track list once the
// first listing is shown. A start without names changes nothing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/engine/mp3_drop_target.h"
#include "platform/system.h"

namespace app {

// The program's arguments (after its own name) as paths.
std::vector<sys::Path> ProgramArguments();

class CCommandLineDrop {
 public:
  explicit CCommandLineDrop(std::vector<sys::Path> paths) : paths_(std::move(paths)) {}

  bool pending() const { return !done_ && !paths_.empty(); }
  // Hands the names to the drop target as one drop at a point of the
  // list's client area that holds no row; runs once. False when nothing
  // was handed over.
  bool Run(engine::CMp3DropTarget& target, HWND list);

 private:
  std::vector<sys::Path> paths_;
  bool done_ = false;
};

}  // namespace app
