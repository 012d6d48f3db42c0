#include "mp3/file_reader.h"

namespace mp3 {

bool CFileReader::open(const sys::Path& path) {
  m_file.reset(sys::OpenStdioFile(path, "rb"));
  if (!m_file) return false;
  // Every read names its own buffer, mostly a large one: a stdio buffer in
  // between would only copy the bytes once more.
  std::setvbuf(m_file.get(), nullptr, _IONBF, 0);
  return true;
}

bool CFileReader::size(uint64_t& out) const {
  if (!m_file || !sys::SeekStdioFile(m_file.get(), 0, SEEK_END)) return false;
  const int64_t end = sys::TellStdioFile(m_file.get());
  if (end < 0) return false;
  out = static_cast<uint64_t>(end);
  return true;
}

size_t CFileReader::readAt(uint64_t offset, void* buffer, size_t count) const {
  if (!m_file || count == 0 || !sys::SeekStdioFile(m_file.get(), offset, SEEK_SET)) return 0;
  const size_t n = std::fread(buffer, 1, count, m_file.get());
  std::clearerr(m_file.get());  // an end-of-file or error mark must not stick to the next read
  return n;
}

}  // namespace mp3
