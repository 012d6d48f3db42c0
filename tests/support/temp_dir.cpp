#include "tests/support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/system.h"

namespace testsupport {

std::string UniqueName(const std::string& stem) {
  static std::atomic<unsigned> counter{0};
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  return stem + "-" + std::to_string(sys::ProcessId()) + "-" + std::to_string(counter.fetch_add(1)) + "-" +
         std::to_string(static_cast<unsigned long long>(ticks) % 1000000007ull);
}

TempDir::TempDir() {
  std::filesystem::path base = sys::TempFolder();
  if (base.empty()) base = std::filesystem::current_path();
  path_ = base / UniqueName("pmtest");
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only files left by a test would stop the removal on Windows.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    sys::SetReadOnly(it->path(), false);
  }
  std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path.string());
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::filesystem::path& path) {
  auto bytes = ReadFile(path);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace testsupport
