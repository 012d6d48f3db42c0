// bench_analyser: what the check of a drop costs next to reading the files.
// Over a corpus of at least 200 MB it times one plain sequential read of all
// files and the full check a drop makes of each (validity walk over every
// frame, then the track information with the tags), each the median of
// several runs after a warm-up read, and prints both rates and their ratio.
// For comparison it also times the same check with a second frame walk for
// the track information.
//
//   bench_analyser [corpus-folder]   (default: <temp>/pellmark-bench-analyser)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/debug_log.h"
#include "bench/analyser/corpus.h"
#include "mp3/tag_code_page.h"
#include "mp3/validity_check.h"

namespace {

constexpr uint64_t kCorpusBytes = 200ull * 1000 * 1000;
constexpr int kRuns = 5;
// The plain read takes the same buffer size as the analyser's frame walk.
constexpr size_t kReadBuffer = 256 * 1024;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Reads every byte of every file once; answers the bytes read.
uint64_t PlainRead(const std::vector<bench::CorpusFile>& files) {
  std::unique_ptr<char[]> buffer(new char[kReadBuffer]);
  uint64_t total = 0;
  for (const auto& f : files) {
    std::FILE* in = sys::OpenStdioFile(f.path, "rb");
    if (!in) continue;
    std::setvbuf(in, nullptr, _IONBF, 0);
    for (size_t n; (n = std::fread(buffer.get(), 1, kReadBuffer, in)) > 0;) total += n;
    std::fclose(in);
  }
  return total;
}

// The check a drop makes of every file; answers how many were accepted.
size_t FullCheck(const std::vector<bench::CorpusFile>& files) {
  size_t accepted = 0;
  for (const auto& f : files) {
    mp3::TrackInfo info;
    accepted += mp3::CheckValidity(f.path, info) ? 1 : 0;
  }
  return accepted;
}

// The check with the track information walking the frames a second time.
size_t CheckWithSecondWalk(const std::vector<bench::CorpusFile>& files) {
  size_t accepted = 0;
  for (const auto& f : files) {
    DebugLog("\nCIPACWrap::CheckValidity(%s)", sys::AnsiFromPath(f.path).c_str());
    mp3::CMp3Analyzer checker;
    if (!checker.CheckValidity(f.path)) continue;
    mp3::CMp3Analyzer reader;
    mp3::TrackInfo info;
    accepted += reader.GetTrackInfo(f.path, info, 0) == hr::kOk ? 1 : 0;
  }
  return accepted;
}

}  // namespace

int main(int argc, char** argv) {
  const sys::Path folder = argc > 1 ? sys::Path(argv[1]) : sys::TempFolder() / "pellmark-bench-analyser";
  const std::vector<bench::CorpusFile> files = bench::PrepareCorpus(folder, kCorpusBytes);
  uint64_t corpusBytes = 0;
  for (const auto& f : files) corpusBytes += f.size;
  if (files.empty() || corpusBytes < kCorpusBytes) {
    std::fprintf(stderr, "bench_analyser: cannot make the corpus in %s\n", sys::AnsiFromPath(folder).c_str());
    return 1;
  }

  // A drop logs every check; so does the benchmark, into a log of its own.
  debuglog::Configure(folder, "pellmark-bench-analyser-log", folder);
  StartLog();
  mp3::SelectTagCodePage(0x0409);

  const double megabytes = static_cast<double>(corpusBytes) / 1e6;
  std::printf("corpus: %zu files, %.1f MB in %s\n", files.size(), megabytes,
              sys::AnsiFromPath(folder).c_str());
  PlainRead(files);  // warm-up: both measurements then read from the same cache

  std::vector<double> readTimes, checkTimes, twoWalkTimes;
  size_t accepted = 0;
  for (int run = 0; run < kRuns; ++run) {
    Clock::time_point t0 = Clock::now();
    const uint64_t read = PlainRead(files);
    readTimes.push_back(Seconds(Clock::now() - t0));
    if (read != corpusBytes) {
      std::fprintf(stderr, "bench_analyser: read %llu of %llu bytes\n", static_cast<unsigned long long>(read),
                   static_cast<unsigned long long>(corpusBytes));
      return 1;
    }
    t0 = Clock::now();
    accepted = FullCheck(files);
    checkTimes.push_back(Seconds(Clock::now() - t0));
    t0 = Clock::now();
    CheckWithSecondWalk(files);
    twoWalkTimes.push_back(Seconds(Clock::now() - t0));
  }
  const double readTime = Median(readTimes);
  const double checkTime = Median(checkTimes);
  const double twoWalkTime = Median(twoWalkTimes);
  std::printf("plain read: %.1f MB/s (median of %d runs: %.3f s)\n", megabytes / readTime, kRuns, readTime);
  std::printf("full check: %.1f MB/s (median of %d runs: %.3f s), %zu of %zu files accepted\n",
              megabytes / checkTime, kRuns, checkTime, accepted, files.size());
  std::printf("check with a second frame walk: %.1f MB/s (median of %d runs: %.3f s), ratio %.2f\n",
              megabytes / twoWalkTime, kRuns, twoWalkTime, twoWalkTime / readTime);
  std::printf("ratio: %.2f\n", checkTime / readTime);
  debuglog::Stop();
  return accepted == files.size() ? 0 : 1;
}
