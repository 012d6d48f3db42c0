#include "container/tag_file_ops.h"

#include <climits>

#include "container/temp_name.h"

namespace container {

sys::Path TagFileOps::tempFolder() { return sys::TempFolder(); }

bool TagFileOps::makeTempName(const sys::Path& folder, sys::Path& out) {
  return MakeTempFileName(folder, out);
}

bool TagFileOps::freeSpace(const sys::Path& path, uint64_t& out) {
  return sys::FreeSpaceForCaller(path, out);
}

bool TagFileOps::fileSize(const sys::Path& path, uint64_t& out) { return sys::GetFileSize(path, out); }

bool TagFileOps::exists(const sys::Path& path) { return sys::FileExists(path); }

bool TagFileOps::isDirectory(const sys::Path& path) { return sys::IsDirectory(path); }

bool TagFileOps::readOnly(const sys::Path& path, bool& out) { return sys::GetReadOnly(path, out); }

std::FILE* TagFileOps::open(const sys::Path& path, const char* mode) {
  return sys::OpenStdioFile(path, mode);
}

bool TagFileOps::read(std::FILE* file, void* buffer, size_t size, size_t& got) {
  got = std::fread(buffer, 1, size, file);
  return got == size || !std::ferror(file);
}

size_t TagFileOps::write(std::FILE* file, const void* data, size_t size) {
  return std::fwrite(data, 1, size, file);
}

bool TagFileOps::seek(std::FILE* file, uint64_t offset) {
  // Offsets here are tag lengths, far below the 2 GiB a long holds on
  // every system.
  if (offset > static_cast<uint64_t>(LONG_MAX)) return false;
  return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0;
}

bool TagFileOps::close(std::FILE* file) { return std::fclose(file) == 0; }

bool TagFileOps::copyFile(const sys::Path& from, const sys::Path& to) {
  return sys::CopyFileTo(from, to, true);
}

bool TagFileOps::deleteFile(const sys::Path& path) { return sys::DeleteFileAt(path); }

TagFileOps& DefaultTagFileOps() {
  static TagFileOps ops;
  return ops;
}

}  // namespace container
