// winprobe: drives and inspects the windows of another program, for tests
// that start a program under test and this probe beside it (both under Wine
// in the Windows tree). One command per run; it reports one JSON object per
// line on stdout and exits 0 on success, 1 when the window was not found, a
// wait timed out or the action failed, 2 on a usage error.
//
//   winprobe COMMAND [WINDOW OPTIONS] [ARGUMENTS]
//
// Window options (commands that act on a top-level window):
//   --title TEXT         exact window title
//   --class NAME         window class ("#32770" for dialogs and message boxes)
//   --message-box        only message boxes (a "#32770" with a control 0xFFFF)
//   --not-message-box    only windows without a control 0xFFFF
//   --with-control ID    only windows with a child control ID
//   --hidden             hidden windows count too (default: visible only)
//   --timeout MS         how long to wait for the window (default 10000)
// IDs and numbers may be decimal or 0x-hexadecimal.
//
// Commands:
//   wait                 wait for the window; report it
//   gone                 wait until no such window exists
//   count                report {"count": N} at once (no wait)
//   list                 report every matching window, one per line
//   texts                report the window with all its controls
//                        (id, class, text, visible, enabled, checked)
//   text --id ID         report {"text": ...} of one control (0xFFFF: a
//                        message box's text); without --id, the title
//   click --id ID        press a button (posted BM_CLICK, so a dialog the
//                        click opens does not block the probe)
//   click-when --id ID --watch ID2 --ends-with TEXT
//                        watch control ID2 (every 5 ms, up to --timeout) and
//                        press button ID the moment its text ends with TEXT;
//                        reports {"clicked": ..., "text": the text seen}
//   post MSG [W [L]]     post a message; MSG is a number or reg:NAME for a
//                        registered window message
//   send MSG [W [L]]     send it (5 s limit) and report {"result": N}
//   key KEY [--id ID]    post key down and up to the window or a control;
//                        KEY is a virtual-key number or F1, RETURN, ESCAPE,
//                        TAB, SPACE
//   syscommand N         post WM_SYSCOMMAND N (16: the About box)
//   close                post WM_CLOSE
//   rows [--id ID] [--columns N]
//                        report {"count": N}, then {"row": i, "cells": [...]}
//                        for every row of a list view (default control 1004,
//                        5 columns)
//   select-row N [--id ID]
//                        make row N the only selected row of a list view
//                        (default control 1004)
//   ole-drop [--id ID] (--row N | --empty | --at X Y) [--list FILE] [PATH...]
//                        drag the files and folders onto the control (default
//                        1004) with OLE drag and drop and drop them on the
//                        middle of row N, below the last row, or at client
//                        point X,Y; --list names a UTF-8 file with one path a
//                        line. Reports {"result": HRESULT, "effect": N}
// Commands without a window:
//   reg-set KEY NAME N   write DWORD N; KEY starts with HKLM or HKCU and a backslash
//   reg-set-text KEY NAME TEXT   write a REG_SZ
//   reg-get KEY NAME     report {"value": N} or {"value": null}
//   reg-delete KEY [NAME]  delete one value, or the key and everything below
//   object-exists KIND NAME  KIND mutex, event, semaphore or mapping; report
//                        {"exists": true|false}
//   sleep MS             wait, for scripts that need a pause inside Wine
//   define-drive LETTER HOSTPATH [TYPE], remove-drive LETTER
//                        map a drive letter of the prefix (wine_drive.h)
#include <windows.h>
// The common controls need the types of windows.h first.
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "tests/harness/list_view_reader.h"
#include "tests/harness/ole_drop.h"
#include "tests/harness/probe_json.h"
#include "tests/harness/window_finder.h"
#include "tests/harness/wine_drive.h"

namespace {

using probe::Line;
using probe::Quote;

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct Arguments {
  std::wstring command;
  probe::WindowFilter filter;
  DWORD timeoutMs = 10000;
  std::optional<int> id;
  std::vector<std::wstring> positional;
};

int Usage(const wchar_t* why) {
  std::fwprintf(stderr, L"winprobe: %ls (see the comment at the top of winprobe.cpp)\n", why);
  return kUsage;
}

bool ParseNumber(const std::wstring& text, long long& out) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  out = std::wcstoll(text.c_str(), &end, 0);
  return end && *end == L'\0';
}

