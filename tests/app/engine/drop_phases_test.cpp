// The drop thread's phases against a recording player: batching at 999,
// album names, every cancel point, device loss and failures.
#include <gtest/gtest.h>

#include "tests/app/engine/engine_test_support.h"

namespace enginetest {
namespace {

using app::engine::kPhaseCancelled;
using app::engine::kPhaseDeviceGone;
using app::engine::kPhaseFailed;
using app::engine::kPhaseFinished;
using app::engine::kPhaseNoMoreAlbums;

class TrackPhaseTest : public EngineTest {};

TEST_F(TrackPhaseTest, ThousandFilesOnAlbumOf500FillItTo999AndPoolTheRest) {
  haveAlbum(7, u"Rock", 500);
  targetAlbum(7, u"Rock");
  queueFiles(999);
  lists.QueueDroppedFile(Job(T(999), 999));  // the 1000th dropped file waits in the pool
  ASSERT_EQ(lists.PoolSize(), 1u);

  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFinished);

  ASSERT_EQ(device.received[7].size(), 499u);
  EXPECT_EQ(device.received[7].front(), "t0");
  EXPECT_EQ(device.received[7].back(), "t498");
  EXPECT_EQ(device.tracksIn[7], 999);
  // The pooled album keeps the drop's order.
  ASSERT_EQ(device.received[100].size(), 501u);
  EXPECT_EQ(device.received[100].front(), "t499");
  EXPECT_EQ(device.received[100][499], "t998");
  EXPECT_EQ(device.received[100].back(), "t999");
  EXPECT_EQ(device.nameOf(100), "Rock ( 1 )");
  EXPECT_EQ(events.folders, std::vector<std::string>{"Rock ( 1 )=100"});
  EXPECT_EQ(events.completed.size(), 1000u);
  EXPECT_EQ(events.completed[499], 0u);  // the pooled batch is numbered from its own queue
  EXPECT_EQ(events.completed.back(), 500u);
  // Every report names the track the player got at that place, with its EID.
  std::vector<std::string> titles = device.received[7];
  titles.insert(titles.end(), device.received[100].begin(), device.received[100].end());
  std::vector<uint32_t> eids = device.trackEids[7];
  eids.insert(eids.end(), device.trackEids[100].begin(), device.trackEids[100].end());
  EXPECT_EQ(events.completedTitles, titles);
  EXPECT_EQ(events.completedEids, eids);
  // Progress numbers count within each batch.
  EXPECT_EQ(device.numbers[100].front(), 0u);
  EXPECT_EQ(device.numbers[100].back(), 500u);
  EXPECT_EQ(events.completions, 1);
  EXPECT_EQ(state.pooledAlbumCounter, 1);
  EXPECT_EQ(state.m_dwOleDropAlbumEID, 100);
  EXPECT_EQ(albums.IndexOfEid(100), 1);
  EXPECT_EQ(lists.QueueSize(), 0u);
  EXPECT_EQ(lists.PoolSize(), 0u);
  EXPECT_TRUE(logged("nTotal = 1499"));
  EXPECT_TRUE(logged("New Folder Name = Rock ( 1 ), old m_dwOleDropAlbumEID=7"));
  EXPECT_TRUE(logged("Create Folder Succeeded! new m_dwOleDropAlbumEID = 100"));
  expectBalanced();
}

TEST_F(TrackPhaseTest, PooledAlbumCounterGoesOnAcrossDropsAndNamesStayUnique) {
  haveAlbum(7, u"Rock", 999);
  haveAlbum(8, u"Rock ( 4 )", 3);
  targetAlbum(7, u"Rock");
  state.pooledAlbumCounter = 3;
  queueFiles(2);

  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFinished);

  // A full album takes nothing; "Rock ( 4 )" exists, so the new one is
  // made unique from the text before its "(".
  EXPECT_EQ(device.tracksIn[7], 999);
  EXPECT_EQ(events.folders, std::vector<std::string>{"Rock (1)=100"});
  EXPECT_EQ(device.received[100], (std::vector<std::string>{"t0", "t1"}));
  EXPECT_EQ(state.pooledAlbumCounter, 4);
  expectBalanced();
}

