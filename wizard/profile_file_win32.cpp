#include "wizard/profile_file_win32.h"

#include <windows.h>

#include <vector>

namespace wizard {

std::string ProfileFile::readText(const std::string& section, const std::string& key,
                                  const std::string& fallback, size_t limit) {
  if (m_sPath.empty() || limit == 0) return fallback.substr(0, limit ? limit - 1 : 0);
  // A few characters of room beyond the limit, as the callers' buffers have.
  std::vector<char> buffer(limit + 4, '\0');
  const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                             static_cast<DWORD>(limit), m_sPath.c_str());
  return std::string(buffer.data(), n);
}

int ProfileFile::readInt(const std::string& section, const std::string& key, int fallback) {
  if (m_sPath.empty()) return fallback;
  return static_cast<int>(::GetPrivateProfileIntA(section.c_str(), key.c_str(), fallback, m_sPath.c_str()));
}

std::string ProfileFile::readSection(const std::string& section, size_t bufferChars, size_t& returned) {
  returned = 0;
  if (m_sPath.empty() || bufferChars < 2) return std::string(2, '\0');
  std::vector<char> buffer(bufferChars, '\0');
  returned = ::GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(bufferChars),
                                         m_sPath.c_str());
  return std::string(buffer.data(), bufferChars);
}

}  // namespace wizard
