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

// The empty tag a new track file starts from, of the size its tag will
// have: the texts are cut to 256 characters each, so a new track's tag
// always fits one padding unit.
std::vector<uint8_t> EmptyTag() {
  std::vector<uint8_t> tag(container::kTagPaddingUnit, 0);
  const container::TagHeader header = container::NewTagHeader();
  std::copy(header.begin(), header.end(), tag.begin());
  container::EncodeSynchsafe(container::kTagPaddingUnit - container::kTagHeaderSize, tag.data() + 6);
  return tag;
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
    // The new file is created once, by Commit, holding the finished tag.
    const std::vector<uint8_t> empty = EmptyTag();
    h = editor.OpenNew(destination, container::kFringeOpenWrite, empty.data(), empty.size());
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
