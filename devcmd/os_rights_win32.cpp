#include <windows.h>

#include <cstring>
#include <memory>

#include "devcmd/os_rights.h"
#include "win32/unique_handle.h"

namespace osrights {

std::optional<VersionRecord> ReadVersionRecord() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  // GetVersionExA on purpose: the classification is defined by what it
  // reports, including the compatibility version a system shows to
  // programs without a manifest.
  const BOOL ok = ::GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  if (!ok) return std::nullopt;
  return VersionRecord{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

namespace {

SecurityId TakeApart(PSID sid) {
  SecurityId out;
  out.revision = static_cast<const SID*>(sid)->Revision;
  const SID_IDENTIFIER_AUTHORITY* authority = ::GetSidIdentifierAuthority(sid);
  std::memcpy(out.authority.data(), authority->Value, out.authority.size());
  const UCHAR count = *::GetSidSubAuthorityCount(sid);
  for (UCHAR i = 0; i < count; ++i) out.subAuthorities.push_back(*::GetSidSubAuthority(sid, i));
  return out;
}

}  // namespace

std::optional<std::vector<TokenGroup>> ReadTokenGroups() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return std::nullopt;
  win::UniqueHandle token(raw);

  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
  if (size == 0 || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
  // TOKEN_GROUPS holds pointers, so the buffer must be aligned for them.
  auto buffer = std::make_unique<uint64_t[]>(size / sizeof(uint64_t) + 1);
  if (!::GetTokenInformation(token.get(), TokenGroups, buffer.get(), size, &size)) return std::nullopt;

  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.get());
  std::vector<TokenGroup> out;
  out.reserve(groups->GroupCount);
  for (DWORD i = 0; i < groups->GroupCount; ++i) {
    const SID_AND_ATTRIBUTES& g = groups->Groups[i];
    if (g.Sid == nullptr || !::IsValidSid(g.Sid)) continue;
    out.push_back(TokenGroup{TakeApart(g.Sid), g.Attributes});
  }
  return out;
}

}  // namespace osrights
