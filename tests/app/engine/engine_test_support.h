// A drop's whole state for one test: lists, albums, drop state, flags, the
// recording player and events, and a log of its own to read back.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/debug_log.h"
#include "app/engine/drop_phases.h"
#include "tests/app/engine/recording_device.h"
#include "tests/support/temp_dir.h"

namespace enginetest {

inline app::engine::TransferJob Job(const std::string& title, uint32_t number = 0) {
  app::engine::TransferJob job;
  job.title = title;
  job.wideTitle = std::u16string(title.begin(), title.end());
  job.number = number;
  job.sourcePath = sys::Path("/music/" + title + ".mp3");
  return job;
}

inline std::string T(size_t i) { return "t" + std::to_string(i); }

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    debuglog::Configure(logDir.path(), testsupport::UniqueName("pm-engine-log"), logDir.path());
    ASSERT_EQ(StartLog(), hr::kOk);
  }
  void TearDown() override {
    debuglog::Stop();
    debuglog::Configure({}, {}, {});
  }

  // The log with its rotated part (a long drop passes the size limit).
  std::string logText() const {
    debuglog::Flush();
    sys::Path backup = debuglog::LogPath();
    backup.replace_extension(".bak");
    std::string text = sys::FileExists(backup) ? testsupport::ReadText(backup) : std::string();
    return text + testsupport::ReadText(debuglog::LogPath());
  }
  bool logged(const std::string& text) const { return logText().find(text) != std::string::npos; }

  // An album the player and the album vector both hold.
  void haveAlbum(uint32_t eid, const std::u16string& name, int64_t tracks) {
    device.addAlbum(eid, name, tracks);
    albums.Append(device::AlbumRecord{eid, name, 0});
  }
  void targetAlbum(uint32_t eid, const std::u16string& name) {
    state.m_dwOleDropAlbumEID = eid;
    state.m_sOleDropAlbumName = name;
    state.m_nOleDropAlbumIndex = albums.IndexOfEid(eid);
  }
  void queueFiles(size_t count) {
    for (size_t i = 0; i < count; ++i) lists.QueueDroppedFile(Job(T(i), static_cast<uint32_t>(i)));
  }
  void folderItems(const std::u16string& folder, size_t count, const std::string& stem = "f") {
    for (size_t i = 0; i < count; ++i) {
      lists.AppendFolderItem({folder, u"x.mp3", Job(stem + std::to_string(i), static_cast<uint32_t>(i))});
    }
  }
  // No transaction left open, none nested, nothing outside one.
  void expectBalanced() {
    EXPECT_FALSE(device.open);
    EXPECT_EQ(device.nested, 0);
    EXPECT_EQ(device.outside, 0);
  }

  testsupport::TempDir logDir;
  RecordingDevice device;
  RecordingEvents events;
  app::engine::JobLists lists;
  app::engine::AlbumVector albums;
  app::engine::DropState state;
  app::TransferFlags flags;
  KVXFringeLock albumLock;
  app::engine::DropContext context{
      device, events, lists, albums, state, flags, albumLock, u"New Album", std::chrono::milliseconds(0)};
};

}  // namespace enginetest
