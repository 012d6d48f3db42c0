// One line of the copy list: "source[,target[,filter]]". The source is a
// file in the program folder, the target the name it gets on the player
// (the source's own name when empty), the filter the Windows family the
// file is meant for.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wizard {

// Filter values and the system values they are compared with.
constexpr int kFilterWindows9x = 1;
constexpr int kFilterNtFamily = 2;

struct CopyEntry {
  std::string source;
  std::string target;  // never empty when source is not
  int filter = 0;      // kFilterWindows9x, kFilterNtFamily, anything else: always
};

// Fields split at ","; text after a third "," is ignored.
CopyEntry ParseCopyEntry(std::string_view text);

// The value filters are compared with on a system of this OsKind: 1 on
// Windows 98 and Me, none on NT 4, 2 on every other system.
std::optional<int> SystemValueFor(int osKind);

// True when the entry is meant for another system than systemValue and is
// therefore passed over (yet counted as done).
bool IsPassedOver(const CopyEntry& entry, std::optional<int> systemValue);

}  // namespace wizard
