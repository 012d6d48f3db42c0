// The file operations the tag library's read and rewrite use, behind one
// interface so that tests can make each of them fail in turn. The default
// forwards to the system seam and to C stdio.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/system.h"

namespace container {

class TagFileOps {
 public:
  virtual ~TagFileOps() = default;

  // The system temporary folder; empty when there is none.
  virtual sys::Path tempFolder();
  virtual bool makeTempName(const sys::Path& folder, sys::Path& out);
  // Bytes available to the caller on the volume holding path.
  virtual bool freeSpace(const sys::Path& path, uint64_t& out);
  virtual bool fileSize(const sys::Path& path, uint64_t& out);
  virtual bool exists(const sys::Path& path);
  virtual bool isDirectory(const sys::Path& path);
  virtual bool readOnly(const sys::Path& path, bool& out);

  // Stdio: open with an fopen mode; read reports in got what arrived and
  // returns false on a read error (a short read at the end is no error);
  // close flushes and returns false when the data did not reach the file.
  virtual std::FILE* open(const sys::Path& path, const char* mode);
  virtual bool read(std::FILE* file, void* buffer, size_t size, size_t& got);
  virtual size_t write(std::FILE* file, const void* data, size_t size);
  virtual bool seek(std::FILE* file, uint64_t offset);
  virtual bool close(std::FILE* file);

  // Copies from over to, replacing to.
  virtual bool copyFile(const sys::Path& from, const sys::Path& to);
  virtual bool deleteFile(const sys::Path& path);
};

// The process-wide forwarding instance.
TagFileOps& DefaultTagFileOps();

// Owns a FILE opened through a TagFileOps; closes it when it goes out of
// scope unless it was closed on purpose before.
class TagFileHandle {
 public:
  TagFileHandle(TagFileOps& ops, std::FILE* file) : m_ops(ops), m_file(file) {}
  ~TagFileHandle() {
    if (m_file) m_ops.close(m_file);
  }
  TagFileHandle(const TagFileHandle&) = delete;
  TagFileHandle& operator=(const TagFileHandle&) = delete;

  std::FILE* get() const { return m_file; }
  explicit operator bool() const { return m_file != nullptr; }
  // Closes now; false when the close (the final flush) failed.
  bool close() {
    std::FILE* f = m_file;
    m_file = nullptr;
    return f == nullptr || m_ops.close(f);
  }

 private:
  TagFileOps& m_ops;
  std::FILE* m_file;
};

}  // namespace container
