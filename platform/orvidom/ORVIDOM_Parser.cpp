#include "orvidom/ORVIDOM_Parser.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "orvidom/DocumentParser.h"
#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/ParsePosition.h"

namespace {

// Refuses text that starts as a document in UTF-16 or UTF-32 would, with or without a byte
// order mark, naming the encoding.
void refuseOtherEncodings(std::string_view xml) {
  struct Start {
    std::string_view bytes;
    const char* encoding;
  };
  using namespace std::string_view_literals;
  static constexpr Start kStarts[] = {
      {"\x00\x00\xFE\xFF"sv, "UTF-32 (big-endian)"},
      {"\xFF\xFE\x00\x00"sv, "UTF-32 (little-endian)"},
      {"\x00\x00\x00<"sv, "UTF-32 (big-endian)"},
      {"<\x00\x00\x00"sv, "UTF-32 (little-endian)"},
      {"\xFE\xFF"sv, "UTF-16 (big-endian)"},
      {"\xFF\xFE"sv, "UTF-16 (little-endian)"},
      {"\x00<\x00?"sv, "UTF-16 (big-endian)"},
      {"<\x00?\x00"sv, "UTF-16 (little-endian)"},
  };
  for (const Start& start : kStarts) {
    if (xml.substr(0, start.bytes.size()) == start.bytes) {
      orvidom::throwParseError(
          xml, 0, std::string("the document is in ") + start.encoding + "; only UTF-8 is accepted");
    }
  }
}

}  // namespace

ORVIDOM_Document ORVIDOM_Parser::parseString(std::string_view xml) {
  refuseOtherEncodings(xml);
  auto store = std::make_shared<ORVIDOM_Store>();
  orvidom::parseDocument(xml, *store);
  return ORVIDOM_Access::node(store, orvidom::kDocumentNode);
}

ORVIDOM_Document ORVIDOM_Parser::parseFile(const std::string& path) {
  auto cannotRead = [&path] {
    throw ORVIDOM_ParseError("cannot read the file " + path + ": " + std::strerror(errno), 0, 0, 0);
  };
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) cannotRead();
  std::string content;
  char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) content.append(chunk, n);
  // A directory opens on some systems and fails at the first read.
  if (std::ferror(file.get())) cannotRead();
  return parseString(content);
}
