#include "tests/harness/list_view_reader.h"

#include <commctrl.h>

#include "win32/unique_handle.h"

namespace probe {

namespace {

constexpr DWORD kAnswerMs = 5000;
constexpr int kTextUnits = 512;

// A block of memory inside the list view's process, freed with it.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, size_t bytes) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    process_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (process_) address_ = ::VirtualAllocEx(process_.get(), nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool valid() const { return address_ != nullptr; }
  void* address() const { return address_; }
  bool write(const void* data, size_t bytes, size_t offset = 0) const {
    return ::WriteProcessMemory(process_.get(), static_cast<BYTE*>(address_) + offset, data, bytes, nullptr);
  }
  bool read(void* data, size_t bytes, size_t offset = 0) const {
    return ::ReadProcessMemory(process_.get(), static_cast<BYTE*>(address_) + offset, data, bytes, nullptr);
  }

 private:
  win::UniqueHandle process_;
  void* address_ = nullptr;
};

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
  return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result) != 0;
}

// One cell's text through a block of at least sizeof(LVITEMW) + kTextUnits
// wide characters.
std::optional<std::wstring> ReadCell(HWND listView, const RemoteBlock& block, int row, int column) {
  auto* text = reinterpret_cast<wchar_t*>(static_cast<BYTE*>(block.address()) + sizeof(LVITEMW));
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = kTextUnits;
  wchar_t buffer[kTextUnits] = {};
  DWORD_PTR length = 0;
  if (!block.write(&item, sizeof item) || !block.write(buffer, sizeof buffer, sizeof(LVITEMW)) ||
      !Ask(listView, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(block.address()), length) ||
      !block.read(buffer, sizeof buffer, sizeof(LVITEMW))) {
    return std::nullopt;
  }
  buffer[kTextUnits - 1] = L'\0';
  return std::wstring(buffer);
}

}  // namespace

std::optional<std::vector<std::vector<std::wstring>>> ReadListViewRows(HWND listView, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  DWORD_PTR count = 0;
  if (!Ask(listView, LVM_GETITEMCOUNT, 0, 0, count)) return std::nullopt;
  RemoteBlock block(listView, sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t));
  if (!block.valid()) return std::nullopt;
  for (int row = 0; row < static_cast<int>(count); ++row) {
    std::vector<std::wstring> cells;
    for (int column = 0; column < columns; ++column) {
      std::optional<std::wstring> cell = ReadCell(listView, block, row, column);
      if (!cell) return std::nullopt;
      cells.push_back(std::move(*cell));
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

bool SelectListViewRow(HWND listView, int row) {
  RemoteBlock block(listView, sizeof(LVITEMW));
  if (!block.valid()) return false;
  DWORD_PTR ok = 0;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;  // every row loses the selection first
  if (!block.write(&item, sizeof item) ||
      !Ask(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(block.address()), ok))
    return false;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  return block.write(&item, sizeof item) &&
         Ask(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.address()), ok) &&
         ok;
}

std::optional<std::wstring> ReadListViewCell(HWND listView, int row, int column) {
  RemoteBlock block(listView, sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t));
  if (!block.valid()) return std::nullopt;
  return ReadCell(listView, block, row, column);
}

std::optional<RECT> ListViewRowRect(HWND listView, int row) {
  RemoteBlock block(listView, sizeof(RECT));
  if (!block.valid()) return std::nullopt;
  RECT rect{LVIR_BOUNDS, 0, 0, 0};
  DWORD_PTR ok = 0;
  if (!block.write(&rect, sizeof rect) ||
      !Ask(listView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(block.address()), ok) || !ok ||
      !block.read(&rect, sizeof rect))
    return std::nullopt;
  return rect;
}

}  // namespace probe
