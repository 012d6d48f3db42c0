#include "app/engine/drop_collector_host_win32.h"

#include <commctrl.h>

#include <string>

#include "app/progress_state.h"
#include "win32/unique_find.h"
#include "win32/wide_text.h"
#include "winui/application.h"
#include "winui/message_text.h"

namespace app::engine {
void PumpPendingMessages(int count) {
  MSG message;
  for (int i = 0; i < count && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    winui::CApplication* app = winui::CApplication::Instance();
    if (app && app->PreTranslateMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

bool CDropCollectorHost::QueryAttributes(const std::u16string& path, bool& isFolder) {
  const DWORD attributes = ::GetFileAttributesW(win::WideChars(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return true;
}

bool CDropCollectorHost::FileSize(const std::u16string& path, uint64_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(win::WideChars(path), GetFileExInfoStandard, &data)) return false;
  size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

bool CDropCollectorHost::ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::u16string pattern = folder;
  if (pattern.empty() || (pattern.back() != u'\\' && pattern.back() != u'/')) pattern += u'\\';
  pattern += u'*';
  WIN32_FIND_DATAW data{};
  win::UniqueFind find(::FindFirstFileW(win::WideChars(pattern), &data));
  if (!find.valid()) return ::GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty folder
  do {
    FolderEntry entry;
    entry.name.assign(reinterpret_cast<const char16_t*>(data.cFileName));
    entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entries.push_back(std::move(entry));
  } while (::FindNextFileW(find.get(), &data));
  return true;
}

bool CDropCollectorHost::FreeSpace(int64_t& freeBytes) {
  int64_t capacity = 0;
  int64_t third = 0;
  return SUCCEEDED(host_.Device().GetMediumCapacity(&capacity, &freeBytes, &third));
}

bool CDropCollectorHost::CheckValidity(const std::u16string& path, TransferJob& info) {
  return host_.Device().CheckValidity(sys::Path(path), info);
}

bool CDropCollectorHost::CheckValidityExplained(const std::u16string& path, TransferJob& info,
                                                mp3::RefusalReason& reason) {
  mp3::ValidityReport report;
  const bool accepted = host_.Device().CheckValidity(sys::Path(path), info, &report);
  if (!accepted) reason = mp3::ReasonOf(report);
  return accepted;
}

std::u16string CDropCollectorHost::MessageText(unsigned messageId) {
  return win::Utf16FromWide(winui::MessageText(messageId));
}

void CDropCollectorHost::SetProgressText(const std::u16string& text) {
  host_.ProgressWindow().SetProgressText(win::WideFromUtf16(text));
}

void CDropCollectorHost::SetProgressClosing() {
  host_.ProgressWindow().SetButtonState(kProgressButtonCloses);
}

void CDropCollectorHost::BringProgressToFront() {
  if (HWND window = host_.ProgressWindow().hwnd()) ::BringWindowToTop(window);
}

void CDropCollectorHost::RepaintProgress() {
  if (HWND window = host_.ProgressWindow().hwnd()) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

void CDropCollectorHost::HideProgress() { host_.ProgressWindow().HideAndReleaseMainWindow(); }

void CDropCollectorHost::PumpMessages(int count) { PumpPendingMessages(count); }

void CDropCollectorHost::ShowLastRow() {
  HWND list = host_.ListWindow();
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  if (rows > 0) ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), FALSE);
}

}  // namespace app::engine
