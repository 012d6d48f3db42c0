#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

#include "wizard/copy_progress.h"
#include "wizard/drive_rules.h"
#include "wizard/inquiry_info.h"
#include "wizard/wizard_flow.h"

namespace {

using wizard::Step;

// A 56-byte INQUIRY answer with the identification fields filled, byte by
// byte as a device sends them.
std::array<uint8_t, 56> Answer(const std::string& vendorSpecific, uint8_t byte44) {
  std::array<uint8_t, 56> a{};
  a[0] = 0x00;  // direct-access device
  a[1] = 0x80;  // removable medium
  a[4] = 51;    // additional length
  const std::string vendor = "KELTAN  ", product = "Quintad Player   ", revision = "1.02";
  for (size_t i = 0; i < 8; ++i) a[8 + i] = static_cast<uint8_t>(vendor[i]);
  for (size_t i = 0; i < 16; ++i) a[16 + i] = static_cast<uint8_t>(product[i]);
  for (size_t i = 0; i < 4; ++i) a[32 + i] = static_cast<uint8_t>(revision[i]);
  for (size_t i = 0; i < 8; ++i)
    a[36 + i] = i < vendorSpecific.size() ? static_cast<uint8_t>(vendorSpecific[i]) : ' ';
  a[44] = byte44;
  return a;
}

TEST(InquiryTest, TheRequestAsksFor56BytesInATwelveByteBlock) {
  EXPECT_EQ(wizard::MakeWizardInquiryRequest(),
            (std::array<uint8_t, 12>{0x12, 0, 0, 0, 0x38, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(InquiryTest, FieldsComeFromTheirOffsets) {
  const auto a = Answer("QUINTAD2", 0x08);
  const wizard::InquiryInfo info = wizard::ParseInquiryInfo(a);
  EXPECT_EQ(info.vendor, "KELTAN  ");
  EXPECT_EQ(info.product, "Quintad Player  ");
  EXPECT_EQ(info.revision, "1.02");
  EXPECT_EQ(info.vendorSpecific, "QUINTAD2");
  EXPECT_EQ(info.deviceCap, 1);
  EXPECT_EQ(wizard::ParseInquiryInfo(Answer("QUINTAD2", 0xF7)).deviceCap, 0);  // every bit but 3
}

TEST(InquiryTest, OnlyThePlayerNameWithDeviceCapOneIsThePlayer) {
  auto decide = [](const std::string& name, uint8_t byte44) {
    return wizard::IsPlayerAnswer(wizard::ParseInquiryInfo(Answer(name, byte44)));
  };
  EXPECT_TRUE(decide("QUINTAD2", 0x08));
  EXPECT_FALSE(decide("QUINTAD2", 0x00));
  EXPECT_FALSE(decide("QUINTAD", 0x08));
  EXPECT_FALSE(decide("quintad2", 0x08));
  EXPECT_FALSE(decide("QUINTAD3", 0x08));
  // Trailing blanks are taken off; leading ones are not.
  EXPECT_TRUE(decide("QUINTAD2", 0x0F));
  EXPECT_FALSE(decide(" QUINTAD", 0x08));
  auto zeroPadded = Answer("QUINTAD", 0x08);
  zeroPadded[43] = 0;
  EXPECT_FALSE(wizard::IsPlayerAnswer(wizard::ParseInquiryInfo(zeroPadded)));
  // A drive that could not be asked is offered.
  EXPECT_TRUE(wizard::IsPlayerAnswer(std::nullopt));
}

TEST(DriveRulesTest, DisplayNamesEndingInALetterAndColonInBrackets) {
  EXPECT_EQ(wizard::DriveLetterOfDisplayName("Removable Disk (E:)"), 'E');
  EXPECT_EQ(wizard::DriveLetterOfDisplayName(" (r:)"), 'r');
  EXPECT_EQ(wizard::DriveLetterOfDisplayName("E:)"), 'E');
  EXPECT_EQ(wizard::DriveLetterOfDisplayName("Control Panel"), std::nullopt);
  EXPECT_EQ(wizard::DriveLetterOfDisplayName("Disk (1:)"), std::nullopt);
  EXPECT_EQ(wizard::DriveLetterOfDisplayName("Disk (E:) "), std::nullopt);
  EXPECT_EQ(wizard::DriveLetterOfDisplayName(":)"), std::nullopt);
  EXPECT_EQ(wizard::DriveLetterOfDisplayName(""), std::nullopt);
}

TEST(DriveRulesTest, TheScanKeepsRemovablePlayersAndAsksOnlyAboutThose) {
  std::map<char, unsigned> types = {{'A', 2}, {'C', 3}, {'E', 2}, {'F', 2}, {'G', 5}, {'b', 2}};
  std::string asked;
  auto scan = [&](int osKind) {
    asked.clear();
    return wizard::ScanDrives(
        {"Floppy (A:)", "Local Disk (C:)", "PLAYER (E:)", "Card (F:)", "CD (G:)", "Network", "x (b:)"},
        osKind,
        [&](const std::string& root) {
          EXPECT_EQ(root.size(), 3u);
          EXPECT_EQ(root.substr(1), ":\\");
          return types[root[0]];
        },
        [&](char letter) {
          asked += letter;
          return letter != 'F';
        });
  };
  auto xp = scan(7);
  ASSERT_EQ(xp.size(), 3u);
  EXPECT_EQ(xp[0].displayName, "Floppy (A:)");  // NT 5+: the floppy rule is IsPlayer's
  EXPECT_EQ(xp[1].letter, 'E');
  EXPECT_EQ(xp[1].displayName, "PLAYER (E:)");
  EXPECT_EQ(asked, "AEFb");

  auto me = scan(4);
  ASSERT_EQ(me.size(), 1u);
  EXPECT_EQ(me[0].letter, 'E');
  EXPECT_EQ(asked, "EF");

  EXPECT_TRUE(scan(5).empty());
  EXPECT_EQ(asked, "");
}

TEST(CopyProgressTest, PercentOfFinishedEntries) {
  EXPECT_EQ(wizard::CopyPercent(0, 5, false), 0);
  EXPECT_EQ(wizard::CopyPercent(2, 3, false), 66);
  EXPECT_EQ(wizard::CopyPercent(3, 3, false), 100);
  EXPECT_EQ(wizard::CopyPercent(1, 5, true), 100);
  // An empty list: nothing to divide by.
  EXPECT_EQ(wizard::CopyPercent(0, 0, false), 0);
  EXPECT_EQ(wizard::CopyPercent(0, 0, true), 100);
  // No overflow with a count near the top of its range.
  EXPECT_EQ(wizard::CopyPercent(0xFFFFFFFFu, 0xFFFFFFFFu, false), 100);
}

TEST(CopyProgressTest, WhatThePageDoesAfterAPoll) {
  auto s = wizard::StepAfterPoll(hr::kOk, 0, false);
  EXPECT_FALSE(s.endPage);
  EXPECT_EQ(s.barPosition, -1);  // 0 would move the bar back below the start marks

  s = wizard::StepAfterPoll(hr::kOk, 40, false);
  EXPECT_FALSE(s.endPage);
  EXPECT_EQ(s.barPosition, 40);

  s = wizard::StepAfterPoll(hr::kOk, 100, true);
  EXPECT_TRUE(s.endPage);
  EXPECT_EQ(s.result, hr::kOk);
  EXPECT_EQ(s.barPosition, 100);

  s = wizard::StepAfterPoll(5, 100, true);  // ERROR_ACCESS_DENIED from the worker
  EXPECT_TRUE(s.endPage);
  EXPECT_EQ(s.result, 5);

  s = wizard::StepAfterPoll(hr::kAbort, 60, false);  // a cancelled copy that has stopped
  EXPECT_TRUE(s.endPage);
  EXPECT_EQ(s.result, hr::kAbort);
  EXPECT_EQ(s.barPosition, -1);
}

TEST(SystemCheckTest, VersionTargetAndRights) {
  using wizard::SystemCheck;
  int asked = 0;
  auto check = [&](std::optional<int> os, int target, int level) {
    return wizard::CheckSystem(os, target, [&] {
      ++asked;
      return level;
    });
  };
  EXPECT_EQ(check(3, 0, 0), SystemCheck::kPass);
  EXPECT_EQ(check(4, 1, 0), SystemCheck::kPass);
  EXPECT_EQ(check(3, 2, 0), SystemCheck::kUnsupportedOs);
  EXPECT_EQ(check(5, 0, 4), SystemCheck::kUnsupportedOs);
  EXPECT_EQ(check(5, 1, 4), SystemCheck::kUnsupportedOs);
  EXPECT_EQ(asked, 0);  // the rights matter only on the other systems

  EXPECT_EQ(check(7, 1, 4), SystemCheck::kUnsupportedOs2);
  EXPECT_EQ(check(6, 3, 4), SystemCheck::kUnsupportedOs2);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(check(7, 0, 4), SystemCheck::kPass);
  EXPECT_EQ(check(6, 2, 4), SystemCheck::kPass);
  EXPECT_EQ(check(7, 0, 3), SystemCheck::kNeedAdmin);  // a Power User
  EXPECT_EQ(check(7, 2, 2), SystemCheck::kNeedAdmin);
  EXPECT_EQ(check(2, 0, 1), SystemCheck::kNeedAdmin);
  EXPECT_EQ(asked, 5);
  EXPECT_EQ(check(std::nullopt, 0, 4), SystemCheck::kSilentFailure);
}

TEST(FlowTest, PagesFollowTheirResults) {
  EXPECT_EQ(wizard::NextStep(Step::kWelcome, 1), Step::kSelectDrive);
  EXPECT_EQ(wizard::NextStep(Step::kWelcome, 2), Step::kEnd);
  EXPECT_EQ(wizard::NextStep(Step::kWelcome, -1), Step::kEnd);

  EXPECT_EQ(wizard::NextStep(Step::kSelectDrive, 1), Step::kConfirm);
  EXPECT_EQ(wizard::NextStep(Step::kSelectDrive, 100), Step::kWelcome);
  EXPECT_EQ(wizard::NextStep(Step::kSelectDrive, 2), Step::kEnd);
  // The welcome page reached by Back leads on as at the start.
  EXPECT_EQ(wizard::NextStep(wizard::NextStep(Step::kSelectDrive, 100), 1), Step::kSelectDrive);
  EXPECT_EQ(wizard::NextStep(wizard::NextStep(Step::kSelectDrive, 100), 2), Step::kEnd);

  EXPECT_EQ(wizard::NextStep(Step::kConfirm, 1), Step::kCopying);
  EXPECT_EQ(wizard::NextStep(Step::kConfirm, 100), Step::kSelectDrive);
  EXPECT_EQ(wizard::NextStep(Step::kConfirm, 2), Step::kEnd);

  EXPECT_EQ(wizard::NextStep(Step::kFinished, 200), Step::kSelectDrive);
  EXPECT_EQ(wizard::NextStep(Step::kFinished, 2), Step::kEnd);
  EXPECT_EQ(wizard::NextStep(Step::kEnd, 1), Step::kEnd);
}

TEST(FlowTest, OnlyLeavingTheCopyingPageEndsTheProgramThere) {
  // The copying page reports 1 for every ended copy, whatever its code (a
  // copy failing with ERROR_FILE_NOT_FOUND, 2, included) and 2 only when
  // the user left it.
  EXPECT_EQ(wizard::NextStep(Step::kCopying, 1), Step::kFinished);
  EXPECT_EQ(wizard::NextStep(Step::kCopying, 2), Step::kEnd);
}

}  // namespace
