#include "device/fringe_data.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/debug_log.h"
#include "container/fringe_editor.h"
#include "container/fringe_ids.h"
#include "container/tag_header.h"
#include "container/tag_layout.h"
#include "platform/cost_meter.h"

namespace device {

namespace {

// Gives a new track file an empty tag of the size its tag will have, so
// that the editor rewrites the tag in place. Without it the editor builds
// the file in a temporary one, copies it over and deletes the temporary,
// which costs more than the rest of a short track's transfer. The texts
// are cut to 256 characters each, so a new track's tag always fits one
// padding unit.
HRESULT CreateEmptyTag(const sys::Path& destination, std::vector<uint8_t>& tag) {
  tag.assign(container::kTagPaddingUnit, 0);
  const container::TagHeader header = container::NewTagHeader();
  std::copy(header.begin(), header.end(), tag.begin());
  container::EncodeSynchsafe(container::kTagPaddingUnit - container::kTagHeaderSize, tag.data() + 6);
  std::FILE* f = sys::OpenStdioFile(destination, "wb");
  if (!f) return hr::kFail;
  const bool written = std::fwrite(tag.data(), 1, tag.size(), f) == tag.size();
  return std::fclose(f) == 0 && written ? hr::kOk : hr::kFail;
}

}  // namespace

HRESULT WriteFringeData(const sys::Path& destination, const mp3::TrackInfo& job,
                        const std::function<bool()>& stopRequested) {
  costs::Scope meter(costs::Area::kTagWrite);
  auto stop = [&] { return stopRequested && stopRequested(); };
  if (stop()) return hr::kFalse;
  container::KVXFringeEditor editor;
  HRESULT h = hr::kOk;
  if (!sys::FileExists(destination)) {
    // The editor takes the tag just written as the file's; reading it back
    // would cost as much again as writing it.
    std::vector<uint8_t> created;
    if (h = CreateEmptyTag(destination, created); hr::Failed(h)) return h;
    h = editor.OpenCreated(destination, container::kFringeOpenWrite, created.data(), created.size());
  } else {
    // The player's folder may hold characters the ANSI code page lacks; the
    // narrow path would then name another file, so the wide one is used.
    const std::string narrow = sys::AnsiFromPath(destination);
    h = sys::PathFromAnsi(narrow) == destination ? editor.Open(narrow.c_str(), container::kFringeOpenWrite)
                                                 : editor.Open(destination, container::kFringeOpenWrite);
  }
  if (hr::Failed(h)) return h;

  struct Frame {
    uint32_t type;
    uint32_t subCode;
    const std::u16string& text;
  };
  const Frame frames[] = {
      {container::kFringeTitle, container::kSubCodeNone, job.wideTitle},
      {container::kFringeAlbum, container::kSubCodeNone, job.wideAlbum},
      {container::kFringeArtist, container::kSubCodeAlbumArtist, job.wideArtist},
      {container::kFringeGenre, container::kSubCodeAlbumGenre, job.wideGenre},
  };
  for (const Frame& f : frames) {
    // Leaving without Commit writes nothing; the editor's destructor lets
    // its lock go.
    if (stop()) return hr::kFalse;
    h = editor.Set(f.type, f.subCode, std::vector<std::u16string>{f.text}, kFringeEncoding, 0);
    if (hr::Failed(h)) return h;
  }
  h = editor.Commit(container::kFringeCommitLsi);
  DebugLog("\n~WriteFringeData()");
  return h;
}

}  // namespace device
