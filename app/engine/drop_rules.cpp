#include "app/engine/drop_rules.h"

#include <string>

#include "platform/codepage.h"

namespace app::engine {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

}  // namespace

std::u16string ExtensionOf(const std::u16string& name) {
  size_t start = 0;
  for (size_t i = name.size(); i > 0; --i) {
    if (IsSeparator(name[i - 1])) {
      start = i;
      break;
    }
  }
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string::npos || dot < start) return {};
  return name.substr(dot);
}

bool IsDroppedMp3Name(const std::u16string& name) {
  std::u16string ext = ExtensionOf(name);
  for (auto& c : ext) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return ext == u".mp3";
}

bool IsFolderMp3Name(const std::u16string& name) {
  const std::u16string ext = ExtensionOf(name).substr(0, 4);
  return ext == u".mp3" || ext == u".MP3";
}

std::u16string FolderAlbumName(const std::u16string& parentAlbum, const std::u16string& folderName) {
  if (parentAlbum.empty()) return folderName;
  return parentAlbum + u" " + folderName;
}

std::u16string LastPathComponent(const std::u16string& path) {
  size_t end = path.size();
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  size_t start = end;
  while (start > 0 && !IsSeparator(path[start - 1])) --start;
  return path.substr(start, end - start);
}

std::u16string OutOfSpaceText(const std::u16string& before, size_t count, CountSeparator separator,
                              const std::u16string& after) {
  const std::u16string number = sys::Utf16FromUtf8(std::to_string(count));
  if (separator == CountSeparator::kFolder) return before + u" " + number + u" " + after;
  return before + number + after;
}

}  // namespace app::engine
