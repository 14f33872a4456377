// What a helper pays to name an element: a vocabulary entry after its first use, against a
// named constant of the helper's own file, when comparing a name read from a document.
#include <benchmark/benchmark.h>

#include "core/Vocabulary.h"

namespace {

// The vocabulary's entry "task".
constexpr unsigned kTaskEntry = 264;

const I18NString kElemTask("task");

// A name as it arrives from a document: its own buffer, equal to the entry.
I18NString ReadName() { return I18NString(std::string("task")); }

void GetResourceStringAfterFirstUse(benchmark::State& state) {
  if (GetResourceString(kTaskEntry) != "task") state.SkipWithError("entry 264 is not \"task\"");
  for (auto _ : state) benchmark::DoNotOptimize(&GetResourceString(kTaskEntry));
}
BENCHMARK(GetResourceStringAfterFirstUse)->Name("Vocabulary/GetResourceString");

void CompareWithVocabularyEntry(benchmark::State& state) {
  const I18NString name = ReadName();
  for (auto _ : state) {
    benchmark::DoNotOptimize(name);
    benchmark::DoNotOptimize(name == GetResourceString(kTaskEntry));
  }
}
BENCHMARK(CompareWithVocabularyEntry)->Name("Vocabulary/CompareWithVocabularyEntry");

void CompareWithNamedConstant(benchmark::State& state) {
  const I18NString name = ReadName();
  for (auto _ : state) {
    benchmark::DoNotOptimize(name);
    benchmark::DoNotOptimize(name == kElemTask);
  }
}
BENCHMARK(CompareWithNamedConstant)->Name("Vocabulary/CompareWithNamedConstant");

void CompareWithLiteral(benchmark::State& state) {
  const I18NString name = ReadName();
  for (auto _ : state) {
    benchmark::DoNotOptimize(name);
    benchmark::DoNotOptimize(name == "task");
  }
}
BENCHMARK(CompareWithLiteral)->Name("Vocabulary/CompareWithLiteral");

}  // namespace
