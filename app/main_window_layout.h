// Where the main window's controls go when it is resized. Pure geometry, so
// the rules are tested without a window: the list fills the window above a
// button row; the buttons, the separator line, the status line and the
// help hint hang from the bottom edge.
#pragma once

namespace app {

struct LayoutRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// The smallest size the user may drag the window to, in pixels.
constexpr int kMinTrackWidth = 533;
constexpr int kMinTrackHeight = 400;

// The controls' rectangles as the dialog template made them, in client
// coordinates; taken once, their sizes (and the Erase button's and the
// status line's x) are kept through every resize.
struct InitialLayout {
  LayoutRect erase;
  LayoutRect eraseAll;
  LayoutRect exit;
  LayoutRect separator;
  LayoutRect status;
  LayoutRect hint;
};

struct MainWindowLayout {
  LayoutRect list;
  int columnWidths[5] = {};
  LayoutRect erase;
  LayoutRect eraseAll;
  LayoutRect exit;
  LayoutRect separator;
  LayoutRect status;
  LayoutRect hint;
};

// The layout for a client area of width x height pixels.
MainWindowLayout ComputeMainWindowLayout(const InitialLayout& initial, int width, int height);

}  // namespace app
