#include "app/debug_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <regex>
#include <thread>
#include <vector>

#include "app/log_file.h"
#include "tests/app/log_writer_notes.h"
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
  sys::Path backupPath() const { return dir / "Pellmark LogFile" / "PellmarkLog.bak"; }
  // The file once every note written so far has reached it.
  std::string logText() const {
    debuglog::Flush();
    return testsupport::ReadText(logPath());
  }

  // Runs the companion program against the same log with the note (and
  // further arguments, see log_writer.cpp); returns its StartLog result. The
  // program's further output stays in dir/writer-out.txt.
  long runSecondProgram(const std::string& arguments) {
    sys::Path writer = sys::ProgramFolder() / "log_writer";
#if defined(_WIN32)
    writer += ".exe";
#endif
    sys::Path out = dir / "writer-out.txt";
    std::string command = "\"" + sys::AnsiFromPath(writer) + "\" \"" + sys::AnsiFromPath(dir.path()) + "\" " +
                          lockName + " \"" + sys::AnsiFromPath(dir.path()) + "\" " + arguments + " > \"" +
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
  debuglog::Flush();
  EXPECT_FALSE(sys::FileExists(dir / "Pellmark LogFile" / "PellmarkLog.bak"));
  ASSERT_EQ(DebugLog("\nafter rotation"), hr::kOk);
  debuglog::Flush();
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

TEST(DebugLogFile, ABatchIsSplitWhereTheFileReachesTheLimit) {
  TempDir dir;
  const sys::Path log = dir / "PellmarkLog.txt";
  const std::string start(102390, 'a');
  testsupport::WriteFile(log, start);
  // 102,396 after the first note, 102,402 after the second: the third note
  // starts the new file.
  const std::vector<std::string> notes = {"note1.", "note2.", "note3.", "note4."};
  EXPECT_EQ(debuglog::AppendNotes(log, 102400, notes), 4u);
  EXPECT_EQ(testsupport::ReadText(debuglog::BackupPath(log)), start + "note1.note2.");
  EXPECT_EQ(testsupport::ReadText(log), "note3.note4.");

  // A file that cannot be opened writes nothing, and says so.
  EXPECT_EQ(debuglog::AppendNotes(dir / "missing" / "PellmarkLog.txt", 102400, notes), 0u);
}

TEST_F(DebugLogTest, NotesLostToABusyLockAreCountedInTheNextBatch) {
  ASSERT_EQ(StartLog(), hr::kOk);
  auto holder = sys::OpenNamedSemaphore(lockName);
  ASSERT_TRUE(holder);
  ASSERT_TRUE(holder->wait(0));
  const std::string before = testsupport::ReadText(logPath());
  // Taken at once; written never: the writer gives up after a second.
  EXPECT_EQ(DebugLog("\nlost 1"), hr::kOk);
  EXPECT_EQ(DebugLog("\nlost 2"), hr::kOk);
  EXPECT_EQ(DebugLog("\nlost 3"), hr::kOk);
  debuglog::Flush();
  EXPECT_EQ(testsupport::ReadText(logPath()), before);
  holder->release();

  EXPECT_EQ(DebugLog("\nkept note"), hr::kOk);
  const std::string text = logText();
  EXPECT_EQ(text.find("lost "), std::string::npos);
  const size_t count = text.find("debg: 3 notes were dropped");
  ASSERT_NE(count, std::string::npos) << text;
  EXPECT_LT(count, text.find("kept note"));
  // Told once.
  EXPECT_EQ(DebugLog("\nanother note"), hr::kOk);
  EXPECT_EQ(Count(logText(), "notes were dropped"), 1u);
}

TEST_F(DebugLogTest, NotesFromManyThreadsReachTheFileInTheirOrderWithoutBeingFlushed) {
  ASSERT_EQ(StartLog(), hr::kOk);
  constexpr int kThreads = 4, kNotes = 250;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([t] {
      for (int i = 0; i < kNotes; ++i) DebugLog("\nT%d %d", t, i);
    });
  }
  for (auto& w : writers) w.join();

  // The writer thread alone brings them to the file; no flush is asked for.
  auto complete = [&](const std::string& text) {
    for (int t = 0; t < kThreads; ++t) {
      if (text.find("T" + std::to_string(t) + " " + std::to_string(kNotes - 1)) == std::string::npos) return false;
    }
    return true;
  };
  std::string text = testsupport::ReadText(logPath());
  for (int wait = 0; wait < 500 && !complete(text); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    text = testsupport::ReadText(logPath());
  }
  std::vector<int> next(kThreads, 0);
  std::smatch m;
  const std::regex note(R"(T(\d+) (\d+))");
  for (const std::string& line : Lines(text)) {
    std::smatch stamped;
    if (!std::regex_match(line, stamped, kStamped)) continue;
    const std::string body = stamped[1].str();
    if (!std::regex_match(body, m, note)) continue;
    const int t = std::stoi(m[1].str());
    EXPECT_EQ(std::stoi(m[2].str()), next[t]) << "thread " << t;
    next[t] = std::stoi(m[2].str()) + 1;
  }
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(next[t], kNotes) << "thread " << t;
}

TEST_F(DebugLogTest, TwoProgramsWritingAtOnceKeepEachNoteWhole) {
  ASSERT_EQ(StartLog(), hr::kOk);
  constexpr int kNotes = 200;
  std::thread second([&] { runSecondProgram("other " + std::to_string(kNotes)); });
  for (int i = 0; i < kNotes; ++i) {
    DebugLog("%s", logtest::TwoLineNote("self", i).c_str());
    // Spread over a while, so that both programs' batches meet.
    if (i % 10 == 9) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  second.join();

  // Every "first" line is followed by the "second" line of the same note.
  const std::regex part(R"((self|other) (\d+) (first|second).*)");
  std::map<std::string, int> seen;
  std::string open;
  const std::string text = logText();  // 2 x 200 notes stay below the limit
  ASSERT_FALSE(sys::FileExists(backupPath()));
  for (const std::string& line : Lines(text)) {
    std::smatch stamped, m;
    if (!std::regex_match(line, stamped, kStamped)) continue;
    const std::string body = stamped[1].str();
    if (!std::regex_match(body, m, part)) continue;
    const std::string note = m[1].str() + " " + m[2].str();
    if (m[3].str() == "first") {
      EXPECT_EQ(open, "") << "note " << open << " cut by " << note;
      open = note;
    } else {
      EXPECT_EQ(open, note) << "second line of " << note << " away from its first";
      open.clear();
      ++seen[m[1].str()];
    }
  }
  EXPECT_EQ(seen["self"], kNotes);
  EXPECT_EQ(seen["other"], kNotes);
}

#if defined(_WIN32)
TEST_F(DebugLogTest, ACrashWritesThePendingNotesAndCallsTheEarlierFilter) {
  runSecondProgram("crashing 20 crash");
  const std::string out = testsupport::ReadText(dir / "writer-out.txt");
  EXPECT_NE(out.find("earlier filter ran"), std::string::npos) << out;
  const std::string text = testsupport::ReadText(logPath());
  EXPECT_EQ(Count(text, "crashing "), 40u) << text;
  EXPECT_NE(text.find("crashing 19 second"), std::string::npos);
}
#endif

TEST_F(DebugLogTest, ASecondProgramAddsItsNotesWithoutABanner) {
  ASSERT_EQ(StartLog(), hr::kOk);
  // Its note is still pending when it returns from main: the writer's end
  // at exit brings it to the file.
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
  debuglog::Flush();
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
