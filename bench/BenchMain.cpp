// Runs the document cases and the vocabulary benchmarks. `--large` adds the sizes that take too
// long for a quick run (so does KORVATH_BENCH_LARGE=1).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <limits>

#include "Cases.h"

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

}  // namespace

int main(int argc, char** argv) {
  KeepFreedMemory();
  bool large = TakeLargeFlag(argc, argv);
  for (bench::CaseBase* documentCase : bench::DocumentCases()) {
    documentCase->RegisterBenchmarks(large);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
