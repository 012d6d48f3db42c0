// The album/track list control in a window of its own, driven by real
// mouse and keyboard messages and the real timers.
#include <gtest/gtest.h>

#include <memory>

#include "tests/treelist/control/test_window.h"
#include "tests/treelist/track_list_fixture.h"
#include "treelist/track_list_ctrl_win32.h"
#include "treelist/tree_list_messages_win32.h"

namespace {

using treelist::CTrackListCtrl;
using treelist::DropTarget;
using treelist::tlMove_Added;
using treelist::tlMove_Lower;
using treelist::tlMove_Upper;
using treelist::TrackListItem;
using treelisttest::MemoryPlayer;
using treelisttest::Pump;
using treelisttest::PumpFor;
using treelisttest::PumpUntil;
using treelisttest::RecordingHost;
using treelisttest::TestWindow;

HIMAGELIST MakeImages() {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 5, 0);
  const COLORREF colours[] = {RGB(200, 150, 0), RGB(240, 200, 0), RGB(0, 120, 200), RGB(150, 150, 150),
                              RGB(180, 180, 180)};
  HDC screen = ::GetDC(nullptr);
  for (COLORREF colour : colours) {
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT all{0, 0, 16, 16};
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &all, brush);
    ::DeleteObject(brush);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ImageList_Add(images, bitmap, nullptr);
    ::DeleteObject(bitmap);
  }
  ::ReleaseDC(nullptr, screen);
  return images;
}

class TrackListCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<TestWindow>(40, 40, 760, 420);
    ctrl = std::make_unique<CTrackListCtrl>(&host, &player);
    ASSERT_TRUE(ctrl->Create(window->hwnd(), RECT{10, 10, 730, 370}, 1004));
    list = ctrl->hwnd();
    images = MakeImages();
    ::SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    // As the main window sets it up: full-row selection.
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    ASSERT_TRUE(ctrl->InsertStandardColumns({L"Title", L"Artist", L"Time", L"Album", L"Genre"}));
    Pump();
  }
  void TearDown() override {
    ctrl.reset();
    window.reset();
    if (images) ImageList_Destroy(images);
  }

  void load(const std::vector<std::pair<std::string, int>>& albums) {
    ctrl->LoadAll(treelisttest::PutOnPlayer(player, albums));
    Pump();
  }
  TrackListItem* album(int i) { return ctrl->List().albumAt(i); }
  TrackListItem* track(int a, int t) { return treelist::AsTrackItem(album(a)->child(t)); }
  int rowOf(const treelist::TreeListItem* item) { return ctrl->RowOfItem(item); }

  RECT rowRect(int row) {
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // A point in a cell: dy pixels below the row's top, or its middle.
  POINT cellPoint(int row, int column, int dy = -1) {
    RECT cell{LVIR_LABEL, column, 0, 0};
    if (column == 0)
      ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    else
      ::SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    int y = dy < 0 ? (cell.top + cell.bottom) / 2 : cell.top + dy;
    return {(cell.left + cell.right) / 2, y};
  }
  // A point on the text of a row's label in column 0.
  POINT labelPoint(int row) {
    RECT label{LVIR_LABEL, 0, 0, 0};
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
    return {label.left + 6, (label.top + label.bottom) / 2};
  }
  static LPARAM At(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }
  void press(POINT p, WPARAM keys = 0) {
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, At(p));
    Pump();
  }
  void release(POINT p, WPARAM keys = 0) {
    ::PostMessageW(list, WM_LBUTTONUP, keys, At(p));
    Pump();
  }
  void moveHeld(POINT p) {
    ::PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, At(p));
    Pump();
  }
  void click(POINT p, WPARAM keys = 0) {
    press(p, keys);
    release(p, keys);
  }
  void doubleClick(POINT p) {
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, At(p));
    ::PostMessageW(list, WM_LBUTTONUP, 0, At(p));
    ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, At(p));
    ::PostMessageW(list, WM_LBUTTONUP, 0, At(p));
    Pump();
  }
  void key(UINT vk, HWND target = nullptr) {
    ::PostMessageW(target ? target : list, WM_KEYDOWN, vk, 1);
    ::PostMessageW(target ? target : list, WM_KEYUP, vk, 0xC0000001);
    Pump();
  }
  // Presses on a row and moves far enough for the list view to start a drag.
  void startDrag(int row) {
    POINT p = cellPoint(row, 1);
    press(p);
    moveHeld({p.x, p.y + 12});
    ASSERT_TRUE(ctrl->IsDragging());
  }
  bool selected(int row) {
    return ::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
  }
  bool dropHighlighted(int row) {
    return ::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_DROPHILITED) != 0;
  }
  int topIndex() { return static_cast<int>(::SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); }
  int columnWidth(int c) { return static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0)); }
  HWND editor() { return ::GetDlgItem(list, treelist::CInPlaceEdit::kControlId); }
  std::wstring editorText() {
    wchar_t text[256] = {};
    ::GetWindowTextW(editor(), text, 256);
    return text;
  }
  // Waits for the slow-click timer (the double-click time) to have run.
  void waitForSlowClick() { PumpFor(::GetDoubleClickTime() + 250); }
  // Rows of the list view, as item pointers.
  std::vector<treelist::TreeListItem*> listViewRows() {
    std::vector<treelist::TreeListItem*> rows;
    for (int r = 0; r < ctrl->RowCount(); ++r) rows.push_back(ctrl->ItemOfRow(r));
    return rows;
  }

  RecordingHost host;
  MemoryPlayer player;
  std::unique_ptr<TestWindow> window;
  std::unique_ptr<CTrackListCtrl> ctrl;
  HWND list = nullptr;
  HIMAGELIST images = nullptr;
};

