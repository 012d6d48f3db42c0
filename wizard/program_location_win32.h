// Where the wizard finds its settings: the program's own path and folder.
#pragma once

#include <optional>
#include <string>

namespace wizard {

// The program's module path (up to 1024 characters); empty when it cannot
// be read.
std::string ModulePath();

// The module path with its extension replaced by ".ini": the file of the
// texts, fonts and TARGET. Empty when the module path is.
std::string TextSettingsPath(const std::string& modulePath);

// Makes the program's folder the current directory and returns it as the
// system reads it back, with a trailing backslash; the folder the copy
// sources and "Deckhand.ini" are in. Empty when any step fails.
std::optional<std::string> EnterProgramFolder(const std::string& modulePath);

}  // namespace wizard
