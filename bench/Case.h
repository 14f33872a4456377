// A benchmark case: one document made or read by several libraries, each of which must give the
// same result byte for byte before it is timed.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace bench {

// What every path of a case must agree on: the written XML when the case makes a document, a
// digest of everything read when it reads one.
using Result = std::string;

// The input of a case that reads a document: the document's text.
struct XmlText {
  std::string xml;
};

// The number of elements in a well-formed document (the unit of "time per element").
size_t CountElements(const std::string& xml);

// Stops the process with the first difference between a path's result and the reference.
[[noreturn]] void FailMismatch(const std::string& benchmark, const Result& got,
                               const Result& expected);

// The part of a case that the benchmark main and the memory driver see.
class CaseBase {
 public:
  virtual ~CaseBase() = default;
  virtual const std::string& Name() const = 0;
  // One benchmark per size and path, size by size; the sizes marked large only when asked.
  virtual void RegisterBenchmarks(bool large) = 0;
  // Prepares the input of `size`, runs the path of `library` once between `beforeRun` and
  // `afterRun` and returns the element count; 0 when the case has no such path.
  virtual size_t RunOnce(const std::string& library, size_t size, void (*beforeRun)(),
                         void (*afterRun)()) = 0;
  // The document a reading case reads at `size`; empty for a case that makes its document.
  virtual std::string InputText(size_t size) = 0;
};

// The library whose result the others are checked against.
extern const char* const kReferenceLibrary;

// The order libraries are listed in (unknown names last, alphabetically).
int LibraryRank(const std::string& library);

template <class Input>
class Case : public CaseBase {
 public:
  using Prepare = Input (*)(size_t size);
  using Path = Result (*)(const Input& input);

  Case(std::string name, std::vector<size_t> sizes, std::vector<size_t> largeSizes, Prepare prepare)
      : name_(std::move(name)),
        sizes_(std::move(sizes)),
        largeSizes_(std::move(largeSizes)),
        prepare_(prepare) {}

  void AddPath(const std::string& library, Path path) { paths_[library] = path; }
  // Makes `library` the path the others are checked against, for a case pugixml has no path in.
  void SetReference(std::string library) { reference_ = std::move(library); }

  const std::string& Name() const override { return name_; }

  void RegisterBenchmarks(bool large) override;

  size_t RunOnce(const std::string& library, size_t size, void (*beforeRun)(),
                 void (*afterRun)()) override {
    auto path = paths_.find(library);
    if (path == paths_.end()) return 0;
    Input input = prepare_(size);
    beforeRun();
    Result result = path->second(input);
    afterRun();
    return Elements(input, result);
  }

  std::string InputText(size_t size) override {
    if constexpr (std::is_same_v<Input, XmlText>) {
      return prepare_(size).xml;
    } else {
      return std::string();
    }
  }

 private:
  struct Prepared {
    size_t size = 0;
    Input input;
    Result reference;
    size_t elements = 0;
  };

  static size_t Elements(const Input& input, const Result& result) {
    if constexpr (std::is_same_v<Input, XmlText>) {
      return CountElements(input.xml);
    } else {
      return CountElements(result);
    }
  }

  // Only the size being run is kept: benchmarks run size by size, and the largest inputs are big.
  const Prepared& PreparedFor(size_t size) {
    if (!prepared_ || prepared_->size != size) {
      prepared_.reset();
      auto next = std::make_unique<Prepared>();
      next->size = size;
      next->input = prepare_(size);
      next->reference = paths_.at(reference_)(next->input);
      next->elements = Elements(next->input, next->reference);
      prepared_ = std::move(next);
    }
    return *prepared_;
  }

  // The result is checked once before timing; a path that disagrees stops the whole run.
  void Run(benchmark::State& state, const std::string& name, Path path, size_t size) {
    const Prepared& prepared = PreparedFor(size);
    Result first = path(prepared.input);
    if (first != prepared.reference) FailMismatch(name, first, prepared.reference);
    for (auto _ : state) {
      Result result = path(prepared.input);
      benchmark::DoNotOptimize(result.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * prepared.elements));
    state.counters["elements"] = static_cast<double>(prepared.elements);
    state.counters["size"] = static_cast<double>(size);
  }

  std::string name_;
  std::vector<size_t> sizes_;
  std::vector<size_t> largeSizes_;
  Prepare prepare_;
  std::map<std::string, Path> paths_;
  std::string reference_ = kReferenceLibrary;
  std::unique_ptr<Prepared> prepared_;
};

template <class Input>
void Case<Input>::RegisterBenchmarks(bool large) {
  std::vector<std::pair<std::string, Path>> paths(paths_.begin(), paths_.end());
  std::stable_sort(paths.begin(), paths.end(), [](const auto& a, const auto& b) {
    return LibraryRank(a.first) < LibraryRank(b.first);
  });
  std::vector<size_t> sizes = sizes_;
  if (large) sizes.insert(sizes.end(), largeSizes_.begin(), largeSizes_.end());
  for (size_t size : sizes) {
    for (const auto& [library, path] : paths) {
      std::string name = name_ + "/" + library + "/" + std::to_string(size);
      benchmark::RegisterBenchmark(name.c_str(), [this, name, path = path,
                                                  size](benchmark::State& state) {
        Run(state, name, path, size);
      })->Unit(benchmark::kMicrosecond);
    }
  }
}

}  // namespace bench