TEST_F(TrackListCtrlTest, RowsFollowTheTreeWhenAnAlbumLabelIsPressed) {
  load({{"Alpha", 3}, {"Beta", 2}});
  EXPECT_EQ(listViewRows(), ctrl->Model().shownItems());
  ASSERT_EQ(ctrl->RowCount(), 7);
  // A press on the album's label closes it; another opens it again.
  click(labelPoint(0));
  EXPECT_FALSE(album(0)->isExpanded());
  EXPECT_EQ(ctrl->RowCount(), 4);
  EXPECT_EQ(ctrl->ItemOfRow(1), album(1));
  wchar_t text[64] = {};
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = text;
  item.cchTextMax = 64;
  ::SendMessageW(list, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, L"Beta");
  click(labelPoint(0));
  EXPECT_TRUE(album(0)->isExpanded());
  EXPECT_EQ(listViewRows(), ctrl->Model().shownItems());
}

TEST_F(TrackListCtrlTest, UpperTenthOfARowMeansBeforeTheRestAfter) {
  load({{"A", 3}, {"B", 3}});
  int target = rowOf(track(1, 1));
  startDrag(rowOf(track(0, 0)));
  RECT r = rowRect(target);
  moveHeld({r.left + 200, r.top});
  EXPECT_EQ(ctrl->CurrentDropTarget(), (DropTarget{target, tlMove_Upper}));
  EXPECT_TRUE(dropHighlighted(target));
  moveHeld({r.left + 200, r.top + 1});
  EXPECT_EQ(ctrl->CurrentDropTarget().mode, tlMove_Upper);
  moveHeld({r.left + 200, r.top + (r.bottom - r.top) / 2});
  EXPECT_EQ(ctrl->CurrentDropTarget(), (DropTarget{target, tlMove_Lower}));
  moveHeld({r.left + 200, r.bottom - 1});
  EXPECT_EQ(ctrl->CurrentDropTarget(), (DropTarget{target, tlMove_Lower}));
  // Another row takes the highlight.
  moveHeld({r.left + 200, r.bottom + 4});
  EXPECT_FALSE(dropHighlighted(target));
  EXPECT_TRUE(dropHighlighted(target + 1));
  key(VK_ESCAPE);
  EXPECT_FALSE(ctrl->IsDragging());
  EXPECT_EQ(player.moveCalls, 0);
}

