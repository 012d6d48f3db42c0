// DropCollector: walks the names of one drop on the UI thread. Dropped files
// go to the transfer queue (the pool past 999), MP3s inside dropped folders
// become folder items, everything is checked against the player's free space
// and by the analyser, and the main window gets the lists with DoOleDrop.
// The file system, the device and the windows are reached through
// DropCollectorHost, so the same walk runs under tests with a made-up tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/engine/drop_rules.h"
#include "app/engine/job_lists.h"
#include "app/engine/refusal_list.h"
#include "app/transfer_flags.h"

namespace app::engine {

class DropCollectorHost {
 public:
  struct FolderEntry {
    std::u16string name;
    bool isFolder = false;
  };

  virtual ~DropCollectorHost() = default;

  // ---- File system -----------------------------------------------------------
  // The shell's attributes of a dropped name; false when they cannot be read.
  virtual bool QueryAttributes(const std::u16string& path, bool& isFolder) = 0;
  virtual bool FileSize(const std::u16string& path, uint64_t& size) = 0;
  // The entries of folder + "\*" in the file system's order, "." and ".."
  // included when the system lists them. False when it cannot be listed.
  virtual bool ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) = 0;

  // ---- Device --------------------------------------------------------------
  virtual bool FreeSpace(int64_t& freeBytes) = 0;
  // The analyser: true for an acceptable MP3, with info filled in.
  virtual bool CheckValidity(const std::u16string& path, TransferJob& info) = 0;
  // The same, with why a refused file was refused. A host that cannot tell
  // calls the file unreadable.
  virtual bool CheckValidityExplained(const std::u16string& path, TransferJob& info,
                                      mp3::RefusalReason& reason) {
    reason = mp3::RefusalReason{};
    return CheckValidity(path, info);
  }
  virtual size_t AlbumCount() = 0;

  // ---- Windows -------------------------------------------------------------
  virtual std::u16string MessageText(unsigned messageId) = 0;
  virtual void SetProgressText(const std::u16string& text) = 0;
  // The progress button becomes the closing button.
  virtual void SetProgressClosing() = 0;
  virtual void BringProgressToFront() = 0;
  virtual void RepaintProgress() = 0;
  // A millisecond clock for spacing the repaints.
  virtual uint64_t TickMs() = 0;
  // Hides the progress window and gives the main window back.
  virtual void HideProgress() = 0;
  virtual void EnableMainWindow(bool enable) = 0;
  // Runs up to `count` pending window messages (so Cancel works).
  virtual void PumpMessages(int count) = 0;
  virtual void Sleep(unsigned milliseconds) = 0;
  virtual void DoOleDrop(bool accepted, bool refused) = 0;
  // The files this drop skipped, handed over just before DoOleDrop so the
  // end of the drop can name them.
  virtual void KeepRefusals(const RefusalList& refusals) { (void)refusals; }
  // Scrolls the list so its last row shows.
  virtual void ShowLastRow() = 0;
};

class DropCollector {
 public:
  // Results of CollectFolder.
  static constexpr int kCollected = 1;
  static constexpr int kNothingCollected = 0;
  static constexpr int kCancelled = -1;
  static constexpr int kOutOfSpace = -2;
  static constexpr uint64_t kRepaintEveryMs = 50;

  DropCollector(DropCollectorHost& host, JobLists& lists, TransferFlags& flags)
      : host_(host), lists_(lists), flags_(flags) {}

  // Walks the dropped names in order and hands over with DoOleDrop unless
  // the walk ended without a transfer. 1 when names were read, 0 when the
  // drop held none.
  int ReadHdropData(const std::vector<std::u16string>& names);
  // Collects one folder and, recursively, its subfolders into the folder
  // item list under the album name parentAlbum + " " + its name.
  int CollectFolder(const std::u16string& folder, const std::u16string& parentAlbum);

  uint64_t m_uiTotalSize = 0;  // bytes accepted in this drop so far
  bool accepted() const { return accepted_; }
  bool refused() const { return refused_; }
  // Every file this drop skipped and why (dropped files and the MP3s of
  // dropped folders the analyser refused, folders refused whole).
  const RefusalList& refusals() const { return refusals_; }

 private:
  enum class ReportOutcome { kGoOn, kEnd };
  // Shows the out-of-space report for the name at nameIndex; kEnd when
  // nothing was collected (the drop ends without transfer).
  ReportOutcome ReportOutOfSpace(size_t nameIndex, CountSeparator separator);
  void ShowFinalText(unsigned messageId);
  // With the cancel flag set: hides the progress window, gives the main
  // window back and answers true (the drop ends without transfer).
  bool EndIfCancelled();
  void LogAvailableSpace(int64_t freeBytes, uint64_t size) const;
  // Repaints the progress window unless it was repainted less than
  // kRepaintEveryMs ago: painting it after every file costs more than
  // checking the file.
  void RepaintWhenDue();

  DropCollectorHost& host_;
  JobLists& lists_;
  TransferFlags& flags_;
  bool accepted_ = false;
  bool refused_ = false;
  bool repainted_ = false;
  uint64_t repaintedAtMs_ = 0;
  RefusalList refusals_;
};

}  // namespace app::engine
