// The start-up step that takes the exclusion lock: register the locker name,
// take the local and then the global locks for "Pellmark", and when another
// program holds either, give up that scope and say who holds it.
#pragma once

#include <string>

#include "app/lock_set.h"

namespace app {

struct ExclusionOutcome {
  bool lockedOut = false;
  // The box text when locked out: the holders' names and the message
  // (app/lock_names.h for the layout of each scope).
  std::wstring text;
};

// lockedOutMessage is message 18434, the text that follows the names.
ExclusionOutcome TakeExclusionLock(ILockSet& locks, const std::wstring& lockedOutMessage);

// A holder's name as published (ANSI code page) in the program's wide text.
std::wstring HolderNameText(const char* holder);

}  // namespace app
