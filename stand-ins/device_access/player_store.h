// The simulated player's contents: albums in display order, each with its
// tracks in display order, the properties of every album and track, and one
// file per track in the "tracks" folder. The index survives restarts. It
// is kept in two files that take turns: each save writes a new index with
// the next generation number over the older file, and only a complete
// index (its end line counts the records and carries a hash of the text
// before it) is ever read, so a crash leaves the newest complete index in
// force and never half of one. Replacing one file by renaming another over
// it would say the same, but costs a deletion per save, which on some
// systems is slower than storing a short track. Track files the index does
// not name (an export that never ended) are removed when the player is
// opened.
//
// Adding a track or an album and changing properties, the everyday changes,
// do not rewrite the index: each appends one line to a journal that
// extends the index of its generation, so their cost does not grow with the
// player. Every journal line carries a hash of itself, and replay stops at
// the first line that does not match (a torn append). When the journal has
// grown as large as the index, the next change writes a whole new index,
// which starts an empty journal; a journal of an older generation than the
// index in force is never replayed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/hresult.h"
#include "platform/system.h"
#include "stand-ins/device_access/property_value.h"

namespace standin {

struct StoredTrack {
  uint32_t id = 0;
  std::string fileName;    // inside the tracks folder
  uint64_t fileBytes = 0;  // size of the track file
  PropertyMap properties;
};

struct StoredAlbum {
  uint32_t id = 0;
  PropertyMap properties;
  std::vector<uint32_t> tracks;  // display order
};

class PlayerStore {
 public:
  static constexpr uint32_t kRootId = 1;
  static constexpr uint32_t kFirstObjectId = 256;
  static constexpr const char* kIndexNames[2] = {"index-1.txt", "index-2.txt"};
  static constexpr const char* kTracksFolderName = "tracks";
  static constexpr const char* kJournalName = "journal.txt";
  // The journal is folded into a new index once it is larger than the
  // index and than this.
  static constexpr uint64_t kJournalFoldBytes = 256 * 1024;

  // Reads the player in folder (creating the folder; no index yet is an
  // empty player) and removes what an interrupted run left behind. kFail
  // with a description when the index is unreadable.
  HRESULT open(const sys::Path& folder, std::string& problem);
  // Reads the index only, changing nothing on disk.
  HRESULT load(const sys::Path& folder, std::string& problem);
  // Writes the index over the older of the two files and starts an empty
  // journal.
  HRESULT save(std::string& problem);
  // Record one change already made in memory: a journal line, or a whole
  // new index when the journal has grown large.
  HRESULT saveAddedAlbum(uint32_t id, std::string& problem);
  HRESULT saveAddedTrack(uint32_t id, std::string& problem);
  HRESULT saveProperties(uint32_t id, std::string& problem);

  const sys::Path& folder() const { return folder_; }
  sys::Path tracksFolder() const { return folder_ / kTracksFolderName; }
  sys::Path trackPath(const StoredTrack& t) const { return tracksFolder() / t.fileName; }
  // "<group>/track-<id>.kvx": the tracks are spread over folders of
  // kTracksPerFolder, because looking up a name that does not exist yet
  // (every new track's file) reads its whole folder on some systems, and a
  // device's cost per track does not grow with the tracks it holds. Under
  // Wine such a lookup costs about 2 microseconds per name in the folder,
  // several times a track. A track keeps the name it was stored under.
  static constexpr uint32_t kTracksPerFolder = 64;
  static std::string TrackFileName(uint32_t id);
  // Every file below the tracks folder, as "<group>/<name>" (or "<name>"
  // directly inside it), in no particular order.
  static std::vector<std::string> FilesInTracksFolder(const sys::Path& tracksFolder);

  const std::vector<StoredAlbum>& albums() const { return albums_; }
  const std::map<uint32_t, StoredTrack>& tracks() const { return tracks_; }
  StoredAlbum* album(uint32_t id);
  StoredTrack* track(uint32_t id);
  // The album holding a track; 0 when the track is unknown.
  uint32_t albumOf(uint32_t trackId) const;
  bool isAlbum(uint32_t id) const;
  bool isTrack(uint32_t id) const { return tracks_.count(id) != 0; }

  uint32_t allocateId() { return nextId_++; }
  uint64_t usedBytes() const { return usedBytes_; }
  // Sum of the play times of an album's tracks.
  int64_t albumPlayTime(const StoredAlbum& a) const;

  // Changes in memory; the caller saves.
  StoredAlbum& addAlbum(uint32_t id);
  // Inserts at position (0-based, clipped to the end) of the album.
  void insertTrack(uint32_t albumId, size_t position, StoredTrack track);
  // Forgets the track and deletes its file.
  bool removeTrack(uint32_t id);
  // Only an empty album can go.
  HRESULT removeAlbum(uint32_t id);
  // Moves items before (1) or after (2) the reference, or to the end of the
  // reference album (4). results[i] is 0 for a moved item.
  void move(uint32_t reference, uint32_t placement, const std::vector<uint32_t>& ids,
            std::vector<HRESULT>& results);

  // The index text and its reader, for tests and the player tool. Bytes
  // after a complete index's end line are left from a longer earlier one.
  std::string indexText() const;
  bool parseIndex(const std::string& text, std::string& problem);
  uint64_t generation() const { return generation_; }
  // Bytes of journal lines since the last whole index.
  uint64_t journalBytes() const { return journalBytes_; }

 private:
  void moveAlbums(uint32_t reference, uint32_t placement, const std::vector<uint32_t>& ids,
                  std::vector<HRESULT>& results);
  void moveTracks(uint32_t reference, uint32_t placement, const std::vector<uint32_t>& ids,
                  std::vector<HRESULT>& results);
  void removeOrphanFiles();
  HRESULT appendJournal(const std::string& line, std::string& problem);
  enum class Journal { kNone, kClean, kTorn };
  // Replays the journal of this generation, if there is one. kTorn when it
  // ends in a line that does not match its hash (a torn append): open()
  // then folds it into a new index.
  Journal replayJournal();
  bool applyJournalLine(const std::string& body);
  void recountUsedBytes();

  sys::Path folder_;
  std::vector<StoredAlbum> albums_;
  std::map<uint32_t, StoredTrack> tracks_;
  uint32_t nextId_ = kFirstObjectId;
  uint64_t generation_ = 0;
  int currentFile_ = -1;              // which of kIndexNames holds the index in force
  uint64_t usedBytes_ = 0;            // sum of the track files' sizes
  uint64_t indexBytes_ = 0;           // size of the index in force
  uint64_t journalBytes_ = 0;         // journal lines after it
  Journal journal_ = Journal::kNone;  // the journal of this generation
  // Kept open for appending between changes, as a device keeps its index
  // open; every line is flushed before the change counts as saved.
  std::shared_ptr<std::FILE> journalFile_;
};

}  // namespace standin
