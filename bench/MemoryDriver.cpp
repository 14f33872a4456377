// Peak memory of one path of one case, measured in a process of its own:
//   korvath_bench_memory <case> <library> <size>
// prints one JSON object. The peak resident set is reset after the input is prepared, so the
// figure is what the library needs beyond its input (the tree, the written string, the values
// read); the process's whole peak, input included, is given too, to set beside a tool that reads
// the same document from a file.
//   korvath_bench_memory <case> input <size>
// writes the document a reading case reads to standard output.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "Cases.h"

namespace {

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM").
long long StatusBytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == std::string(field) + ":") {
      long long kilobytes = 0;
      status >> kilobytes;
      return kilobytes * 1024;
    }
    status.ignore(1 << 20, '\n');
  }
  return -1;
}

long long g_baseline = 0;
long long g_peak = 0;
long long g_processPeak = 0;

void ResetPeak() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  g_baseline = StatusBytes("VmRSS");
}

// Read before the elements are counted, which parses the document once more.
void RecordPeak() {
  g_processPeak = StatusBytes("VmHWM");
  g_peak = g_processPeak - g_baseline;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s <case> <library> <size>\n", argv[0]);
    return 2;
  }
  const std::string caseName = argv[1], library = argv[2];
  const size_t size = std::strtoull(argv[3], nullptr, 10);
  for (bench::CaseBase* documentCase : bench::DocumentCases()) {
    if (documentCase->Name() != caseName) continue;
    if (library == "input") {
      const std::string text = documentCase->InputText(size);
      return text.empty() || std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ? 2
                                                                                             : 0;
    }
    size_t elements = documentCase->RunOnce(library, size, ResetPeak, RecordPeak);
    if (elements == 0) break;
    std::printf(
        "{\"case\": \"%s\", \"library\": \"%s\", \"size\": %zu, \"elements\": %zu, "
        "\"peak_bytes\": %lld, \"bytes_per_element\": %.1f, \"process_peak_bytes\": %lld}\n",
        caseName.c_str(), library.c_str(), size, elements, g_peak,
        static_cast<double>(g_peak) / elements, g_processPeak);
    return 0;
  }
  std::fprintf(stderr, "no path %s for case %s\n", library.c_str(), caseName.c_str());
  return 2;
}
