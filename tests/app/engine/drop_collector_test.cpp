// Collecting a drop against a made-up file system and player: what is
// queued, pooled or refused, album names of nested folders, the free-space
// check and its report, cancel and the failures that end a drop.
#include "app/engine/drop_collector.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/app/engine/engine_test_support.h"

namespace enginetest {
namespace {

using app::engine::DropCollector;

struct FakeEntry {
  bool isFolder = false;
  uint64_t size = 0;
  bool valid = true;
  std::vector<std::u16string> children;  // names, in listing order
};

class FakeHost : public app::engine::DropCollectorHost {
 public:
  // ---- building the tree ----
  void file(const std::u16string& path, uint64_t size, bool valid = true) {
    entries[path] = FakeEntry{false, size, valid, {}};
    addToParent(path);
  }
  void folder(const std::u16string& path) {
    entries[path] = FakeEntry{true, 0, true, {}};
    addToParent(path);
  }

  bool QueryAttributes(const std::u16string& path, bool& isFolder) override {
    auto it = entries.find(path);
    if (it == entries.end()) return false;
    isFolder = it->second.isFolder;
    return true;
  }
  bool FileSize(const std::u16string& path, uint64_t& size) override {
    ++sizeReads[path];
    if (sizeFailures[path]-- > 0) return false;
    auto it = entries.find(path);
    if (it == entries.end()) return false;
    size = it->second.size;
    return true;
  }
  bool ListFolder(const std::u16string& folder, std::vector<FolderEntry>& list) override {
    auto it = entries.find(folder);
    if (it == entries.end()) return false;
    list = {{u".", true}, {u"..", true}};
    for (const auto& name : it->second.children)
      list.push_back({name, entries[folder + u"\\" + name].isFolder});
    return true;
  }
  bool FreeSpace(int64_t& bytes) override {
    ++freeReads;
    bytes = freeBytes;
    return freeReadable;
  }
  bool CheckValidity(const std::u16string& path, app::engine::TransferJob& info) override {
    checked.push_back(sys::Utf8FromUtf16(path));
    clockMs += msPerCheck;
    if (onCheck) onCheck(checked.size());
    info = Job(sys::Utf8FromUtf16(path), 77);  // the collector sets number and path itself
    return entries[path].valid;
  }
  size_t AlbumCount() override { return albumCount; }
  std::u16string MessageText(unsigned id) override {
    const std::string s = "<" + std::to_string(id) + ">";
    return std::u16string(s.begin(), s.end());
  }
  void SetProgressText(const std::u16string& text) override { texts.push_back(sys::Utf8FromUtf16(text)); }
  void SetProgressClosing() override { ++closing; }
  void BringProgressToFront() override { ++fronts; }
  void RepaintProgress() override { ++repaints; }
  uint64_t TickMs() override { return clockMs; }
  void HideProgress() override { ++hidden; }
  void EnableMainWindow(bool enable) override { mainEnabled = enable; }
  void PumpMessages(int count) override {
    pumped.push_back(count);
    if (onPump) onPump();
  }
  void Sleep(unsigned ms) override { slept += ms; }
  void DoOleDrop(bool accepted, bool refused) override { drops.push_back({accepted, refused}); }
  void ShowLastRow() override { ++lastRow; }

  std::map<std::u16string, FakeEntry> entries;
  std::map<std::u16string, int> sizeFailures;
  std::map<std::u16string, int> sizeReads;
  int64_t freeBytes = 1'000'000;
  bool freeReadable = true;
  int freeReads = 0;
  size_t albumCount = 0;
  std::vector<std::string> checked;
  std::function<void(size_t)> onCheck;
  std::function<void()> onPump;  // a message that runs while messages are pumped
  std::vector<std::string> texts;
  int closing = 0, fronts = 0, repaints = 0, hidden = 0, lastRow = 0;
  uint64_t clockMs = 0, msPerCheck = 0;
  bool mainEnabled = true;
  std::vector<int> pumped;
  unsigned slept = 0;
  std::vector<std::pair<bool, bool>> drops;