TEST_F(TrackListCtrlTest, BelowTheLastRowTargetsTheLastRowAndTheDropMovesOnThePlayer) {
  load({{"A", 3}, {"B", 2}});
  int last = ctrl->RowCount() - 1;
  startDrag(rowOf(track(0, 0)));
  RECT r = rowRect(last);
  moveHeld({r.left + 100, r.bottom + 40});
  EXPECT_EQ(ctrl->CurrentDropTarget(), (DropTarget{last, tlMove_Lower}));
  // The marker: the bottom two pixels of the target row are grey.
  COLORREF marker = treelisttest::PrintedPixel(list, {r.left + 300, r.bottom - 1});
  EXPECT_EQ(marker, RGB(128, 128, 128));
  release({r.left + 100, r.bottom + 40});
  EXPECT_FALSE(ctrl->IsDragging());
  EXPECT_EQ(player.trackTitles(album(1)->album()->eid), (std::vector<std::string>{"B1", "B2", "A1"}));
  EXPECT_EQ(track(1, 2)->track()->title.str(), "A1");
  EXPECT_EQ(listViewRows(), ctrl->Model().shownItems());
  EXPECT_FALSE(dropHighlighted(ctrl->RowCount() - 1));
}

TEST_F(TrackListCtrlTest, TracksDraggedOntoAClosedAlbumGoIntoIt) {
  load({{"A", 2}, {"B", 2}});
  ctrl->Collapse(album(1));
  Pump();
  startDrag(rowOf(track(0, 1)));
  POINT onB = cellPoint(rowOf(album(1)), 1, 1);
  moveHeld(onB);
  EXPECT_EQ(ctrl->CurrentDropTarget(), (DropTarget{rowOf(album(1)), tlMove_Added}));
  release(onB);
  EXPECT_EQ(player.lastPlacement, treelist::Placement::kInto);
  EXPECT_TRUE(album(1)->isExpanded());
  EXPECT_EQ(track(1, 2)->track()->title.str(), "A2");
}

TEST_F(TrackListCtrlTest, HoldingThePointerAboveTheListScrollsOneRowPerStepAndStopsAtTheTop) {
  load({{"A", 12}, {"B", 12}, {"C", 12}});
  ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(ctrl->RowCount() - 1), FALSE);
  Pump();
  ::SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
  for (int i = 0; i < 4; ++i) ::SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
  Pump();
  ASSERT_EQ(topIndex(), 4);
  startDrag(topIndex() + 1);
  moveHeld({200, -10});  // above the client area; the mouse is captured
  std::vector<int> tops;
  std::vector<DWORD> times;
  treelisttest::PumpWatching(800, [&](const MSG& msg) {
    if (msg.hwnd == list && msg.message == WM_TIMER && msg.wParam == CTrackListCtrl::kScrollTimer) {
      tops.push_back(topIndex());
      times.push_back(msg.time);
    }
  });
  // One row per step, then one step that finds the top and stops.
  EXPECT_EQ(tops, (std::vector<int>{3, 2, 1, 0, 0}));
  ASSERT_GE(times.size(), 4u);
  EXPECT_GE(times[3] - times[0], 3u * 40u);  // steps about 50 ms apart
  EXPECT_EQ(ctrl->CurrentDropTarget(), DropTarget::None());
  // Back inside and released: the drop lands where the pointer is.
  POINT inside = cellPoint(2, 1);
  moveHeld(inside);
  EXPECT_EQ(ctrl->CurrentDropTarget().row, 2);
  key(VK_ESCAPE);
}

