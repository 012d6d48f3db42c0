// CopyEngine with real files in a temporary folder, and with file calls
// that a test holds up or fails.
#include <gtest/gtest.h>
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "stand-ins/scsi_player/simulated_device_system.h"
#include "tests/support/temp_dir.h"
#include "win32/unique_handle.h"
#include "wizard/copy_engine_win32.h"

namespace {

using testsupport::ReadText;
using testsupport::WriteFile;

// Polls as the copying page does until the copy ends; returns its code.
HRESULT PollToEnd(wizard::CopyEngine& engine, std::vector<int>* percents = nullptr) {
  for (int i = 0; i < 2000; ++i) {
    int percent = -1;
    bool finished = false;
    const HRESULT code = engine.Poll(percent, finished);
    if (percents) percents->push_back(percent);
    if (finished || code != hr::kOk) return code;
    ::Sleep(5);
  }
  ADD_FAILURE() << "the copy did not end";
  return hr::kUnexpected;
}

// The real file calls, with a gate in front of CopyFileA for one source
// name and a chosen failure for another.
class GatedFiles final : public wizard::CopyFileOps {
 public:
  GatedFiles()
      : m_entered(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        m_open(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  std::string gatedSource;  // file name whose copy waits for open()
  std::string failingSource;
  DWORD failure = 0;

  void waitUntilEntered() { ASSERT_EQ(::WaitForSingleObject(m_entered.get(), 10000), WAIT_OBJECT_0); }
  void open() { ::SetEvent(m_open.get()); }
  std::vector<std::string> copied() {
    std::lock_guard lock(m_mutex);
    return m_copied;
  }
  std::vector<std::string> created() {
    std::lock_guard lock(m_mutex);
    return m_created;
  }

  DWORD GetFileAttributesA(LPCSTR path) override { return ::GetFileAttributesA(path); }
  BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) override {
    return ::SetFileAttributesA(path, attributes);
  }
  bool refuseFoldersSilently = false;  // folder creation fails with no error code

  BOOL CreateDirectoryA(LPCSTR path) override {
    std::lock_guard lock(m_mutex);
    m_created.push_back(path);
    if (refuseFoldersSilently) {
      ::SetLastError(ERROR_SUCCESS);
      return FALSE;
    }
    return ::CreateDirectoryA(path, nullptr);
  }
  BOOL CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists) override {
    const std::string source = from;
    if (!gatedSource.empty() && source.ends_with("\\" + gatedSource)) {
      ::SetEvent(m_entered.get());
      ::WaitForSingleObject(m_open.get(), INFINITE);
    }
    if (!failingSource.empty() && source.ends_with("\\" + failingSource)) {
      ::SetLastError(failure);
      return FALSE;
    }
    {
      std::lock_guard lock(m_mutex);
      m_copied.push_back(source.substr(source.find_last_of('\\') + 1));
    }
    return ::CopyFileA(from, to, failIfExists);
  }

 private:
  win::UniqueHandle m_entered, m_open;
  std::mutex m_mutex;
  std::vector<std::string> m_copied, m_created;
};

class CopyEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.setClassification(7, 4);  // Windows XP
    source = dir.path().string() + "\\delivery\\";
    player = dir.path().string() + "\\player";
    ::CreateDirectoryA(source.c_str(), nullptr);
    ::CreateDirectoryA(player.c_str(), nullptr);
  }

  // The engine's settings with the given lines, the sources written with
  // their own names as content.
  wizard::CopySettings settingsFor(const std::vector<std::string>& lines,
                                   const std::string& path = "\\PLMRK\\") {
    wizard::CopySettings s;
    s.programFolder = source;
    s.files = lines;
    s.path = path;
    for (const std::string& line : lines) {
      const std::string name = line.substr(0, line.find(','));
      WriteFile(source + name, "content of " + name);
    }
    return s;
  }

  testsupport::TempDir dir;
  scsiplayer::SimulatedDeviceSystem sim;
  GatedFiles files;
  std::string source, player;
};

