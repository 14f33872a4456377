#include "orvidom/ORVIDOM_Parser.h"

#include <fstream>
#include <iterator>

#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/WellFormedness.h"

namespace {

// Whitespace-only text is kept and comments are read; no DTD is processed.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_escapes |
                                   pugi::parse_wconv_attribute | pugi::parse_eol |
                                   pugi::parse_ws_pcdata | pugi::parse_comments;

}  // namespace

ORVIDOM_Document ORVIDOM_Parser::parseString(std::string_view xml) {
  if (xml.substr(0, 3) == "\xEF\xBB\xBF") xml.remove_prefix(3);
  orvidom::checkWellFormedness(xml);
  auto store = std::make_shared<ORVIDOM_Store>();
  const pugi::xml_parse_result result =
      store->doc.load_buffer(xml.data(), xml.size(), kParseOptions, pugi::encoding_utf8);
  if (!result) {
    orvidom::throwParseError(xml, static_cast<std::size_t>(result.offset), result.description());
  }
  store->addHolder();
  return ORVIDOM_Access::node(store, store->doc);
}

ORVIDOM_Document ORVIDOM_Parser::parseFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string content;
  if (in) content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.is_open() || in.bad()) throw ORVIDOM_ParseError("cannot read the file " + path, 0, 0, 0);
  return parseString(content);
}
