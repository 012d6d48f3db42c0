// The simulated player's own checks of its callers, seen through COM.
#include <gtest/gtest.h>

#include "device/property_block.h"
#include "tests/device/standin_player.h"

namespace {

TEST(StandInCom, BlocksFreedTwiceAreReportedAndUnfreedOnesCounted) {
  devicetest::StandInPlayer p;
  const uint32_t album = p.createAlbum(u"A");
  device::IPAC* pac = p.wrap().Library();
  BSTR name = ::SysAllocString(reinterpret_cast<const wchar_t*>(p.wrap().DeviceName().c_str()));
  ASSERT_EQ(pac->StartTransaction(name), S_OK);
  const ULONG ids[] = {device::kPropName};
  device::PropertyEntry* block = nullptr;
  ASSERT_EQ(pac->GetProperties(name, album, 1, ids, &block), S_OK);
  EXPECT_EQ(p.state().outstandingBlocks, 2);  // the block and its value array
  ::VariantClear(&block->values[0]);
  ::CoTaskMemFree(block->values);
  ::CoTaskMemFree(block);
  EXPECT_EQ(p.state().outstandingBlocks, 0);
  EXPECT_EQ(p.state().callerErrors, 0u);
  ::CoTaskMemFree(block);  // once too often
  EXPECT_EQ(p.state().callerErrors, 1u);
  EXPECT_NE(p.log().find("caller error: a block handed out by the player was freed twice"),
            std::string::npos);
  ASSERT_EQ(pac->EndTransaction(name), S_OK);
  ::SysFreeString(name);
}

TEST(StandInCom, BrokenTransactionRulesAnswerUnexpected) {
  devicetest::StandInPlayer p;
  device::IPAC* pac = p.wrap().Library();
  BSTR name = ::SysAllocString(reinterpret_cast<const wchar_t*>(p.wrap().DeviceName().c_str()));
  ULONG root = 0;
  EXPECT_EQ(pac->GetRootFolder(name, 1, &root), E_UNEXPECTED);
  ASSERT_EQ(pac->StartTransaction(name), S_OK);
  EXPECT_EQ(pac->StartTransaction(name), E_UNEXPECTED);
  BSTR other = ::SysAllocString(L"Another Player");
  EXPECT_EQ(pac->GetRootFolder(other, 1, &root), HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST));
  EXPECT_EQ(pac->EndTransaction(name), S_OK);
  EXPECT_EQ(pac->EndTransaction(name), E_UNEXPECTED);
  EXPECT_EQ(p.state().callerErrors, 3u);
  ::SysFreeString(other);
  ::SysFreeString(name);
}

}  // namespace
