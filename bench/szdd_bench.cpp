// szdd_bench: our SZDD compressor and expander beside mscompress and libmspack, on the same
// corpus in one run: compressed sizes, speeds, and whether each side expands the other's
// files to the original bytes.
//
//   szdd_bench [CORPUS_FOLDER]   (by default the corpus made at build time)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/libmspack_in_memory.h"
#include "codec/szdd_decoder.h"
#include "codec/szdd_encoder.h"
#include "tools/common/host_files.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// Seconds per run of `work`, repeated until the runs add up to a measurable time.
double SecondsPerRun(const std::function<void()>& work, double atLeast = 0.25) {
  int runs = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    work();
    ++runs;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < atLeast);
  return elapsed / runs;
}

bool ExpandWithOurs(const Bytes& file, Bytes& out) {
  tools::MemorySource source(file);
  tools::MemorySink sink;
  const bool ok = codec::szdd::Expand(source, sink).status == codec::szdd::Status::kOk;
  out = std::move(sink.bytes);
  return ok;
}

int Shell(const std::string& command) { return std::system(command.c_str()); }
std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// What one line of the table shows: sizes in bytes, times in seconds per run.
struct Figures {
  double original = 0, ours = 0, mscompress = 0;
  double oursCompress = 0, mscompressCompress = 0;
  double oursExpand = 0, libmspackExpand = 0;

  Figures& operator+=(const Figures& other) {
    original += other.original;
    ours += other.ours;
    mscompress += other.mscompress;
    oursCompress += other.oursCompress;
    mscompressCompress += other.mscompressCompress;
    oursExpand += other.oursExpand;
    libmspackExpand += other.libmspackExpand;
    return *this;
  }
};

struct Row {
  Bytes original, ours, theirs;
  Figures figures;
};

double MegabytesPerSecond(double bytes, double seconds) {
  return seconds > 0 ? bytes / seconds / 1e6 : 0;
}

// Each side's expander on the other side's file, and our own round trip.
std::string CrossCheck(const Row& row, const fs::path& work, bool& oursReadByOthers) {
  std::string problems;
  Bytes out;
  if (!ExpandWithOurs(row.ours, out) || out != row.original) problems += " ours<-ours";
  if (!bench::ExpandWithLibmspack(row.ours, out) || out != row.original)
    problems += " libmspack<-ours";
  tools::WriteWholeFile(work / "ours._", row.ours);
  Bytes msexpanded;
  if (Shell("msexpand < " + Quoted(work / "ours._") + " > " + Quoted(work / "out")) != 0 ||
      !tools::ReadWholeFile(work / "out", msexpanded) || msexpanded != row.original) {
    problems += " msexpand<-ours";
  }
  if (!problems.empty()) oursReadByOthers = false;
  if (!ExpandWithOurs(row.theirs, out) || out != row.original) {
    // mscompress drops the bytes of files shorter than 16 bytes: no expander gets them back.
    problems += row.original.size() < 16 ? " (mscompress wrote a wrong file)" : " ours<-mscompress";
  }
  return problems.empty() ? "all ok" : problems.substr(1);
}

Row Measure(const fs::path& file, const fs::path& work) {
  Row row;
  tools::ReadWholeFile(file, row.original);
  Figures& figures = row.figures;
  figures.oursCompress =
      SecondsPerRun([&] { row.ours = codec::szdd::Compress(row.original, 'x'); });
  tools::WriteWholeFile(work / "in", row.original);
  figures.mscompressCompress = SecondsPerRun(
      [&] {
        fs::remove(work / "in_");  // mscompress will not overwrite it
        Shell("mscompress " + Quoted(work / "in"));
      },
      0.5);
  tools::ReadWholeFile(work / "in_", row.theirs);
  Bytes out;
  figures.oursExpand = SecondsPerRun([&] { ExpandWithOurs(row.ours, out); });
  figures.libmspackExpand = SecondsPerRun([&] { bench::ExpandWithLibmspack(row.ours, out); });
  figures.original = static_cast<double>(row.original.size());
  figures.ours = static_cast<double>(row.ours.size());
  figures.mscompress = static_cast<double>(row.theirs.size());
  return row;
}

void PrintHeader() {
  std::printf("%-14s %9s   %-20s   %-17s   %-17s\n", "", "", "compressed bytes", "compress MB/s",
              "expand MB/s");
  std::printf("%-14s %9s | %9s %9s | %8s %8s | %8s %8s | %s\n", "file", "bytes", "ours", "mscompr.",
              "ours", "mscompr.", "ours", "libmspk.", "cross checks");
}

void PrintRow(const std::string& name, const Figures& f, const std::string& checks) {
  std::printf("%-14s %9.0f | %9.0f %9.0f | %8.1f %8.1f | %8.1f %8.1f | %s\n", name.c_str(),
              f.original, f.ours, f.mscompress, MegabytesPerSecond(f.original, f.oursCompress),
              MegabytesPerSecond(f.original, f.mscompressCompress),
              MegabytesPerSecond(f.original, f.oursExpand),
              MegabytesPerSecond(f.original, f.libmspackExpand), checks.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path corpus = argc > 1 ? fs::path(argv[1]) : fs::path(PELMORA_BENCH_CORPUS);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(corpus)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::fprintf(stderr, "szdd_bench: no files in %s\n", corpus.c_str());
    return 2;
  }
  const fs::path work = fs::temp_directory_path() / ("szdd_bench-" + std::to_string(getpid()));
  fs::create_directories(work);

  std::printf(
      "SZDD: ours (optimal parse) and mscompress compressing; ours and libmspack expanding"
      " our files in memory. mscompress times include starting the process.\n\n");
  PrintHeader();
  Figures totals;
  bool oursReadByOthers = true;
  for (const fs::path& file : files) {
    const Row row = Measure(file, work);
    PrintRow(file.filename().string(), row.figures, CrossCheck(row, work, oursReadByOthers));
    totals += row.figures;
  }
  PrintRow("total", totals, "");
  std::printf(
      "\nours is %.2f%% smaller than mscompress's; our expander runs %.2f times as fast as "
      "libmspack's\n",
      100 * (1 - totals.ours / totals.mscompress), totals.libmspackExpand / totals.oursExpand);
  std::error_code ignored;
  fs::remove_all(work, ignored);
  return oursReadByOthers ? 0 : 1;
}
