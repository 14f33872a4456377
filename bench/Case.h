// A benchmark case: one document made or read by several libraries. Each library's paths run in a
// benchmark binary of its own, so that one library's heap does not shape another's; bench/report
// checks that every path gives the same result, across the binaries, before it times them.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
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

// The number of start tags in a document without comments, CDATA or processing instructions (the
// unit of "time per element").
size_t CountElements(std::string_view xml);

// The part of a case that the binaries' modes see.
class CaseBase {
 public:
  virtual ~CaseBase() = default;
  virtual const std::string& Name() const = 0;
  // The library whose path this binary has for the case; empty when it has none.
  virtual const std::string& Library() const = 0;
  // The sizes the case is run at; the large ones only when asked.
  virtual std::vector<size_t> Sizes(bool large) const = 0;
  // "case/library/size", the name the benchmark and its result go by.
  std::string BenchmarkName(size_t size) const {
    return Name() + "/" + Library() + "/" + std::to_string(size);
  }
  // One benchmark per size.
  virtual void RegisterBenchmarks(bool large) = 0;
  // The result the path is checked by at `size`, computed untimed.
  virtual Result CheckedResult(size_t size) = 0;
  // Prepares the input of `size`, runs the timed path once between `beforeRun` and `afterRun` and
  // returns the element count.
  virtual size_t RunOnce(size_t size, void (*beforeRun)(), void (*afterRun)()) = 0;
  // The document a reading case reads at `size`; empty for a case that makes its document.
  virtual std::string InputText(size_t size) = 0;
};

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

  // Gives the case the binary's path: `path` is timed, `check` (the path itself when null) gives
  // the result the libraries must agree on.
  void AddPath(std::string library, Path path, Path check = nullptr) {
    library_ = std::move(library);
    path_ = path;
    check_ = check ? check : path;
  }

  const std::string& Name() const override { return name_; }
  const std::string& Library() const override { return library_; }

  std::vector<size_t> Sizes(bool large) const override {
    std::vector<size_t> sizes = sizes_;
    if (large) sizes.insert(sizes.end(), largeSizes_.begin(), largeSizes_.end());
    return sizes;
  }

  void RegisterBenchmarks(bool large) override {
    for (size_t size : Sizes(large)) {
      auto run = [this, size](benchmark::State& state) { Run(state, size); };
      benchmark::RegisterBenchmark(BenchmarkName(size).c_str(), run)->Unit(benchmark::kMicrosecond);
    }
  }

  Result CheckedResult(size_t size) override { return check_(prepare_(size)); }

  size_t RunOnce(size_t size, void (*beforeRun)(), void (*afterRun)()) override {
    Input input = prepare_(size);
    beforeRun();
    Result result = Call(path_, input);
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
    Input input;
    size_t elements = 0;
  };

  // The one call of a path that instruction counts are taken over, whatever the path is named.
  [[gnu::noinline]] static Result Call(Path path, const Input& input) { return path(input); }

  static size_t Elements(const Input& input, const Result& result) {
    if constexpr (std::is_same_v<Input, XmlText>) {
      return CountElements(input.xml);
    } else {
      return CountElements(result);
    }
  }

  // Every size stays prepared: the benchmarks run in random order, not size by size.
  const Prepared& PreparedFor(size_t size) {
    auto found = prepared_.find(size);
    if (found == prepared_.end()) {
      Prepared prepared{prepare_(size)};
      prepared.elements = Elements(prepared.input, path_(prepared.input));
      found = prepared_.emplace(size, std::move(prepared)).first;
    }
    return found->second;
  }

  void Run(benchmark::State& state, size_t size) {
    const Prepared& prepared = PreparedFor(size);
    for (auto _ : state) {
      Result result = path_(prepared.input);
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
  std::string library_;
  Path path_ = nullptr;
  Path check_ = nullptr;
  std::map<size_t, Prepared> prepared_;
};

}  // namespace bench
