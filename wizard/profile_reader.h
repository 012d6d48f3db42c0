// What the wizard asks of its settings files: the three questions the
// Windows profile functions answer. The Win32 reader goes to the system;
// tests answer from a table, so every rule built on top of this runs on
// any machine.
#pragma once

#include <cstddef>
#include <string>

namespace wizard {

class ProfileReader {
 public:
  virtual ~ProfileReader() = default;

  // The value of key in section, at most limit - 1 characters (the profile
  // functions cut longer values); fallback when the key is missing.
  virtual std::string readText(const std::string& section, const std::string& key,
                               const std::string& fallback, size_t limit) = 0;
  // The value as a decimal integer; fallback when the key is missing.
  virtual int readInt(const std::string& section, const std::string& key, int fallback) = 0;
  // The section as "key=value\0key=value\0\0" in a buffer of bufferChars
  // characters. returned is what the profile function reports: the
  // characters copied without the final zero, or bufferChars - 2 when the
  // buffer was too small.
  virtual std::string readSection(const std::string& section, size_t bufferChars, size_t& returned) = 0;
};

}  // namespace wizard