TEST_F(TrackPhaseTest, WithoutTargetAlbumMakesOneAndFills999IntoIt) {
  queueFiles(999);
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFinished);
  EXPECT_EQ(events.folders, std::vector<std::string>{"New Album=100"});
  EXPECT_EQ(device.tracksIn[100], 999);
  EXPECT_EQ(device.creates, 1);
  EXPECT_EQ(state.m_sOleDropAlbumName, u"New Album");
  EXPECT_EQ(events.completed.front(), 0u);
  EXPECT_EQ(events.completed.back(), 998u);
  EXPECT_EQ(albums.IndexOfEid(100), 0);
  expectBalanced();
}

TEST_F(TrackPhaseTest, TrackCountOfZeroIsARealCount) {
  haveAlbum(7, u"Rock", 0);
  targetAlbum(7, u"Rock");
  queueFiles(999);
  for (size_t i = 0; i < 5; ++i) lists.AppendToPool(Job("p" + std::to_string(i)));
  // The queue alone reaches 999: nothing more moves, the 5 pooled go on.
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFinished);
  EXPECT_EQ(device.tracksIn[7], 999);
  EXPECT_EQ(device.tracksIn[100], 5);
  EXPECT_TRUE(logged("nTotal = 999"));
}

TEST_F(TrackPhaseTest, FailedTrackCountMovesNothing) {
  haveAlbum(7, u"Rock", 500);
  targetAlbum(7, u"Rock");
  device.countFails = true;
  queueFiles(600);
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFinished);
  EXPECT_EQ(device.tracksIn[7], 1100);
  EXPECT_EQ(device.creates, 0);
  EXPECT_TRUE(logged("Failed to get album track count."));
}

TEST_F(TrackPhaseTest, FailedTransferStopsWithMessage17152) {
  haveAlbum(7, u"Rock", 0);
  targetAlbum(7, u"Rock");
  queueFiles(3);
  device.transferResults[2] = hr::kFail;
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFailed);
  EXPECT_EQ(events.messages, std::vector<unsigned>{17152});
  EXPECT_EQ(events.completed, std::vector<size_t>{0});
  EXPECT_EQ(events.completions, 1);
  EXPECT_EQ(flags.cancelledMark.load(), 0);
  EXPECT_TRUE(logged("OleDropTransferTracksProc(): Transfer failed!"));
  expectBalanced();
}

TEST_F(TrackPhaseTest, CancelledFirstTransferIntoNewAlbumClearsTheList) {
  queueFiles(2);
  lists.AppendFolderItem({u"A", u"a.mp3", Job("a")});
  device.transferResults[1] = hr::kFalse;
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseCancelled);
  EXPECT_EQ(events.clears, 1);
  EXPECT_EQ(flags.cancelledMark.load(), 1);
  EXPECT_EQ(lists.FolderItemCount(), 0u);
  EXPECT_TRUE(events.messages.empty());
  EXPECT_EQ(events.completions, 1);
  EXPECT_TRUE(logged("OleDropTransferTracksProc(): Transfer cancelled!"));
  expectBalanced();
}

TEST_F(TrackPhaseTest, NoMoreAlbumsForTheNewAlbumShows17666) {
  queueFiles(1);
  device.createFailures[1] = app::engine::kNoMoreAlbumsResult;
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseNoMoreAlbums);
  EXPECT_EQ(events.messages, std::vector<unsigned>{17666});
  EXPECT_TRUE(events.folders.empty());
  EXPECT_EQ(device.transfers, 0);
  EXPECT_EQ(events.completions, 1);
  expectBalanced();
}

class FolderPhaseTest : public EngineTest {};

