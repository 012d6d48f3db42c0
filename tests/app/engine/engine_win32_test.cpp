// The engine's Win32 half under Wine: the drop thread against the simulated
// player's library (checked afterwards with playertool), the posted
// messages and their album names, CF_HDROP reading and the real file
// system as the drop collection sees it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/engine/drop_collector_host_win32.h"
#include "app/engine/drop_events_win32.h"
#include "app/engine/drop_phases.h"
#include "app/engine/drop_thread.h"
#include "app/engine/mp3_drop_target.h"
#include "app/engine/posted_album_name.h"
#include "app/engine/posted_track.h"
#include "app/registered_messages.h"
#include "platform/system.h"
#include "app/hdrop_data_object.h"
#include "tests/app/engine/no_files_data_object.h"
#include "tests/app/engine/recording_device.h"
#include "tests/device/mp3_files.h"
#include "tests/device/standin_player.h"
#include "win32/unique_handle.h"
#include "win32/unique_window.h"

namespace enginetest {
namespace {

// A thread's own message-only window to post to.
class MessageSink {
 public:
  MessageSink() {
    window_ = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }
  ~MessageSink() {
    if (window_) ::DestroyWindow(window_);
  }
  HWND hwnd() const { return window_; }
  // The posted messages waiting for the window, in order.
  std::vector<MSG> take() {
    std::vector<MSG> out;
    MSG m;
    while (::PeekMessageW(&m, window_, 0, 0, PM_REMOVE)) out.push_back(m);
    return out;
  }

 private:
  HWND window_ = nullptr;
};

// Runs playertool with its output in `output`; the exit code, -1 when it
// could not start.
int RunPlayertool(const std::wstring& arguments, std::string& output) {
  testsupport::TempDir dir;
  const sys::Path outputPath = dir.path() / "out.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  win::UniqueFile out(::CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out.valid()) return -1;
  const std::wstring program = (sys::ProgramFolder() / L"playertool.exe").wstring();
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.get();
  startup.hStdError = out.get();
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return -1;
  }
  win::UniqueHandle processHandle(process.hProcess);
  win::UniqueHandle threadHandle(process.hThread);
  ::WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  out.reset();
  output = testsupport::ReadText(outputPath);
  return static_cast<int>(code);
}

class DropThreadTest : public ::testing::Test {
 protected:
  mp3::TrackInfo source(const std::string& name) {
    const sys::Path path =
        player.writeSource(name + ".mp3", devicetest::Frames(testsupport::FrameSpec{}, 30, 0x5A));
    mp3::TrackInfo info;
    EXPECT_TRUE(player.wrap().CheckValidity(path, info));
    info.sourcePath = path;
    return info;
  }
  std::vector<device::AlbumRecord> playerAlbums() {
    uint32_t count = 0;
    std::vector<device::AlbumRecord> out;
    EXPECT_EQ(player.wrap().EnumAlbums(count, out), S_OK);
    return out;
  }
  uint32_t tracksIn(uint32_t eid) {
    uint32_t count = 0;
    EXPECT_EQ(player.wrap().EnumTracks(eid, count, nullptr), S_OK);
    return count;
  }
  // The drop thread's context over this fixture's lists, state and flags.
  app::engine::DropThreadContext contextWith(decltype(app::engine::DropThreadContext::device) device,
                                             decltype(app::engine::DropThreadContext::events) sink) {
    app::engine::DropThreadContext c;
    c.device = device;
    c.lists = &lists;
    c.albums = &albums;
    c.state = &state;
    c.flags = &flags;
    c.events = sink;
    c.newAlbumName = u"New Album";
    return c;
  }
  void run() {
    app::engine::DropThreadContext c = contextWith(&player.wrap(), &events);
    c.batchPauseMs = 0;
    ASSERT_TRUE(thread.Start(c));
    thread.Wait();
    EXPECT_FALSE(thread.IsRunning());
  }

