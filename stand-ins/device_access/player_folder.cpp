#include "stand-ins/device_access/player_folder.h"

#include "platform/codepage.h"

namespace standin {

namespace {
sys::Path Anchor(const sys::Path& libraryFolder, const sys::Path& p) {
  return p.is_absolute() ? p : libraryFolder / p;
}
}  // namespace

sys::Path ResolvePlayerFolder(const sys::Path& libraryFolder, const std::u16string& environmentValue,
                              const std::string& settingsValue) {
  if (!environmentValue.empty()) return Anchor(libraryFolder, sys::Path(environmentValue));
  if (!settingsValue.empty()) return Anchor(libraryFolder, sys::Path(sys::Utf16FromUtf8(settingsValue)));
  return libraryFolder / kDefaultPlayerFolderName;
}

}  // namespace standin
