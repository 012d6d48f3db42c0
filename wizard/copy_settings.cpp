#include "wizard/copy_settings.h"

#include "wizard/copy_entry.h"

namespace wizard {

std::string WithTrailingBackslash(std::string text) {
  if (text.empty() || text.back() != '\\') text.push_back('\\');
  return text;
}

std::string FileNameKey(int index) { return "FileName" + std::to_string(index); }

std::vector<std::string> ParseDeviceSection(const std::string& buffer, size_t returned) {
  std::vector<std::string> values;
  if (returned == kDeviceSectionChars - 2) return values;
  const std::string used = buffer.substr(0, std::min(returned, buffer.size()));
  size_t start = 0;
  while (start < used.size()) {
    size_t end = used.find('\0', start);
    if (end == std::string::npos) end = used.size();
    const std::string line = used.substr(start, end - start);
    start = end + 1;
    const size_t equals = line.find('=');
    if (equals == std::string::npos || equals + 1 >= line.size()) continue;
    std::string value = line.substr(equals + 1);
    if (!value.empty() && value.front() == '"') value.erase(0, 1);
    if (!value.empty() && value.back() == '"') value.pop_back();
    if (!value.empty()) values.push_back(std::move(value));
  }
  return values;
}

HRESULT LoadCopySettings(ProfileReader& copyFile, const std::string& programFolder,
                         const std::function<bool(const std::string&)>& fileExists, CopySettings& out) {
  out = CopySettings{};
  out.programFolder = programFolder;
  const int count = copyFile.readInt(kCopySection, "FileNum", kDefaultFileCount);
  if (count > kMaxFileCount) return hr::kFail;
  for (int i = 1; i <= count; ++i)
    out.files.push_back(copyFile.readText(kCopySection, FileNameKey(i), "", kCopyValueChars));
  out.path = WithTrailingBackslash(copyFile.readText(kCopySection, "PATH", "", kCopyValueChars));

  size_t returned = 0;
  const std::string section = copyFile.readSection(kDeviceSection, kDeviceSectionChars, returned);
  out.deviceValues = ParseDeviceSection(section, returned);

  for (const std::string& line : out.files) {
    if (line.empty()) return hr::kFail;
    // A line without a source name (",name") would name the program folder
    // itself, which exists, and then copy nothing: refuse it here.
    const CopyEntry entry = ParseCopyEntry(line);
    if (entry.source.empty() || !fileExists(programFolder + entry.source)) return hr::kFail;
  }
  return hr::kOk;
}

}  // namespace wizard