  devicetest::StandInPlayer player;
  app::engine::JobLists lists;
  app::engine::AlbumVector albums;
  app::engine::DropState state;
  app::TransferFlags flags;
  RecordingEvents events;
  app::engine::CDropThread thread;
};

TEST_F(DropThreadTest, DropOfFilesAndAFolderLandsOnThePlayer) {
  const uint32_t rock = player.createAlbum(u"Rock");
  player.createAlbum(u"Live");
  albums.Assign(playerAlbums());
  state.m_dwOleDropAlbumEID = rock;
  state.m_sOleDropAlbumName = u"Rock";
  state.m_nOleDropAlbumIndex = 0;
  for (int i = 0; i < 3; ++i) lists.QueueDroppedFile(source("single" + std::to_string(i)));
  for (int i = 0; i < 2; ++i) lists.AppendFolderItem({u"Live", u"x.mp3", source("live" + std::to_string(i))});

  run();

  EXPECT_EQ(thread.LastResult(), app::engine::kPhaseFinished);
  const auto onPlayer = playerAlbums();
  ASSERT_EQ(onPlayer.size(), 3u);
  EXPECT_EQ(onPlayer[2].name, u"Live(1)");
  EXPECT_EQ(tracksIn(rock), 3u);
  EXPECT_EQ(tracksIn(onPlayer[1].eid), 0u);
  EXPECT_EQ(tracksIn(onPlayer[2].eid), 2u);
  EXPECT_EQ(events.folders, std::vector<std::string>{"Live(1)=" + std::to_string(onPlayer[2].eid)});
  EXPECT_EQ(events.completed, (std::vector<size_t>{0, 1, 2, 0, 1}));
  EXPECT_EQ(events.completions, 1);
  EXPECT_TRUE(events.messages.empty());
  EXPECT_EQ(lists.FolderItemCount(), 0u);
  player.expectClean();

  player.release();  // the library lets go of the folder
  std::string output;
  EXPECT_EQ(RunPlayertool(L"check --player \"" + player.folder().wstring() + L"\"", output), 0) << output;
  EXPECT_NE(output.find("check: 3 albums, 5 tracks, 0 faults"), std::string::npos) << output;
}

TEST_F(DropThreadTest, DropWithoutTargetAlbumMakesTheNewAlbum) {
  lists.QueueDroppedFile(source("one"));
  run();
  const auto onPlayer = playerAlbums();
  ASSERT_EQ(onPlayer.size(), 1u);
  EXPECT_EQ(onPlayer[0].name, u"New Album");
  EXPECT_EQ(tracksIn(onPlayer[0].eid), 1u);
  EXPECT_EQ(state.m_dwOleDropAlbumEID, onPlayer[0].eid);
  EXPECT_EQ(albums.IndexOfEid(onPlayer[0].eid), 0);
  player.expectClean();
}

TEST_F(DropThreadTest, PlayerRefusingAlbumsEndsWithNoMoreAlbums) {
  player.release();
  devicetest::StandInPlayer refusing("album-creation-fails = 1\n");
  app::engine::DropThreadContext c = contextWith(&refusing.wrap(), &events);
  c.batchPauseMs = 0;
  lists.AppendFolderItem({u"A", u"a.mp3", mp3::TrackInfo{}});
  ASSERT_TRUE(thread.Start(c));
  thread.Wait();
  EXPECT_EQ(thread.LastResult(), app::engine::kPhaseNoMoreAlbums);
  EXPECT_EQ(events.messages, std::vector<unsigned>{17666});
  EXPECT_EQ(events.completions, 1);
  refusing.expectClean();
}

TEST_F(DropThreadTest, CancelledBeforeTheFirstTrackTransfersNothing) {
  const uint32_t rock = player.createAlbum(u"Rock");
  albums.Assign(playerAlbums());
  state.m_dwOleDropAlbumEID = rock;
  state.m_sOleDropAlbumName = u"Rock";
  lists.QueueDroppedFile(source("one"));
  flags.cancel.store(1);
  run();
  EXPECT_EQ(thread.LastResult(), app::engine::kPhaseCancelled);
  EXPECT_EQ(tracksIn(rock), 0u);
  EXPECT_EQ(flags.cancelledMark.load(), 1);
  EXPECT_EQ(events.completions, 1);
  player.expectClean();
}

// Whether the file can be opened with no sharing at all: it cannot while
// anyone else holds it open.
bool OpensExclusively(const sys::Path& path) {
  win::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid();
}

TEST_F(DropThreadTest, DropStoppedAfterItsFirstTrackHoldsNoneOfTheDroppedFiles) {
  // Sources past 256 KiB stay open from their opening to their last chunk:
  // the next one is opened while the first is written.
  const uint32_t rock = player.createAlbum(u"Rock");
  albums.Assign(playerAlbums());
  state.m_dwOleDropAlbumEID = rock;
  state.m_sOleDropAlbumName = u"Rock";
  std::vector<sys::Path> paths;
  for (int i = 0; i < 3; ++i) {
    paths.push_back(player.writeSource("long" + std::to_string(i) + ".mp3",
                                       devicetest::Frames(testsupport::FrameSpec{}, 700, 0x5A)));
    mp3::TrackInfo info;
    ASSERT_TRUE(player.wrap().CheckValidity(paths.back(), info));
    info.sourcePath = paths.back();
    lists.QueueDroppedFile(info);
  }
  events.onTrack = [this](size_t) { flags.cancel.store(1); };
  run();
  EXPECT_EQ(thread.LastResult(), app::engine::kPhaseCancelled);
  EXPECT_EQ(tracksIn(rock), 1u);
  for (const auto& path : paths) EXPECT_TRUE(OpensExclusively(path)) << path.string();
  player.expectClean();
}

// Holds the drop thread in its last report until the test lets it go.
class HeldEvents : public RecordingEvents {
 public:
  void TransferCompleted() override {
    ::SetEvent(reached.get());
    ::WaitForSingleObject(release.get(), 10000);
    RecordingEvents::TransferCompleted();
  }
  win::UniqueHandle reached{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  win::UniqueHandle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

TEST_F(DropThreadTest, SecondDropIsRefusedWhileOneRuns) {
  HeldEvents held;
  app::engine::DropThreadContext c = contextWith(&player.wrap(), &held);
  ASSERT_TRUE(thread.Start(c));
  ASSERT_EQ(::WaitForSingleObject(held.reached.get(), 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(thread.IsRunning());
  EXPECT_FALSE(thread.Start(c));
  ::SetEvent(held.release.get());
  thread.Wait();
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(held.completions, 1);
  EXPECT_TRUE(thread.Start(c));  // a finished drop makes room for the next
  thread.Wait();
  EXPECT_EQ(held.completions, 2);
}

TEST(PostedMessagesTest, OneFolderCreatedCarriesACopyOfTheName) {
  MessageSink sink;
  ASSERT_NE(sink.hwnd(), nullptr);
  const std::u16string name = u"Rock ( 1 )";
  ASSERT_TRUE(app::engine::PostOneFolderCreated(sink.hwnd(), &name, 321));
  ASSERT_TRUE(app::engine::PostOneFolderCreated(sink.hwnd(), nullptr, app::engine::kNoMoreAlbumsEid));
  const auto posted = sink.take();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].message, app::messages::kOneFolderCreated.id());
  {
    app::engine::PostedAlbumName owned(posted[0].wParam);
    EXPECT_TRUE(owned.has());
    EXPECT_EQ(owned.text(), "Rock ( 1 )");
  }
  EXPECT_EQ(posted[0].lParam, 321);
  app::engine::PostedAlbumName none(posted[1].wParam);
  EXPECT_FALSE(none.has());
  EXPECT_EQ(posted[1].lParam, -2);

  // A window that is gone: the post fails and the copy is not leaked to it.
  HWND gone = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ::DestroyWindow(gone);
  EXPECT_FALSE(app::engine::PostOneFolderCreated(gone, &name, 1));
  EXPECT_FALSE(app::engine::PostOneTrackCompleted(gone, app::engine::CompletedTrack{}));
}

TEST(PostedMessagesTest, PhaseReportsArriveInOrderWithTheirParameters) {
  MessageSink sink;
  app::engine::CPostingJobEvents events(sink.hwnd());
  app::engine::CompletedTrack done;
  done.index = 5;
  done.eid = 4711;
  done.job.title = "Song";
  done.job.durationMs = 1234;
  events.OneTrackCompleted(done);
  done.job.title = "changed after the post";  // the report carries its own copy
  events.ClearListItems();
  events.TransferCompleted();
  const auto posted = sink.take();
  ASSERT_EQ(posted.size(), 3u);
  EXPECT_EQ(posted[0].message, app::messages::kOneTrackCompleted.id());
  {
    const auto report = app::engine::TakePostedTrack(posted[0].wParam);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->index, 5u);
    EXPECT_EQ(report->eid, 4711u);
    EXPECT_EQ(report->job.title, "Song");
    EXPECT_EQ(report->job.durationMs, 1234);
  }
  EXPECT_EQ(posted[1].message, app::messages::kClearListItems.id());
  EXPECT_EQ(posted[2].message, app::messages::kTransferCompleted.id());
  EXPECT_EQ(posted[2].wParam, 0u);
}

TEST(HdropTest, NamesComeBackWholeAndInOrder) {
  const std::wstring longName = L"C:\\" + std::wstring(300, L'x') + L".mp3";
  // The data object the program itself builds for its command line.
  IDataObject* data = app::CreateHdropDataObject({L"C:\\music\\a.mp3", L"C:\\music\\Folder", longName});
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(app::engine::CMp3DropTarget::OffersFiles(data));
  std::vector<std::u16string> names;
  const bool read = app::engine::CMp3DropTarget::ReadDroppedNames(data, names);
  data->Release();
  ASSERT_TRUE(read);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], u"C:\\music\\a.mp3");
  EXPECT_EQ(names[1], u"C:\\music\\Folder");
  EXPECT_EQ(names[2].size(), longName.size());
}

