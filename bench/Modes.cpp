#include "Modes.h"

#include <malloc.h>

#include <cstdio>
#include <fstream>

#include "Cases.h"

namespace bench {
namespace {

// The case of that name with a path in this binary; null (after a message) otherwise.
CaseBase* FindCase(const std::string& name) {
  for (CaseBase* documentCase : DocumentCases()) {
    if (documentCase->Name() == name && !documentCase->Library().empty()) return documentCase;
  }
  std::fprintf(stderr, "bench: this binary has no path for case %s\n", name.c_str());
  return nullptr;
}

std::string DigestOf(const Result& result) {
  Digest digest;
  digest.Add(result);
  return digest.Text();
}

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
long long g_processPeak = 0;

void ResetPeak() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  g_baseline = StatusBytes("VmRSS");
}

// Read before the elements are counted.
void RecordPeak() { g_processPeak = StatusBytes("VmHWM"); }

}  // namespace

int PrintDigests(bool large) {
  for (CaseBase* documentCase : DocumentCases()) {
    if (documentCase->Library().empty()) continue;
    for (size_t size : documentCase->Sizes(large)) {
      std::printf("%s\t%s\n", documentCase->BenchmarkName(size).c_str(),
                  DigestOf(documentCase->CheckedResult(size)).c_str());
      std::fflush(stdout);
    }
  }
  return 0;
}

int PrintResult(const std::string& caseName, size_t size) {
  CaseBase* documentCase = FindCase(caseName);
  if (!documentCase) return 3;
  const Result result = documentCase->CheckedResult(size);
  return std::fwrite(result.data(), 1, result.size(), stdout) == result.size() ? 0 : 2;
}

int PrintPeakMemory(const std::string& caseName, size_t size) {
  CaseBase* documentCase = FindCase(caseName);
  if (!documentCase) return 3;
  const size_t elements = documentCase->RunOnce(size, ResetPeak, RecordPeak);
  const long long peak = g_processPeak - g_baseline;
  std::printf(
      "{\"case\": \"%s\", \"library\": \"%s\", \"size\": %zu, \"elements\": %zu, "
      "\"peak_bytes\": %lld, \"bytes_per_element\": %.1f, \"process_peak_bytes\": %lld}\n",
      caseName.c_str(), documentCase->Library().c_str(), size, elements, peak,
      static_cast<double>(peak) / elements, g_processPeak);
  return 0;
}

int PrintInput(const std::string& caseName, size_t size) {
  for (CaseBase* documentCase : DocumentCases()) {
    if (documentCase->Name() != caseName) continue;
    const std::string text = documentCase->InputText(size);
    return !text.empty() && std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 2;
  }
  return 2;
}

}  // namespace bench