TEST_F(FolderPhaseTest, FolderOf2000GoesInto999And999And2WithUniqueNames) {
  folderItems(u"Big", 2000);
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFinished);

  EXPECT_EQ(events.folders, (std::vector<std::string>{"Big=100", "Big(1)=101", "Big(2)=102"}));
  EXPECT_EQ(device.tracksIn[100], 999);
  EXPECT_EQ(device.tracksIn[101], 999);
  EXPECT_EQ(device.tracksIn[102], 2);
  EXPECT_EQ(device.received[101].front(), "f999");
  EXPECT_EQ(device.received[102].back(), "f1999");
  // The first job of each pooled batch is placed "after", the rest "into".
  EXPECT_EQ(device.placements[998], 4u);
  EXPECT_EQ(device.placements[999], 2u);
  EXPECT_EQ(device.placements[1000], 4u);
  EXPECT_EQ(device.placements[1998], 2u);
  EXPECT_EQ(lists.FolderItemCount(), 0u);
  EXPECT_EQ(albums.Size(), 3u);
  EXPECT_EQ(state.m_dwOleDropAlbumEID, 102);
  EXPECT_EQ(state.m_sOleDropAlbumName, u"Big");
  EXPECT_TRUE(logged("Total Tracks under any folder to transfer = 2000."));
  EXPECT_TRUE(logged("Total Jobs to transfer under the folder = 999"));
  EXPECT_TRUE(
      logged("SchedulePooledJobs:\t999 jobs are moved to transfer job queue. 2 jobs remain in job pool."));
  EXPECT_TRUE(logged("SchedulePooledJobs:\t2 jobs are moved to transfer job queue. Job pool is cleaned."));
  expectBalanced();
}

TEST_F(FolderPhaseTest, EachTransferNamesTheNextSourceOfItsBatch) {
  haveAlbum(7, u"Rock", 0);
  targetAlbum(7, u"Rock");
  queueFiles(3);
  folderItems(u"A", 2, "a");
  folderItems(u"B", 2, "b");
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFinished);
  // The last job of a batch names nothing: the next batch starts only
  // after its pause.
  EXPECT_EQ(device.sources, (std::vector<std::string>{"expect t1.mp3", "transfer t0.mp3", "expect t2.mp3",
                                                      "transfer t1.mp3", "transfer t2.mp3", "expect a1.mp3",
                                                      "transfer a0.mp3", "transfer a1.mp3", "expect b1.mp3",
                                                      "transfer b0.mp3", "transfer b1.mp3"}));
}

TEST_F(FolderPhaseTest, EachFolderGetsItsOwnAlbumNamedUniquely) {
  haveAlbum(5, u"Live", 1);
  folderItems(u"Live", 2, "l");
  folderItems(u"Live B", 1, "b");
  folderItems(u"Live", 1, "m");  // a second folder named alike, later in the drop
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFinished);
  EXPECT_EQ(events.folders, (std::vector<std::string>{"Live(1)=100", "Live B=101", "Live(2)=102"}));
  EXPECT_EQ(device.received[100], (std::vector<std::string>{"l0", "l1"}));
  EXPECT_EQ(device.received[102], std::vector<std::string>{"m0"});
  EXPECT_EQ(events.completed, (std::vector<size_t>{0, 1, 0, 0}));
  // Each creation waited for the device inside its own transaction.
  EXPECT_EQ(std::vector<std::string>(device.calls.begin(), device.calls.begin() + 4),
            (std::vector<std::string>{"start", "create Live(1)", "wait", "end"}));
  expectBalanced();
}

TEST_F(FolderPhaseTest, NoMoreAlbumsEndsWithResult4AndMessage17666) {
  folderItems(u"A", 2);
  device.createFailures[1] = app::engine::kNoMoreAlbumsResult;
  EXPECT_EQ(app::engine::OleDropTransferFolderProc(context), kPhaseNoMoreAlbums);
  EXPECT_EQ(device.transfers, 0);
  EXPECT_TRUE(events.folders.empty());
  expectBalanced();

  events = RecordingEvents();
  device.createFailures[2] = app::engine::kNoMoreAlbumsResult;
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseNoMoreAlbums);
  EXPECT_EQ(events.messages, std::vector<unsigned>{17666});
  EXPECT_EQ(events.completions, 1);
}

