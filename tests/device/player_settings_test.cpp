#include "stand-ins/device_access/player_settings.h"

#include <gtest/gtest.h>

#include "stand-ins/device_access/player_folder.h"

namespace {

TEST(PlayerSettings, EveryKeyIsRead) {
  standin::PlayerSettings s;
  std::vector<std::string> problems;
  standin::ParseSettings(
      "# a player\n"
      "name = Test Player\n"
      "devices = 2\r\n"
      "capacity = 0x100000\n"
      "medium-kind = 3\n"
      "media = 2\n"
      "operation-polls = 4\n"
      "deny-listing = 1\n"
      "album-creation-fails = 1\n"
      "medium-full = 1\n"
      "unreadable-track = 12\n"
      "disconnect-at-poll = 7\n"
      "zero-progress-total = 1\n"
      "write-delay-ms = 25\n"
      "commit-delay-ms = 1500\n"
      "fail = WriteExportData 3 0x80004005\n"
      "fail = EndExportOperation 1 2147942405\n"
      "player = ../elsewhere\n",
      s, problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(s.deviceName, u"Test Player");
  EXPECT_EQ(s.deviceCount, 2u);
  EXPECT_EQ(s.capacity, 0x100000u);
  EXPECT_EQ(s.mediumKind, 3u);
  EXPECT_EQ(s.mediumCount, 2u);
  EXPECT_EQ(s.operationPolls, 4u);
  EXPECT_TRUE(s.denyListing && s.albumCreationFails && s.mediumFull && s.zeroProgressTotal);
  EXPECT_EQ(s.disconnectAtPoll, 7u);
  EXPECT_EQ(s.unreadableTrack, 12u);
  EXPECT_EQ(s.writeDelayMs, 25u);
  EXPECT_EQ(s.commitDelayMs, 1500u);
  ASSERT_EQ(s.faults.size(), 2u);
  EXPECT_EQ(s.faults[0].operation, "WriteExportData");
  EXPECT_EQ(s.faults[0].call, 3u);
  EXPECT_EQ(s.faults[0].result, hr::kFail);
  EXPECT_EQ(s.faults[1].result, hr::kAccessDenied);
  EXPECT_EQ(s.playerFolder, "../elsewhere");
}

TEST(PlayerSettings, DefaultsInjectNothing) {
  standin::PlayerSettings s;
  EXPECT_EQ(s.deviceCount, 1u);
  EXPECT_EQ(s.mediumKind, 1u);
  EXPECT_FALSE(s.denyListing || s.albumCreationFails || s.mediumFull || s.zeroProgressTotal);
  EXPECT_EQ(s.disconnectAtPoll, 0u);
  EXPECT_TRUE(s.faults.empty());
}

TEST(PlayerSettings, BadLinesAreNamedAndSkipped) {
  standin::PlayerSettings s;
  std::vector<std::string> problems;
  standin::ParseSettings(
      "capacity = lots\nno equals here\ncolour = red\nfail = Write 0 1\nfail = X 1\n"
      "deny-listing = 2\ndevices = 99999999999\n",
      s, problems);
  ASSERT_EQ(problems.size(), 7u);
  EXPECT_EQ(problems[0], "line 1: bad value: capacity = lots");
  EXPECT_EQ(problems[1], "line 2: no '=': no equals here");
  EXPECT_EQ(problems[2], "line 3: unknown key: colour = red");
  EXPECT_EQ(s.capacity, 1ull << 30);
  EXPECT_TRUE(s.faults.empty());
  EXPECT_FALSE(s.denyListing);
}

TEST(PlayerFolder, EnvironmentThenSettingsThenBesideTheLibrary) {
  const sys::Path lib = sys::Path("lib");
  const sys::Path absolute = std::filesystem::absolute("abs");
  EXPECT_EQ(standin::ResolvePlayerFolder(lib, absolute.u16string(), "other"), absolute);
  EXPECT_EQ(standin::ResolvePlayerFolder(lib, u"env", "other"), lib / "env");
  EXPECT_EQ(standin::ResolvePlayerFolder(lib, u"", "other"), lib / "other");
  EXPECT_EQ(standin::ResolvePlayerFolder(lib, u"", ""), lib / "Player");
}

}  // namespace
