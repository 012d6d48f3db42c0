#include "app/named_lock.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "app/debug_log.h"
#include "app/lock_names.h"

namespace app {

namespace {

// Security that lets every user's programs open the objects: a descriptor
// with an empty (null) access list. The lock is shared with programs that
// may run as other users, and they must be able to see who holds it.
struct OpenSecurity {
  SECURITY_DESCRIPTOR descriptor{};
  SECURITY_ATTRIBUTES attributes{};
  explicit OpenSecurity(bool inheritable) {
    ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    attributes.nLength = sizeof(attributes);
    attributes.lpSecurityDescriptor = &descriptor;
    attributes.bInheritHandle = inheritable ? TRUE : FALSE;
  }
};

// Longest holder name read from another program's memory; a block without a
// terminating zero is cut here rather than read past.
constexpr size_t kMaxHolderNameLength = 1024;

}  // namespace

CWaitMutexScope::CWaitMutexScope() {
  HANDLE mutex = ::CreateMutexA(nullptr, TRUE, kWaitMutexName);
  const DWORD error = ::GetLastError();
  mutex_.reset(mutex);
  if (mutex && error != ERROR_ALREADY_EXISTS) {
    owned_ = true;
    return;
  }
  // Another program is in its test-and-register step: wait for it on a
  // handle of our own.
  mutex_.reset();
  mutex_.reset(::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kWaitMutexName));
  if (!mutex_) {
    DebugLog("\nExclusion lock: wait mutex %s not available (error %lu)", kWaitMutexName, ::GetLastError());
    return;
  }
  DWORD wait = ::WaitForSingleObject(mutex_.get(), INFINITE);
  // An abandoned mutex (its owner ended without releasing it) is ours now.
  owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

CWaitMutexScope::~CWaitMutexScope() {
  // Released before it is closed: closing alone would leave it owned by this
  // thread, and a program waiting for it would wait until this thread ends.
  if (owned_) ::ReleaseMutex(mutex_.get());
}

CNamedLock::CNamedLock(std::string mutexName) : mutexName_(std::move(mutexName)) {}

CNamedLock::~CNamedLock() {
  CWaitMutexScope serialised;
  mutex_.reset();
  nameView_.reset();
  nameMemory_.reset();
}

bool CNamedLock::acquire(const std::string& applicationName) {
  CWaitMutexScope serialised;
  OpenSecurity security(true);
  HANDLE mutex = ::CreateMutexA(&security.attributes, TRUE, mutexName_.c_str());
  const DWORD error = ::GetLastError();
  mutex_.reset(mutex);
  if (mutex && error != ERROR_ALREADY_EXISTS) {
    held_ = true;
    publishName(applicationName);
    return true;
  }
  // Someone else's: only its name is of interest.
  mutex_.reset();
  if (!mutex && error != ERROR_ACCESS_DENIED) {
    // Neither ours nor visibly someone else's (a bad name, say): the lock is
    // advisory, so start-up goes on, but the note says why.
    failed_ = true;
    DebugLog("\nExclusion lock: %s could not be created (error %lu)", mutexName_.c_str(), error);
    return false;
  }
  readHolderName();
  return false;
}

void CNamedLock::publishName(const std::string& applicationName) {
  const std::string memoryName = NameMemoryName(mutexName_);
  const DWORD size = static_cast<DWORD>(applicationName.size() + 1);
  OpenSecurity security(true);
  nameMemory_.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, &security.attributes, PAGE_READWRITE, 0, size,
                                         memoryName.c_str()));
  if (!nameMemory_) {
    DebugLog("\nExclusion lock: name memory %s not created (error %lu)", memoryName.c_str(),
             ::GetLastError());
    return;
  }
  void* view = ::MapViewOfFile(nameMemory_.get(), FILE_MAP_WRITE, 0, 0, size);
  if (!view) {
    DebugLog("\nExclusion lock: name memory %s not mapped (error %lu)", memoryName.c_str(), ::GetLastError());
    return;
  }
  nameView_ = win::UniqueView(view);
  std::memcpy(view, applicationName.c_str(), size);
}

void CNamedLock::readHolderName() {
  holderName_.clear();
  const std::string memoryName = NameMemoryName(mutexName_);
  win::UniqueHandle memory(::OpenFileMappingA(FILE_MAP_READ, FALSE, memoryName.c_str()));
  if (!memory) return;
  win::UniqueView view(::MapViewOfFile(memory.get(), FILE_MAP_READ, 0, 0, 0));
  if (!view.get()) return;
  // The block's size is the other program's business; read no further than
  // the mapped region, whatever it holds.
  MEMORY_BASIC_INFORMATION region{};
  if (::VirtualQuery(view.get(), &region, sizeof(region)) == 0) return;
  const char* text = static_cast<const char*>(view.get());
  size_t limit = std::min(static_cast<size_t>(region.RegionSize), kMaxHolderNameLength);
  size_t length = 0;
  while (length < limit && text[length] != '\0') ++length;
  holderName_.assign(text, length);
}

}  // namespace app