TEST_F(FolderPhaseTest, OtherCreationFailureEndsWithResult3) {
  folderItems(u"A", 1);
  device.createFailures[1] = hr::kFail;
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFailed);
  EXPECT_EQ(events.messages, std::vector<unsigned>{17152});
  EXPECT_TRUE(logged("OleDropTransferFolderProc(): Created Folder failed!"));
  expectBalanced();
}

TEST_F(FolderPhaseTest, FailedTransferEndsItsTransactionAndStops) {
  folderItems(u"A", 3);
  device.transferResults[2] = static_cast<HRESULT>(0x80070070L);
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseFailed);
  EXPECT_EQ(device.tracksIn[100], 1);
  EXPECT_EQ(events.messages, std::vector<unsigned>{17152});
  expectBalanced();
}

TEST_F(FolderPhaseTest, AbandonedTransferCountsAsCancelled) {
  folderItems(u"A", 3);
  device.transferResults[2] = hr::kFalse;
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseCancelled);
  EXPECT_EQ(flags.cancelledMark.load(), 1);
  EXPECT_EQ(lists.FolderItemCount(), 0u);
  EXPECT_EQ(events.completions, 1);
  EXPECT_TRUE(events.messages.empty());
}

// Where the cancel flag is raised, and the note the phase must leave.
struct CancelPoint {
  const char* name;
  size_t singleFiles;
  size_t folderItems;
  size_t pooledFolderItems;  // beyond the folder's first 999
  std::function<void(EngineTest&, app::TransferFlags&, RecordingEvents&, RecordingDevice&)> arm;
  const char* note;
};

class CancelPointTest : public EngineTest, public ::testing::WithParamInterface<int> {};

void CancelAtTrack(RecordingEvents& e, app::TransferFlags& f, size_t n) {
  e.onTrack = [&f, n](size_t count) {
    if (count == n) f.cancel.store(1);
  };
}
void CancelAtFolder(RecordingEvents& e, app::TransferFlags& f, size_t n) {
  e.onFolder = [&f, n](size_t count) {
    if (count == n) f.cancel.store(1);
  };
}
void CancelInTransfer(RecordingDevice& d, app::TransferFlags& f, int n) {
  d.beforeTransfer = [&f, n](int count) {
    if (count == n) f.cancel.store(1);
  };
}

const CancelPoint kCancelPoints[] = {
    {"track loop", 3, 1, 0, [](auto&, auto& f, auto& e, auto&) { CancelAtTrack(e, f, 1); },
     "Transfer Cancelled after tracks are transfered."},
    {"after the queue", 2, 1, 0, [](auto&, auto& f, auto&, auto& d) { CancelInTransfer(d, f, 2); },
     "Transfer Cancelled after tracks are transfered."},
    {"pooled album made", 1000, 1, 0, [](auto&, auto& f, auto& e, auto&) { CancelAtFolder(e, f, 1); },
     "Transfer Cancelled after folder is created."},
    {"pooled tracks done", 1001, 1, 0, [](auto&, auto& f, auto&, auto& d) { CancelInTransfer(d, f, 1001); },
     "Transfer Cancelled after pooled tracks are transfered."},
    {"before a folder", 0, 1, 0, [](auto&, auto& f, auto&, auto&) { f.cancel.store(1); },
     "Transfer Cancelled after folder-item #0 are about to transfer."},
    {"folder album made", 0, 2, 0, [](auto&, auto& f, auto& e, auto&) { CancelAtFolder(e, f, 1); },
     "Transfer Cancelled after creating folder."},
    {"folder track loop", 0, 3, 0, [](auto&, auto& f, auto& e, auto&) { CancelAtTrack(e, f, 1); },
     "Transfer Cancelled after tracks in folder-item #1 are transfered."},
    {"folder batch done", 0, 2, 0, [](auto&, auto& f, auto&, auto& d) { CancelInTransfer(d, f, 2); },
     "Transfer Cancelled after transfering this batch of tracks."},
    {"pooled folder album made", 0, 999, 2, [](auto&, auto& f, auto& e, auto&) { CancelAtFolder(e, f, 2); },
     "Transfer Cancelled after creating the folder for the pooled jobs."},
    {"pooled folder tracks done", 0, 999, 2,
     [](auto&, auto& f, auto&, auto& d) { CancelInTransfer(d, f, 1000); },
     "Transfer Cancelled after transfering pooled jobs."},
};

