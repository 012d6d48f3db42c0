// bench_analyser: what the check of a drop costs next to reading the files
// and next to Debian's mp3val scanning the same files.
//
//   bench_analyser              a generated corpus, kept in a temporary folder
//                               of the benchmark's own; ratio: check / read
//   bench_analyser FOLDER       the .mp3 files already in FOLDER (and its
//                               subfolders), never written to; ratio: check /
//                               mp3val (check / read when mp3val is missing)
//
// Every run reads all files once (a warm-up, so every measurement reads from
// the same cache), then times one plain sequential read, the full check a
// drop makes of each file (validity walk over every frame, then the track
// information with the tags), mp3val over the same files when it is
// installed, and the check with a second frame walk for the track
// information, as it was once made. A small folder is gone through several
// times per run, the same number of times by each, so that every figure is
// long enough to time. Figures are medians of several runs. The check's
// results are summed into a digest, so two builds can be shown to agree.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

#include "app/debug_log.h"
#include "bench/analyser/corpus.h"
#include "bench/analyser/peer_scan.h"
#include "mp3/tag_code_page.h"
#include "mp3/validity_check.h"

namespace {

constexpr uint64_t kGeneratedBytes = 200ull * 1000 * 1000;
// Each run goes through at least this many bytes, repeating a small folder.
constexpr uint64_t kBytesPerRun = 200ull * 1000 * 1000;
constexpr int kRuns = 5;
// The plain read takes the same buffer size as the analyser's frame walk.
constexpr size_t kReadBuffer = 256 * 1024;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Processor seconds (user and system) used so far by this process or by its
// ended children. On a machine busy with other work the clock also counts
// the time spent waiting for a processor; these do not, so they compare the
// work itself. Zero where the system does not tell.
double ProcessorSeconds(bool children) {
#if defined(_WIN32)
  (void)children;
  return 0;
#else
  rusage usage{};
  if (::getrusage(children ? RUSAGE_CHILDREN : RUSAGE_SELF, &usage) != 0) return 0;
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
#endif
}

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

// FNV-1a over what the check answers for each file, so that two builds that
// agree file for file print the same digest.
class ResultDigest {
 public:
  void add(const void* bytes, size_t count) {
    const auto* b = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < count; ++i) m_hash = (m_hash ^ b[i]) * 0x100000001B3ull;
  }
  void add(uint32_t value) { add(&value, sizeof value); }
  void add(const std::string& text) {
    add(static_cast<uint32_t>(text.size()));
    add(text.data(), text.size());
  }
  void add(const std::u16string& text) {
    add(static_cast<uint32_t>(text.size()));
    add(text.data(), text.size() * sizeof(char16_t));
  }
  uint64_t value() const { return m_hash; }

 private:
  uint64_t m_hash = 0xCBF29CE484222325ull;
};

struct CheckOutcome {
  size_t accepted = 0;
  uint64_t digest = 0;
};

// The check a drop makes of every file.
CheckOutcome FullCheck(const std::vector<bench::CorpusFile>& files) {
  CheckOutcome outcome;
  ResultDigest digest;
  for (const auto& f : files) {
    mp3::TrackInfo info;
    mp3::ValidityReport report;
    const bool accepted = mp3::CheckValidity(f.path, info, &report);
    outcome.accepted += accepted ? 1 : 0;
    digest.add(accepted ? 1u : 0u);
    digest.add(report.lowestBitRate);
    digest.add(report.highestBitRate);
    digest.add(report.durationMs);
    if (accepted) {
      digest.add(info.highestBitRate);
      digest.add(info.durationMs);
      for (const std::string* t : {&info.title, &info.artist, &info.album, &info.genre}) digest.add(*t);
      for (const std::u16string* t : {&info.wideTitle, &info.wideArtist, &info.wideAlbum, &info.wideGenre})
        digest.add(*t);
    }
  }
  outcome.digest = digest.value();
  return outcome;
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

// A folder for the log that the benchmark removes again when it ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    m_path = sys::TempFolder() / ("pellmark-bench-analyser-log-" + std::to_string(sys::ProcessId()));
    sys::CreateFolder(m_path);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  const sys::Path& path() const { return m_path; }

 private:
  sys::Path m_path;
};

}  // namespace

