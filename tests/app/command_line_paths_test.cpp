#include "app/command_line_paths.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

TEST(CommandLinePaths, APlainStartNamesNothing) { EXPECT_TRUE(app::CommandLineDropPaths({}).empty()); }

TEST(CommandLinePaths, KeepsExistingFilesAndFoldersInOrderWithoutRepeats) {
  testsupport::TempDir dir;
  const sys::Path song = dir.path() / "song.mp3";
  const sys::Path folder = dir.path() / "Live";
  testsupport::WriteFile(song, std::vector<uint8_t>{1, 2, 3});
  ASSERT_TRUE(sys::CreateFolder(folder));

  const auto paths = app::CommandLineDropPaths(
      {folder, dir.path() / "missing.mp3", sys::Path("/nothing-here"), song, folder, sys::Path()});
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0], folder.lexically_normal());
  EXPECT_EQ(paths[1], song.lexically_normal());
}

TEST(CommandLinePaths, AFolderWithATrailingSeparatorIsThatFolder) {
  testsupport::TempDir dir;
  const sys::Path folder = dir.path() / "Album";
  ASSERT_TRUE(sys::CreateFolder(folder));
  sys::Path withSeparator = folder;
  withSeparator += sys::Path::preferred_separator;
  const auto paths = app::CommandLineDropPaths({withSeparator});
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].filename(), sys::Path("Album"));
}

TEST(CommandLinePaths, RelativeNamesCountFromTheCurrentFolder) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir.path() / "a.mp3", std::vector<uint8_t>{0});
  const sys::Path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const auto paths = app::CommandLineDropPaths({sys::Path("a.mp3")});
  std::filesystem::current_path(before);
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_TRUE(paths[0].is_absolute());
  EXPECT_EQ(paths[0], (dir.path() / "a.mp3").lexically_normal());
}

}  // namespace
