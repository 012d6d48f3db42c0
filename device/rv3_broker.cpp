#include "device/rv3_broker.h"

#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "common/debug_log.h"
#include "platform/cost_meter.h"

namespace device {

CRv3Broker::~CRv3Broker() { closeSource(); }

void CRv3Broker::closeSource() { m_source.reset(); }

void CRv3Broker::endStream() {
  closeSource();
  m_streaming = false;
  m_readAhead.Recycle(std::move(m_whole));
  m_whole = {};
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
  m_readAhead.Forget();
}

void CRv3Broker::Expect(const sys::Path& source) {
  KVXFringeLockGuard hold(m_lock);
  m_readAhead.Expect(source);
}

void CRv3Broker::ForgetExpected() {
  KVXFringeLockGuard hold(m_lock);
  m_readAhead.Forget();
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

  OpenedSource opened;
  if (!m_readAhead.Take(source, opened)) opened = OpenSource(source, m_readAhead.Buffer());
  if (!opened.opened) return hr::kFail;
  if (opened.found == AudioSearch::kRejected) {
    DebugLog("\nCRv3Broker::Init: no MPEG audio found in '%s'", sys::AnsiFromPath(source).c_str());
    return hr::kFail;  // the opening lets its file go
  }
  m_source = std::move(opened.file);
  m_whole = std::move(opened.whole);
  m_audio = opened.audio;
  m_fileSize = opened.fileSize;
  if (m_audio.size > kMaxAudioBytes || m_fileSize < m_audio.offset + m_audio.size ||
      (m_source && !sys::SeekStdioFile(m_source.get(), m_audio.offset, SEEK_SET))) {
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
  const uint8_t* bytes = nullptr;
  if (!m_source) {
    bytes = m_whole.data() + static_cast<size_t>(m_audio.offset + (m_audio.size - m_remaining));
  } else {
    if (!m_chunk) m_chunk.reset(new (std::nothrow) uint8_t[kChunkBytes]);
    if (!m_chunk) {
      DebugLog("\nCoTaskMemAlloc(%d)", static_cast<int>(size));
      return hr::kOutOfMemory;
    }
    if (std::fread(m_chunk.get(), 1, size, m_source.get()) != size) {
      DebugLog("\nCRv3Broker::NextChunk: the source ended early");
      return hr::kFail;
    }
    bytes = m_chunk.get();
  }
  const HRESULT walked = m_scanner.scanChunk(bytes, size);
  if (hr::Failed(walked)) return walked;
  m_remaining -= size;
  chunk.bytes = bytes;
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
