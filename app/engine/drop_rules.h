// The plain decisions of collecting a drop: which names count as MP3 files,
// what album a folder's tracks go to, and the out-of-space report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace app::engine {

// Most albums the player holds; a dropped folder is refused at this count.
constexpr size_t kMaxAlbums = 4096;

// The extension of a name: from its last "." after the last path separator,
// empty when there is none.
std::u16string ExtensionOf(const std::u16string& name);

// A dropped file: its extension, in lower case, is exactly ".mp3".
bool IsDroppedMp3Name(const std::u16string& name);
// A file inside a dropped folder: the first four characters of its
// extension are exactly ".mp3" or ".MP3" (so "x.mp3x" passes, "x.Mp3" not).
bool IsFolderMp3Name(const std::u16string& name);

// The album of a folder's tracks: "parent name" or, for a dropped folder
// (empty parent), the folder's own name.
std::u16string FolderAlbumName(const std::u16string& parentAlbum, const std::u16string& folderName);

// The last component of a path ("C:\a\b" and "C:\a\b\" give "b").
std::u16string LastPathComponent(const std::u16string& path);

// How the out-of-space count is written: "%d" after a dropped file, " %d "
// after a folder.
enum class CountSeparator { kFile, kFolder };

// before + count + after, the count written as the separator says.
std::u16string OutOfSpaceText(const std::u16string& before, size_t count, CountSeparator separator,
                              const std::u16string& after);

// True when a file of `size` bytes no longer fits after `total` bytes.
inline bool ExceedsFreeSpace(int64_t freeBytes, uint64_t total, uint64_t size) {
  if (freeBytes < 0) return true;
  const uint64_t free = static_cast<uint64_t>(freeBytes);
  return size > free || total > free - size;
}

}  // namespace app::engine