bool Parse(int argc, wchar_t** argv, Arguments& a) {
  if (argc < 2) return false;
  a.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::wstring arg = argv[i];
    auto next = [&](std::wstring& value) {
      if (i + 1 >= argc) return false;
      value = argv[++i];
      return true;
    };
    std::wstring value;
    long long n = 0;
    if (arg == L"--title") {
      if (!next(value)) return false;
      a.filter.title = value;
    } else if (arg == L"--class") {
      if (!next(value)) return false;
      a.filter.className = value;
    } else if (arg == L"--message-box") {
      a.filter.className = L"#32770";
      a.filter.withControl = probe::kMessageBoxTextId;
    } else if (arg == L"--not-message-box") {
      a.filter.withoutControl = probe::kMessageBoxTextId;
    } else if (arg == L"--with-control") {
      if (!next(value) || !ParseNumber(value, n)) return false;
      a.filter.withControl = static_cast<int>(n);
    } else if (arg == L"--hidden") {
      a.filter.includeHidden = true;
    } else if (arg == L"--timeout") {
      if (!next(value) || !ParseNumber(value, n) || n < 0) return false;
      a.timeoutMs = static_cast<DWORD>(n);
    } else if (arg == L"--id") {
      if (!next(value) || !ParseNumber(value, n)) return false;
      a.id = static_cast<int>(n);
    } else {
      a.positional.push_back(arg);
    }
  }
  return true;
}

bool ParseMessage(const std::wstring& text, UINT& message) {
  if (text.rfind(L"reg:", 0) == 0) {
    message = ::RegisterWindowMessageW(text.c_str() + 4);
    return message != 0;
  }
  long long n = 0;
  if (!ParseNumber(text, n)) return false;
  message = static_cast<UINT>(n);
  return true;
}

bool ParseKey(const std::wstring& text, UINT& key) {
  struct Named {
    const wchar_t* name;
    UINT key;
  };
  static const Named kKeys[] = {
      {L"F1", VK_F1}, {L"RETURN", VK_RETURN}, {L"ESCAPE", VK_ESCAPE}, {L"TAB", VK_TAB}, {L"SPACE", VK_SPACE}};
  for (const Named& k : kKeys)
    if (text == k.name) {
      key = k.key;
      return true;
    }
  long long n = 0;
  if (!ParseNumber(text, n)) return false;
  key = static_cast<UINT>(n);
  return true;
}

// ---- Registry ---------------------------------------------------------------

bool SplitKey(const std::wstring& path, HKEY& root, std::wstring& subKey) {
  size_t slash = path.find(L'\\');
  std::wstring hive = path.substr(0, slash);
  subKey = slash == std::wstring::npos ? std::wstring() : path.substr(slash + 1);
  if (hive == L"HKLM" || hive == L"HKEY_LOCAL_MACHINE")
    root = HKEY_LOCAL_MACHINE;
  else if (hive == L"HKCU" || hive == L"HKEY_CURRENT_USER")
    root = HKEY_CURRENT_USER;
  else
    return false;
  return !subKey.empty();
}

