#include "tools/playertool/player_location.h"

#include <cstdlib>
#include <vector>

#include "platform/codepage.h"
#include "stand-ins/device_access/player_folder.h"
#include "stand-ins/device_access/player_settings.h"

namespace playertool {

sys::Path PlayerFolder(const sys::Path& given) {
  if (!given.empty()) return given;
  const sys::Path here = sys::ProgramFolder();
  standin::PlayerSettings settings;
  std::vector<std::string> problems;
  standin::LoadSettingsFile(here / standin::kLibrarySettingsName, settings, problems);
  const char* env = std::getenv(standin::kPlayerEnvironmentVariable);
  return standin::ResolvePlayerFolder(here, env ? sys::Utf16FromUtf8(env) : std::u16string(),
                                      settings.playerFolder);
}

}  // namespace playertool
