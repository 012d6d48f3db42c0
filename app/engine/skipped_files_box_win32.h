// The box at the end of a drop that skipped some files: message 17153 with
// the skipped files named below it (caption 4096, OK).
#pragma once

#include <windows.h>

#include "app/engine/refusal_list.h"

namespace app::engine {

void ShowSkippedFiles(HWND owner, const RefusalList& refusals);

}  // namespace app::engine
