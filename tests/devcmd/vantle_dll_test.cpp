// Vantle.dll itself, loaded as a host program loads it, on the real
// system; and the system readers of the classification under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "devcmd/os_rights.h"
#include "devcmd/vantle.h"

namespace {

class VantleDll : public ::testing::Test {
 protected:
  void SetUp() override {
    m_module = ::LoadLibraryW(L"Vantle.dll");
    ASSERT_NE(m_module, nullptr);
  }
  void TearDown() override {
    if (m_module) ::FreeLibrary(m_module);
  }
  template <class Fn>
  Fn Get(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m_module, name)));
  }
  HMODULE m_module = nullptr;
};

TEST_F(VantleDll, ExportsTheSixFunctionsByName) {
  auto setDrive = Get<int(VANTLE_CALL*)(int)>("SetDriveNo");
  auto getInquiry = Get<int(VANTLE_CALL*)(char*, int*)>("GetInquiry");
  auto reset = Get<int(VANTLE_CALL*)(int*)>("Reset");
  ASSERT_NE(setDrive, nullptr);
  ASSERT_NE(getInquiry, nullptr);
  ASSERT_NE(reset, nullptr);
  EXPECT_NE(Get<void*>("SetUserNameDevice"), nullptr);
  EXPECT_NE(Get<void*>("SetPreferenceMenu"), nullptr);
  EXPECT_NE(Get<void*>("GetPreferenceInfo"), nullptr);

  int result = -1;
  // The drive index starts unset.
  EXPECT_EQ(reset(&result), 0);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(setDrive(30), 0);
  EXPECT_EQ(reset(&result), 0);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(reset(nullptr), static_cast<int>(0x80004003));

  // C: under Wine is a fixed drive whose volume takes no pass-through
  // request: the command fails cleanly and the text is zeroed.
  EXPECT_EQ(setDrive(2), 0);
  char text[31];
  std::memset(text, '#', sizeof(text));
  EXPECT_EQ(getInquiry(text, &result), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(std::vector<char>(text, text + 31), std::vector<char>(31, 0));
}

TEST(OsRightsReaders, WineReportsAnXpAdministrator) {
  // Wine presents Windows 7 (NT 6.1) and an enabled Administrators member.
  const std::optional<osrights::VersionRecord> version = osrights::ReadVersionRecord();
  ASSERT_TRUE(version);
  EXPECT_EQ(version->platformId, osrights::kPlatformNt);
  EXPECT_EQ(osrights::OsKind(), 7);
  const auto groups = osrights::ReadTokenGroups();
  ASSERT_TRUE(groups);
  EXPECT_FALSE(groups->empty());
  EXPECT_EQ(osrights::ComputeAdminLevel(), 4);
  EXPECT_EQ(osrights::AdminLevel(), 4);
  EXPECT_EQ(osrights::AdminLevel(), 4);
}

}  // namespace