TEST_F(TrackListCtrlTest, RestingOnAClosedAlbumDuringADragOpensIt) {
  load({{"A", 2}, {"B", 3}});
  ctrl->Collapse(album(1));
  Pump();
  startDrag(rowOf(track(0, 0)));
  moveHeld(cellPoint(rowOf(album(1)), 1));
  ASSERT_TRUE(PumpUntil([&] { return album(1)->isExpanded(); }, 3000));
  EXPECT_EQ(ctrl->RowCount(), 7);
  key(VK_ESCAPE);
}

TEST_F(TrackListCtrlTest, FilesDraggedFromOutsideFollowTheTrackRulesAndGiveTheDropPosition) {
  load({{"A", 2}, {"B", 2}});
  ctrl->Collapse(album(1));
  Pump();
  int bRow = rowOf(album(1));
  ctrl->BeginExternalDrag();
  DropTarget onB = ctrl->ExternalDragOver(cellPoint(bRow, 1));
  EXPECT_EQ(onB, (DropTarget{bRow, tlMove_Added}));
  EXPECT_TRUE(dropHighlighted(bRow));
  // Above the open album A there is no row: no target, no marker.
  EXPECT_EQ(ctrl->ExternalDragOver(cellPoint(0, 1, 0)), DropTarget::None());
  EXPECT_FALSE(dropHighlighted(bRow));
  ctrl->ExternalDragOver(cellPoint(rowOf(track(0, 0)), 1));
  DropTarget last = ctrl->EndExternalDrag();
  EXPECT_EQ(last, (DropTarget{rowOf(track(0, 0)), tlMove_Lower}));
  EXPECT_FALSE(dropHighlighted(last.row));
  const treelist::DropPosition& position = ctrl->SetDropPositionFromTarget(last);
  EXPECT_EQ(position.album, album(0));
  EXPECT_EQ(position.trackPosition, 1);
  EXPECT_EQ(position.album->indexInParent(), 0);
}

TEST_F(TrackListCtrlTest, SlowSecondClickEditsOnlyEditableColumnsAndADoubleClickTogglesInstead) {
  load({{"A", 2}});
  ctrl->SetColumnEditable(0, true);
  ctrl->SetColumnEditable(1, true);
  int row = rowOf(track(0, 1));
  // Time column: not editable, nothing opens.
  click(cellPoint(row, 2));
  click(cellPoint(row, 2));
  waitForSlowClick();
  EXPECT_EQ(editor(), nullptr);
  // Artist column: the second click on the selected row opens the editor.
  click(cellPoint(row, 1));
  EXPECT_EQ(editor(), nullptr);  // not before the double-click time
  waitForSlowClick();
  ASSERT_NE(editor(), nullptr);
  EXPECT_EQ(editorText(), L"Artist");
  EXPECT_EQ(::GetDlgCtrlID(editor()), 12345);
  key(VK_ESCAPE, editor());
  EXPECT_EQ(editor(), nullptr);

  // On the album row, beside its label in column 0: a double click opens
  // or closes the album and no editor comes.
  RECT label{LVIR_LABEL, 0, 0, 0};
  ::SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
  POINT beside{label.right - 4, (label.top + label.bottom) / 2};
  click(beside);
  ASSERT_TRUE(selected(0));
  ASSERT_TRUE(album(0)->isExpanded());
  doubleClick(beside);
  EXPECT_FALSE(album(0)->isExpanded());
  waitForSlowClick();
  EXPECT_EQ(editor(), nullptr);
  // A slow click there edits the album's name.
  click(beside);
  waitForSlowClick();
  ASSERT_NE(editor(), nullptr);
  EXPECT_EQ(editorText(), L"A");
}

