#include "app/engine/job_lists.h"

#include <algorithm>
#include <utility>

#include "app/debug_log.h"

namespace app::engine {

void JobLists::ClearAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  current_ = CurrentJob{};
  queue_.clear();
  pool_.clear();
  folderItems_.clear();
  droppedFolders_.clear();
}

void JobLists::ClearFolderLists() {
  std::lock_guard<std::mutex> lock(mutex_);
  folderItems_.clear();
  droppedFolders_.clear();
}

void JobLists::ClearQueueAndPool() {
  std::lock_guard<std::mutex> lock(mutex_);
  current_ = CurrentJob{};
  queue_.clear();
  pool_.clear();
}

void JobLists::ClearQueue() {
  std::lock_guard<std::mutex> lock(mutex_);
  queue_.clear();
}

bool JobLists::NothingToTransfer() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.empty() && pool_.empty() && folderItems_.empty();
}

size_t JobLists::QueueSize() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

size_t JobLists::PoolSize() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pool_.size();
}

size_t JobLists::FolderItemCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return folderItems_.size();
}

size_t JobLists::DroppedFolderCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return droppedFolders_.size();
}

void JobLists::AppendToQueue(TransferJob job) {
  std::lock_guard<std::mutex> lock(mutex_);
  queue_.push_back(std::move(job));
}

void JobLists::AppendToPool(TransferJob job) {
  std::lock_guard<std::mutex> lock(mutex_);
  pool_.push_back(std::move(job));
}

bool JobLists::QueueDroppedFile(TransferJob job) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (queue_.size() < kMaxTracksPerBatch) {
    queue_.push_back(std::move(job));
    return true;
  }
  pool_.push_back(std::move(job));
  return false;
}

void JobLists::AppendFolderItem(DropFolderItem item) {
  std::lock_guard<std::mutex> lock(mutex_);
  folderItems_.push_back(std::move(item));
}

void JobLists::AppendDroppedFolder(std::u16string path) {
  std::lock_guard<std::mutex> lock(mutex_);
  droppedFolders_.push_back(std::move(path));
}

bool JobLists::QueuedJob(size_t index, TransferJob& out) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (index >= queue_.size()) return false;
  out = queue_[index];
  return true;
}

bool JobLists::FolderItem(size_t index, DropFolderItem& out) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (index >= folderItems_.size()) return false;
  out = folderItems_[index];
  return true;
}

bool JobLists::TakeQueuedJob(size_t index, TransferJob& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (index >= queue_.size()) return false;
  out = std::exchange(queue_[index], TransferJob{});
  return true;
}

bool JobLists::TakeFolderItem(size_t index, DropFolderItem& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (index >= folderItems_.size()) return false;
  out = std::exchange(folderItems_[index], DropFolderItem{});
  return true;
}

sys::Path JobLists::QueuedSourcePath(size_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return index < queue_.size() ? queue_[index].sourcePath : sys::Path();
}

bool JobLists::FolderItemIn(size_t index, const std::u16string& folder) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return index < folderItems_.size() && folderItems_[index].m_folder == folder;
}

std::vector<TransferJob> JobLists::QueueSnapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_;
}

std::vector<TransferJob> JobLists::PoolSnapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pool_;
}

std::vector<DropFolderItem> JobLists::FolderItemsSnapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return folderItems_;
}

std::vector<std::u16string> JobLists::DroppedFoldersSnapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return droppedFolders_;
}

void JobLists::PublishCurrentJob(const TransferJob& job) {
  std::lock_guard<std::mutex> lock(mutex_);
  current_.named = true;
  current_.number = job.number;
  current_.title = job.title;
  current_.batchSize = queue_.size();
}

bool JobLists::CurrentJobTitle(int sequence, std::string& narrowTitle, size_t& batchSize) const {
  std::lock_guard<std::mutex> lock(mutex_);
  narrowTitle.clear();
  batchSize = 0;
  if (!current_.named || sequence < 0 || static_cast<uint32_t>(sequence) != current_.number) return false;
  narrowTitle = current_.title;
  batchSize = current_.batchSize;
  return true;
}

size_t JobLists::MoveQueueTailToPool(size_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  count = std::min(count, queue_.size());
  const auto first = queue_.end() - static_cast<std::ptrdiff_t>(count);
  pool_.insert(pool_.begin(), std::make_move_iterator(first), std::make_move_iterator(queue_.end()));
  queue_.erase(first, queue_.end());
  return count;
}

bool JobLists::SchedulePooledJobs() {
  size_t moved = 0;
  size_t remaining = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
    if (pool_.empty()) return false;
    moved = std::min(pool_.size(), kMaxTracksPerBatch);
    const auto last = pool_.begin() + static_cast<std::ptrdiff_t>(moved);
    queue_.assign(std::make_move_iterator(pool_.begin()), std::make_move_iterator(last));
    pool_.erase(pool_.begin(), last);
    // Running numbers count within the batch, as the progress display
    // shows "n / batch size".
    for (size_t i = 0; i < queue_.size(); ++i) queue_[i].number = static_cast<uint32_t>(i);
    remaining = pool_.size();
  }
  // Logged outside the lock: the log takes a named lock of its own.
  if (remaining == 0) {
    DebugLog("\nSchedulePooledJobs:\t%d jobs are moved to transfer job queue. Job pool is cleaned.",
             static_cast<int>(moved));
  } else {
    DebugLog("\nSchedulePooledJobs:\t%d jobs are moved to transfer job queue. %d jobs remain in job pool.",
             static_cast<int>(moved), static_cast<int>(remaining));
  }
  DebugLog("\nSchedulePooledJobs: return TRUE");
  return true;
}

JobLists& SharedJobLists() {
  static JobLists lists;
  return lists;
}

}  // namespace app::engine
