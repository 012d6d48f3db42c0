// A data object that offers a list of files as CF_HDROP, the way the
// desktop offers dragged files. The track manager hands one to its drop
// target for the files named on its command line; the test probe passes
// one to DoDragDrop.
#pragma once

#include <objidl.h>
#include <windows.h>

#include <string>
#include <vector>

namespace app {

// A new data object holding the paths (reference count 1; the caller
// releases it). Null when the paths do not fit into memory.
IDataObject* CreateHdropDataObject(const std::vector<std::wstring>& paths);

// The DROPFILES block for the paths (wide names, each ending in a zero,
// the list ending in a second zero), in movable global memory. Null on
// failure; the caller (or the receiver of the medium) frees it.
HGLOBAL MakeDropFilesBlock(const std::vector<std::wstring>& paths);

}  // namespace app
