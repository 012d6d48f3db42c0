// Arbitrary bytes through the frame scanner in chunks whose sizes come from
// the input itself, so headers land on every kind of chunk boundary. The
// statistics must not depend on how the stream was cut.
#include <cstdint>
#include <cstdlib>

#include "container/frame_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t step = 1 + (data[0] % 251);
  data += 1;
  size -= 1;

  container::CFrameScanner whole;
  const bool wholeOk = hr::Succeeded(whole.scanChunk(data, size));

  container::CFrameScanner cut;
  bool cutOk = true;
  for (size_t at = 0; at < size && cutOk; at += step) {
    size_t n = size - at < step ? size - at : step;
    cutOk = hr::Succeeded(cut.scanChunk(data + at, n));
  }
  if (wholeOk && cutOk && !(whole.frame() == cut.frame())) std::abort();
  return 0;
}