int RegistryCommand(const Arguments& a) {
  if (a.positional.empty()) return Usage(L"registry key missing");
  HKEY root = nullptr;
  std::wstring subKey;
  if (!SplitKey(a.positional[0], root, subKey)) return Usage(L"key must start with HKLM\\ or HKCU\\");

  if (a.command == L"reg-delete") {
    LSTATUS s = a.positional.size() > 1 ? ::RegDeleteKeyValueW(root, subKey.c_str(), a.positional[1].c_str())
                                        : ::RegDeleteTreeW(root, subKey.c_str());
    bool gone = s == ERROR_SUCCESS || s == ERROR_FILE_NOT_FOUND;
    Line("{\"deleted\": " + probe::Bool(gone) + "}");
    return gone ? kOk : kFailed;
  }
  if (a.positional.size() < 2) return Usage(L"value name missing");
  const std::wstring& name = a.positional[1];

  if (a.command == L"reg-get") {
    DWORD value = 0, size = sizeof(value), type = 0;
    LSTATUS s = ::RegGetValueW(root, subKey.c_str(), name.c_str(), RRF_RT_ANY, &type, &value, &size);
    if (s != ERROR_SUCCESS || type != REG_DWORD) {
      Line("{\"value\": null}");
      return kOk;
    }
    Line("{\"value\": " + std::to_string(value) + "}");
    return kOk;
  }

  HKEY key = nullptr;
  if (::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return kFailed;
  LSTATUS s = ERROR_INVALID_PARAMETER;
  if (a.command == L"reg-set" && a.positional.size() > 2) {
    long long n = 0;
    if (ParseNumber(a.positional[2], n)) {
      DWORD value = static_cast<DWORD>(n);
      s = ::RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof(value));
    }
  } else if (a.command == L"reg-set-text" && a.positional.size() > 2) {
    const std::wstring& text = a.positional[2];
    s = ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  ::RegCloseKey(key);
  Line("{\"written\": " + probe::Bool(s == ERROR_SUCCESS) + "}");
  return s == ERROR_SUCCESS ? kOk : kFailed;
}

// ---- Kernel objects ---------------------------------------------------------

int ObjectExists(const Arguments& a) {
  if (a.positional.size() < 2) return Usage(L"object-exists KIND NAME");
  const std::wstring& kind = a.positional[0];
  const wchar_t* name = a.positional[1].c_str();
  HANDLE h = nullptr;
  if (kind == L"mutex")
    h = ::OpenMutexW(SYNCHRONIZE, FALSE, name);
  else if (kind == L"event")
    h = ::OpenEventW(SYNCHRONIZE, FALSE, name);
  else if (kind == L"semaphore")
    h = ::OpenSemaphoreW(SYNCHRONIZE, FALSE, name);
  else if (kind == L"mapping")
    h = ::OpenFileMappingW(FILE_MAP_READ, FALSE, name);
  else
    return Usage(L"KIND is mutex, event, semaphore or mapping");
  // Access denied still means the object exists.
  bool exists = h != nullptr || ::GetLastError() == ERROR_ACCESS_DENIED;
  if (h) ::CloseHandle(h);
  Line("{\"exists\": " + probe::Bool(exists) + "}");
  return kOk;
}

// ---- List rows and drops ----------------------------------------------------

constexpr int kTrackListId = 1004;

std::wstring Utf16FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

bool ReadPathList(const std::wstring& file, std::vector<std::wstring>& paths) {
  FILE* f = _wfopen(file.c_str(), L"rb");
  if (!f) return false;
  std::string content;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
  std::fclose(f);
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) paths.push_back(Utf16FromUtf8(line));
    start = end + 1;
  }
  return true;
}

int RowsCommand(HWND window, const Arguments& a) {
  HWND list = ::GetDlgItem(window, a.id.value_or(kTrackListId));
  if (!list) return kFailed;
  int columns = 5;
  for (size_t i = 0; i + 1 < a.positional.size(); ++i) {
    long long n = 0;
    if (a.positional[i] == L"--columns" && ParseNumber(a.positional[i + 1], n) && n > 0) columns = int(n);
  }
  const auto read = probe::ReadListViewRows(list, columns);
  if (!read) {
    Line("{\"read\": false}");
    return kFailed;
  }
  const auto& rows = *read;
  Line("{\"count\": " + std::to_string(rows.size()) + "}");
  for (size_t r = 0; r < rows.size(); ++r) {
    std::string cells;
    for (size_t c = 0; c < rows[r].size(); ++c) cells += (c ? ", " : "") + Quote(rows[r][c]);
    Line("{\"row\": " + std::to_string(r) + ", \"cells\": [" + cells + "]}");
  }
  return kOk;
}

