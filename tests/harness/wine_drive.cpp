#include "tests/harness/wine_drive.h"

#include <windows.h>
#include <winioctl.h>

#include <string>
#include <vector>

#include "tests/harness/probe_json.h"
#include "win32/unique_handle.h"

namespace probe {
namespace {

// Wine's mount manager request that defines a drive letter (as winecfg
// sends it): the record, then the host path as narrow text at
// mountPointOffset. Type DRIVE_REMOVABLE on a letter from C on makes a
// removable hard disk; an empty path removes the letter.
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct UnixDriveRecord {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};

bool Define(wchar_t letter, const std::string& hostPath, ULONG type) {
  std::vector<char> request(sizeof(UnixDriveRecord) + hostPath.size() + 1, '\0');
  auto* record = reinterpret_cast<UnixDriveRecord*>(request.data());
  record->size = static_cast<ULONG>(request.size());
  record->letter = static_cast<WCHAR>(::towlower(letter));
  if (!hostPath.empty()) {
    record->type = type;
    record->mountPointOffset = sizeof(UnixDriveRecord);
    hostPath.copy(request.data() + sizeof(UnixDriveRecord), hostPath.size());
  } else {
    record->size = sizeof(UnixDriveRecord);
  }
  win::UniqueFile manager(::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                        nullptr));
  if (!manager) return false;
  DWORD returned = 0;
  return ::DeviceIoControl(manager.get(), kDefineUnixDrive, request.data(), record->size, nullptr, 0,
                           &returned, nullptr) != FALSE;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out.push_back(static_cast<char>(c));
  return out;
}

}  // namespace

int WineDriveCommand(const std::wstring& command, const std::vector<std::wstring>& positional) {
  if (positional.empty() || positional[0].size() != 1 || !::iswalpha(positional[0][0])) {
    Line("{\"error\": \"LETTER expected\"}");
    return 2;
  }
  const wchar_t letter = positional[0][0];
  bool ok = false;
  if (command == L"define-drive") {
    if (positional.size() < 2) {
      Line("{\"error\": \"HOSTPATH expected\"}");
      return 2;
    }
    ULONG type = DRIVE_REMOVABLE;
    if (positional.size() > 2) {
      if (positional[2] == L"fixed")
        type = DRIVE_FIXED;
      else if (positional[2] == L"cdrom")
        type = DRIVE_CDROM;
      else if (positional[2] != L"removable")
        return 2;
    }
    ok = Define(letter, Narrow(positional[1]), type);
  } else {
    ok = Define(letter, "", 0);
  }
  const wchar_t root[4] = {static_cast<wchar_t>(::towupper(letter)), L':', L'\\', L'\0'};
  Line(std::string("{\"") + (command == L"define-drive" ? "defined" : "removed") + "\": " + Bool(ok) +
       ", \"type\": " + std::to_string(::GetDriveTypeW(root)) + "}");
  return ok ? 0 : 1;
}

}  // namespace probe
