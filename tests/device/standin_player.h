// A simulated player of its own for one test, behind a device wrapper:
// a fresh player folder (named to the library through PELLMARK_PLAYER),
// optional settings, events recorded instead of posted, and a view of what
// the player saw.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "device/ipac_wrap.h"
#include "mp3/track_info.h"
#include "stand-ins/device_access/player_store.h"
#include "stand-ins/device_access/standin_diagnostics.h"
#include "tests/support/temp_dir.h"

namespace devicetest {

class RecordingEvents : public device::IWrapEvents {
 public:
  void RunningState(uint32_t sequence, uint32_t percent) override {
    sequences.push_back(sequence);
    percents.push_back(percent);
    if (onProgress) onProgress(percent);
  }
  void TransferPastCancel() override {
    ++pastCancel;
    if (onPastCancel) onPastCancel();
  }
  void ShowMessage(uint32_t id) override { messages.push_back(id); }

  std::vector<uint32_t> sequences;
  std::vector<uint32_t> percents;
  int pastCancel = 0;
  std::vector<uint32_t> messages;
  std::function<void(uint32_t)> onProgress;
  std::function<void()> onPastCancel;
};

class StandInPlayer {
 public:
  // folderName: the player folder's name inside the test's own folder.
  explicit StandInPlayer(const std::string& settings = "", bool initialize = true,
                         const std::u16string& folderName = u"player");
  ~StandInPlayer();

  device::CIPACWrap& wrap() { return *m_wrap; }
  RecordingEvents& events() { return m_events; }
  const sys::Path& folder() const { return m_folder; }
  const testsupport::TempDir& dir() const { return m_dir; }

  // What the library saw; all zero when it is not bound.
  standin::StandInState state();
  // Asserts the wrapper left the player clean: no transaction or export
  // open, no rule broken, no block left unfreed.
  void expectClean();
  std::string log() const;
  // The player's index as stored on disk.
  standin::PlayerStore stored() const;
  std::vector<std::string> trackFiles() const;
  // Releases the wrapper (and so the library's object).
  void release() { m_wrap.reset(); }

  // Writes a source file and returns the job for it: through the analyser
  // when it accepts the file, else built from the given texts.
  sys::Path writeSource(const std::string& name, const std::vector<uint8_t>& bytes);
  mp3::TrackInfo job(const sys::Path& source, const std::u16string& title = u"Title",
                     const std::u16string& artist = u"Artist", const std::u16string& album = u"Album",
                     const std::u16string& genre = u"Genre", uint32_t durationMs = 1000);

  // A new album in its own transaction.
  uint32_t createAlbum(const std::u16string& name);
  // Transfer in its own transaction (ended on success as the caller does).
  HRESULT transfer(const mp3::TrackInfo& job, uint32_t album, uint32_t placement = device::kPlaceInto);
  // The EID the last transfer gave out for its new track (0 when none).
  uint32_t lastNewTrackEid = 0;
  std::vector<device::TrackRecord> tracks(uint32_t album);
  std::vector<uint8_t> trackBytes(uint32_t eid) const;

 private:
  testsupport::TempDir m_dir;
  sys::Path m_folder;
  RecordingEvents m_events;
  std::unique_ptr<device::CIPACWrap> m_wrap;
};

}  // namespace devicetest
