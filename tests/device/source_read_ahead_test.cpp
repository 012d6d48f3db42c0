#include "device/source_read_ahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/device/mp3_files.h"
#include "tests/support/temp_dir.h"

#if defined(__linux__)
#include <filesystem>
#endif

namespace {

using devicetest::Frames;
using testsupport::FrameSpec;

class ReadAheadTest : public ::testing::Test {
 protected:
  std::filesystem::path write(const std::string& name, size_t frames) {
    const auto path = dir / name;
    testsupport::WriteFile(path, Frames(FrameSpec{}, frames, 0x55));
    return path;
  }
  testsupport::TempDir dir;
  device::CSourceReadAhead reader;
};

TEST_F(ReadAheadTest, OnlyExpectedSourcesAreTakenAndTheSkippedOnesAreLetGo) {
  const auto a = write("a.mp3", 10), b = write("b.mp3", 10), c = write("c.mp3", 10);
  device::OpenedSource got;
  reader.Expect(a);
  EXPECT_FALSE(reader.Take(c, got));  // not expected: the caller opens it
  EXPECT_TRUE(reader.Take(a, got));   // the expectation stood
  EXPECT_FALSE(reader.Take(a, got));  // taken once

  // No more than kMaxHeld wait: the oldest, never asked for, goes.
  reader.Expect(a);
  reader.Expect(b);
  reader.Expect(c);
  EXPECT_FALSE(reader.Take(a, got));
  reader.Expect(a);
  EXPECT_TRUE(reader.Take(a, got));  // c, expected before it, went with it
  EXPECT_FALSE(reader.Take(c, got));

  reader.Expect(b);
  reader.Forget();
  EXPECT_FALSE(reader.Take(b, got));
}

#if defined(__linux__)
// How many of this process's open files are `path`.
int OpenCount(const std::filesystem::path& path) {
  int n = 0;
  std::error_code ec;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
    std::error_code linkError;
    if (std::filesystem::read_symlink(fd.path(), linkError) == path) ++n;
  }
  return n;
}

TEST_F(ReadAheadTest, ForgettingLetsAnOpenedSourceGo) {
  const auto longOne = write("held.mp3", 700);
  reader.Expect(longOne);
  for (int i = 0; i < 500 && OpenCount(longOne) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(OpenCount(longOne), 1);
  reader.Forget();
  EXPECT_EQ(OpenCount(longOne), 0);
}
#endif

}  // namespace
