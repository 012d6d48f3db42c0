#include "tests/treelist/control/test_window.h"

#include <cstdio>
#include <memory>
#include <set>

#include "treelist/tree_list_messages_win32.h"

namespace treelisttest {
namespace {

constexpr wchar_t kClassName[] = L"PellmarkTreeListTestHost";

void RegisterHostClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  ::RegisterClassW(&wc);
  registered = true;
}

// Prints the window into a 24-bit top-down bitmap of its size.
struct PrintedWindow {
  int width = 0;
  int height = 0;
  std::vector<BYTE> bits;  // rows of width * 3 bytes padded to 4, top row first
  int stride = 0;
  bool ok = false;
};

// From the screen, as the user sees the window with its children; or by
// asking the window to print itself.
PrintedWindow Print(HWND hwnd, bool clientOnly, bool fromScreen = false) {
  PrintedWindow out;
  RECT r{};
  if (clientOnly)
    ::GetClientRect(hwnd, &r);
  else
    ::GetWindowRect(hwnd, &r);
  out.width = r.right - r.left;
  out.height = r.bottom - r.top;
  if (out.width <= 0 || out.height <= 0) return out;
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = out.width;
  info.bmiHeader.biHeight = -out.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  if (!bitmap || !dc) {
    if (bitmap) ::DeleteObject(bitmap);
    if (dc) ::DeleteDC(dc);
    return out;
  }
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  if (fromScreen) {
    POINT origin{r.left, r.top};
    if (clientOnly) ::ClientToScreen(hwnd, &origin);
    HDC source = ::GetDC(nullptr);
    out.ok = ::BitBlt(dc, 0, 0, out.width, out.height, source, origin.x, origin.y, SRCCOPY) != 0;
    ::ReleaseDC(nullptr, source);
  } else {
    out.ok = ::PrintWindow(hwnd, dc, clientOnly ? PW_CLIENTONLY : 0) != 0;
  }
  ::GdiFlush();
  out.stride = (out.width * 3 + 3) & ~3;
  const BYTE* src = static_cast<const BYTE*>(pixels);
  out.bits.assign(src, src + static_cast<size_t>(out.stride) * static_cast<size_t>(out.height));
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return out;
}

}  // namespace

TestWindow::TestWindow(int x, int y, int width, int height) {
  RegisterHostClass();
  hwnd_ = ::CreateWindowExW(0, kClassName, L"Pellmark tree list test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            x, y, width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
  ::UpdateWindow(hwnd_);
}

TestWindow::~TestWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
  Pump();
}

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    if (message == WM_COMMAND) {
      self->commands.push_back(wParam);
      return 0;
    }
    if (message == treelist::ChangeLabelMessage()) {
      self->changedLabels.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<const char*>(lParam)});
      return 0;
    }
    if (message == treelist::PopupMenuMessage()) {
      self->popupQueries.emplace_back(wParam, lParam);
      return self->popupAnswer;
    }
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void PumpWatching(DWORD ms, const std::function<void(const MSG&)>& onMessage) {
  DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
      if (onMessage) onMessage(msg);
    }
    DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= ms) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) { PumpWatching(ms, nullptr); }

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    Pump();
    if (done()) return true;
    if (::GetTickCount() - start >= timeoutMs) return done();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

int SaveWindowBitmap(HWND hwnd, const std::wstring& path) {
  // The screen shows the children too, which a printed top-level window
  // does not here.
  ::UpdateWindow(hwnd);
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PrintedWindow printed = Print(hwnd, false, true);
  if (!printed.ok) return 0;
  // A .bmp stores its rows bottom-up.
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = printed.width;
  info.biHeight = printed.height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(printed.stride * printed.height);
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&info, sizeof info, 1, f) == 1;
  for (int y = printed.height - 1; ok && y >= 0; --y)
    ok = std::fwrite(printed.bits.data() + static_cast<size_t>(y) * printed.stride, 1, printed.stride, f) ==
         static_cast<size_t>(printed.stride);
  if (std::fclose(f) != 0 || !ok) return 0;
  std::set<uint32_t> colours;
  for (int y = 0; y < printed.height; ++y)
    for (int x = 0; x < printed.width; ++x) {
      const BYTE* p = printed.bits.data() + static_cast<size_t>(y) * printed.stride + x * 3;
      colours.insert(static_cast<uint32_t>(p[0]) | p[1] << 8 | p[2] << 16);
    }
  return static_cast<int>(colours.size());
}

COLORREF PrintedPixel(HWND hwnd, POINT client) {
  PrintedWindow printed = Print(hwnd, true);
  if (!printed.ok || client.x < 0 || client.y < 0 || client.x >= printed.width || client.y >= printed.height)
    return CLR_INVALID;
  const BYTE* p = printed.bits.data() + static_cast<size_t>(client.y) * printed.stride + client.x * 3;
  return RGB(p[2], p[1], p[0]);
}

std::wstring ArtifactFolder() {
  std::string folder = PELLMARK_TEST_ARTIFACT_DIR;
  std::wstring wide(folder.begin(), folder.end());
  ::CreateDirectoryW(wide.c_str(), nullptr);
  return wide;
}

}  // namespace treelisttest
