// File operations for the tag library that fail on request, one step at a
// time, and count what the rewrite did. Everything not made to fail goes to
// the real file system.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "container/tag_file_ops.h"

namespace testsupport {

class FaultyTagFileOps : public container::TagFileOps {
 public:
  enum class Fault {
    kNone,
    kNoTempFolder,       // the system names none
    kTempFolderMissing,  // it names a folder that does not exist
    kNoTempName,
    kTempPathTooLong,
    kTempFreeSpace,    // the temporary drive is too full
    kTargetFreeSpace,  // the target's drive is too full
    kFreeSpaceUnknown,
    kTempNotCreatable,  // and no other new file can be created either
    kShortWrite,        // on the temporary file
    kTempFlushFails,
    kTargetReadFails,  // while its content is copied
    kTargetNotOpenable,
    kCopyRefused,
    kAttributesUnreadable,
    kInPlaceShortWrite,
  };

  FaultyTagFileOps(sys::Path tempFolder, Fault fault) : m_temp(std::move(tempFolder)), m_fault(fault) {}

  int copies = 0;  // copies over the target
  int tempFilesCreated = 0;
  uint64_t tempFreeBytes = 1ull << 40;
  uint64_t targetFreeBytes = 1ull << 40;

  sys::Path tempFolder() override {
    if (m_fault == Fault::kNoTempFolder) return {};
    if (m_fault == Fault::kTempFolderMissing || m_fault == Fault::kTempNotCreatable)
      return m_temp / "gone" / "";
    return m_temp;
  }
  bool makeTempName(const sys::Path& folder, sys::Path& out) override {
    if (m_fault == Fault::kNoTempName) return false;
    if (!TagFileOps::makeTempName(folder, out)) return false;
    if (m_fault == Fault::kTempPathTooLong) out = folder / std::string(300, 'n');
    return true;
  }
  bool freeSpace(const sys::Path& path, uint64_t& out) override {
    if (m_fault == Fault::kFreeSpaceUnknown) return false;
    out = InTemp(path) ? (m_fault == Fault::kTempFreeSpace ? 10 : tempFreeBytes)
                       : (m_fault == Fault::kTargetFreeSpace ? 10 : targetFreeBytes);
    return true;
  }
  bool readOnly(const sys::Path& path, bool& out) override {
    if (m_fault == Fault::kAttributesUnreadable) return false;
    return TagFileOps::readOnly(path, out);
  }
  std::FILE* open(const sys::Path& path, const char* mode) override {
    const bool creating = std::string(mode).rfind("wb", 0) == 0;  // "wb" or "wbx"
    if (creating && m_fault == Fault::kTempNotCreatable) return nullptr;
    if (!creating && !InTemp(path) && m_fault == Fault::kTargetNotOpenable) return nullptr;
    std::FILE* f = TagFileOps::open(path, mode);
    if (f) m_roles[f] = creating ? Role::kTemp : std::string(mode) == "rb" ? Role::kSource : Role::kInPlace;
    if (f && creating) ++tempFilesCreated;
    return f;
  }
  bool read(std::FILE* file, void* buffer, size_t size, size_t& got) override {
    if (m_fault == Fault::kTargetReadFails && m_roles[file] == Role::kSource && ++m_sourceReads > 1) {
      got = 0;
      return false;
    }
    return TagFileOps::read(file, buffer, size, got);
  }
  size_t write(std::FILE* file, const void* data, size_t size) override {
    if (m_fault == Fault::kShortWrite && m_roles[file] == Role::kTemp && size > 1) return size / 2;
    if (m_fault == Fault::kInPlaceShortWrite && m_roles[file] == Role::kInPlace) return 0;
    return TagFileOps::write(file, data, size);
  }
  bool close(std::FILE* file) override {
    const Role role = m_roles[file];
    m_roles.erase(file);
    const bool closed = TagFileOps::close(file);
    return closed && !(m_fault == Fault::kTempFlushFails && role == Role::kTemp);
  }
  bool copyFile(const sys::Path& from, const sys::Path& to) override {
    ++copies;
    if (m_fault == Fault::kCopyRefused) return false;
    return TagFileOps::copyFile(from, to);
  }

 private:
  enum class Role { kUnknown, kTemp, kSource, kInPlace };

  bool InTemp(const sys::Path& path) const {
    auto folderForm = [](const sys::Path& x) {
      std::string s = x.lexically_normal().generic_string();
      return s.empty() || s.back() != '/' ? s + "/" : s;
    };
    const std::string p = folderForm(path);
    const std::string t = folderForm(m_temp);
    return p.compare(0, t.size(), t) == 0;
  }

  sys::Path m_temp;
  Fault m_fault;
  std::map<std::FILE*, Role> m_roles;
  int m_sourceReads = 0;
};

}  // namespace testsupport
