// Parsing alone: pugixml's load_buffer with its default options, the floor, against
// ORVIDOM_Parser::parseString, which checks everything XML 1.0 requires, on the query response
// of the QueryResponse case.
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <Korvath_ActionHelper.h>

#include "Cases.h"

namespace {

const std::string& QueryResponse() {
  static const std::string xml = bench::QueryResponseText(10000).xml;
  return xml;
}

void ParseWithPugixml(benchmark::State& state) {
  const std::string& xml = QueryResponse();
  for (auto _ : state) {
    pugi::xml_document doc;
    benchmark::DoNotOptimize(doc.load_buffer(xml.data(), xml.size()).status);
  }
}
BENCHMARK(ParseWithPugixml)->Name("Parse/pugixml/10000")->Unit(benchmark::kMicrosecond);

void ParseWithHelper(benchmark::State& state) {
  const std::string& xml = QueryResponse();
  for (auto _ : state) {
    ORVIDOM_Document doc = ORVIDOM_Parser::parseString(xml);
    benchmark::DoNotOptimize(doc.isNull());
  }
}
BENCHMARK(ParseWithHelper)->Name("Parse/helper/10000")->Unit(benchmark::kMicrosecond);

}  // namespace
