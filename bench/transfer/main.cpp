// bench_transfer: the transfer of generated MP3 files into the simulated
// player against a plain file copy of the same files to the same disk, in
// the same run. Each is timed several times, interleaved so that both see
// the same load on the machine, and the best time of each counts.
//
//   bench_transfer [--mb N] [--files N] [--rounds N] [--log]
//
// --log starts the diagnostic log first, as the track manager runs.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/debug_log.h"
#include "bench/common/bench_files.h"
#include "device/ipac_wrap.h"
#include "platform/cost_meter.h"
#include "platform/system.h"

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::Seconds;
using bench::TimeCopy;
using bench::WriteWhole;

std::vector<uint8_t> MakeMp3(size_t bytes, uint32_t seed) {
  std::vector<uint8_t> data;
  bench::AppendFrames(data, bytes, seed, bench::k320kbit);
  return data;
}

double TimeTransfer(const std::vector<fs::path>& sources, const fs::path& player, uint64_t capacity) {
  fs::remove_all(player);
  fs::create_directories(player);
  const std::string settings = "capacity = " + std::to_string(capacity) + "\n";
  std::FILE* f = _wfopen((player / "settings.ini").c_str(), L"wb");
  if (!f) return -1;
  std::fwrite(settings.data(), 1, settings.size(), f);
  std::fclose(f);
  ::SetEnvironmentVariableW(L"PELLMARK_PLAYER", player.c_str());

  device::CIPACWrap wrap;
  const std::wstring temp = sys::TempFolder().wstring();
  if (FAILED(wrap.Initialize(nullptr, temp.c_str(), temp.c_str()))) {
    std::fprintf(stderr, "cannot open the simulated player\n");
    return -1;
  }
  uint32_t album = 0;
  if (FAILED(wrap.StartTransaction()) || FAILED(wrap.CreateAlbum(u"Bench", album)) ||
      FAILED(wrap.EndTransaction())) {
    std::fprintf(stderr, "cannot create the album\n");
    return -1;
  }
  const auto start = Clock::now();
  for (size_t i = 0; i < sources.size(); ++i) {
    mp3::TrackInfo job;
    job.number = static_cast<uint32_t>(i);
    job.sourcePath = sources[i];
    job.wideTitle = u"Track " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
    job.wideArtist = u"Bench";
    job.wideAlbum = u"Bench";
    job.wideGenre = u"Noise";
    job.durationMs = 1000;
    // As the drop does: the next source is read while this one is written.
    if (i + 1 < sources.size()) wrap.ExpectSource(sources[i + 1]);
    HRESULT h = wrap.StartTransaction();
    if (SUCCEEDED(h)) h = wrap.Transfer(job, album, device::kPlaceInto);
    if (h == S_OK) h = wrap.EndTransaction();
    if (h != S_OK) {
      std::fprintf(stderr, "transfer %zu failed: 0x%08lX\n", i, static_cast<unsigned long>(h));
      return -1;
    }
  }
  return Seconds(Clock::now() - start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  size_t totalMb = 320, files = 40, rounds = 5;
  bool log = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::wcscmp(argv[i], L"--mb") && i + 1 < argc) {
      totalMb = std::wcstoul(argv[++i], nullptr, 10);
    } else if (!std::wcscmp(argv[i], L"--files") && i + 1 < argc) {
      files = std::wcstoul(argv[++i], nullptr, 10);
    } else if (!std::wcscmp(argv[i], L"--rounds") && i + 1 < argc) {
      rounds = std::wcstoul(argv[++i], nullptr, 10);
    } else if (!std::wcscmp(argv[i], L"--log")) {
      log = true;
    } else {
      std::fprintf(stderr, "usage: bench_transfer [--mb N] [--files N] [--rounds N] [--log]\n");
      return 2;
    }
  }
  if (files == 0 || totalMb == 0 || rounds == 0) return 2;
  costs::StartFromEnvironment("bench");
  const fs::path root = sys::TempFolder() / ("pellmark-bench-" + std::to_string(::GetCurrentProcessId()));
  const fs::path sourceDir = root / "sources";
  fs::create_directories(sourceDir);
  if (log) {
    debuglog::Configure(root, "pellmark-bench-log", fs::path());
    StartLog();
  }

  std::vector<fs::path> sources;
  uint64_t bytes = 0;
  for (size_t i = 0; i < files; ++i) {
    const auto data = MakeMp3(totalMb * 1048576 / files, static_cast<uint32_t>(i));
    sources.push_back(sourceDir / ("source" + std::to_string(i) + ".mp3"));
    if (!WriteWhole(sources.back(), data)) {
      std::fprintf(stderr, "cannot write the sources\n");
      return 1;
    }
    bytes += data.size();
  }
  const double mb = static_cast<double>(bytes) / 1048576.0;
  std::printf("files: %zu, %.1f MB in all, best of %zu rounds%s\n", files, mb, rounds,
              log ? ", diagnostic log on" : "");

  double copy = 1e30, transfer = 1e30;
  for (size_t round = 0; round < rounds; ++round) {
    const double c = TimeCopy(sources, root / "copy");
    const double t = TimeTransfer(sources, root / "player", bytes * 2);
    if (c < 0 || t < 0) return 1;
    copy = std::min(copy, c);
    transfer = std::min(transfer, t);
  }
  std::printf("copy:     %.1f MB in %.2f s = %.1f MB/s\n", mb, copy, mb / copy);
  std::printf("transfer: %.1f MB in %.2f s = %.1f MB/s\n", mb, transfer, mb / transfer);
  std::printf("ratio: %.2f\n", copy / transfer);
  costs::Report();
  debuglog::Stop();
  std::error_code ec;
  fs::remove_all(root, ec);
  return 0;
}
