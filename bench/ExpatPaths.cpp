// expat, the streaming reference. Parsing alone: its callbacks count the elements when timed, and
// digest what they are given when checked, as the tree libraries' walks do. The query response
// read as it comes: its callbacks digest the feedback, data sources, columns and values as the
// helpers' readers give them.
#include <expat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// What the query response's callbacks have read: the native command text, the data sources and
// columns (digested as they come, as they come before the rows) and the values.
struct QueryResponseState {
  Digest digest;
  bool inCommandText = false;
  std::string commandText;
};

// The attribute `name`'s value, or "" when the element has none.
const char* AttributeOr(const XML_Char** attributes, const char* name) {
  for (; *attributes; attributes += 2) {
    if (std::strcmp(attributes[0], name) == 0) return attributes[1];
  }
  return "";
}

void QueryResponseStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& state = *static_cast<QueryResponseState*>(data);
  if (std::strcmp(name, "value") == 0) {
    state.digest.Add(AttributeOr(attributes, "v"));
  } else if (std::strcmp(name, "column") == 0) {
    for (const char* property : kColumnProperties)
      state.digest.Add(AttributeOr(attributes, property));
  } else if (std::strcmp(name, "connection") == 0) {
    for (const char* part : {"value", "catalog", "schema"}) {
      state.digest.Add(AttributeOr(attributes, part));
    }
  } else if (std::strcmp(name, "property") == 0) {
    state.inCommandText = std::strcmp(AttributeOr(attributes, "name"), "nativeCommandText") == 0;
  }
}

void QueryResponseEnd(void* data, const XML_Char* name) {
  auto& state = *static_cast<QueryResponseState*>(data);
  if (state.inCommandText && std::strcmp(name, "property") == 0) {
    state.digest.Add(state.commandText);
    state.inCommandText = false;
  }
}

void QueryResponseText(void* data, const XML_Char* text, int length) {
  auto& state = *static_cast<QueryResponseState*>(data);
  if (state.inCommandText) state.commandText.append(text, length);
}

void Parse(const XmlText& input, XML_StartElementHandler startElement, void* userData,
           XML_EndElementHandler endElement = nullptr,
           XML_CharacterDataHandler characters = nullptr) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, userData);
  XML_SetElementHandler(parser, startElement, endElement);
  XML_SetCharacterDataHandler(parser, characters);
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

Result StreamQueryResponse(const XmlText& input) {
  QueryResponseState state;
  Parse(input, QueryResponseStart, &state, QueryResponseEnd, QueryResponseText);
  return state.digest.Text();
}

const bool kRegistered = [] {
  ParseCase().AddPath("expat", ParseOnly, ParseAndDigest);
  StreamQueryResponseCase().AddPath("expat", StreamQueryResponse);
  return true;
}();

}  // namespace
}  // namespace bench
