// The job lists of a drop, shared by the drop target (which fills them on
// the UI thread), the drop thread (which works through them) and the main
// window (which shows progress from the queue and empties it at the end).
// One mutex guards all four lists; every operation takes it for its own
// duration only, so no caller ever holds it across a device call.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "mp3/track_info.h"

namespace app::engine {

// One MP3 file to transfer: a copy by value of what the analyser found.
using TransferJob = mp3::TrackInfo;

// No album receives more than this many tracks from one batch, and no batch
// is larger.
constexpr size_t kMaxTracksPerBatch = 999;

// One MP3 found inside a dropped folder.
struct DropFolderItem {
  std::u16string m_folder;  // album name for the track ("A B" for B inside A)
  std::u16string fileName;  // name inside its folder, with extension
  TransferJob job;
};

class JobLists {
 public:
  // ---- Whole drop ------------------------------------------------------------
  // Empties all four lists (the start of a drop).
  void ClearAll();
  // Empties the folder item list and the dropped-folder list (every cancel
  // and the end of the folder phase).
  void ClearFolderLists();
  // Empties the transfer queue and the job pool (the end of a drop).
  void ClearQueueAndPool();
  void ClearQueue();
  // True when queue, pool and folder item list are all empty.
  bool NothingToTransfer() const;

  size_t QueueSize() const;
  size_t PoolSize() const;
  size_t FolderItemCount() const;
  size_t DroppedFolderCount() const;

  // ---- Filling -----------------------------------------------------------
  void AppendToQueue(TransferJob job);
  void AppendToPool(TransferJob job);
  // A dropped file: into the queue while it holds fewer than 999 jobs, else
  // into the pool. True when it went to the queue.
  bool QueueDroppedFile(TransferJob job);
  void AppendFolderItem(DropFolderItem item);
  // The second folder list: the full paths of the folders named in the
  // drop, in drop order.
  void AppendDroppedFolder(std::u16string path);

  // ---- Reading -------------------------------------------------------------
  // Copies of single entries; false (out untouched) past the end.
  bool QueuedJob(size_t index, TransferJob& out) const;
  bool FolderItem(size_t index, DropFolderItem& out) const;
  // The drop thread takes each record as it comes to it, rather than
  // copying: every dropped file's record then exists once while the drop
  // runs. The taken entry stays, empty, so sizes and positions hold.
  // False (out untouched) past the end.
  bool TakeQueuedJob(size_t index, TransferJob& out);
  bool TakeFolderItem(size_t index, DropFolderItem& out);
  // The source path of the queued job at index; empty past the end or
  // once taken.
  sys::Path QueuedSourcePath(size_t index) const;
  // Whether the folder item at index belongs to the album folder `folder`.
  bool FolderItemIn(size_t index, const std::u16string& folder) const;
  std::vector<TransferJob> QueueSnapshot() const;
  std::vector<TransferJob> PoolSnapshot() const;
  std::vector<DropFolderItem> FolderItemsSnapshot() const;
  std::vector<std::u16string> DroppedFoldersSnapshot() const;

  // ---- Progress ----------------------------------------------------------------
  // The drop thread names the job it is about to transfer; the batch's size
  // is the queue's size at that moment.
  void PublishCurrentJob(const TransferJob& job);
  // For the progress display on the UI thread: the narrow title and batch
  // size of the job named last, when its sequence number is `sequence`.
  // False (title cleared, size 0) for a report of any other job: the
  // report came late, and the queue may hold another batch by now.
  bool CurrentJobTitle(int sequence, std::string& narrowTitle, size_t& batchSize) const;

  // ---- Batching --------------------------------------------------------------
  // Moves the last `count` jobs of the queue, in their order, to the front
  // of the pool: the jobs already pooled were dropped after them, so the
  // drop's order holds. Returns how many moved (at most the queue's size).
  size_t MoveQueueTailToPool(size_t count);
  // Starts the next pooled batch: empties the queue, then moves the first
  // 999 pooled jobs (or all, when fewer) into it, numbered 0, 1, ... within
  // the batch. False when the pool was empty. Logs what it moved.
  bool SchedulePooledJobs();

 private:
  mutable std::mutex mutex_;
  std::vector<TransferJob> queue_;
  std::vector<TransferJob> pool_;
  std::vector<DropFolderItem> folderItems_;
  std::vector<std::u16string> droppedFolders_;
  struct CurrentJob {
    bool named = false;
    uint32_t number = 0;
    std::string title;
    size_t batchSize = 0;
  } current_;
};

// The one set of the process.
JobLists& SharedJobLists();

}  // namespace app::engine
