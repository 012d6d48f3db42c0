// A settings file read through the Windows profile functions.
#pragma once

#include <string>

#include "wizard/profile_reader.h"

namespace wizard {

class ProfileFile final : public ProfileReader {
 public:
  // An empty path stands for a file that could not be located: every read
  // gives its fallback (the profile functions would otherwise look for a
  // bare name in the Windows folder).
  explicit ProfileFile(std::string path) : m_sPath(std::move(path)) {}

  std::string readText(const std::string& section, const std::string& key, const std::string& fallback,
                       size_t limit) override;
  int readInt(const std::string& section, const std::string& key, int fallback) override;
  std::string readSection(const std::string& section, size_t bufferChars, size_t& returned) override;

  const std::string& path() const { return m_sPath; }

 private:
  std::string m_sPath;
};

}  // namespace wizard
