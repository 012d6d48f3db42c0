// A window message registered by name, so that threads and programs agree on
// its number without sharing a header. Meant for objects of static storage:
// the number is fixed when the object is constructed, before main runs.
#pragma once

#include <windows.h>

namespace winui {

class RegisteredMessage {
 public:
  explicit RegisteredMessage(const wchar_t* name);

  // The message number (0xC000 to 0xFFFF), or 0 when registration failed.
  UINT id() const { return id_; }
  const wchar_t* name() const { return name_; }
  // True for a message of this kind; never true when registration failed.
  bool is(UINT message) const { return id_ != 0 && message == id_; }

 private:
  const wchar_t* name_;
  UINT id_;
};

}  // namespace winui
