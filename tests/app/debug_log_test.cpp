#include "app/debug_log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "tests/support/temp_dir.h"

namespace {

using testsupport::TempDir;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t nl = text.find('\n', start);
    std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (nl == std::string::npos) return lines;
    start = nl + 1;
  }
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const std::regex kStamped(R"(\d{2}/\d{2}/\d{4} \d{2}:\d{2}:\d{2}[AP]M (.*))");

class DebugLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lockName = testsupport::UniqueName("pm-log-lock");
    debuglog::Configure(dir.path(), lockName, dir.path());
  }
  void TearDown() override { debuglog::Configure({}, {}, {}); }

  sys::Path logPath() const { return dir / "Pellmark LogFile" / "PellmarkLog.txt"; }
  std::string logText() const { return testsupport::ReadText(logPath()); }

  // Runs the companion program against the same log; returns its StartLog result.
  long runSecondProgram(const std::string& note) {
    sys::Path writer = sys::ProgramFolder() / "log_writer";
#if defined(_WIN32)
    writer += ".exe";
#endif
    sys::Path out = dir / "writer-out.txt";
    std::string command = "\"" + sys::AnsiFromPath(writer) + "\" \"" + sys::AnsiFromPath(dir.path()) + "\" " +
                          lockName + " \"" + sys::AnsiFromPath(dir.path()) + "\" " + note + " > \"" +
                          sys::AnsiFromPath(out) + "\"";
#if defined(_WIN32)
    command = "\"" + command + "\"";  // cmd.exe strips one pair of quotes
#endif
    std::system(command.c_str());
    return std::atol(testsupport::ReadText(out).c_str());
  }

  TempDir dir;
  std::string lockName;
};

TEST_F(DebugLogTest, NotesBeforeStartAreDropped) {
  EXPECT_EQ(DebugLog("\nearly"), hr::kFail);
  EXPECT_FALSE(sys::FileExists(logPath()));
}

TEST_F(DebugLogTest, StartWritesTheBannerOnceAndEachLineBreakStartsAStampedLine) {
  ASSERT_EQ(StartLog(), hr::kOk);
  ASSERT_EQ(DebugLog("\nfirst %d\nsecond %s", 1, "two"), hr::kOk);
  auto lines = Lines(logText());
  // Leading empty line from the banner's first line break, then stamped lines.
  ASSERT_GE(lines.size(), 6u) << logText();
  EXPECT_EQ(lines[0], "");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(lines[1], m, kStamped)) << lines[1];
  EXPECT_EQ(m[1].str().rfind("debg: Pellmark ", 0), 0u);
  EXPECT_NE(lines[1].find(" running on "), std::string::npos);
  ASSERT_TRUE(std::regex_match(lines[2], m, kStamped)) << lines[2];
  EXPECT_EQ(m[1].str(), "debg: Log file set to '" + sys::AnsiFromPath(logPath()) + "'");
  ASSERT_TRUE(std::regex_match(lines[3], m, kStamped));
  EXPECT_EQ(m[1].str(), "debg: The application path is '" + sys::AnsiFromPath(dir.path() / "") + "'");
  // The banner's last line break left a stamp with nothing after it; the
  // note's first line break starts the next line.
  ASSERT_TRUE(std::regex_match(lines[4], m, kStamped));
  EXPECT_EQ(m[1].str(), "");
  ASSERT_TRUE(std::regex_match(lines[5], m, kStamped));
  EXPECT_EQ(m[1].str(), "first 1");
  ASSERT_TRUE(std::regex_match(lines[6], m, kStamped));
  EXPECT_EQ(m[1].str(), "second two");
}

TEST_F(DebugLogTest, ReachingTheLimitMovesTheLogToTheBackupAndStartsAfresh) {
  ASSERT_EQ(StartLog(), hr::kOk);
  testsupport::WriteFile(logPath(), std::string(102399, 'a'));
  ASSERT_EQ(DebugLog("x"), hr::kOk);  // 102,400 bytes now, not yet rotated
  EXPECT_FALSE(sys::FileExists(dir / "Pellmark LogFile" / "PellmarkLog.bak"));
  ASSERT_EQ(DebugLog("\nafter rotation"), hr::kOk);
  uint64_t backup = 0;
  ASSERT_TRUE(sys::GetFileSize(dir / "Pellmark LogFile" / "PellmarkLog.bak", backup));
  EXPECT_EQ(backup, 102400u);
  auto lines = Lines(logText());
  ASSERT_EQ(lines.size(), 2u) << logText();
  EXPECT_EQ(lines[0], "");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(lines[1], m, kStamped));
  EXPECT_EQ(m[1].str(), "after rotation");
}

TEST_F(DebugLogTest, ANoteWaitsAtMostASecondForTheLockThenIsDropped) {
  ASSERT_EQ(StartLog(), hr::kOk);
  auto holder = sys::OpenNamedSemaphore(lockName);
  ASSERT_TRUE(holder);
  ASSERT_TRUE(holder->wait(0));
  std::string before = logText();
  EXPECT_EQ(DebugLog("\nlost note"), hr::kFail);
  holder->release();
  EXPECT_EQ(logText(), before);
  EXPECT_EQ(DebugLog("\nkept note"), hr::kOk);
  EXPECT_NE(logText().find("kept note"), std::string::npos);
}

