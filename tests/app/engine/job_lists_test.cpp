// The shared job lists: the 999 rule, pooled batches, and reads for the
// progress display that never go past the queue.
#include <gtest/gtest.h>

#include "tests/app/engine/engine_test_support.h"

namespace enginetest {
namespace {

using JobListsTest = EngineTest;
using app::engine::DropFolderItem;
using app::engine::TransferJob;

TEST_F(JobListsTest, DroppedFilesFillTheQueueTo999ThenThePool) {
  queueFiles(1001);
  EXPECT_EQ(lists.QueueSize(), 999u);
  ASSERT_EQ(lists.PoolSize(), 2u);
  EXPECT_EQ(lists.PoolSnapshot()[0].title, "t999");
  EXPECT_EQ(lists.PoolSnapshot()[1].title, "t1000");
}

TEST_F(JobListsTest, TakenRecordsLeaveEmptyEntriesInPlace) {
  queueFiles(3);
  TransferJob job;
  ASSERT_TRUE(lists.TakeQueuedJob(1, job));
  EXPECT_EQ(job.title, "t1");
  EXPECT_EQ(lists.QueueSize(), 3u);  // the batch's size and positions hold
  ASSERT_TRUE(lists.QueuedJob(1, job));
  EXPECT_TRUE(job.title.empty() && job.sourcePath.empty());
  ASSERT_TRUE(lists.QueuedJob(2, job));
  EXPECT_EQ(job.title, "t2");
  EXPECT_FALSE(lists.TakeQueuedJob(3, job));

  lists.AppendFolderItem({u"A", u"a.mp3", Job("a")});
  lists.AppendFolderItem({u"B", u"b.mp3", Job("b")});
  EXPECT_TRUE(lists.FolderItemIn(1, u"B"));
  EXPECT_FALSE(lists.FolderItemIn(1, u"A"));
  EXPECT_FALSE(lists.FolderItemIn(2, u"B"));
  DropFolderItem item;
  ASSERT_TRUE(lists.TakeFolderItem(0, item));
  EXPECT_EQ(item.m_folder, u"A");
  EXPECT_EQ(item.job.title, "a");
  EXPECT_EQ(lists.FolderItemCount(), 2u);
  EXPECT_FALSE(lists.FolderItemIn(0, u"A"));
  EXPECT_FALSE(lists.TakeFolderItem(2, item));
}

TEST_F(JobListsTest, SchedulePooledJobsMovesAtMost999InOrder) {
  lists.AppendToQueue(Job("old"));
  for (size_t i = 0; i < 1500; ++i) lists.AppendToPool(Job(T(i)));

  ASSERT_TRUE(lists.SchedulePooledJobs());
  EXPECT_EQ(lists.QueueSize(), 999u);  // the old queue is gone
  EXPECT_EQ(lists.QueueSnapshot().front().title, "t0");
  EXPECT_EQ(lists.QueueSnapshot().back().title, "t998");
  EXPECT_EQ(lists.PoolSize(), 501u);
  EXPECT_EQ(lists.PoolSnapshot().front().title, "t999");
  EXPECT_TRUE(logged("999 jobs are moved to transfer job queue. 501 jobs remain in job pool."));

  ASSERT_TRUE(lists.SchedulePooledJobs());
  EXPECT_EQ(lists.QueueSize(), 501u);
  EXPECT_EQ(lists.PoolSize(), 0u);
  EXPECT_TRUE(logged("501 jobs are moved to transfer job queue. Job pool is cleaned."));
  EXPECT_TRUE(logged("SchedulePooledJobs: return TRUE"));

  EXPECT_FALSE(lists.SchedulePooledJobs());
  EXPECT_EQ(lists.QueueSize(), 0u);  // emptied even when nothing is pooled
}

TEST_F(JobListsTest, MoveQueueTailToPoolKeepsOrderAndStopsAtTheQueue) {
  queueFiles(5);
  lists.AppendToPool(Job("p"));
  EXPECT_EQ(lists.MoveQueueTailToPool(2), 2u);
  std::vector<std::string> pool;
  for (const auto& j : lists.PoolSnapshot()) pool.push_back(j.title);
  // Ahead of what already waits, so the drop's order holds.
  EXPECT_EQ(pool, (std::vector<std::string>{"t3", "t4", "p"}));
  EXPECT_EQ(lists.MoveQueueTailToPool(10), 3u);
  EXPECT_EQ(lists.QueueSize(), 0u);
  EXPECT_EQ(lists.PoolSize(), 6u);
}

TEST_F(JobListsTest, ProgressReadsTheJobTheDropThreadNamedNotTheQueue) {
  queueFiles(2);
  std::string title = "stale";
  size_t size = 9;
  EXPECT_FALSE(lists.CurrentJobTitle(0, title, size));  // nothing named yet
  EXPECT_EQ(title, "");
  EXPECT_EQ(size, 0u);
  lists.PublishCurrentJob(Job("t1", 1));
  EXPECT_TRUE(lists.CurrentJobTitle(1, title, size));
  EXPECT_EQ(title, "t1");
  EXPECT_EQ(size, 2u);
  // The queue moves on to another batch; the named job stays what it was.
  for (size_t i = 0; i < 5; ++i) lists.AppendToPool(Job("p" + std::to_string(i), 700));
  ASSERT_TRUE(lists.SchedulePooledJobs());
  EXPECT_TRUE(lists.CurrentJobTitle(1, title, size));
  EXPECT_EQ(title, "t1");
  // A late report of another job shows nothing rather than a wrong title.
  EXPECT_FALSE(lists.CurrentJobTitle(0, title, size));
  EXPECT_FALSE(lists.CurrentJobTitle(-1, title, size));
  lists.ClearQueueAndPool();
  EXPECT_FALSE(lists.CurrentJobTitle(1, title, size));
}

TEST_F(JobListsTest, PooledBatchesAreNumberedWithinTheBatch) {
  for (size_t i = 0; i < 1001; ++i) lists.AppendToPool(Job(T(i), static_cast<uint32_t>(i + 499)));
  ASSERT_TRUE(lists.SchedulePooledJobs());
  EXPECT_EQ(lists.QueueSnapshot().front().number, 0u);
  EXPECT_EQ(lists.QueueSnapshot().back().number, 998u);
  ASSERT_TRUE(lists.SchedulePooledJobs());
  EXPECT_EQ(lists.QueueSnapshot().front().number, 0u);
  EXPECT_EQ(lists.QueueSnapshot().back().number, 1u);
}

TEST_F(JobListsTest, ClearingLeavesWhatItDoesNotName) {
  queueFiles(1000);
  folderItems(u"A", 2);
  lists.AppendDroppedFolder(u"C:\\A");
  EXPECT_FALSE(lists.NothingToTransfer());

  lists.ClearFolderLists();
  EXPECT_EQ(lists.FolderItemCount(), 0u);
  EXPECT_EQ(lists.DroppedFolderCount(), 0u);
  EXPECT_EQ(lists.QueueSize(), 999u);
  lists.ClearQueueAndPool();
  EXPECT_TRUE(lists.NothingToTransfer());

  folderItems(u"A", 1);
  EXPECT_FALSE(lists.NothingToTransfer());
  lists.ClearAll();
  EXPECT_TRUE(lists.NothingToTransfer());
}

}  // namespace
}  // namespace enginetest