int OleDropCommand(HWND window, const Arguments& a) {
  HWND list = ::GetDlgItem(window, a.id.value_or(kTrackListId));
  if (!list) return kFailed;
  std::vector<std::wstring> paths;
  std::optional<POINT> client;
  enum class Where { kNone, kRow, kEmpty, kAt } where = Where::kNone;
  long long row = -1;
  for (size_t i = 0; i < a.positional.size(); ++i) {
    const std::wstring& word = a.positional[i];
    long long x = 0, y = 0;
    if (word == L"--row" && i + 1 < a.positional.size() && ParseNumber(a.positional[i + 1], row)) {
      where = Where::kRow;
      ++i;
    } else if (word == L"--empty") {
      where = Where::kEmpty;
    } else if (word == L"--at" && i + 2 < a.positional.size() && ParseNumber(a.positional[i + 1], x) &&
               ParseNumber(a.positional[i + 2], y)) {
      where = Where::kAt;
      client = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
      i += 2;
    } else if (word == L"--list" && i + 1 < a.positional.size()) {
      if (!ReadPathList(a.positional[++i], paths)) return Usage(L"cannot read the --list file");
    } else {
      paths.push_back(word);
    }
  }
  if (where == Where::kNone || paths.empty()) return Usage(L"ole-drop needs a place and paths");
  if (where == Where::kRow) {
    auto rect = probe::ListViewRowRect(list, static_cast<int>(row));
    if (!rect) {
      Line("{\"found\": true, \"row\": false}");
      return kFailed;
    }
    client = POINT{(rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2};
  } else if (where == Where::kEmpty) {
    POINT screen{};
    if (!probe::EmptyAreaOfList(list, screen)) {
      Line("{\"found\": true, \"empty\": false}");
      return kFailed;
    }
    ::ScreenToClient(list, &screen);
    client = screen;
  }
  POINT screen = *client;
  ::ClientToScreen(list, &screen);
  const probe::DropOutcome outcome = probe::DropFiles(paths, screen);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(outcome.result));
  Line(std::string("{\"result\": \"") + hex + "\", \"effect\": " + std::to_string(outcome.effect) + "}");
  return outcome.result == DRAGDROP_S_DROP ? kOk : kFailed;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Presses a button at the moment another control shows a text: a test's own
// polling from outside would be hundreds of milliseconds late.
int ClickWhenCommand(HWND window, HWND button, const Arguments& a) {
  long long watchId = -1;
  std::wstring ending;
  for (size_t i = 0; i + 1 < a.positional.size(); ++i) {
    if (a.positional[i] == L"--watch" && ParseNumber(a.positional[i + 1], watchId)) ++i;
    else if (a.positional[i] == L"--ends-with") ending = a.positional[++i];
  }
  if (!a.id || watchId < 0 || ending.empty()) return Usage(L"click-when --id ID --watch ID --ends-with TEXT");
  HWND watched = ::GetDlgItem(window, static_cast<int>(watchId));
  if (!watched) return kFailed;
  const ULONGLONG end = ::GetTickCount64() + a.timeoutMs;
  for (;;) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(watched, text, 1024);
    if (EndsWith(text, ending)) {
      const bool posted = ::PostMessageW(button, BM_CLICK, 0, 0);
      Line("{\"clicked\": " + probe::Bool(posted) + ", \"text\": " + Quote(text) + "}");
      return posted ? kOk : kFailed;
    }
    if (::GetTickCount64() >= end) {
      Line("{\"clicked\": false, \"text\": " + Quote(text) + "}");
      return kFailed;
    }
    ::Sleep(5);
  }
}

// ---- Window commands --------------------------------------------------------

