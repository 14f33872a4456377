#include "Case.h"

#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>

namespace bench {

const char* const kReferenceLibrary = "pugixml";

int LibraryRank(const std::string& library) {
  static const char* const kOrder[] = {"pugixml", "libxml2", "xerces", "helper"};
  for (int i = 0; i < 4; ++i) {
    if (library == kOrder[i]) return i;
  }
  return 4;
}

size_t CountElements(const std::string& xml) {
  pugi::xml_document doc;
  if (!doc.load_buffer(xml.data(), xml.size())) {
    std::fprintf(stderr, "bench: a reference document is not well-formed\n");
    std::exit(2);
  }
  struct Counter : pugi::xml_tree_walker {
    size_t count = 0;
    bool for_each(pugi::xml_node& node) override {
      count += node.type() == pugi::node_element;
      return true;
    }
  } counter;
  doc.traverse(counter);
  return counter.count;
}

void FailMismatch(const std::string& benchmark, const Result& got, const Result& expected) {
  size_t at = 0;
  while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
  size_t from = at < 60 ? 0 : at - 60;
  std::fprintf(stderr,
               "bench: %s does not give the reference result (%zu vs %zu bytes), first "
               "difference at byte %zu:\n  got:      ...%s\n  expected: ...%s\n",
               benchmark.c_str(), got.size(), expected.size(), at, got.substr(from, 120).c_str(),
               expected.substr(from, 120).c_str());
  std::exit(1);
}

}  // namespace bench
