#include "device/fringe_data.h"

#include <string>
#include <vector>

#include "app/debug_log.h"
#include "container/fringe_editor.h"
#include "container/fringe_ids.h"
#include "platform/cost_meter.h"

namespace device {

HRESULT WriteFringeData(const sys::Path& destination, const mp3::TrackInfo& job,
                        const std::function<bool()>& stopRequested) {
  costs::Scope meter(costs::Area::kTagWrite);
  auto stop = [&] { return stopRequested && stopRequested(); };
  if (stop()) return hr::kFalse;
  // A new track's file does not exist yet: the editor finds no tag and its
  // commit creates the file holding the tag alone.
  container::KVXFringeEditor editor;
  // The player's folder may hold characters the ANSI code page lacks; the
  // narrow path would then name another file, so the wide one is used.
  const std::string narrow = sys::AnsiFromPath(destination);
  HRESULT h = sys::PathFromAnsi(narrow) == destination
                  ? editor.Open(narrow.c_str(), container::kFringeOpenWrite)
                  : editor.Open(destination, container::kFringeOpenWrite);
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
