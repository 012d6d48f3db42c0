// The copy list and the target folder of one delivery, read from section
// COPY and DEVICE of "Deckhand.ini" in the program folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/hresult.h"
#include "wizard/profile_reader.h"

namespace wizard {

constexpr char kCopySection[] = "COPY";
constexpr char kDeviceSection[] = "DEVICE";
constexpr int kDefaultFileCount = 2;
// The longest copy list a settings file may give; a larger FileNum is
// refused before any line is read, so a damaged file cannot make the
// wizard read keys for hours.
constexpr int kMaxFileCount = 4096;
// Buffers of the profile reads: a file line or PATH, the DEVICE section.
constexpr size_t kCopyValueChars = 256;
constexpr size_t kDeviceSectionChars = 4096;

struct CopySettings {
  std::string programFolder;              // ends with a backslash
  std::vector<std::string> files;         // one CopyEntry text each, in file order, empty ones included
  std::string path;                       // folder below the drive root, ends with a backslash
  std::vector<std::string> deviceValues;  // collected, consulted by nothing
};

std::string WithTrailingBackslash(std::string text);

// "FileName" followed by index in decimal.
std::string FileNameKey(int index);

// The values of a DEVICE section as GetPrivateProfileSectionA left them in
// a buffer of kDeviceSectionChars: for each "key=value" line the text after
// the first "=", one leading and one trailing double quote taken off, empty
// values dropped. A section that did not fit (returned is the buffer size
// minus 2) is ignored as a whole.
std::vector<std::string> ParseDeviceSection(const std::string& buffer, size_t returned);

// Reads the copy settings. fileExists answers for a full path. Fails with
// kFail (out still filled as far as it was read) when FileNum is above
// kMaxFileCount, a line is empty or its source file is not in the program
// folder.
HRESULT LoadCopySettings(ProfileReader& copyFile, const std::string& programFolder,
                         const std::function<bool(const std::string&)>& fileExists, CopySettings& out);

}  // namespace wizard
