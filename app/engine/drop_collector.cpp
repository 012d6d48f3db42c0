#include "app/engine/drop_collector.h"

#include <utility>

#include "app/debug_log.h"
#include "app/engine/drop_phases.h"
#include "app/message_ids.h"

namespace app::engine {
namespace {

// Messages run between names so the progress window repaints and its
// Cancel button works during a long collection.
constexpr int kMessagesPerName = 4;
// The out-of-space report stays up this long (rounds of 200 ms) before the
// drop goes on with what fitted.
constexpr int kReportRounds = 10;
constexpr unsigned kReportRoundMs = 200;
constexpr int kMessagesPerReportRound = 64;

bool IsDotEntry(const std::u16string& name) { return name == u"." || name == u".."; }

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name) {
  if (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) return folder + name;
  return folder + u"\\" + name;
}

}  // namespace

void DropCollector::LogAvailableSpace(int64_t freeBytes, uint64_t size) const {
  // The four figures as the log has always shown them, as 32-bit numbers.
  DebugLog("\nAvailable space = %d, sum=%d, this file = %d, m_uiTotalSize + fStatus.m_size =%d",
           static_cast<int>(freeBytes), static_cast<int>(m_uiTotalSize), static_cast<int>(size),
           static_cast<int>(m_uiTotalSize + size));
}

void DropCollector::ShowFinalText(unsigned messageId) {
  host_.SetProgressText(host_.MessageText(messageId));
  host_.SetProgressClosing();
  host_.BringProgressToFront();
}

void DropCollector::RepaintWhenDue() {
  const uint64_t now = host_.TickMs();
  if (repainted_ && now - repaintedAtMs_ < kRepaintEveryMs) return;
  repainted_ = true;
  repaintedAtMs_ = now;
  host_.RepaintProgress();
}

DropCollector::ReportOutcome DropCollector::ReportOutOfSpace(size_t nameIndex, CountSeparator separator) {
  // The report names the files that fit: the tracks collected so far.
  const size_t fitting = lists_.QueueSize() + lists_.PoolSize() + lists_.FolderItemCount();
  DebugLog("\nOut of space at dropped name #%d, %d tracks fit", static_cast<int>(nameIndex),
           static_cast<int>(fitting));
  host_.SetProgressText(OutOfSpaceText(host_.MessageText(msg::kOutOfSpaceBefore), fitting, separator,
                                       host_.MessageText(msg::kOutOfSpaceAfter)));
  host_.BringProgressToFront();
  if (fitting == 0) {
    host_.SetProgressClosing();
    host_.EnableMainWindow(true);
    return ReportOutcome::kEnd;
  }
  host_.RepaintProgress();
  for (int round = 0; round < kReportRounds; ++round) {
    host_.PumpMessages(kMessagesPerReportRound);
    // Cancel pressed on the report: the drop ends here, nothing transfers.
    if (EndIfCancelled()) return ReportOutcome::kEnd;
    host_.Sleep(kReportRoundMs);
  }
  return ReportOutcome::kGoOn;
}

bool DropCollector::EndIfCancelled() {
  if (flags_.cancel.load() == 0) return false;
  host_.HideProgress();
  host_.EnableMainWindow(true);
  return true;
}

