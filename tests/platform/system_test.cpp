// The system seam behaves alike on both systems.
#include "platform/system.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

using testsupport::TempDir;

TEST(SystemFiles, AttributesSizesCopiesAndDeletes) {
  TempDir dir;
  sys::Path a = dir / "a.bin", b = dir / "b.bin";
  EXPECT_FALSE(sys::FileExists(a));
  testsupport::WriteFile(a, std::string(1234, 'z'));
  uint64_t size = 0;
  ASSERT_TRUE(sys::GetFileSize(a, size));
  EXPECT_EQ(size, 1234u);
  EXPECT_FALSE(sys::GetFileSize(dir.path(), size));
  EXPECT_TRUE(sys::IsDirectory(dir.path()));
  EXPECT_FALSE(sys::IsDirectory(a));

  bool readOnly = true;
  ASSERT_TRUE(sys::GetReadOnly(a, readOnly));
  EXPECT_FALSE(readOnly);
  ASSERT_TRUE(sys::SetReadOnly(a, true));
  ASSERT_TRUE(sys::GetReadOnly(a, readOnly));
  EXPECT_TRUE(readOnly);

  EXPECT_TRUE(sys::CopyFileTo(a, b, false));
  EXPECT_FALSE(sys::CopyFileTo(a, b, false));  // exists, no overwrite
  ASSERT_TRUE(sys::SetReadOnly(b, false));
  EXPECT_TRUE(sys::CopyFileTo(a, b, true));
  EXPECT_EQ(testsupport::ReadFile(b).size(), 1234u);
  EXPECT_FALSE(sys::CopyFileTo(dir / "missing", b, true));
  EXPECT_TRUE(sys::DeleteFileAt(b));
  EXPECT_FALSE(sys::DeleteFileAt(b));
  ASSERT_TRUE(sys::SetReadOnly(a, false));
}

TEST(SystemFiles, FreeSpaceAnswersForFilesThatDoNotExistYet) {
  TempDir dir;
  uint64_t free = 0;
  ASSERT_TRUE(sys::FreeSpaceForCaller(dir / "not-yet" / "file.bin", free));
  EXPECT_GT(free, 0u);
}

TEST(SystemFiles, CreateFolderAcceptsAnExistingFolderOnly) {
  TempDir dir;
  EXPECT_TRUE(sys::CreateFolder(dir / "sub"));
  EXPECT_TRUE(sys::CreateFolder(dir / "sub"));
  testsupport::WriteFile(dir / "file", std::string("x"));
  EXPECT_FALSE(sys::CreateFolder(dir / "file"));
}

TEST(SystemFiles, StdioSeekRefusesOffsetsBeyondTheSignedRangeAndKeepsItsPlace) {
  TempDir dir;
  const sys::Path a = dir / "seek.bin";
  testsupport::WriteFile(a, "0123456789");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(sys::OpenStdioFile(a, "rb"), &std::fclose);
  ASSERT_TRUE(file);
  ASSERT_TRUE(sys::SeekStdioFile(file.get(), 0, SEEK_END));
  EXPECT_EQ(sys::TellStdioFile(file.get()), 10);
  ASSERT_TRUE(sys::SeekStdioFile(file.get(), 4, SEEK_SET));
  EXPECT_FALSE(sys::SeekStdioFile(file.get(), uint64_t{1} << 63, SEEK_SET));
  EXPECT_EQ(sys::TellStdioFile(file.get()), 4);
  EXPECT_EQ(std::fgetc(file.get()), '4');
}

TEST(SystemFiles, ExclusiveCreationMakesANewFileAndLeavesAnExistingOneAlone) {
  TempDir dir;
  const sys::Path made = dir / "new.kvx";
  {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(sys::OpenStdioFile(made, "wbx"), &std::fclose);
    ASSERT_TRUE(file);
    // Binary: no line break is translated on the way.
    ASSERT_EQ(std::fwrite("a\nb", 1, 3, file.get()), 3u);
  }
  EXPECT_EQ(testsupport::ReadText(made), "a\nb");
  EXPECT_EQ(sys::OpenStdioFile(made, "wbx"), nullptr);
  EXPECT_EQ(testsupport::ReadText(made), "a\nb");
  EXPECT_EQ(sys::OpenStdioFile(dir / "missing" / "new.kvx", "wbx"), nullptr);
}

TEST(SystemFiles, TempFolderEndsInASeparatorAndExists) {
  sys::Path t = sys::TempFolder();
  ASSERT_FALSE(t.empty());
  EXPECT_TRUE(t.filename().empty()) << t;
  EXPECT_TRUE(sys::IsDirectory(t));
}

TEST(SystemFiles, NamesOutsideTheAnsiCodePageOpenByTheirWidePath) {
  TempDir dir;
  sys::Path name = dir.path() / std::filesystem::path(u8"\u6771\u4eac\u2013track.mp3");
  testsupport::WriteFile(name, std::string(100, 'q'));
  uint64_t size = 0;
  EXPECT_TRUE(sys::GetFileSize(name, size));
  auto file = sys::OpenReadOnly(name, false);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->size(size));
  EXPECT_EQ(size, 100u);
}

TEST(SystemProcess, ProgramPathAndIds) {
  EXPECT_TRUE(sys::FileExists(sys::ProgramPath()));
  EXPECT_TRUE(sys::ProgramFolder().filename().empty());
  EXPECT_NE(sys::ProcessId(), 0u);
  EXPECT_NE(sys::ThreadId(), 0u);
}

TEST(SystemSemaphore, OpenFindsOnlyWhatWasCreated) {
  std::string name = testsupport::UniqueName("pm-sem");
  EXPECT_FALSE(sys::OpenNamedSemaphore(name));
  auto created = sys::CreateNamedSemaphore(name);
  ASSERT_TRUE(created);
  auto opened = sys::OpenNamedSemaphore(name);
  ASSERT_TRUE(opened);
  EXPECT_TRUE(opened->wait(0));
  EXPECT_FALSE(created->wait(10));  // count 1 of 1 is taken
  opened->release();
  EXPECT_TRUE(created->wait(0));
  created->release();
}

}  // namespace