TEST_F(DebugLogTest, ASecondProgramAddsItsNotesWithoutABanner) {
  ASSERT_EQ(StartLog(), hr::kOk);
  EXPECT_EQ(runSecondProgram("from-the-second-program"), hr::kFail);
  std::string text = logText();
  EXPECT_EQ(Count(text, "debg: Pellmark "), 1u) << text;
  EXPECT_NE(text.find("from-the-second-program"), std::string::npos);
}

TEST_F(DebugLogTest, TheFirstProgramToStartWritesTheBanner) {
  EXPECT_EQ(runSecondProgram("alone"), hr::kOk);
  std::string text = logText();
  EXPECT_EQ(Count(text, "debg: Pellmark "), 1u) << text;
  EXPECT_NE(text.find("alone"), std::string::npos);
}

TEST(DebugLogText, LogTextWritesTheTextUnformatted) {
  TempDir dir;
  debuglog::Configure(dir.path(), testsupport::UniqueName("pm-log-lock"), dir.path());
  ASSERT_EQ(StartLog(), hr::kOk);
  EXPECT_EQ(LogText("\n100% done %s"), hr::kOk);
  EXPECT_NE(testsupport::ReadText(debuglog::LogPath()).find("100% done %s"), std::string::npos);
  EXPECT_EQ(LogText(nullptr), hr::kFail);
  debuglog::Configure({}, {}, {});
}

TEST(DebugLogFormat, LinePrefixIsTwelveHourTimeWithATrailingBlank) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 6;
  t.tm_mday = 12;
  t.tm_hour = 2;
  t.tm_min = 3;
  t.tm_sec = 4;
  EXPECT_EQ(debuglog::LinePrefix(t), "\n07/12/2026 02:03:04AM ");
  t.tm_hour = 14;
  EXPECT_EQ(debuglog::LinePrefix(t), "\n07/12/2026 02:03:04PM ");
  EXPECT_EQ(debuglog::ExpandLineBreaks("\r\nA\nB\n", "<P>"), "\r<P>A<P>B<P>");
  EXPECT_EQ(debuglog::ExpandLineBreaks("no break", "<P>"), "no break");
}

TEST(DebugLogFormat, SystemNamesFollowTheVersionRecord) {
  using V = sys::OsVersion;
  EXPECT_EQ(debuglog::SystemName(V{1, 4, 10, 0}), "Windows 98\n");
  EXPECT_EQ(debuglog::SystemName(V{1, 4, 90, 0}), "Windows ME\n");
  EXPECT_EQ(debuglog::SystemName(V{1, 4, 0, 0}), "an unknown operating system\n");
  EXPECT_EQ(debuglog::SystemName(V{2, 5, 0, 0}), "Windows 2000\n");
  EXPECT_EQ(debuglog::SystemName(V{2, 5, 1, 0}), "Windows XP\n");
  EXPECT_EQ(debuglog::SystemName(V{2, 5, 2, 0}), "Windows XP\n");
  EXPECT_EQ(debuglog::SystemName(V{2, 6, 1, 0}), "an unknown operating system\n");
  EXPECT_EQ(debuglog::SystemName(V{2, 4, 0, 0}), "an unknown operating system\n");
}

TEST(DebugLogVersion, TwelveBytesOfVersionTextWinOverTheProgramFile) {
  const uint16_t parts[4] = {2, 1, 3, 45};
  EXPECT_EQ(debuglog::VersionTextFrom("1.02.0003.04", parts), "Version 1.02.0003.04");
  EXPECT_EQ(debuglog::VersionTextFrom("1.02.0003.0", parts), "Version 2.1.03.00045");
  EXPECT_EQ(debuglog::VersionTextFrom("1.02.0003.045", parts), "Version 2.1.03.00045");
  EXPECT_EQ(debuglog::VersionTextFrom("", nullptr), "");
  EXPECT_EQ(debuglog::VersionTextFrom("short", nullptr), "");
}

TEST(DebugLogVersion, ReadsTheFilesBesideTheProgram) {
  TempDir dir;
  debuglog::Configure(dir.path(), testsupport::UniqueName("pm-log-lock"), dir.path());
  EXPECT_EQ(GetVersionText(), "");
  testsupport::WriteFile(dir / "version.txt", std::string("3.10.0007.12 and more"));
  EXPECT_EQ(GetVersionText(), "Version 3.10.0007.12");
  testsupport::WriteFile(dir / "version.txt", std::string("3.10.0007.1"));
  EXPECT_EQ(GetVersionText(), "");
  std::filesystem::create_directory(dir / "Halvern.exe");  // a folder is no program
  EXPECT_EQ(GetVersionText(), "");
#if defined(_WIN32)
  // Any program file with a version resource will do as the Halvern program.
  std::filesystem::remove(dir / "Halvern.exe");
  sys::Path source = L"C:\\windows\\system32\\kernel32.dll";
  uint16_t parts[4] = {};
  ASSERT_TRUE(sys::ReadFileVersion(source, parts));
  ASSERT_TRUE(sys::CopyFileTo(source, dir / "Halvern.exe", true));
  char expected[64];
  std::snprintf(expected, sizeof expected, "Version %d.%d.%02d.%05d", parts[0], parts[1], parts[2], parts[3]);
  EXPECT_EQ(GetVersionText(), expected);
#endif
  debuglog::Configure({}, {}, {});
}

}  // namespace
