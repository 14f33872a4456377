// One library's benchmark binary, korvath_bench_<library>: that library's paths of the document
// cases (and, in the helper's, the vocabulary's benchmarks), each library in a process of its own.
//   korvath_bench_<library> [--large] [Google Benchmark's options]  times the paths
//   korvath_bench_<library> --results [--large]      the digest of every path's result (Modes.h)
//   korvath_bench_<library> --result <case> <size>   one result
//   korvath_bench_<library> --memory <case> <size>   the peak memory of one run
//   korvath_bench_<library> --input <case> <size>    the document a reading case reads
// `--large` adds the sizes that take too long for a quick run (so does KORVATH_BENCH_LARGE=1).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "Cases.h"
#include "Modes.h"

namespace {

// Removes `--large` from the arguments; true when it was there or the environment asks for it.
bool TakeLargeFlag(int& argc, char** argv) {
  const char* environment = std::getenv("KORVATH_BENCH_LARGE");
  bool large = environment && std::strcmp(environment, "1") == 0;
  int kept = 0;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && std::strcmp(argv[i], "--large") == 0) {
      large = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return large;
}

// Keeps freed memory in the process, as a long-running client's allocator does once it is warm.
// Otherwise every iteration of a large document maps fresh pages and returns them: the kernel's
// page faults then take most of the time, and on a virtual machine they vary from run to run by
// a factor of five, for every library alike.
void KeepFreedMemory() {
  mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest glibc allows
  mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
}

int RunBenchmarks(int argc, char** argv, bool large) {
  KeepFreedMemory();
  for (bench::CaseBase* documentCase : bench::DocumentCases()) {
    if (!documentCase->Library().empty()) documentCase->RegisterBenchmarks(large);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool large = TakeLargeFlag(argc, argv);
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--results" && argc == 2) return bench::PrintDigests(large);
  if (argc == 4) {
    const std::string caseName = argv[2];
    const size_t size = std::strtoull(argv[3], nullptr, 10);
    if (mode == "--result") return bench::PrintResult(caseName, size);
    if (mode == "--memory") return bench::PrintPeakMemory(caseName, size);
    if (mode == "--input") return bench::PrintInput(caseName, size);
  }
  return RunBenchmarks(argc, argv, large);
}