int DropCollector::ReadHdropData(const std::vector<std::u16string>& names) {
  LogText("\nReadHdropData");
  DebugLog("\nuNumFiles = %d", static_cast<int>(names.size()));

  host_.EnableMainWindow(false);
  m_uiTotalSize = 0;
  accepted_ = refused_ = false;
  refusals_.Clear();
  int64_t freeBytes = 0;
  if (!host_.FreeSpace(freeBytes)) {
    LogText("\nReadHdropData: the player's free space cannot be read");
    ShowFinalText(msg::kDeviceFailure);
    host_.EnableMainWindow(true);
    return 1;
  }

  bool folderDropped = false;
  size_t filesQueued = 0;  // running number of the dropped files that were accepted
  for (size_t i = 0; i < names.size(); ++i) {
    const std::u16string& path = names[i];
    if (EndIfCancelled()) return 1;

    bool isFolder = false;
    if (!host_.QueryAttributes(path, isFolder)) {
      DebugLog("\nReadHdropData: no attributes for %s", NarrowForLog(path).c_str());
      ShowFinalText(msg::kDroppedItemUnreadable);
      return 1;
    }

    if (isFolder) {
      folderDropped = true;
      lists_.AppendDroppedFolder(path);
      if (host_.AlbumCount() >= kMaxAlbums) {
        refusals_.Add(path, mp3::RefusalReason{mp3::RefusalCause::kTooManyAlbums});
        ShowFinalText(msg::kTooManyAlbums);
        host_.EnableMainWindow(true);
        return 1;
      }
      const int collected = CollectFolder(path, u"");
      if (collected == kCancelled) {
        host_.HideProgress();
        host_.EnableMainWindow(true);
        return 1;
      }
      if (collected == kOutOfSpace) {
        if (ReportOutOfSpace(i, CountSeparator::kFolder) == ReportOutcome::kEnd) return 1;
        break;
      }
    } else if (!IsDroppedMp3Name(path)) {
      refused_ = true;
      refusals_.Add(path, mp3::RefusalReason{mp3::RefusalCause::kNotMp3Name});
    } else {
      uint64_t size = 0;
      bool sized = host_.FileSize(path, size);
      if (!sized) {
        LogText("\nFailed to get file status. get status again...");
        sized = host_.FileSize(path, size);
      }
      if (!sized) {
        // A file that cannot even be sized cannot be transferred either.
        refused_ = true;
        refusals_.Add(path, mp3::RefusalReason{mp3::RefusalCause::kUnreadable, 0, sys::LastError()});
      } else {
        LogAvailableSpace(freeBytes, size);
        if (ExceedsFreeSpace(freeBytes, m_uiTotalSize, size)) {
          if (ReportOutOfSpace(i, CountSeparator::kFile) == ReportOutcome::kEnd) return 1;
          break;
        }
        TransferJob info;
        mp3::RefusalReason reason;
        if (host_.CheckValidityExplained(path, info, reason)) {
          LogText("\nfile is valid MP3");
          info.number = static_cast<uint32_t>(filesQueued++);
          info.sourcePath = sys::Path(path);
          lists_.QueueDroppedFile(std::move(info));
          m_uiTotalSize += size;
          accepted_ = true;
        } else {
          LogText("\nNot valid MP3");
          refused_ = true;
          refusals_.Add(path, reason);
        }
      }
    }
    RepaintWhenDue();
    host_.PumpMessages(kMessagesPerName);
  }

  // A cancel seen while the last name's messages ran: the progress window
  // is gone already, so no transfer may start behind it.
  if (EndIfCancelled()) return 1;
  host_.RepaintProgress();
  host_.KeepRefusals(refusals_);
  host_.DoOleDrop(accepted_, refused_);
  if (folderDropped) host_.ShowLastRow();
  return 1;
}

int DropCollector::CollectFolder(const std::u16string& folder, const std::u16string& parentAlbum) {
  const std::u16string album = FolderAlbumName(parentAlbum, LastPathComponent(folder));
  int64_t freeBytes = 0;
  if (!host_.FreeSpace(freeBytes)) freeBytes = 0;  // nothing is known to fit

  std::vector<DropCollectorHost::FolderEntry> entries;
  if (!host_.ListFolder(folder, entries)) {
    DebugLog("\nCollectFolder: cannot list %s", NarrowForLog(folder).c_str());
    return kNothingCollected;
  }

  // The folder's own files first, then its subfolders: the folder phase
  // gives one album to each run of consecutive items with the same album
  // name, so a subfolder listed between two files must not split them.
  std::vector<const DropCollectorHost::FolderEntry*> ordered;
  ordered.reserve(entries.size());
  for (const auto& entry : entries)
    if (!entry.isFolder) ordered.push_back(&entry);
  for (const auto& entry : entries)
    if (entry.isFolder && !IsDotEntry(entry.name)) ordered.push_back(&entry);

  int answer = kNothingCollected;
  uint32_t trackIndex = 0;  // running number of this folder's accepted tracks
  for (const DropCollectorHost::FolderEntry* entry : ordered) {
    if (flags_.cancel.load() != 0) return kCancelled;
    const std::u16string path = JoinPath(folder, entry->name);
    if (entry->isFolder) {
      // Running out of space inside ends the whole walk, so the report is
      // shown and no later, smaller file slips in behind the gap.
      const int inner = CollectFolder(path, album);
      if (inner == kOutOfSpace || inner == kCancelled) return inner;
      if (inner == kCollected) answer = kCollected;
    } else if (IsFolderMp3Name(entry->name)) {
      uint64_t size = 0;
      if (host_.FileSize(path, size)) {
        if (ExceedsFreeSpace(freeBytes, m_uiTotalSize, size)) {
          LogAvailableSpace(freeBytes, size);
          return kOutOfSpace;
        }
        TransferJob info;
        mp3::RefusalReason reason;
        if (host_.CheckValidityExplained(path, info, reason)) {
          info.number = trackIndex++;
          info.sourcePath = sys::Path(path);
          m_uiTotalSize += size;
          lists_.AppendFolderItem(DropFolderItem{album, entry->name, std::move(info)});
          answer = kCollected;
        } else {
          // Named like an MP3 but refused: listed, though (as before) it
          // does not count as a refusal of the drop.
          refusals_.Add(path, reason);
        }
      }
    } else {
      continue;
    }
    RepaintWhenDue();
    host_.PumpMessages(kMessagesPerName);
  }
  return answer;
}

}  // namespace app::engine