TEST_F(TrackListCtrlTest, EscapeSendsNothingDownCommitsAndMovesOn) {
  load({{"A", 3}});
  ctrl->SetColumnEditable(1, true);
  int row = rowOf(track(0, 0));
  click(cellPoint(row, 1));
  click(cellPoint(row, 1));
  waitForSlowClick();
  ASSERT_NE(editor(), nullptr);
  ::PostMessageW(editor(), WM_CHAR, L'X', 1);
  key(VK_ESCAPE, editor());
  EXPECT_EQ(editor(), nullptr);
  EXPECT_TRUE(window->changedLabels.empty());
  EXPECT_EQ(track(0, 0)->track()->artist.str(), "Artist");

  click(cellPoint(row, 1));
  waitForSlowClick();
  ASSERT_NE(editor(), nullptr);
  ::SendMessageW(editor(), EM_SETSEL, 0, -1);
  for (wchar_t c : std::wstring(L"Nova")) ::PostMessageW(editor(), WM_CHAR, c, 1);
  Pump();
  key(VK_DOWN, editor());
  ASSERT_EQ(window->changedLabels.size(), 1u);
  EXPECT_EQ(window->changedLabels[0].row, row);
  EXPECT_EQ(window->changedLabels[0].column, 1);
  EXPECT_EQ(window->changedLabels[0].text, "Nova");
  EXPECT_EQ(track(0, 0)->track()->artist.str(), "Nova");
  // Down carries on in the next row's cell.
  ASSERT_NE(editor(), nullptr);
  EXPECT_EQ(editorText(), L"Artist");
  EXPECT_TRUE(selected(row + 1));
  // Enter without a change sends nothing.
  key(VK_RETURN, editor());
  EXPECT_EQ(editor(), nullptr);
  EXPECT_EQ(window->changedLabels.size(), 1u);
}

TEST_F(TrackListCtrlTest, EditorTakesSixtyTwoLettersAndScrollingClosesItWithoutCommitting) {
  load({{"A", 1}});
  ctrl->SetColumnEditable(1, true);
  int row = rowOf(track(0, 0));
  click(cellPoint(row, 1));
  click(cellPoint(row, 1));
  waitForSlowClick();
  ASSERT_NE(editor(), nullptr);
  ::SendMessageW(editor(), EM_SETSEL, 0, -1);
  for (int i = 0; i < 70; ++i) ::PostMessageW(editor(), WM_CHAR, L'a' + (i % 26), 1);
  ::PostMessageW(editor(), WM_CHAR, L' ', 1);  // below '0': still taken
  Pump();
  EXPECT_EQ(editorText().size(), 63u);
  ::PostMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
  Pump();
  EXPECT_EQ(editor(), nullptr);
  EXPECT_TRUE(window->changedLabels.empty());
  EXPECT_EQ(track(0, 0)->track()->artist.str(), "Artist");
}

TEST_F(TrackListCtrlTest, AlbumsAndTracksCannotBeSelectedTogether) {
  load({{"A", 2}, {"B", 2}});
  click(cellPoint(0, 1));  // album A
  click(cellPoint(rowOf(track(1, 0)), 1), MK_CONTROL);
  EXPECT_EQ(host.messages, (std::vector<unsigned>{17409}));
  EXPECT_TRUE(selected(0));
  EXPECT_FALSE(selected(rowOf(track(1, 0))));
  // Shift across the tracks of A to album B keeps albums only.
  click(cellPoint(rowOf(album(1)), 1), MK_SHIFT);
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(ctrl->SelectedItems(), (std::vector<treelist::TreeListItem*>{album(0), album(1)}));
  // Tracks together are fine.
  click(cellPoint(rowOf(track(0, 0)), 1));
  click(cellPoint(rowOf(track(1, 1)), 1), MK_CONTROL);
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(ctrl->SelectedRows().size(), 2u);
  // A mixed selection made by the program refuses a drag.
  ctrl->SelectRow(0, true);
  EXPECT_FALSE(ctrl->CanStartDrag());
}

