// The RV3 broker: turns one source file into the player's container stream
// for a transfer. Init finds the audio and hands out the opening header
// block; NextChunk hands out the audio in chunks of at most 64 KiB, walking
// the frames as they pass to gather the track's statistics; CloseHeader
// hands out the completed header block. A new Init always starts afresh, so
// an abandoned transfer leaves nothing behind for the next one; Reset lets
// the source go as soon as a transfer is abandoned. Every operation holds
// the broker's own lock. Expect names the sources of coming transfers so
// that they are opened ahead, while the current one is written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "common/hresult.h"
#include "container/frame_scanner.h"
#include "container/fringe_lock.h"
#include "container/header_block.h"
#include "device/audio_locator.h"
#include "device/source_read_ahead.h"
#include "platform/system.h"

namespace device {

// One chunk of audio: the broker's own bytes, valid until its next call.
struct AudioChunk {
  const uint8_t* bytes = nullptr;
  uint32_t size = 0;
};

class CRv3Broker {
 public:
  static constexpr uint32_t kChunkBytes = 65536;
  static constexpr uint32_t kHeaderLength = static_cast<uint32_t>(container::kHeaderBlockSize);
  // Larger audio would not fit the 32-bit counts of the stream.
  static constexpr uint64_t kMaxAudioBytes = 0xFFFFFFFFull - 2 * kHeaderLength;

  CRv3Broker() = default;
  ~CRv3Broker();
  CRv3Broker(const CRv3Broker&) = delete;
  CRv3Broker& operator=(const CRv3Broker&) = delete;

  // Resets, locates the audio of source and opens it positioned there. A
  // short source is read whole and closed at once; its chunks come from
  // memory.
  // E_POINTER for a missing output; E_INVALIDARG for an empty path; E_FAIL
  // when the file cannot be mapped or opened, is rejected, or its audio is
  // too large. A file that holds only tags has 0 bytes of audio.
  HRESULT Init(const sys::Path& source, uint32_t* audioSize, container::HeaderBlockBytes* openingHeader,
               uint32_t* headerLength);
  // The next chunk (at most 64 KiB); an empty chunk with 0 when the audio
  // is used up. A short source's chunks lie in its bytes read whole; a
  // longer one's are read into one buffer, reused from chunk to chunk, so
  // no chunk costs an allocation or a copy. E_UNEXPECTED without a source;
  // E_OUTOFMEMORY when no buffer can be had; E_FAIL when the file ends
  // early; the frame walker's failure.
  HRESULT NextChunk(AudioChunk& chunk);
  // The completed header block; the source is closed. E_UNEXPECTED without
  // a source or while audio remains.
  HRESULT CloseHeader(container::HeaderBlockBytes* closingHeader, uint32_t* headerLength);

  // Forgets the stream and closes the source: a transfer that will not
  // finish lets the user's file go at once. Sources opened ahead go too.
  void Reset();

  // A coming Init will be for source: it is opened ahead from now on.
  void Expect(const sys::Path& source);
  // Lets go of every source opened ahead (a drop ended or stopped).
  void ForgetExpected();

  bool sourceOpen() const { return m_source != nullptr; }
  uint32_t remaining() const { return m_remaining; }
  const AudioLocation& audio() const { return m_audio; }
  const container::CMpegFrame& frame() const { return m_scanner.frame(); }

 private:
  void reset();
  void closeSource();
  void endStream();  // the source closed and its bytes let go

  KVXFringeLock m_lock;
  SourceFile m_source;
  std::vector<uint8_t> m_whole;  // a short source's bytes, when read whole
  std::unique_ptr<uint8_t[]> m_chunk;  // a longer source's current chunk
  bool m_streaming = false;      // from a successful Init to CloseHeader or Reset
  uint64_t m_fileSize = 0;
  AudioLocation m_audio;
  uint32_t m_remaining = 0;
  container::CHeaderBlock m_header;
  container::CFrameScanner m_scanner;
  CSourceReadAhead m_readAhead;
};

}  // namespace device
