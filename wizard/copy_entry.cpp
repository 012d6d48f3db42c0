#include "wizard/copy_entry.h"

#include <cstdlib>

#include "devcmd/os_kind.h"

namespace wizard {

CopyEntry ParseCopyEntry(std::string_view text) {
  std::string_view fields[3];
  size_t count = 0;
  size_t start = 0;
  while (count < 3) {
    const size_t comma = text.find(',', start);
    fields[count++] =
        text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  CopyEntry entry;
  entry.source = std::string(fields[0]);
  entry.target = fields[1].empty() ? entry.source : std::string(fields[1]);
  // Decimal, read as the C library reads a number: leading blanks skipped,
  // digits up to the first other character, 0 when there are none.
  if (count == 3) entry.filter = std::atoi(std::string(fields[2]).c_str());
  return entry;
}

std::optional<int> SystemValueFor(int osKind) {
  if (osKind == osrights::kOsWindows98 || osKind == osrights::kOsWindowsMe) return kFilterWindows9x;
  if (osKind == osrights::kOsWindowsNt4) return std::nullopt;
  return kFilterNtFamily;
}

bool IsPassedOver(const CopyEntry& entry, std::optional<int> systemValue) {
  if (entry.filter != kFilterWindows9x && entry.filter != kFilterNtFamily) return false;
  return !systemValue || *systemValue != entry.filter;
}

}  // namespace wizard
