// lock_holder: stands for another program of the player's maker that holds
// the exclusion lock, written against the protocol directly (not with the
// track manager's own code). It takes the lock under the wait mutex,
// publishes its name, prints "held" and keeps the lock until the file given
// as STOPFILE exists (or 60 seconds pass).
//
//   lock_holder SCOPE NAME STOPFILE     SCOPE: local or global
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: lock_holder local|global NAME STOPFILE\n");
    return 2;
  }
  const std::string scope = argv[1];
  const std::string name = argv[2];
  const std::string mutexName =
      std::string(scope == "global" ? "Global\\g" : "Local\\l") + "Keltan_LumoraBackupLocker";
  const std::string memoryName = mutexName + "Name";

  SECURITY_DESCRIPTOR sd;
  ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  ::SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
  SECURITY_ATTRIBUTES sa{sizeof(sa), &sd, TRUE};

  HANDLE wait = ::CreateMutexA(nullptr, TRUE, "Keltan_LmrBootCheckerWait1");
  if (::GetLastError() == ERROR_ALREADY_EXISTS) ::WaitForSingleObject(wait, INFINITE);
  HANDLE lock = ::CreateMutexA(&sa, TRUE, mutexName.c_str());
  const bool mine = lock && ::GetLastError() != ERROR_ALREADY_EXISTS;
  HANDLE memory = nullptr;
  if (mine) {
    memory = ::CreateFileMappingA(INVALID_HANDLE_VALUE, &sa, PAGE_READWRITE, 0,
                                  static_cast<DWORD>(name.size() + 1), memoryName.c_str());
    if (void* view = memory ? ::MapViewOfFile(memory, FILE_MAP_WRITE, 0, 0, 0) : nullptr) {
      std::memcpy(view, name.c_str(), name.size() + 1);
      ::UnmapViewOfFile(view);
    }
  }
  ::ReleaseMutex(wait);
  ::CloseHandle(wait);
  std::printf(mine ? "held\n" : "taken by another\n");
  std::fflush(stdout);

  for (int i = 0; i < 600 && ::GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(100);
  if (memory) ::CloseHandle(memory);
  if (lock) ::CloseHandle(lock);
  return mine ? 0 : 1;
}