 private:
  void addToParent(const std::u16string& path) {
    const size_t cut = path.rfind(u'\\');
    if (cut == std::u16string::npos) return;
    auto parent = entries.find(path.substr(0, cut));
    if (parent != entries.end()) parent->second.children.push_back(path.substr(cut + 1));
  }
};

class DropCollectorTest : public EngineTest {
 protected:
  int read(const std::vector<std::u16string>& names) { return collector.ReadHdropData(names); }
  std::vector<std::string> folderAlbums() {
    std::vector<std::string> out;
    for (const auto& item : lists.FolderItemsSnapshot()) out.push_back(sys::Utf8FromUtf16(item.m_folder));
    return out;
  }

  FakeHost host;
  DropCollector collector{host, lists, flags};
};

TEST_F(DropCollectorTest, TextFileBesideAnMp3IsRefusedTheMp3Queued) {
  host.file(u"C:\\notes.txt", 10);
  host.file(u"C:\\song.MP3", 100);
  EXPECT_EQ(read({u"C:\\notes.txt", u"C:\\song.MP3"}), 1);

  ASSERT_EQ(lists.QueueSize(), 1u);
  app::engine::TransferJob job;
  ASSERT_TRUE(lists.QueuedJob(0, job));
  EXPECT_EQ(job.number, 0u);
  EXPECT_EQ(job.sourcePath, sys::Path(u"C:\\song.MP3"));
  EXPECT_EQ(host.drops, (std::vector<std::pair<bool, bool>>{{true, true}}));
  EXPECT_EQ(host.checked,
            std::vector<std::string>{"C:\\song.MP3"});  // the text file never reached the analyser
  EXPECT_EQ(collector.m_uiTotalSize, 100u);
  EXPECT_FALSE(host.mainEnabled);  // stays disabled for the transfer
  EXPECT_EQ(host.lastRow, 0);
  EXPECT_EQ(host.pumped, (std::vector<int>{4, 4}));
  EXPECT_TRUE(logged("uNumFiles = 2"));
  EXPECT_TRUE(logged("file is valid MP3"));
}

TEST_F(DropCollectorTest, InvalidMp3IsRefused) {
  host.file(u"C:\\bad.mp3", 100, false);
  EXPECT_EQ(read({u"C:\\bad.mp3"}), 1);
  EXPECT_EQ(lists.QueueSize(), 0u);
  EXPECT_EQ(host.drops, (std::vector<std::pair<bool, bool>>{{false, true}}));
  EXPECT_EQ(collector.m_uiTotalSize, 0u);
  EXPECT_TRUE(logged("Not valid MP3"));
}

TEST_F(DropCollectorTest, The1000thDroppedFileGoesToThePool) {
  std::vector<std::u16string> names;
  for (int i = 0; i < 1000; ++i) {
    const std::string n = "C:\\s" + std::to_string(i) + ".mp3";
    names.emplace_back(n.begin(), n.end());
    host.file(names.back(), 1);
  }
  EXPECT_EQ(read(names), 1);
  EXPECT_EQ(lists.QueueSize(), 999u);
  ASSERT_EQ(lists.PoolSize(), 1u);
  EXPECT_EQ(lists.PoolSnapshot()[0].number, 999u);
  EXPECT_EQ(lists.PoolSnapshot()[0].sourcePath, sys::Path(u"C:\\s999.mp3"));
  EXPECT_EQ(host.freeReads, 1);  // once per drop, not per file
}

TEST_F(DropCollectorTest, RunningNumberCountsOnlyAcceptedFiles) {
  host.file(u"C:\\a.txt", 1);
  host.file(u"C:\\b.mp3", 1);
  host.file(u"C:\\c.mp3", 1);
  read({u"C:\\a.txt", u"C:\\b.mp3", u"C:\\c.mp3"});
  EXPECT_EQ(lists.QueueSnapshot()[0].number, 0u);
  EXPECT_EQ(lists.QueueSnapshot()[1].number, 1u);
}

TEST_F(DropCollectorTest, NestedFoldersGiveJoinedAlbumNamesAndFolderExtensionRule) {
  host.folder(u"C:\\A");
  host.file(u"C:\\A\\one.mp3", 10);
  host.file(u"C:\\A\\skip.Mp3", 10);
  host.folder(u"C:\\A\\B");
  host.file(u"C:\\A\\B\\two.MP3", 10);
  host.file(u"C:\\A\\B\\three.mp3", 10);
  host.file(u"C:\\A\\cover.jpg", 10);
  EXPECT_EQ(read({u"C:\\A"}), 1);

  EXPECT_EQ(folderAlbums(), (std::vector<std::string>{"A", "A B", "A B"}));
  const auto items = lists.FolderItemsSnapshot();
  EXPECT_EQ(items[0].fileName, u"one.mp3");
  EXPECT_EQ(items[1].job.number, 0u);  // numbered within its own folder
  EXPECT_EQ(items[2].job.number, 1u);
  EXPECT_EQ(items[2].job.sourcePath, sys::Path(u"C:\\A\\B\\three.mp3"));
  EXPECT_EQ(host.checked.size(), 3u);  // song.Mp3 and the picture never reached the analyser
  EXPECT_EQ(lists.DroppedFoldersSnapshot(), std::vector<std::u16string>{u"C:\\A"});
  EXPECT_EQ(host.drops, (std::vector<std::pair<bool, bool>>{{false, false}}));
  EXPECT_EQ(host.lastRow, 1);
  EXPECT_EQ(host.freeReads, 3);  // the drop, A and B
  EXPECT_EQ(collector.m_uiTotalSize, 30u);
}

TEST_F(DropCollectorTest, FolderFilesListedAroundASubfolderMakeOneAlbum) {
  // The file system lists the subfolder between the folder's own files.
  host.folder(u"C:\\A");
  host.file(u"C:\\A\\01.mp3", 10);
  host.folder(u"C:\\A\\Bonus");
  host.file(u"C:\\A\\Bonus\\b.mp3", 10);
  host.file(u"C:\\A\\Zed.mp3", 10);
  EXPECT_EQ(read({u"C:\\A"}), 1);
  EXPECT_EQ(folderAlbums(), (std::vector<std::string>{"A", "A", "A Bonus"}));

  // The folder phase then makes exactly one album per folder.
  EXPECT_EQ(app::engine::OleDropTransferFolderProc(context), app::engine::kPhaseFinished);
  EXPECT_EQ(events.folders, (std::vector<std::string>{"A=100", "A Bonus=101"}));
  EXPECT_EQ(device.received[100], (std::vector<std::string>{"C:\\A\\01.mp3", "C:\\A\\Zed.mp3"}));
  EXPECT_EQ(device.received[101], std::vector<std::string>{"C:\\A\\Bonus\\b.mp3"});
}

TEST_F(DropCollectorTest, FolderIsRefusedWhenThePlayerHoldsTheMostAlbums) {
  host.folder(u"C:\\A");
  host.file(u"C:\\A\\one.mp3", 10);
  host.albumCount = 4096;
  EXPECT_EQ(read({u"C:\\A"}), 1);
  EXPECT_EQ(host.texts, std::vector<std::string>{"<18449>"});
  EXPECT_EQ(host.closing, 1);
  EXPECT_TRUE(host.mainEnabled);
  EXPECT_TRUE(host.drops.empty());
  EXPECT_EQ(lists.FolderItemCount(), 0u);

  host.albumCount = 4095;
  lists.ClearAll();
  EXPECT_EQ(read({u"C:\\A"}), 1);
  EXPECT_EQ(lists.FolderItemCount(), 1u);
}

TEST_F(DropCollectorTest, UnreadableNameEndsTheDropWithoutTransfer) {
  host.file(u"C:\\a.mp3", 1);
  EXPECT_EQ(read({u"C:\\a.mp3", u"C:\\gone.mp3", u"C:\\a.mp3"}), 1);
  EXPECT_EQ(host.texts, std::vector<std::string>{"<18450>"});
  EXPECT_EQ(host.closing, 1);
  EXPECT_GE(host.fronts, 1);
  EXPECT_TRUE(host.drops.empty());
}

TEST_F(DropCollectorTest, FirstFileNotFittingStartsNothing) {
  host.freeBytes = 99;
  host.file(u"C:\\a.mp3", 100);
  host.file(u"C:\\b.mp3", 1);
  EXPECT_EQ(read({u"C:\\a.mp3", u"C:\\b.mp3"}), 1);
  EXPECT_EQ(host.texts, std::vector<std::string>{"<17155>0<17156>"});
  EXPECT_EQ(host.closing, 1);
  EXPECT_TRUE(host.mainEnabled);
  EXPECT_TRUE(host.drops.empty());
  EXPECT_EQ(host.slept, 0u);
  EXPECT_TRUE(host.checked.empty());
  EXPECT_TRUE(logged("Available space = 99, sum=0, this file = 100, m_uiTotalSize + fStatus.m_size =100"));
}

TEST_F(DropCollectorTest, OutOfSpaceLaterShowsHowManyFitThenGoesOn) {
  host.freeBytes = 250;
  host.file(u"C:\\a.mp3", 100);
  host.file(u"C:\\b.txt", 1);
  host.file(u"C:\\c.mp3", 100);
  host.file(u"C:\\d.mp3", 100);
  host.file(u"C:\\e.mp3", 10);
  EXPECT_EQ(read({u"C:\\a.mp3", u"C:\\b.txt", u"C:\\c.mp3", u"C:\\d.mp3", u"C:\\e.mp3"}), 1);
  // Two files fit; the report stays up for ten rounds of 200 ms; nothing
  // after the first file that does not fit is taken.
  EXPECT_EQ(host.texts, std::vector<std::string>{"<17155>2<17156>"});
  EXPECT_EQ(host.slept, 2000u);
  EXPECT_EQ(host.closing, 0);
  EXPECT_EQ(lists.QueueSize(), 2u);
  EXPECT_EQ(host.drops, (std::vector<std::pair<bool, bool>>{{true, true}}));
}

TEST_F(DropCollectorTest, CancelWhileTheOutOfSpaceReportShowsStopsTheDrop) {
  host.freeBytes = 150;
  host.file(u"C:\\a.mp3", 100);
  host.file(u"C:\\b.mp3", 100);
  // Cancel is pressed while the report is up (its rounds let messages run).
  host.onPump = [this] {
    if (!host.texts.empty()) flags.cancel.store(1);
  };
  EXPECT_EQ(read({u"C:\\a.mp3", u"C:\\b.mp3"}), 1);
  EXPECT_EQ(host.texts, std::vector<std::string>{"<17155>1<17156>"});
  EXPECT_TRUE(host.drops.empty());  // no drop thread behind a hidden progress window
  EXPECT_EQ(host.hidden, 1);
  EXPECT_TRUE(host.mainEnabled);
  EXPECT_LT(host.slept, 2000u);  // the report ends at the cancel
}

TEST_F(DropCollectorTest, CancelDuringTheLastNamesMessagesStartsNothing) {
  host.file(u"C:\\a.mp3", 1);
  host.onPump = [this] { flags.cancel.store(1); };
  EXPECT_EQ(read({u"C:\\a.mp3"}), 1);
  EXPECT_TRUE(host.drops.empty());
  EXPECT_EQ(host.hidden, 1);
  EXPECT_TRUE(host.mainEnabled);
}

TEST_F(DropCollectorTest, FolderOutOfSpaceCountsFolderItemsWithSpaces) {
  host.freeBytes = 150;
  host.folder(u"C:\\A");
  host.file(u"C:\\A\\one.mp3", 100);
  host.folder(u"C:\\A\\B");
  host.file(u"C:\\A\\B\\two.mp3", 100);
  host.file(u"C:\\A\\small.mp3", 10);  // listed after B, taken before it (A's own files first)
  host.file(u"C:\\A\\B\\three.mp3", 1);  // after the first file that does not fit: never reached
  EXPECT_EQ(read({u"C:\\A"}), 1);
  EXPECT_EQ(host.texts, std::vector<std::string>{"<17155> 2 <17156>"});
  EXPECT_EQ(folderAlbums(), (std::vector<std::string>{"A", "A"}));
  EXPECT_EQ(host.drops.size(), 1u);
}

TEST_F(DropCollectorTest, CancelEndsTheDropBeforeTheNextName) {
  host.file(u"C:\\a.mp3", 1);
  host.file(u"C:\\b.mp3", 1);
  host.onCheck = [this](size_t n) {
    if (n == 1) flags.cancel.store(1);
  };
  EXPECT_EQ(read({u"C:\\a.mp3", u"C:\\b.mp3"}), 1);
  EXPECT_EQ(host.checked.size(), 1u);
  EXPECT_EQ(host.hidden, 1);
  EXPECT_TRUE(host.mainEnabled);
  EXPECT_TRUE(host.drops.empty());
}

TEST_F(DropCollectorTest, CancelInsideAFolderEndsBeforeItsNextEntry) {
  host.folder(u"C:\\A");
  host.folder(u"C:\\A\\B");
  host.file(u"C:\\A\\B\\one.mp3", 1);
  host.file(u"C:\\A\\B\\two.mp3", 1);
  host.file(u"C:\\A\\three.mp3", 1);
  host.onCheck = [this](size_t n) {
    if (n == 1) flags.cancel.store(1);
  };
  EXPECT_EQ(read({u"C:\\A", u"C:\\x.mp3"}), 1);
  // A's own file comes first; cancelled there, B is never entered.
  EXPECT_EQ(host.checked, std::vector<std::string>{"C:\\A\\three.mp3"});
  EXPECT_EQ(host.hidden, 1);
  EXPECT_TRUE(host.drops.empty());
}

TEST_F(DropCollectorTest, ProgressRepaintsAreSpacedButMessagesRunAfterEveryFile) {
  // Ten files of 10 ms each: painted after the first, once 50 ms later and
  // at the end, while messages run after every file (Cancel stays live).
  host.folder(u"C:\\A");
  std::vector<std::u16string> names;
  for (char16_t c = u'a'; c < u'f'; ++c) host.file(std::u16string(u"C:\\A\\") + c + u".mp3", 1);
  for (char16_t c = u'f'; c <= u'j'; ++c) names.push_back(std::u16string(u"C:\\") + c + u".mp3");
  for (const auto& n : names) host.file(n, 1);
  names.insert(names.begin(), u"C:\\A");
  host.msPerCheck = 10;
  EXPECT_EQ(read(names), 1);
  EXPECT_EQ(host.checked.size(), 10u);
  EXPECT_EQ(host.repaints, 3);
  // Five folder entries, the folder itself and five dropped files.
  EXPECT_EQ(host.pumped, std::vector<int>(11, 4));
  EXPECT_EQ(host.drops.size(), 1u);
}

TEST_F(DropCollectorTest, FileStatusIsReadOnceMoreBeforeGivingUp) {
  host.file(u"C:\\a.mp3", 5);
  host.file(u"C:\\b.mp3", 5);
  host.sizeFailures[u"C:\\a.mp3"] = 1;
  host.sizeFailures[u"C:\\b.mp3"] = 2;
  read({u"C:\\a.mp3", u"C:\\b.mp3"});
  EXPECT_EQ(host.sizeReads[u"C:\\a.mp3"], 2);
  EXPECT_EQ(host.sizeReads[u"C:\\b.mp3"], 2);
  EXPECT_EQ(lists.QueueSize(), 1u);
  EXPECT_EQ(host.drops, (std::vector<std::pair<bool, bool>>{{true, true}}));
  EXPECT_TRUE(logged("Failed to get file status. get status again..."));
}

TEST_F(DropCollectorTest, UnreadableFreeSpaceIsADeviceFailure) {
  host.freeReadable = false;
  host.file(u"C:\\a.mp3", 5);
  EXPECT_EQ(read({u"C:\\a.mp3"}), 1);
  EXPECT_EQ(host.texts, std::vector<std::string>{"<17921>"});
  EXPECT_EQ(host.closing, 1);
  EXPECT_TRUE(host.drops.empty());
}

TEST_F(DropCollectorTest, CollectFolderAnswers) {
  host.folder(u"C:\\E");
  host.folder(u"C:\\M");
  host.file(u"C:\\M\\a.mp3", 1);
  EXPECT_EQ(collector.CollectFolder(u"C:\\E", u""), DropCollector::kNothingCollected);
  EXPECT_EQ(collector.CollectFolder(u"C:\\M", u"P"), DropCollector::kCollected);
  EXPECT_EQ(folderAlbums(), std::vector<std::string>{"P M"});
  host.freeBytes = 0;
  EXPECT_EQ(collector.CollectFolder(u"C:\\M", u""), DropCollector::kOutOfSpace);
  host.freeBytes = 100;
  flags.cancel.store(1);
  EXPECT_EQ(collector.CollectFolder(u"C:\\M", u""), DropCollector::kCancelled);
}

// Each skipped file is kept with its cause, in the order met, for the box at
// the end; the flags DoOleDrop gets stay what they were (a refused MP3 inside
// a folder is listed but is no refusal of the drop).
TEST_F(DropCollectorTest, SkippedFilesAreKeptWithTheirCauses) {
  struct KeepingHost : FakeHost {
    void KeepRefusals(const app::engine::RefusalList& refusals) override { kept = refusals.files(); }
    std::vector<app::engine::RefusedFile> kept;
  } keeping;
  DropCollector withList{keeping, lists, flags};
  keeping.file(u"C:\\notes.txt", 10);
  keeping.file(u"C:\\bad.mp3", 10, false);
  keeping.file(u"C:\\good.mp3", 10);
  keeping.folder(u"C:\\F");
  keeping.file(u"C:\\F\\broken.mp3", 10, false);
  keeping.file(u"C:\\F\\cover.jpg", 10);
  EXPECT_EQ(withList.ReadHdropData({u"C:\\notes.txt", u"C:\\bad.mp3", u"C:\\good.mp3", u"C:\\F"}), 1);

  using mp3::RefusalCause;
  std::vector<std::pair<std::string, RefusalCause>> kept;
  for (const auto& file : keeping.kept) kept.push_back({sys::Utf8FromUtf16(file.path), file.reason.cause});
  EXPECT_EQ(kept, (std::vector<std::pair<std::string, RefusalCause>>{
                      {"C:\\notes.txt", RefusalCause::kNotMp3Name},
                      {"C:\\bad.mp3", RefusalCause::kUnreadable},  // this host cannot say why
                      {"C:\\F\\broken.mp3", RefusalCause::kUnreadable}}));
  EXPECT_EQ(keeping.drops, (std::vector<std::pair<bool, bool>>{{true, true}}));
  EXPECT_TRUE(logged("Skipped C:\\notes.txt: not an MP3 file by its name"));

  // A new drop starts a new list; a folder refused whole is noted too.
  keeping.albumCount = 4096;
  EXPECT_EQ(withList.ReadHdropData({u"C:\\F"}), 1);
  ASSERT_EQ(withList.refusals().size(), 1u);
  EXPECT_EQ(withList.refusals().files()[0].reason.cause, RefusalCause::kTooManyAlbums);
}

}  // namespace
}  // namespace enginetest
