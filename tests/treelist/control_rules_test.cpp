// Decisions of the control that need no window.
#include "treelist/control_rules.h"

#include <gtest/gtest.h>

namespace {

using namespace treelist;

TEST(MoveModeAt, OnlyTheTopTenthOfARowMeansBefore) {
  // Row from y = 40, 17 pixels high: a tenth is 1.7 pixels.
  EXPECT_EQ(MoveModeAt(40, 40, 17), tlMove_Upper);
  EXPECT_EQ(MoveModeAt(41, 40, 17), tlMove_Upper);
  EXPECT_EQ(MoveModeAt(42, 40, 17), tlMove_Lower);
  EXPECT_EQ(MoveModeAt(56, 40, 17), tlMove_Lower);
  // Exactly a tenth below the top is not "more than" a tenth.
  EXPECT_EQ(MoveModeAt(2, 0, 20), tlMove_Upper);
  EXPECT_EQ(MoveModeAt(3, 0, 20), tlMove_Lower);
}

TEST(AutoScrollFor, ScrollsOnlyTowardsHiddenRows) {
  // Rows shown between y 20 and 200, 10 per page, 30 rows.
  EXPECT_EQ(AutoScrollFor(10, 20, 200, 5, 10, 30), AutoScroll::kUp);
  EXPECT_EQ(AutoScrollFor(10, 20, 200, 0, 10, 30), AutoScroll::kNone);  // at the top already
  EXPECT_EQ(AutoScrollFor(200, 20, 200, 5, 10, 30), AutoScroll::kDown);
  EXPECT_EQ(AutoScrollFor(250, 20, 200, 20, 10, 30), AutoScroll::kNone);  // last page shown
  EXPECT_EQ(AutoScrollFor(100, 20, 200, 5, 10, 30), AutoScroll::kNone);   // inside
}

TEST(RepairSelection, ControlClickOfTheOtherKindIsUndone) {
  // A track (leaf) was selected at row 3; Control-click on album row 0.
  SelectionRepair r =
      RepairSelection(SelectionKind::kLeaf, 3, true, false, {0, false}, {{0, false}, {3, true}});
  EXPECT_TRUE(r.refuse);
  EXPECT_EQ(r.rowsToDeselect, (std::vector<int>{0}));

  r = RepairSelection(SelectionKind::kLeaf, 3, true, false, {4, true}, {{3, true}, {4, true}});
  EXPECT_FALSE(r.refuse);
  EXPECT_TRUE(r.rowsToDeselect.empty());
}

TEST(RepairSelection, ShiftClickKeepsOneKind) {
  // Album at row 0 selected, Shift-click on track row 2: only row 0 stays.
  SelectionRepair r =
      RepairSelection(SelectionKind::kNonLeaf, 0, false, true, {2, true}, {{0, false}, {1, true}, {2, true}});
  EXPECT_TRUE(r.refuse);
  EXPECT_EQ(r.rowsToDeselect, (std::vector<int>{1, 2}));

  // Album rows 0 and 4 with the tracks of album 0 between them.
  r = RepairSelection(SelectionKind::kNonLeaf, 0, false, true, {4, false},
                      {{0, false}, {1, true}, {2, true}, {3, true}, {4, false}});
  EXPECT_TRUE(r.refuse);
  EXPECT_EQ(r.rowsToDeselect, (std::vector<int>{1, 2, 3}));

  // Closed albums only: nothing to repair.
  r = RepairSelection(SelectionKind::kNonLeaf, 0, false, true, {2, false},
                      {{0, false}, {1, false}, {2, false}});
  EXPECT_FALSE(r.refuse);

  // Nothing selected before, or a plain click: the list view's choice stands.
  EXPECT_FALSE(RepairSelection(SelectionKind::kNothing, -1, true, false, {0, false}, {{0, false}}).refuse);
  EXPECT_FALSE(RepairSelection(SelectionKind::kLeaf, 3, false, false, {0, false}, {{0, false}}).refuse);
}

TEST(NextColumnSizing, NarrowColumnsComeBackAt51ThenTheLastOneStretches) {
  std::vector<bool> flags(5, false);
  std::vector<int> widths = {100, 40, 100, 100, 100};
  ColumnSizing step = NextColumnSizing(widths, flags, 600);
  EXPECT_EQ(step.action, ColumnSizing::kWiden);
  EXPECT_EQ(step.column, 1);
  EXPECT_EQ(step.width, 51);
  EXPECT_TRUE(flags[1]);

  widths[1] = 51;
  step = NextColumnSizing(widths, flags, 600);
  EXPECT_FALSE(flags[1]);
  EXPECT_EQ(step.action, ColumnSizing::kStretchLast);
  EXPECT_EQ(step.column, 4);
  EXPECT_EQ(step.width, 600 - 351);

  widths[4] = 249;
  EXPECT_EQ(NextColumnSizing(widths, flags, 600).action, ColumnSizing::kNone);

  // 50 pixels counts as narrow.
  widths = {50, 100, 100, 100, 100};
  EXPECT_EQ(NextColumnSizing(widths, flags, 600).action, ColumnSizing::kWiden);
}

TEST(NextColumnSizing, AColumnThatWillNotWidenIsTriedEveryOtherPaint) {
  std::vector<bool> flags(5, false);
  std::vector<int> widths = {30, 100, 100, 100, 100};
  EXPECT_EQ(NextColumnSizing(widths, flags, 1000).action, ColumnSizing::kWiden);
  // Still 30: the flag lets the check move on to the other columns.
  ColumnSizing step = NextColumnSizing(widths, flags, 1000);
  EXPECT_EQ(step.action, ColumnSizing::kStretchLast);
  EXPECT_EQ(step.width, 1000 - 330);
  EXPECT_EQ(NextColumnSizing(widths, flags, 1000).action, ColumnSizing::kWiden);
}

TEST(NextColumnSizing, LastColumnIsLeftWhenTheOthersFillTheWidth) {
  std::vector<bool> flags(5, false);
  // 4 * 140 + 50 = 610 is not below 600.
  EXPECT_EQ(NextColumnSizing({140, 140, 140, 140, 60}, flags, 600).action, ColumnSizing::kNone);
  EXPECT_EQ(NextColumnSizing({140, 140, 140, 120, 70}, flags, 600).width, 60);
  EXPECT_EQ(NextColumnSizing({}, flags, 600).action, ColumnSizing::kNone);
}

TEST(IsCellCutOff, CountsTheDragMarginAndTheImageRoom) {
  // Text 100 wide, drag height 4: 108 needed, plus 16 or 32 in column 0.
  EXPECT_FALSE(IsCellCutOff(108, 100, 4, 1, false));
  EXPECT_TRUE(IsCellCutOff(107, 100, 4, 1, false));
  EXPECT_FALSE(IsCellCutOff(124, 100, 4, 0, true));
  EXPECT_TRUE(IsCellCutOff(123, 100, 4, 0, true));
  EXPECT_FALSE(IsCellCutOff(140, 100, 4, 0, false));
  EXPECT_TRUE(IsCellCutOff(139, 100, 4, 0, false));
}

TEST(MayTypeCharacter, SixtyTwoCharactersOfLettersAndDigits) {
  EXPECT_TRUE(MayTypeCharacter('a', 61, 0));
  EXPECT_FALSE(MayTypeCharacter('a', 62, 0));
  EXPECT_FALSE(MayTypeCharacter('0', 62, 0));
  EXPECT_TRUE(MayTypeCharacter(' ', 62, 0));   // below 48
  EXPECT_TRUE(MayTypeCharacter('\b', 62, 0));  // backspace still works
  // Typing over a selection replaces it.
  EXPECT_TRUE(MayTypeCharacter('a', 62, 62));
  EXPECT_TRUE(MayTypeCharacter('a', 62, 1));
}

}  // namespace
