#include "wizard/drive_scan_win32.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include "win32/com_ptr.h"
#include "win32/task_memory.h"

namespace wizard {
namespace {

constexpr int kDrivesFolder = 17;          // CSIDL_DRIVES
constexpr DWORD kEnumerateFolders = 0x20;  // SHCONTF_FOLDERS

}  // namespace

std::vector<std::string> DrivesFolderDisplayNames() {
  std::vector<std::string> names;
  LPITEMIDLIST raw = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, kDrivesFolder, &raw)) || raw == nullptr) return names;
  win::TaskMemory<ITEMIDLIST> drivesId(raw);

  win::ComPtr<IShellFolder> desktop;
  if (FAILED(::SHGetDesktopFolder(desktop.put())) || !desktop) return names;
  win::ComPtr<IShellFolder> drives;
  if (FAILED(desktop->BindToObject(drivesId.get(), nullptr, IID_IShellFolder,
                                   reinterpret_cast<void**>(drives.put()))) ||
      !drives)
    return names;
  win::ComPtr<IEnumIDList> items;
  if (drives->EnumObjects(nullptr, kEnumerateFolders, items.put()) != S_OK || !items) return names;

  for (;;) {
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    if (items->Next(1, &item, &fetched) != S_OK || fetched != 1 || item == nullptr) break;
    win::TaskMemory<ITEMIDLIST> owned(item);
    STRRET name{};
    if (FAILED(drives->GetDisplayNameOf(owned.get(), SHGDN_NORMAL, &name))) continue;
    // StrRetToBufA converts a wide name to the ANSI code page and frees the
    // shell's copy of it.
    char text[MAX_PATH] = {};
    if (FAILED(::StrRetToBufA(&name, owned.get(), text, sizeof(text)))) continue;
    names.emplace_back(text);
  }
  return names;
}

std::vector<DriveChoice> FindPlayers(devcmd::DeviceSystem& system, const SetDriveNoFn& setDriveNo) {
  const std::optional<int> osKind = system.OsKind();
  if (!osKind) return {};
  return ScanDrives(
      DrivesFolderDisplayNames(), *osKind,
      [&](const std::string& root) { return system.GetDriveTypeA(root.c_str()); },
      [&](char letter) { return IsPlayer(letter, system, setDriveNo); });
}

}  // namespace wizard