int main(int argc, char** argv) {
  const bool userFolder = argc > 1;
  std::vector<bench::CorpusFile> corpus;
  sys::Path folder;
  if (userFolder) {
    folder = sys::Path(argv[1]);
    corpus = bench::ListMp3Files(folder);
    if (corpus.empty()) {
      std::fprintf(stderr, "bench_analyser: no .mp3 file in %s\n", sys::AnsiFromPath(folder).c_str());
      return 1;
    }
  } else {
    folder = sys::TempFolder() / "pellmark-bench-analyser";
    corpus = bench::PrepareCorpus(folder, kGeneratedBytes);
    if (corpus.empty()) {
      std::fprintf(stderr, "bench_analyser: cannot make the corpus in %s\n", sys::AnsiFromPath(folder).c_str());
      return 1;
    }
  }
  uint64_t corpusBytes = 0;
  for (const auto& f : corpus) corpusBytes += f.size;

  // The same files, as often as it takes to make a run long enough to time.
  const uint64_t passes = std::max<uint64_t>(1, (kBytesPerRun + corpusBytes - 1) / std::max<uint64_t>(corpusBytes, 1));
  std::vector<bench::CorpusFile> files;
  for (uint64_t p = 0; p < passes; ++p) files.insert(files.end(), corpus.begin(), corpus.end());
  const uint64_t runBytes = corpusBytes * passes;

  // A drop logs every check; so does the benchmark, into a log of its own.
  const ScratchFolder logFolder;
  debuglog::Configure(logFolder.path(), "pellmark-bench-analyser-log", logFolder.path());
  StartLog();
  mp3::SelectTagCodePage(0x0409);

  const double megabytes = static_cast<double>(runBytes) / 1e6;
  std::printf("corpus: %zu files, %.1f MB in %s; %llu pass(es) per run, %.1f MB\n", corpus.size(),
              static_cast<double>(corpusBytes) / 1e6, sys::AnsiFromPath(folder).c_str(),
              static_cast<unsigned long long>(passes), megabytes);
  const bool peer = bench::PeerScannerInstalled();
  if (!peer) std::printf("mp3val: not installed, not timed\n");

  std::vector<double> readTimes, checkTimes, peerTimes, twoWalkTimes, checkCpu, peerCpu;
  CheckOutcome outcome;
  for (int run = 0; run < kRuns; ++run) {
    PlainRead(files);  // warm-up
    Clock::time_point t0 = Clock::now();
    const uint64_t read = PlainRead(files);
    readTimes.push_back(Seconds(Clock::now() - t0));
    if (read != runBytes) {
      std::fprintf(stderr, "bench_analyser: read %llu of %llu bytes\n", static_cast<unsigned long long>(read),
                   static_cast<unsigned long long>(runBytes));
      return 1;
    }
    t0 = Clock::now();
    double cpu0 = ProcessorSeconds(false);
    outcome = FullCheck(files);
    checkTimes.push_back(Seconds(Clock::now() - t0));
    checkCpu.push_back(ProcessorSeconds(false) - cpu0);
    if (peer) {
      t0 = Clock::now();
      cpu0 = ProcessorSeconds(true);
      if (!bench::RunPeerScanner(files)) {
        std::fprintf(stderr, "bench_analyser: mp3val failed\n");
        return 1;
      }
      peerTimes.push_back(Seconds(Clock::now() - t0));
      peerCpu.push_back(ProcessorSeconds(true) - cpu0);
    }
    t0 = Clock::now();
    CheckWithSecondWalk(files);
    twoWalkTimes.push_back(Seconds(Clock::now() - t0));
  }
  debuglog::Stop();

  const double readTime = Median(readTimes);
  const double checkTime = Median(checkTimes);
  const double twoWalkTime = Median(twoWalkTimes);
  std::printf("plain read: %.1f MB/s (median of %d runs: %.3f s)\n", megabytes / readTime, kRuns, readTime);
  std::printf("full check: %.1f MB/s (median of %d runs: %.3f s), %zu of %zu files accepted, results %016llx\n",
              megabytes / checkTime, kRuns, checkTime, outcome.accepted / passes, corpus.size(),
              static_cast<unsigned long long>(outcome.digest));
  std::printf("full check over plain read: %.2f\n", checkTime / readTime);
  double peerTime = 0;
  if (peer) {
    peerTime = Median(peerTimes);
    std::printf("mp3val: %.1f MB/s (median of %d runs: %.3f s)\n", megabytes / peerTime, kRuns, peerTime);
    std::printf("full check over mp3val: %.2f\n", checkTime / peerTime);
    const double checkWork = Median(checkCpu), peerWork = Median(peerCpu);
    if (checkWork > 0 && peerWork > 0)
      std::printf("processor time (medians): full check %.3f s, mp3val %.3f s, ratio %.2f\n", checkWork, peerWork,
                  checkWork / peerWork);
  }
  std::printf("check with a second frame walk: %.1f MB/s (median of %d runs: %.3f s), ratio %.2f\n",
              megabytes / twoWalkTime, kRuns, twoWalkTime, twoWalkTime / readTime);
  if (userFolder && peer) {
    std::printf("ratio: %.2f\n", checkTime / peerTime);
  } else {
    std::printf("ratio: %.2f\n", checkTime / readTime);
  }
  // The generated corpus is made to be accepted whole; a user's folder may
  // hold files the player cannot take.
  return userFolder || outcome.accepted == files.size() ? 0 : 1;
}
