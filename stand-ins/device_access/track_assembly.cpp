#include "stand-ins/device_access/track_assembly.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "stand-ins/device_access/standin_results.h"

namespace standin {

namespace {

bool Seek(std::FILE* f, uint64_t offset, int whence) {
#if defined(_WIN32)
  return _fseeki64(f, static_cast<long long>(offset), whence) == 0;
#else
  return fseeko(f, static_cast<off_t>(offset), whence) == 0;
#endif
}

uint64_t Tell(std::FILE* f) {
#if defined(_WIN32)
  return static_cast<uint64_t>(_ftelli64(f));
#else
  return static_cast<uint64_t>(ftello(f));
#endif
}

bool IsHeaderBlock(const std::array<uint8_t, TrackAssembly::kBlockLength>& b) {
  return b[0] == 'k' && b[1] == 'v' && b[2] == 'x' && b[3] == 0x02 && b[5] == TrackAssembly::kBlockLength;
}

}  // namespace

TrackAssembly::~TrackAssembly() { close(); }

void TrackAssembly::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

void TrackAssembly::begin(const sys::Path& path, uint64_t total) {
  close();
  path_ = path;
  total_ = total;
  received_ = 0;
  tagLength_ = 0;
  opening_.fill(0);
  closing_.fill(0);
}

HRESULT TrackAssembly::openFile() {
  // The tag editor created the file with the tag; without one the track
  // starts with the header block.
  file_ = sys::OpenStdioFile(path_, "r+b");
  if (!file_ && !sys::FileExists(path_)) file_ = sys::OpenStdioFile(path_, "w+b");
  if (!file_) return kWriteFault;
  // Chunks arrive whole (up to 64 KiB); buffering them again only copies.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  if (!Seek(file_, 0, SEEK_END)) return kWriteFault;
  tagLength_ = Tell(file_);
  return hr::kOk;
}

HRESULT TrackAssembly::write(const uint8_t* data, size_t count) {
  if (count > total_ - received_) return kInvalidData;
  if (count == 0) return hr::kOk;
  if (!file_) {
    if (HRESULT h = openFile(); hr::Failed(h)) {
      close();
      return h;
    }
  }
  // The last block's bytes are held back: they go into the first block's
  // place at the end.
  const uint64_t closingStart = total_ - kBlockLength;
  size_t toFile = 0;
  if (received_ < closingStart)
    toFile = static_cast<size_t>(std::min<uint64_t>(count, closingStart - received_));
  if (received_ < kBlockLength) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(count, kBlockLength - received_));
    std::memcpy(opening_.data() + received_, data, n);
  }
  if (toFile && std::fwrite(data, 1, toFile, file_) != toFile) return kWriteFault;
  for (size_t i = toFile; i < count; ++i)
    closing_[static_cast<size_t>(received_ + i - closingStart)] = data[i];
  received_ += count;
  return hr::kOk;
}

HRESULT TrackAssembly::finish(uint64_t& fileBytes) {
  if (received_ != total_ || !file_) return kInvalidData;
  if (!IsHeaderBlock(opening_) || !IsHeaderBlock(closing_)) return kInvalidData;
  if (!Seek(file_, tagLength_, SEEK_SET) ||
      std::fwrite(closing_.data(), 1, kBlockLength, file_) != kBlockLength) {
    return kWriteFault;
  }
  const bool flushed = std::fflush(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) return kWriteFault;
  fileBytes = tagLength_ + total_ - kBlockLength;
  return hr::kOk;
}

void TrackAssembly::discard() {
  close();
  if (!path_.empty()) {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  received_ = 0;
}

}  // namespace standin