// The list view keeps no rows of its own, only their number and the
// selection and focus by row number: those must follow their items when
// rows come and go above them, and go with rows that go.
TEST_F(TrackListCtrlTest, SelectionAndFocusStayWithTheirItemsWhileRowsComeAndGoAbove) {
  load({{"Alpha", 3}, {"Beta", 2}, {"Gamma", 2}});
  click(cellPoint(rowOf(track(1, 1)), 1));
  click(cellPoint(rowOf(track(2, 0)), 1), MK_CONTROL);
  auto focusedItem = [&] {
    int row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return ctrl->ItemOfRow(row);
  };
  const std::vector<treelist::TreeListItem*> chosen{track(1, 1), track(2, 0)};
  ASSERT_EQ(ctrl->SelectedItems(), chosen);
  ASSERT_EQ(focusedItem(), track(2, 0));

  ctrl->Collapse(album(0));
  Pump();
  EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 7);
  EXPECT_EQ(ctrl->SelectedItems(), chosen);
  EXPECT_EQ(focusedItem(), track(2, 0));
  ctrl->Expand(album(0));
  Pump();
  EXPECT_EQ(ctrl->SelectedItems(), chosen);
  EXPECT_EQ(focusedItem(), track(2, 0));
  EXPECT_FALSE(selected(rowOf(track(1, 0))));

  // The rows of an erased album take their selection with them.
  treelist::TreeListItem* gammaTrack = track(2, 0);
  ctrl->RemoveItem(album(1));
  Pump();
  EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 7);
  EXPECT_EQ(ctrl->SelectedItems(), std::vector<treelist::TreeListItem*>{gammaTrack});
  EXPECT_EQ(focusedItem(), gammaTrack);
}

// Every text the list view gives out, to the program or to another process
// reading it with LVM_GETITEMTEXT, is the item's own; typing a letter finds
// the next row whose first column starts with it.
TEST_F(TrackListCtrlTest, TextsComeFromTheItemsAndTypingFindsARow) {
  load({{"Alpha", 2}, {"Beta", 1}, {"Gamma", 1}});
  for (int row = 0; row < ctrl->RowCount(); ++row) {
    for (int column = 0; column < treelist::column::kCount; ++column) {
      wchar_t text[64] = {};
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = text;
      item.cchTextMax = 64;
      ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
      const std::string expected = ctrl->List().cellText(ctrl->ItemOfRow(row), column);
      EXPECT_EQ(std::wstring(text), std::wstring(expected.begin(), expected.end())) << row << "," << column;
    }
  }
  ::SetFocus(list);
  ::PostMessageW(list, WM_CHAR, L'g', 1);
  Pump();
  EXPECT_TRUE(selected(rowOf(album(2))));
}

TEST_F(TrackListCtrlTest, DeleteAsksTheOwnerAndPostsTheEraseCommandHelpShowsANote) {
  load({{"A", 2}});
  click(cellPoint(rowOf(track(0, 1)), 1));
  key(VK_DELETE);
  ASSERT_EQ(window->popupQueries.size(), 1u);
  EXPECT_EQ(window->popupQueries[0], (std::pair<WPARAM, LPARAM>{1004, 100}));
  EXPECT_EQ(window->commands, (std::vector<WPARAM>{3}));
  EXPECT_EQ(ctrl->RowCount(), 3);  // the owner said no: nothing erased here
  window->popupAnswer = 1;
  key(VK_DELETE);
  EXPECT_EQ(ctrl->RowCount(), 2);
  key(VK_HELP);
  EXPECT_EQ(host.texts, (std::vector<std::string>{"F1 Pressed!"}));
}

