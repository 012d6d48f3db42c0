// Pieces the Windows benchmarks share: generated MPEG audio, writing and
// copying files, and turning clock readings into seconds.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One kind of MPEG-1 Layer III frame at 44,100 Hz.
struct FrameKind {
  uint8_t header[4];
  size_t bytes;
};
inline constexpr FrameKind k128kbit{{0xFF, 0xFB, 0x90, 0x00}, 417};
inline constexpr FrameKind k320kbit{{0xFF, 0xFB, 0xE0, 0x00}, 1044};

// Appends as many whole frames as fit into bytes; the payload comes from
// seed, so files made with other seeds differ.
inline void AppendFrames(std::vector<uint8_t>& out, size_t bytes, uint32_t seed, const FrameKind& kind) {
  uint32_t x = seed * 2654435761u + 1;
  const size_t frames = bytes / kind.bytes;
  out.reserve(out.size() + frames * kind.bytes);
  for (size_t f = 0; f < frames; ++f) {
    out.insert(out.end(), kind.header, kind.header + 4);
    // Payload below 0x80 never looks like a frame sync.
    for (size_t i = 4; i < kind.bytes; ++i) {
      x = x * 1664525u + 1013904223u;
      out.push_back(static_cast<uint8_t>(x >> 25));
    }
  }
}

inline bool WriteWhole(const std::filesystem::path& path, const std::vector<uint8_t>& data) {
  std::FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

// Seconds for a plain CopyFileW of every source into an emptied target
// folder; -1 when a copy fails.
inline double TimeCopy(const std::vector<std::filesystem::path>& sources, const std::filesystem::path& target) {
  std::filesystem::remove_all(target);
  std::filesystem::create_directories(target);
  const auto start = Clock::now();
  for (const auto& s : sources) {
    if (!::CopyFileW(s.c_str(), (target / s.filename()).c_str(), FALSE)) {
      std::fprintf(stderr, "copy failed: %lu\n", ::GetLastError());
      return -1;
    }
  }
  return Seconds(Clock::now() - start);
}

// Starts a program with no arguments; its process handle (the caller owns
// it), or null when it cannot start.
inline HANDLE StartProgram(const std::filesystem::path& program) {
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + program.wstring() + L"\"";
  if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return nullptr;
  ::CloseHandle(pi.hThread);
  return pi.hProcess;
}

// An empty folder of that name in the temporary folder.
inline std::filesystem::path FreshTempFolder(const wchar_t* name) {
  wchar_t tempText[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, tempText);
  const std::filesystem::path folder = std::filesystem::path(tempText) / name;
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::filesystem::create_directories(folder, ec);
  return folder;
}

// The track manager then starts without its help window, which would
// otherwise sit in front of the list being timed.
inline void SkipHelpWindowAtStart() {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Keltan Corporation\\Pellmark", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    DWORD ten = 10;
    ::RegSetValueExW(key, L"Pellmark", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&ten), sizeof ten);
    ::RegCloseKey(key);
  }
}

}  // namespace bench