int WindowCommand(const Arguments& a) {
  const std::wstring& c = a.command;
  if (c == L"count") {
    Line("{\"count\": " + std::to_string(probe::FindWindows(a.filter).size()) + "}");
    return kOk;
  }
  if (c == L"list") {
    for (HWND w : probe::FindWindows(a.filter)) Line(probe::Describe(w));
    return kOk;
  }
  if (c == L"gone") {
    bool gone = probe::WaitUntilGone(a.filter, a.timeoutMs);
    Line("{\"gone\": " + probe::Bool(gone) + "}");
    return gone ? kOk : kFailed;
  }

  HWND window = probe::WaitForWindow(a.filter, a.timeoutMs);
  if (!window) {
    Line("{\"found\": false}");
    return kFailed;
  }
  HWND target = window;
  if (a.id) {
    target = ::GetDlgItem(window, *a.id);
    if (!target) {
      Line("{\"found\": true, \"control\": false}");
      return kFailed;
    }
  }

  if (c == L"wait") {
    Line(probe::Describe(window));
    return kOk;
  }
  if (c == L"texts") {
    Line(probe::DescribeWithControls(window));
    return kOk;
  }
  if (c == L"text") {
    Line("{\"text\": " + Quote(probe::TextOf(target)) + "}");
    return kOk;
  }
  if (c == L"click") {
    if (!a.id) return Usage(L"click needs --id");
    bool posted = ::PostMessageW(target, BM_CLICK, 0, 0);
    Line("{\"clicked\": " + probe::Bool(posted) + "}");
    return posted ? kOk : kFailed;
  }
  if (c == L"click-when") return ClickWhenCommand(window, target, a);
  if (c == L"close" || c == L"syscommand") {
    UINT message = c == L"close" ? WM_CLOSE : WM_SYSCOMMAND;
    long long n = 0;
    if (message == WM_SYSCOMMAND && (a.positional.empty() || !ParseNumber(a.positional[0], n)))
      return Usage(L"syscommand N");
    bool posted = ::PostMessageW(window, message, static_cast<WPARAM>(n), 0);
    Line("{\"posted\": " + probe::Bool(posted) + "}");
    return posted ? kOk : kFailed;
  }
  if (c == L"key") {
    UINT key = 0;
    if (a.positional.empty() || !ParseKey(a.positional[0], key)) return Usage(L"key KEY");
    UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | (1LL << 30) | (1LL << 31);
    bool posted = ::PostMessageW(target, WM_KEYDOWN, key, down) && ::PostMessageW(target, WM_KEYUP, key, up);
    Line("{\"posted\": " + probe::Bool(posted) + "}");
    return posted ? kOk : kFailed;
  }
  if (c == L"rows") return RowsCommand(window, a);
  if (c == L"select-row") {
    long long row = -1;
    if (a.positional.empty() || !ParseNumber(a.positional[0], row) || row < 0) return Usage(L"select-row N");
    HWND list = ::GetDlgItem(window, a.id.value_or(kTrackListId));
    bool selected = list && probe::SelectListViewRow(list, static_cast<int>(row));
    Line("{\"selected\": " + probe::Bool(selected) + "}");
    return selected ? kOk : kFailed;
  }
  if (c == L"ole-drop") return OleDropCommand(window, a);
  if (c == L"post" || c == L"send") {
    UINT message = 0;
    if (a.positional.empty() || !ParseMessage(a.positional[0], message))
      return Usage(L"post|send MSG [W [L]]");
    long long w = 0, l = 0;
    if (a.positional.size() > 1 && !ParseNumber(a.positional[1], w)) return Usage(L"bad WPARAM");
    if (a.positional.size() > 2 && !ParseNumber(a.positional[2], l)) return Usage(L"bad LPARAM");
    if (c == L"post") {
      bool posted = ::PostMessageW(target, message, static_cast<WPARAM>(w), static_cast<LPARAM>(l));
      Line("{\"posted\": " + probe::Bool(posted) + "}");
      return posted ? kOk : kFailed;
    }
    DWORD_PTR result = 0;
    bool answered = ::SendMessageTimeoutW(target, message, static_cast<WPARAM>(w), static_cast<LPARAM>(l),
                                          SMTO_ABORTIFHUNG, 5000, &result) != 0;
    if (!answered) {
      Line("{\"answered\": false}");
      return kFailed;
    }
    Line("{\"result\": " + std::to_string(static_cast<long long>(result)) + "}");
    return kOk;
  }
  return Usage(L"unknown command");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Arguments a;
  if (!Parse(argc, argv, a)) return Usage(L"bad arguments");
  if (a.command.rfind(L"reg-", 0) == 0) return RegistryCommand(a);
  if (a.command == L"object-exists") return ObjectExists(a);
  if (a.command == L"define-drive" || a.command == L"remove-drive")
    return probe::WineDriveCommand(a.command, a.positional);
  if (a.command == L"sleep") {
    long long ms = 0;
    if (a.positional.empty() || !ParseNumber(a.positional[0], ms) || ms < 0) return Usage(L"sleep MS");
    ::Sleep(static_cast<DWORD>(ms));
    return kOk;
  }
  return WindowCommand(a);
}
