// Where the simulated player keeps its state. The environment variable
// PELLMARK_PLAYER wins (tests give every case its own player); else the
// "player" key of the settings file beside the library; else the folder
// "Player" beside the library, so that a program started from the player's
// drive finds the player that lives there. A relative folder is taken
// relative to the library's folder.
#pragma once

#include <string>

#include "platform/system.h"

namespace standin {

constexpr const char* kPlayerEnvironmentVariable = "PELLMARK_PLAYER";
constexpr const char* kLibrarySettingsName = "OrlenPACAPI.ini";
constexpr const char* kDefaultPlayerFolderName = "Player";
constexpr const char* kPlayerSettingsName = "settings.ini";
constexpr const char* kPlayerLogName = "OrlenPACAPI.log";

// environmentValue: the variable's value (empty when unset); settingsValue:
// the settings file's "player" value (empty when none).
sys::Path ResolvePlayerFolder(const sys::Path& libraryFolder, const std::u16string& environmentValue,
                              const std::string& settingsValue);

}  // namespace standin
