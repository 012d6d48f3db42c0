// A file opened for reading by its wide path, closed by the destructor. Reads
// are positional, so the analyser's steps (header, tail, frame scan) each
// say where they read and no step depends on where the last one stopped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "platform/system.h"

namespace mp3 {

class CFileReader {
 public:
  CFileReader() = default;
  CFileReader(const CFileReader&) = delete;
  CFileReader& operator=(const CFileReader&) = delete;

  // Opens an existing file for reading, others still allowed to read it.
  // False when it cannot be opened.
  bool open(const sys::Path& path);
  bool isOpen() const { return m_file != nullptr; }
  void close() { m_file.reset(); }

  // Size of the open file; false when the system cannot tell.
  bool size(uint64_t& out) const;

  // Reads up to count bytes starting at offset and answers how many arrived:
  // fewer than count at the end of the file, 0 past it or on a read error.
  size_t readAt(uint64_t offset, void* buffer, size_t count) const;

 private:
  sys::UniqueStdioFile m_file;
};

}  // namespace mp3