TEST_P(CancelPointTest, EmptiesFolderListsSetsTheMarkAndLogsWhere) {
  const CancelPoint& point = kCancelPoints[GetParam()];
  SCOPED_TRACE(point.name);
  if (point.singleFiles) {
    haveAlbum(7, u"Rock", 0);
    targetAlbum(7, u"Rock");
    queueFiles(std::min<size_t>(point.singleFiles, 999));
    for (size_t i = 999; i < point.singleFiles; ++i) lists.AppendToPool(Job(T(i)));
  }
  folderItems(u"Folder", point.folderItems + point.pooledFolderItems);
  lists.AppendDroppedFolder(u"C:\\Folder");
  if (point.singleFiles == 0) {
    // "before a folder" needs the flag at the folder phase's first check;
    // run that phase alone so the track phase's check does not catch it.
    point.arm(*this, flags, events, device);
    const int result = point.folderItems == 1 ? app::engine::OleDropTransferFolderProc(context)
                                              : app::engine::RunDrop(context);
    EXPECT_EQ(result, kPhaseCancelled);
  } else {
    point.arm(*this, flags, events, device);
    EXPECT_EQ(app::engine::RunDrop(context), kPhaseCancelled);
  }
  EXPECT_EQ(lists.FolderItemCount(), 0u);
  EXPECT_EQ(lists.DroppedFolderCount(), 0u);
  EXPECT_EQ(flags.cancelledMark.load(), 1);
  EXPECT_TRUE(logged(point.note)) << logText();
  EXPECT_TRUE(events.messages.empty());
  expectBalanced();
}

INSTANTIATE_TEST_SUITE_P(EveryCancelPoint, CancelPointTest,
                         ::testing::Range(0, static_cast<int>(std::size(kCancelPoints))));

class DeviceGoneTest : public EngineTest {};

TEST_F(DeviceGoneTest, EndsThePhaseWithoutAnotherReport) {
  haveAlbum(7, u"Rock", 0);
  targetAlbum(7, u"Rock");
  queueFiles(3);
  folderItems(u"A", 2);
  events.onTrack = [this](size_t count) {
    if (count == 1) flags.deviceGone.store(1);
  };
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseDeviceGone);
  EXPECT_EQ(events.completed, std::vector<size_t>{0});
  EXPECT_EQ(events.completions, 0);
  EXPECT_TRUE(events.messages.empty());
  EXPECT_TRUE(events.folders.empty());
  EXPECT_EQ(device.transfers, 1);
  EXPECT_EQ(flags.cancelledMark.load(), 0);
}

TEST_F(DeviceGoneTest, VanishedPlayerDuringFirstTransferClearsNothing) {
  queueFiles(1);
  device.beforeTransfer = [this](int) { flags.deviceGone.store(1); };
  device.transferResults[1] = hr::kFalse;
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseDeviceGone);
  EXPECT_EQ(events.clears, 0);
  EXPECT_EQ(events.completions, 0);
}

TEST_F(DeviceGoneTest, FolderPhaseStopsAtItsNextCheck) {
  folderItems(u"A", 1);
  folderItems(u"B", 1);
  events.onFolder = [this](size_t) { flags.deviceGone.store(1); };
  EXPECT_EQ(app::engine::RunDrop(context), kPhaseDeviceGone);
  EXPECT_EQ(events.folders.size(), 1u);
  EXPECT_EQ(device.transfers, 0);
  EXPECT_EQ(events.completions, 0);
  expectBalanced();
}

}  // namespace
}  // namespace enginetest
