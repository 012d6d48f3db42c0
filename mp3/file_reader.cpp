#include "mp3/file_reader.h"

namespace mp3 {

namespace {

bool SeekTo(std::FILE* f, uint64_t offset, int origin) {
  if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
#if defined(_WIN32)
  return ::_fseeki64(f, static_cast<int64_t>(offset), origin) == 0;
#else
  return ::fseeko(f, static_cast<off_t>(offset), origin) == 0;
#endif
}

int64_t Tell(std::FILE* f) {
#if defined(_WIN32)
  return ::_ftelli64(f);
#else
  return ::ftello(f);
#endif
}

}  // namespace

bool CFileReader::open(const sys::Path& path) {
  m_file.reset(sys::OpenStdioFile(path, "rb"));
  if (!m_file) return false;
  // Every read names its own buffer, mostly a large one: a stdio buffer in
  // between would only copy the bytes once more.
  std::setvbuf(m_file.get(), nullptr, _IONBF, 0);
  return true;
}

bool CFileReader::size(uint64_t& out) const {
  if (!m_file || !SeekTo(m_file.get(), 0, SEEK_END)) return false;
  const int64_t end = Tell(m_file.get());
  if (end < 0) return false;
  out = static_cast<uint64_t>(end);
  return true;
}

size_t CFileReader::readAt(uint64_t offset, void* buffer, size_t count) const {
  if (!m_file || count == 0 || !SeekTo(m_file.get(), offset, SEEK_SET)) return 0;
  const size_t n = std::fread(buffer, 1, count, m_file.get());
  std::clearerr(m_file.get());  // an end-of-file or error mark must not stick to the next read
  return n;
}

}  // namespace mp3
