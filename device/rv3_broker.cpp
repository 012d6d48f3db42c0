#include "device/rv3_broker.h"

#include <cstring>
#include <new>
#include <vector>

#include "common/debug_log.h"
#include "container/mapped_view.h"
#include "platform/cost_meter.h"

namespace device {

namespace {

// Files up to this size are read whole to find their audio rather than
// mapped: for a short file the mapping's trips to the system cost more
// than reading it, and the read goes through the opening the chunks come
// from anyway.
constexpr uint64_t kWholeReadLimit = 256 * 1024;

// The whole of an open file no longer than kWholeReadLimit; false when it
// is longer or cannot be read.
bool ReadWholeShortFile(std::FILE* f, std::vector<uint8_t>& out) {
  if (!sys::SeekStdioFile(f, 0, SEEK_END)) return false;
  const int64_t end = sys::TellStdioFile(f);
  if (end < 0 || static_cast<uint64_t>(end) > kWholeReadLimit || !sys::SeekStdioFile(f, 0, SEEK_SET)) return false;
  try {
    out.resize(static_cast<size_t>(end));
  } catch (const std::bad_alloc&) {
    return false;  // the mapping needs no buffer
  }
  return std::fread(out.data(), 1, out.size(), f) == out.size();
}

}  // namespace

CRv3Broker::~CRv3Broker() { closeSource(); }

void CRv3Broker::closeSource() {
  if (m_source) std::fclose(m_source);
  m_source = nullptr;
}

void CRv3Broker::endStream() {
  closeSource();
  m_streaming = false;
  m_whole.clear();
  m_whole.shrink_to_fit();
}

void CRv3Broker::reset() {
  endStream();
  m_audio = AudioLocation{};
  m_remaining = 0;
  m_fileSize = 0;
  m_header.reset();
  m_scanner.reset();
}

void CRv3Broker::Reset() {
  KVXFringeLockGuard hold(m_lock);
  reset();
}

HRESULT CRv3Broker::Init(const sys::Path& source, uint32_t* audioSize,
                         container::HeaderBlockBytes* openingHeader, uint32_t* headerLength) {
  costs::Scope meter(costs::Area::kSourceReads);
  KVXFringeLockGuard hold(m_lock);
  if (!audioSize || !openingHeader || !headerLength) return hr::kPointer;
  *audioSize = 0;
  openingHeader->fill(0);
  *headerLength = 0;
  if (source.empty()) return hr::kInvalidArg;
  reset();
  m_scanner.setSourcePath(sys::AnsiFromPath(source));

  m_source = sys::OpenStdioFile(source, "rb");
  if (!m_source) return hr::kFail;
  // Chunks are read whole into their own buffers; stdio's buffer would
  // only copy them once more.
  std::setvbuf(m_source, nullptr, _IONBF, 0);

  AudioSearch found;
  uint64_t fileSize = 0;  // as read or mapped: asking the file system again would tell the same
  if (ReadWholeShortFile(m_source, m_whole)) {
    fileSize = m_whole.size();
    found = LocateAudio(m_whole.data(), m_whole.size(), m_audio);
    closeSource();  // everything needed is in memory: the user's file is let go now
  } else {
    m_whole.clear();
    try {
      container::CMappedView view(source, false, 0, 0);
      fileSize = view.length();
      found = LocateAudio(view.data(), view.length(), m_audio);
    } catch (...) {
      // An empty file cannot be mapped: it holds no audio.
      uint64_t size = 0;
      if (!sys::GetFileSize(source, size) || size != 0) {
        closeSource();
        return hr::kFail;
      }
      found = AudioSearch::kNoAudio;
    }
  }
  if (found == AudioSearch::kRejected) {
    DebugLog("\nCRv3Broker::Init: no MPEG audio found in '%s'", sys::AnsiFromPath(source).c_str());
    endStream();
    return hr::kFail;
  }
  m_fileSize = fileSize;
  if (m_audio.size > kMaxAudioBytes || m_fileSize < m_audio.offset + m_audio.size ||
      (m_source && !sys::SeekStdioFile(m_source, m_audio.offset, SEEK_SET))) {
    endStream();
    return hr::kFail;
  }
  m_streaming = true;
  m_remaining = static_cast<uint32_t>(m_audio.size);
  *audioSize = m_remaining;
  *openingHeader = m_header.bytes();
  *headerLength = kHeaderLength;
  return hr::kOk;
}

HRESULT CRv3Broker::NextChunk(AudioChunk& chunk) {
  costs::Scope meter(costs::Area::kSourceReads);
  KVXFringeLockGuard hold(m_lock);
  chunk = AudioChunk{};
  if (!m_streaming) return hr::kUnexpected;
  if (m_remaining == 0) return hr::kOk;
  // A remainder of up to 64 KiB goes out whole.
  const uint32_t size = m_remaining < kChunkBytes ? m_remaining : kChunkBytes;
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size]);
  if (!bytes) {
    DebugLog("\nCoTaskMemAlloc(%d)", static_cast<int>(size));
    return hr::kOutOfMemory;
  }
  if (!m_source) {
    const size_t at = static_cast<size_t>(m_audio.offset + (m_audio.size - m_remaining));
    std::memcpy(bytes.get(), m_whole.data() + at, size);
  } else if (std::fread(bytes.get(), 1, size, m_source) != size) {
    DebugLog("\nCRv3Broker::NextChunk: the source ended early");
    return hr::kFail;
  }
  const HRESULT walked = m_scanner.scanChunk(bytes.get(), size);
  if (hr::Failed(walked)) return walked;
  m_remaining -= size;
  chunk.bytes = std::move(bytes);
  chunk.size = size;
  return walked;
}

HRESULT CRv3Broker::CloseHeader(container::HeaderBlockBytes* closingHeader, uint32_t* headerLength) {
  costs::Scope meter(costs::Area::kSourceReads);
  KVXFringeLockGuard hold(m_lock);
  if (!closingHeader || !headerLength) return hr::kPointer;
  if (!m_streaming || m_remaining != 0) return hr::kUnexpected;
  if (HRESULT h = m_header.complete(m_scanner.frame()); hr::Failed(h)) return h;
  *closingHeader = m_header.bytes();
  *headerLength = kHeaderLength;
  endStream();
  return hr::kOk;
}

}  // namespace device
