#include "app/help_settings.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpSettings, OnlyTenKeepsTheHelpWindowClosedAtStart) {
  EXPECT_FALSE(app::OpensHelpAtStartup(10u));
  EXPECT_TRUE(app::OpensHelpAtStartup(std::nullopt));
  EXPECT_TRUE(app::OpensHelpAtStartup(0u));
  EXPECT_TRUE(app::OpensHelpAtStartup(1u));
  EXPECT_TRUE(app::OpensHelpAtStartup(11u));
  EXPECT_TRUE(app::OpensHelpAtStartup(0xFFFFFFFFu));
}

TEST(HelpSettings, CheckBoxWritesZeroOrTen) {
  EXPECT_EQ(app::HelpSettingFor(true), 0u);
  EXPECT_EQ(app::HelpSettingFor(false), 10u);
  EXPECT_TRUE(app::OpensHelpAtStartup(app::HelpSettingFor(true)));
  EXPECT_FALSE(app::OpensHelpAtStartup(app::HelpSettingFor(false)));
}

TEST(HelpSettings, PageAddressUsesForwardSlashesBesideTheProgram) {
  EXPECT_EQ(app::HelpPageAddress(L"P:\\Pellmark\\Pellmark.exe"), L"P:/Pellmark/help.htm");
  EXPECT_EQ(app::HelpPageAddress(L"Z:\\a b\\c\\Pellmark.exe"), L"Z:/a b/c/help.htm");
  EXPECT_EQ(app::HelpPageAddress(L"C:/mixed\\dir/Pellmark.exe"), L"C:/mixed/dir/help.htm");
  EXPECT_EQ(app::HelpPageAddress(L"Pellmark.exe"), L"help.htm");
}

TEST(HelpSettings, FilePathKeepsTheProgramFolder) {
  EXPECT_EQ(app::HelpFilePath(L"P:\\Pellmark\\Pellmark.exe"), L"P:\\Pellmark\\help.htm");
  EXPECT_EQ(app::HelpFilePath(L"/opt/pellmark/Pellmark"), L"/opt/pellmark/help.htm");
  EXPECT_EQ(app::HelpFilePath(L""), L"help.htm");
}

}  // namespace
