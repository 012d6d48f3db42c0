// Temporary names, the program lock and the conversion trace.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <thread>

#include "container/conversion_trace.h"
#include "container/fringe_lock.h"
#include "container/temp_name.h"
#include "tests/support/temp_dir.h"

namespace {

using testsupport::TempDir;

TEST(TempFileName, FollowsThePatternAndNeverNamesAnExistingFile) {
  TempDir dir;
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    sys::Path name;
    ASSERT_TRUE(container::MakeTempFileName(dir.path(), name));
    EXPECT_EQ(name.parent_path(), dir.path());
    std::string leaf = name.filename().string();
    EXPECT_TRUE(std::regex_match(leaf, std::regex("temp[a-z0-9]{6}"))) << leaf;
    EXPECT_FALSE(sys::FileExists(name));
    EXPECT_TRUE(seen.insert(leaf).second);
    // Taking the name makes it unavailable to the next call.
    testsupport::WriteFile(name, std::string("x"));
  }
}

TEST(FringeLock, IsRecursiveAndExcludesOtherThreads) {
  KVXFringeLock lock;
  long counter = 0;
  lock.lock();
  lock.lock();  // the owner may enter again
  lock.unlock();
  lock.unlock();

  auto work = [&] {
    for (int i = 0; i < 20000; ++i) {
      KVXFringeLockGuard guard(lock);
      long v = counter;
      std::this_thread::yield();
      counter = v + 1;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 40000);
}

class ConversionTraceTest : public ::testing::Test {
 protected:
  void TearDown() override { container::ConfigureConversionTrace({}, {}); }
  TempDir dir;
};

TEST_F(ConversionTraceTest, WritesNothingWithoutAConfiguredName) {
  container::ConfigureConversionTrace({}, {});
  container::ConversionTrace("CMpegFrame::set() fail 0x%08X fc(%ld) %s", 0x80004005u, 3L, "a.mp3");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(ConversionTraceTest, AppendsOnePrefixedLinePerCall) {
  container::ConfigureConversionTrace(dir / "trace.log", dir / "trace.bak");
  container::ConversionTrace("first %d", 1);
  container::ConversionTrace("second %s", "two");
  std::string text = testsupport::ReadText(dir / "trace.log");
  // 2026/12/08 03:04:05 [program] 0000abcd:0000ef01 first 1
  std::regex line(
      R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2} \[[^\]]+\] [0-9a-f]{8}:[0-9a-f]{8} (first 1|second two)\r?)");
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  ASSERT_EQ(lines.size(), 2u) << text;
  EXPECT_TRUE(std::regex_match(lines[0], line)) << lines[0];
  EXPECT_TRUE(std::regex_match(lines[1], line)) << lines[1];
  EXPECT_NE(lines[1].find("second two"), std::string::npos);
}

TEST_F(ConversionTraceTest, MovesAnOversizedTraceToTheBackup) {
  testsupport::WriteFile(dir / "trace.log", std::string(1024001, 'x'));
  testsupport::WriteFile(dir / "trace.bak", std::string("old backup"));
  container::ConfigureConversionTrace(dir / "trace.log", dir / "trace.bak");
  container::ConversionTrace("after rotation");
  uint64_t backup = 0;
  ASSERT_TRUE(sys::GetFileSize(dir / "trace.bak", backup));
  EXPECT_EQ(backup, 1024001u);
  std::string text = testsupport::ReadText(dir / "trace.log");
  EXPECT_LT(text.size(), 200u);
  EXPECT_NE(text.find("after rotation"), std::string::npos);
}

}  // namespace
