#include "app/single_instance.h"

#include <windows.h>

namespace app {

CSingleInstance::CSingleInstance(std::string eventName) : eventName_(std::move(eventName)) {}

bool CSingleInstance::acquire() {
  HANDLE event = ::CreateEventA(nullptr, FALSE, TRUE, eventName_.c_str());
  const DWORD error = ::GetLastError();
  event_.reset(event);
  if (event && error != ERROR_ALREADY_EXISTS) return true;
  // Existing (or not creatable, as when another user's instance made it
  // with rights we lack): this process is not the first.
  event_.reset();
  return false;
}

}  // namespace app
