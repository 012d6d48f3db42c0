// Files and folders named on the track manager's command line, to be
// transferred as if they had been dropped on the list. Portable, so the
// selection rules are tested everywhere; app/command_line_drop.h does the
// dropping.
#pragma once

#include <vector>

#include "platform/system.h"

namespace app {

// The arguments that name an existing file or folder, made absolute (a
// relative name counts from the current folder, as a shell would mean it),
// in their order and without repeats. Options (arguments starting with '/'
// or '-' that name nothing) and names of things that do not exist are left
// out and logged, so a plain start or a stray word changes nothing.
std::vector<sys::Path> CommandLineDropPaths(const std::vector<sys::Path>& arguments);

}  // namespace app