TEST_F(CopyEngineTest, CopiesEveryEntryUnderItsTargetNameAndReplacesReadOnlyFiles) {
  wizard::CopyEngine engine(sim, files);
  engine.Use(settingsFor({"Pellmark.exe", "first,second", "help.htm,", "Mtbl.dll"}));
  engine.SetTarget(player);
  EXPECT_EQ(engine.destinationFolder(), player + "\\PLMRK\\");

  // An earlier delivery left a read-only copy.
  ::CreateDirectoryA((player + "\\PLMRK").c_str(), nullptr);
  WriteFile(player + "\\PLMRK\\Mtbl.dll", "old");
  ASSERT_TRUE(::SetFileAttributesA((player + "\\PLMRK\\Mtbl.dll").c_str(), FILE_ATTRIBUTE_READONLY));

  ASSERT_EQ(engine.Start(), hr::kOk);
  EXPECT_EQ(PollToEnd(engine), hr::kOk);
  EXPECT_EQ(ReadText(player + "\\PLMRK\\Pellmark.exe"), "content of Pellmark.exe");
  EXPECT_EQ(ReadText(player + "\\PLMRK\\second"), "content of first");
  EXPECT_EQ(ReadText(player + "\\PLMRK\\help.htm"), "content of help.htm");
  EXPECT_EQ(ReadText(player + "\\PLMRK\\Mtbl.dll"), "content of Mtbl.dll");
  EXPECT_EQ(::GetFileAttributesA((player + "\\PLMRK\\first").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(files.created().empty());  // the folder was there

  // With no worker, Poll reports nothing.
  int percent = -1;
  bool finished = true;
  EXPECT_EQ(engine.Poll(percent, finished), hr::kOk);
  EXPECT_EQ(percent, 0);
  EXPECT_FALSE(finished);
}

TEST_F(CopyEngineTest, DestinationFoldersAreMadeOutermostFirstBelowTheDriveRoot) {
  wizard::CopyEngine engine(sim, files);
  engine.Use(settingsFor({}, "\\A\\B\\"));
  engine.SetTarget(player);
  ASSERT_EQ(engine.Start(), hr::kOk);
  EXPECT_EQ(PollToEnd(engine), hr::kOk);
  // Every backslash from index 4 on ends a folder; the existing ones are
  // left alone.
  EXPECT_EQ(files.created(), (std::vector<std::string>{player + "\\A\\", player + "\\A\\B\\"}));
  EXPECT_NE(::GetFileAttributesA((player + "\\A\\B").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CopyEngineTest, AFolderThatCannotBeMadeStopsBeforeTheCopyWithItsCode) {
  wizard::CopyEngine engine(sim, files);
  engine.Use(settingsFor({"Pellmark.exe"}, "\\taken\\sub\\"));
  WriteFile(player + "\\taken", "a file where the folder should be");
  engine.SetTarget(player);
  const HRESULT started = engine.Start();
  EXPECT_NE(started, hr::kOk);
  EXPECT_GT(started, 0);  // a Windows error code, not an HRESULT
  EXPECT_FALSE(engine.running());
  EXPECT_TRUE(files.copied().empty());
}

TEST_F(CopyEngineTest, NoWorkerMeansNoSuccessEvenWithoutAnErrorCode) {
  // A system out of threads, with and without a reason.
  for (const DWORD error : {DWORD{ERROR_NOT_ENOUGH_MEMORY}, DWORD{ERROR_SUCCESS}}) {
    wizard::CopyEngine engine(sim, files, [error](LPTHREAD_START_ROUTINE, void*) -> HANDLE {
      ::SetLastError(error);
      return nullptr;
    });
    engine.Use(settingsFor({"Pellmark.exe"}));
    engine.SetTarget(player);
    EXPECT_EQ(engine.Start(), error != ERROR_SUCCESS ? static_cast<HRESULT>(error) : hr::kFail) << error;
    EXPECT_FALSE(engine.running());
  }
  // A folder refused without a reason.
  files.refuseFoldersSilently = true;
  wizard::CopyEngine engine(sim, files);
  engine.Use(settingsFor({"Pellmark.exe"}, "\\refused\\"));
  engine.SetTarget(player);
  EXPECT_EQ(engine.Start(), hr::kFail);
  EXPECT_FALSE(engine.running());
  EXPECT_TRUE(files.copied().empty());
}

TEST_F(CopyEngineTest, EntriesForTheOtherFamilyArePassedOverYetCounted) {
  wizard::CopyEngine engine(sim, files);
  engine.Use(settingsFor({"only98.dll,,1", "onlyNt.dll,,2", "always.dll,,7"}));
  engine.SetTarget(player);
  ASSERT_EQ(engine.Start(), hr::kOk);
  std::vector<int> percents;
  EXPECT_EQ(PollToEnd(engine, &percents), hr::kOk);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_EQ(files.copied(), (std::vector<std::string>{"onlyNt.dll", "always.dll"}));

  sim.setClassification(4, 0);  // Windows Me
  ASSERT_EQ(engine.Start(), hr::kOk);
  EXPECT_EQ(PollToEnd(engine), hr::kOk);
  EXPECT_EQ(files.copied(),
            (std::vector<std::string>{"onlyNt.dll", "always.dll", "only98.dll", "always.dll"}));
}

TEST_F(CopyEngineTest, CancelDuringTheThirdOfFiveLetsItFinishAndAborts) {
  files.gatedSource = "3.bin";
  wizard::CopyEngine engine(sim, files);
  engine.Use(settingsFor({"1.bin", "2.bin", "3.bin", "4.bin", "5.bin"}));
  engine.SetTarget(player);
  ASSERT_EQ(engine.Start(), hr::kOk);
  files.waitUntilEntered();

  int percent = -1;
  bool finished = true;
  EXPECT_EQ(engine.Poll(percent, finished), hr::kOk);
  EXPECT_EQ(percent, 40);
  EXPECT_FALSE(finished);

  engine.RequestCancel();
  files.open();
  // Poll waits for the worker to stop, then reports the cancel. The worker
  // may already have ended by then (finished is true) or not (false): the
  // result is the cancel either way.
  EXPECT_EQ(engine.Poll(percent, finished), hr::kAbort);
  EXPECT_FALSE(engine.running());
  EXPECT_EQ(files.copied(), (std::vector<std::string>{"1.bin", "2.bin", "3.bin"}));
  EXPECT_EQ(ReadText(player + "\\PLMRK\\3.bin"), "content of 3.bin");
  EXPECT_EQ(::GetFileAttributesA((player + "\\PLMRK\\4.bin").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CopyEngineTest, AFailedCopyEndsTheRunWithItsWindowsCode) {
  files.failingSource = "2.bin";
  files.failure = ERROR_FILE_NOT_FOUND;  // 2, the same number as the page's cancel result
  wizard::CopyEngine engine(sim, files);
  engine.Use(settingsFor({"1.bin", "2.bin", "3.bin"}));
  engine.SetTarget(player);
  ASSERT_EQ(engine.Start(), hr::kOk);
  std::vector<int> percents;
  EXPECT_EQ(PollToEnd(engine, &percents), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_EQ(files.copied(), std::vector<std::string>{"1.bin"});
  EXPECT_EQ(ReadText(player + "\\PLMRK\\1.bin"), "content of 1.bin");  // kept

  // A fresh run after the failure starts from the beginning.
  files.failingSource.clear();
  ASSERT_EQ(engine.Start(), hr::kOk);
  EXPECT_EQ(PollToEnd(engine), hr::kOk);
  EXPECT_EQ(files.copied(), (std::vector<std::string>{"1.bin", "1.bin", "2.bin", "3.bin"}));
}

TEST_F(CopyEngineTest, SourcesThatVanishedOrAreFoldersAreSkipped) {
  wizard::CopyEngine engine(sim, files);
  engine.Use(settingsFor({"gone.bin", "folder", "kept.bin"}));
  ::DeleteFileA((source + "gone.bin").c_str());
  ::DeleteFileA((source + "folder").c_str());
  ::CreateDirectoryA((source + "folder").c_str(), nullptr);
  engine.SetTarget(player);
  ASSERT_EQ(engine.Start(), hr::kOk);
  std::vector<int> percents;
  EXPECT_EQ(PollToEnd(engine, &percents), hr::kOk);
  EXPECT_EQ(files.copied(), std::vector<std::string>{"kept.bin"});
}

TEST_F(CopyEngineTest, AnEmptyListMakesOnlyTheFolderAndReportsZeroUntilTheEnd) {
  files.gatedSource = "never";
  wizard::CopyEngine engine(sim, files);
  engine.Use(settingsFor({}));
  engine.SetTarget(player);
  ASSERT_EQ(engine.Start(), hr::kOk);
  std::vector<int> percents;
  EXPECT_EQ(PollToEnd(engine, &percents), hr::kOk);
  for (size_t i = 0; i + 1 < percents.size(); ++i) EXPECT_EQ(percents[i], 0);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_EQ(files.created(), std::vector<std::string>{player + "\\PLMRK\\"});
}

}  // namespace
