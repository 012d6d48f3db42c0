#include <gtest/gtest.h>

#include "app/capacity_text.h"
#include "app/main_window_layout.h"

namespace {

using app::LayoutRect;

// The template's controls as a 96-dpi screen shows them.
app::InitialLayout TemplateLayout() {
  app::InitialLayout l;
  l.erase = {11, 343, 90, 23};
  l.eraseAll = {225, 343, 90, 23};
  l.exit = {441, 343, 90, 23};
  l.separator = {0, 374, 542, 2};
  l.status = {11, 382, 330, 15};
  l.hint = {345, 382, 189, 15};
  return l;
}

TEST(MainWindowLayout, ListFillsTheWindowAboveTheButtonRow) {
  const auto l = app::ComputeMainWindowLayout(TemplateLayout(), 800, 600);
  EXPECT_EQ(l.list, (LayoutRect{10, 15, 780, 530}));
}

TEST(MainWindowLayout, FourEqualColumnsAndTheLastTakesTheRest) {
  // 803 - 24 = 779 = 4 * 155 + 159.
  const auto l = app::ComputeMainWindowLayout(TemplateLayout(), 803, 600);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(l.columnWidths[c], 155) << c;
  EXPECT_EQ(l.columnWidths[4], 159);
}

TEST(MainWindowLayout, BottomRowHangsFromTheBottomEdge) {
  const auto l = app::ComputeMainWindowLayout(TemplateLayout(), 800, 600);
  // Status line 2 pixels above the bottom, keeping its x and size.
  EXPECT_EQ(l.status, (LayoutRect{11, 583, 330, 15}));
  // Hint 6 from the right, 2 from the bottom.
  EXPECT_EQ(l.hint, (LayoutRect{605, 583, 189, 15}));
  // The line spans the width 6 pixels above the status line.
  EXPECT_EQ(l.separator, (LayoutRect{0, 577, 800, 2}));
  // Buttons end 11 pixels above the status line: Erase keeps its x, Exit
  // mirrors it at the right, Erase All is centred.
  EXPECT_EQ(l.erase, (LayoutRect{11, 549, 90, 23}));
  EXPECT_EQ(l.exit, (LayoutRect{699, 549, 90, 23}));
  EXPECT_EQ(l.eraseAll, (LayoutRect{355, 549, 90, 23}));
  EXPECT_EQ(l.exit.right(), 800 - l.erase.left);
}

TEST(MainWindowLayout, ATinyClientAreaGivesNoNegativeSizes) {
  const auto l = app::ComputeMainWindowLayout(TemplateLayout(), 10, 20);
  EXPECT_EQ(l.list.width, 0);
  EXPECT_EQ(l.list.height, 0);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(l.columnWidths[c], 0);
}

TEST(MainWindowLayout, MinimumTrackingSize) {
  EXPECT_EQ(app::kMinTrackWidth, 533);
  EXPECT_EQ(app::kMinTrackHeight, 400);
}

TEST(CapacityText, MegabytesWithTwoDecimals) {
  EXPECT_EQ(app::FormatCapacityLine(1048576, 2097152), L"1.00 MB / 2.00 MB");
  EXPECT_EQ(app::FormatCapacityLine(0, 0), L"0.00 MB / 0.00 MB");
  // 1,572,864 bytes are 1.5 MB; 1 GiB is 1024 MB.
  EXPECT_EQ(app::FormatCapacityLine(1572864, 1073741824), L"1.50 MB / 1024.00 MB");
  // Rounded, not cut: 5,237 bytes short of 1 MB still reads 1.00.
  EXPECT_EQ(app::FormatCapacityLine(1048576 - 5237, 1048576), L"1.00 MB / 1.00 MB");
}

TEST(CapacityText, CountsBeyondThirtyTwoBitsStayExact) {
  // 8 GiB free of 16 GiB: a 32-bit count would wrap to 0.
  EXPECT_EQ(app::FormatCapacityLine(int64_t{8} << 30, int64_t{16} << 30), L"8192.00 MB / 16384.00 MB");
}

}  // namespace
