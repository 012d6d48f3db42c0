#include "container/mapped_view.h"

#include <gtest/gtest.h>

#include <numeric>

#include "tests/support/temp_dir.h"

namespace {

using container::CMappedView;
using testsupport::TempDir;

std::vector<uint8_t> Counting(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
  return v;
}

class MappedViewTest : public ::testing::Test {
 protected:
  void TearDown() override { CMappedView::OverrideGranularity(0); }
  TempDir dir;
};

TEST_F(MappedViewTest, OffsetIsRoundedDownToTheGranularity) {
  auto bytes = Counting(200000);
  testsupport::WriteFile(dir / "a.bin", bytes);
  CMappedView::OverrideGranularity(65536);
  CMappedView view(dir / "a.bin", false, 70000, 1000);
  EXPECT_EQ(view.data() - view.viewBase(), 4464);
  EXPECT_EQ(view.length(), 1000u);
  EXPECT_EQ(view.offset(), 70000u);
  EXPECT_TRUE(std::equal(view.data(), view.data() + 1000, bytes.begin() + 70000));
}

TEST_F(MappedViewTest, LengthZeroOrPastTheEndIsClippedToTheEnd) {
  auto bytes = Counting(10000);
  testsupport::WriteFile(dir / "a.bin", bytes);
  CMappedView whole(dir / "a.bin", false, 0, 0);
  EXPECT_EQ(whole.length(), 10000u);
  EXPECT_EQ(whole.data(), whole.viewBase());
  CMappedView tail(dir / "a.bin", true, 9000, 5000);
  EXPECT_EQ(tail.length(), 1000u);
  EXPECT_EQ(tail.data()[999], bytes[9999]);
}

TEST_F(MappedViewTest, RefusesEmptyMissingAndTooShortFiles) {
  testsupport::WriteFile(dir / "empty.bin", std::vector<uint8_t>());
  testsupport::WriteFile(dir / "small.bin", Counting(100));
  EXPECT_THROW(CMappedView(dir / "empty.bin", false, 0, 0), container::MappedViewError);
  EXPECT_THROW(CMappedView(dir / "missing.bin", false, 0, 0), container::MappedViewError);
  EXPECT_THROW(CMappedView(dir / "small.bin", false, 101, 0), container::MappedViewError);
  // At exactly the end there is nothing left to map.
  EXPECT_THROW(CMappedView(dir / "small.bin", false, 100, 0), container::MappedViewError);
  EXPECT_THROW(CMappedView(dir.path(), false, 0, 0), container::MappedViewError);
}

TEST_F(MappedViewTest, NullNarrowPathIsCaughtNamingThePath) {
  try {
    CMappedView view(static_cast<const char*>(nullptr), false, 0, 0);
    FAIL() << "no exception";
  } catch (const std::invalid_argument& e) {
    EXPECT_NE(std::string(e.what()).find("path"), std::string::npos);
  }
}

TEST_F(MappedViewTest, CloseReleasesTheFile) {
  testsupport::WriteFile(dir / "a.bin", Counting(5000));
  CMappedView view(dir / "a.bin", true, 0, 0);
  view.close();
  EXPECT_EQ(view.data(), nullptr);
  // Nothing holds the file any more: it can be removed.
  EXPECT_TRUE(sys::DeleteFileAt(dir / "a.bin"));
}

}  // namespace