TEST(HdropTest, DataWithoutAFileListOffersNothing) {
  NoFilesDataObject data;
  EXPECT_FALSE(app::engine::CMp3DropTarget::OffersFiles(&data));
  std::vector<std::u16string> names{u"stale"};
  EXPECT_FALSE(app::engine::CMp3DropTarget::ReadDroppedNames(&data, names));
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(app::engine::CMp3DropTarget::OffersFiles(nullptr));
}

// The collector host's file-system side needs nothing of the main window.
class NoWindowHost : public app::engine::DropHost {
 public:
  HWND ListWindow() override { return nullptr; }
  treelist::CTrackListCtrl& TrackList() override { std::abort(); }
  app::CTransferProgressDlg& ProgressWindow() override { std::abort(); }
  void PrepareForTransfer() override {}
  void DoOleDrop(bool, bool) override {}
  bool IsTransferRunning() const override { return false; }
  size_t AlbumCount() const override { return 0; }
  device::CIPACWrap& Device() override { std::abort(); }
  void EnableMainWindow(bool) override {}
};

TEST(CollectorFileSystemTest, FoldersSizesAndListingsAsTheSystemGivesThem) {
  testsupport::TempDir dir;
  std::filesystem::create_directories(dir.path() / "A" / "B");
  std::filesystem::create_directories(dir.path() / "Empty");
  testsupport::WriteFile(dir.path() / "A" / "song.mp3", std::vector<uint8_t>(1234, 1));
  NoWindowHost windows;
  app::engine::CDropCollectorHost host(windows);
  const std::u16string a = (dir.path() / "A").u16string();

  bool isFolder = false;
  ASSERT_TRUE(host.QueryAttributes(a, isFolder));
  EXPECT_TRUE(isFolder);
  ASSERT_TRUE(host.QueryAttributes(a + u"\\song.mp3", isFolder));
  EXPECT_FALSE(isFolder);
  EXPECT_FALSE(host.QueryAttributes(a + u"\\missing.mp3", isFolder));

  uint64_t size = 0;
  ASSERT_TRUE(host.FileSize(a + u"\\song.mp3", size));
  EXPECT_EQ(size, 1234u);
  EXPECT_FALSE(host.FileSize(a + u"\\missing.mp3", size));

  std::vector<app::engine::DropCollectorHost::FolderEntry> entries;
  ASSERT_TRUE(host.ListFolder(a, entries));
  std::vector<std::u16string> names;
  for (const auto& e : entries) {
    if (e.name != u"." && e.name != u"..") names.push_back(e.name + (e.isFolder ? u"/" : u""));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"B/", u"song.mp3"}));
  EXPECT_TRUE(host.ListFolder((dir.path() / "Empty").u16string(), entries));
  EXPECT_FALSE(host.ListFolder(a + u"\\nothing-here", entries));
}

}  // namespace
}  // namespace enginetest
