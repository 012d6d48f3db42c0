// POSIX implementation of the system seam, for the native build of the
// portable core and its tests.
#include <fcntl.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <system_error>

#include "platform/system.h"

namespace sys {

Path PathFromAnsi(const std::string& ansi) { return Path(ansi); }

std::string AnsiFromPath(const Path& path) { return path.string(); }

uint32_t LastError() { return static_cast<uint32_t>(errno); }

std::string ErrorText(uint32_t code) { return std::strerror(static_cast<int>(code)); }

void ShowErrorMessage(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

uint32_t AllocationGranularity() {
  long page = sysconf(_SC_PAGESIZE);
  return page > 0 ? static_cast<uint32_t>(page) : 4096u;
}

namespace {

class PosixRegion final : public MappedRegion {
 public:
  PosixRegion(void* base, size_t size) : base_(base), size_(size) {}
  ~PosixRegion() override { munmap(base_, size_); }
  const uint8_t* base() const override { return static_cast<const uint8_t*>(base_); }
  size_t size() const override { return size_; }

 private:
  void* base_;
  size_t size_;
};

class PosixFile final : public ReadOnlyFile {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { closeHandle(); }
  bool size(uint64_t& out) const override {
    struct stat st {};
    if (fd_ < 0 || fstat(fd_, &st) != 0) return false;
    out = static_cast<uint64_t>(st.st_size);
    return true;
  }
  std::unique_ptr<MappedRegion> map(uint64_t offset, size_t length) override {
    if (fd_ < 0 || length == 0) {
      errno = EINVAL;
      return nullptr;
    }
    void* p = mmap(nullptr, length, PROT_READ, MAP_SHARED, fd_, static_cast<off_t>(offset));
    if (p == MAP_FAILED) return nullptr;
    return std::make_unique<PosixRegion>(p, length);
  }
  void closeHandle() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<ReadOnlyFile> OpenReadOnly(const Path& path, bool exclusive) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  // POSIX has no share modes: exclusive opens are not enforced here.
  (void)exclusive;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return nullptr;
  }
  return std::make_unique<PosixFile>(fd);
}

bool FileExists(const Path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const Path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool GetFileSize(const Path& path, uint64_t& out) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  out = static_cast<uint64_t>(st.st_size);
  return true;
}

bool GetReadOnly(const Path& path, bool& readOnly) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  readOnly = (st.st_mode & S_IWUSR) == 0;
  return true;
}

bool SetReadOnly(const Path& path, bool readOnly) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  mode = readOnly ? (mode & ~static_cast<mode_t>(0222)) : (mode | S_IWUSR);
  return ::chmod(path.c_str(), mode) == 0;
}

bool FreeSpaceForCaller(const Path& path, uint64_t& out) {
  struct statvfs vfs {};
  Path probe = path;
  // Like GetDiskFreeSpaceEx, any path on the volume will do: walk up to an
  // existing folder.
  while (!probe.empty() && ::statvfs(probe.c_str(), &vfs) != 0) {
    Path parent = probe.parent_path();
    if (parent == probe) return false;
    probe = parent;
  }
  if (probe.empty()) return false;
  out = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  return true;
}

Path TempFolder() {
  const char* dir = std::getenv("TMPDIR");
  std::string s = (dir && *dir) ? dir : "/tmp";
  if (s.back() != '/') s += '/';
  return Path(s);
}

bool CopyFileTo(const Path& from, const Path& to, bool overwrite) {
  std::error_code ec;
  auto opt =
      overwrite ? std::filesystem::copy_options::overwrite_existing : std::filesystem::copy_options::none;
  if (!std::filesystem::is_regular_file(from, ec)) return false;
  return std::filesystem::copy_file(from, to, opt, ec) && !ec;
}

bool DeleteFileAt(const Path& path) { return ::unlink(path.c_str()) == 0; }

bool CreateFolder(const Path& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  return errno == EEXIST && IsDirectory(path);
}

std::FILE* OpenStdioFile(const Path& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool SeekStdioFile(std::FILE* file, uint64_t offset, int origin) {
  if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
  return ::fseeko(file, static_cast<off_t>(offset), origin) == 0;
}

int64_t TellStdioFile(std::FILE* file) { return ::ftello(file); }

Path ProgramPath() {
  std::error_code ec;
  Path p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? Path() : p;
}

Path ProgramFolder() {
  Path p = ProgramPath().parent_path();
  return p.empty() ? p : p / "";
}

uint32_t ProcessId() { return static_cast<uint32_t>(::getpid()); }

uint32_t ThreadId() { return static_cast<uint32_t>(::syscall(SYS_gettid)); }

OsVersion GetOsVersion() { return OsVersion{}; }

bool ReadFileVersion(const Path&, uint16_t[4]) { return false; }

namespace {

std::string SemaphoreName(const std::string& name) {
  std::string s = "/";
  for (char c : name) s += (c == '/' || c == '\\') ? '_' : c;
  return s;
}

class PosixSemaphore final : public NamedSemaphore {
 public:
  PosixSemaphore(sem_t* sem, std::string unlinkName) : sem_(sem), unlinkName_(std::move(unlinkName)) {}
  ~PosixSemaphore() override {
    sem_close(sem_);
    // POSIX semaphores outlive their processes; the creator removes the name
    // so that, as on Windows, the next run starts without it.
    if (!unlinkName_.empty()) sem_unlink(unlinkName_.c_str());
  }
  bool wait(uint32_t timeoutMs) override {
    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += timeoutMs / 1000;
    deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
      deadline.tv_sec += 1;
      deadline.tv_nsec -= 1000000000L;
    }
    while (sem_timedwait(sem_, &deadline) != 0) {
      if (errno != EINTR) return false;
    }
    return true;
  }
  void release() override { sem_post(sem_); }

 private:
  sem_t* sem_;
  std::string unlinkName_;
};

}  // namespace

std::unique_ptr<NamedSemaphore> OpenNamedSemaphore(const std::string& name) {
  std::string n = SemaphoreName(name);
  sem_t* s = sem_open(n.c_str(), 0);
  if (s == SEM_FAILED) return nullptr;
  return std::make_unique<PosixSemaphore>(s, std::string());
}

std::unique_ptr<NamedSemaphore> CreateNamedSemaphore(const std::string& name) {
  std::string n = SemaphoreName(name);
  sem_t* s = sem_open(n.c_str(), O_CREAT | O_EXCL, 0600, 1);
  if (s == SEM_FAILED) return nullptr;
  return std::make_unique<PosixSemaphore>(s, n);
}

}  // namespace sys
