// Parsing alone with expat, the streaming reference: its callbacks count the elements when timed,
// and digest what they are given when checked, as the tree libraries' walks do.
#include <expat.h>

#include <cstdio>
#include <cstdlib>

#include "Cases.h"

namespace bench {
namespace {

void CountElement(void* count, const XML_Char*, const XML_Char**) {
  ++*static_cast<size_t*>(count);
}

// `attributes` holds names and values in turn, in document order, ending with a null.
void DigestElement(void* digest, const XML_Char* name, const XML_Char** attributes) {
  Digest& elements = *static_cast<Digest*>(digest);
  elements.Add(name);
  for (; *attributes; ++attributes) elements.Add(*attributes);
}

void Parse(const XmlText& input, XML_StartElementHandler startElement, void* userData) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, userData);
  XML_SetStartElementHandler(parser, startElement);
  if (XML_Parse(parser, input.xml.data(), static_cast<int>(input.xml.size()), XML_TRUE) !=
      XML_STATUS_OK) {
    std::fprintf(stderr, "bench: expat cannot parse the input: %s\n",
                 XML_ErrorString(XML_GetErrorCode(parser)));
    std::exit(2);
  }
  XML_ParserFree(parser);
}

Result ParseOnly(const XmlText& input) {
  size_t count = 0;
  Parse(input, CountElement, &count);
  benchmark::DoNotOptimize(count);
  return Result();
}

Result ParseAndDigest(const XmlText& input) {
  Digest digest;
  Parse(input, DigestElement, &digest);
  return digest.Text();
}

const bool kRegistered = (ParseCase().AddPath("expat", ParseOnly, ParseAndDigest), true);

}  // namespace
}  // namespace bench