TEST_F(TrackListCtrlTest, AColumnDraggedTo40PixelsComesBackAt51AndTheLastColumnFillsTheRest) {
  load({{"A", 2}});
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  RECT item{};
  ASSERT_TRUE(::SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)));
  int y = (item.top + item.bottom) / 2;
  // Drag the divider at the right edge of column 1 to 40 pixels.
  ::PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.right - 1, y));
  ::PostMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(item.left + 30, y));
  ::PostMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(item.left + 39, y));
  ::PostMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(item.left + 39, y));
  ASSERT_TRUE(PumpUntil([&] { return columnWidth(1) == 51; }, 2000)) << columnWidth(1);
  PumpFor(100);
  EXPECT_EQ(columnWidth(1), 51);
  RECT client{};
  ::GetClientRect(list, &client);
  int sum = 0;
  for (int c = 0; c < 5; ++c) sum += columnWidth(c);
  EXPECT_EQ(sum, client.right);
}

TEST_F(TrackListCtrlTest, TipShowsTheWholeTitleOfACutOffCell) {
  treelist::LoadedAlbum album;
  album.name = "A";
  album.eid = player.addAlbum("A");
  treelist::LoadedTrack longOne;
  longOne.title = "A title far too long for its narrow column in this list";
  longOne.artist = "Me";
  longOne.eid = player.addTrack(album.eid, longOne.title);
  album.tracks.push_back(longOne);
  ctrl->LoadAll({album});
  ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(120, 0));
  Pump();
  ASSERT_NE(ctrl->Tip().hwnd(), nullptr);

  POINT onTitle = cellPoint(1, 0);
  POINT screen = onTitle;
  ::ClientToScreen(list, &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::PostMessageW(list, WM_MOUSEMOVE, 0, At(onTitle));
  Pump();
  EXPECT_TRUE(ctrl->Tip().active());
  EXPECT_EQ(ctrl->Tip().text(), L"A title far too long for its narrow column in this list");
  EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(ctrl->Tip().hwnd()) != 0; }, 3000));

  // The artist fits its column: the tip goes.
  POINT onArtist = cellPoint(1, 1);
  screen = onArtist;
  ::ClientToScreen(list, &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::PostMessageW(list, WM_MOUSEMOVE, 0, At(onArtist));
  Pump();
  EXPECT_FALSE(ctrl->Tip().active());
  PumpFor(200);
  EXPECT_FALSE(::IsWindowVisible(ctrl->Tip().hwnd()));
}

TEST_F(TrackListCtrlTest, DrawsSelectionInHighlightColoursAndKeepsAScreenshot) {
  std::vector<std::pair<std::string, int>> albums = {
      {"Morning Ragas", 4}, {"Blue Train", 3}, {"Kind of Blue", 5}};
  load(albums);
  ctrl->Collapse(album(1));
  Pump();
  click(cellPoint(rowOf(track(0, 1)), 1));
  ::SetFocus(list);
  PumpFor(100);
  ::UpdateWindow(window->hwnd());

  // Column 1 of an album row is empty: its middle shows the row's background.
  int albumRow = rowOf(album(2));
  COLORREF plain = treelisttest::PrintedPixel(list, cellPoint(albumRow, 1));
  EXPECT_EQ(plain, ::GetSysColor(COLOR_WINDOW));
  POINT selectedBackground = cellPoint(rowOf(track(0, 1)), 1);
  selectedBackground.x = rowRect(rowOf(track(0, 1))).right - 3;
  EXPECT_EQ(treelisttest::PrintedPixel(list, selectedBackground), ::GetSysColor(COLOR_HIGHLIGHT));
  // A closed album shows its total time.
  EXPECT_EQ(ctrl->List().cellText(album(1), treelist::column::kTime), "06:00");

  std::wstring path = treelisttest::ArtifactFolder() + L"/treelist-populated.bmp";
  // Texts, images, highlight and frame: far more than a blank window's colours.
  EXPECT_GT(treelisttest::SaveWindowBitmap(window->hwnd(), path), 8);
  WIN32_FILE_ATTRIBUTE_DATA info{};
  ASSERT_TRUE(::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info));
  EXPECT_GT(info.nFileSizeLow, 100000u);
}

}  // namespace
