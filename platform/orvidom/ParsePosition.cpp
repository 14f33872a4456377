#include "orvidom/ParsePosition.h"

#include <algorithm>

#include "orvidom/ORVIDOM_ParseError.h"

namespace orvidom {
namespace {

struct Place {
  int line;
  int column;
};

// Lines end at a line feed, a carriage return or both; columns count characters, and a byte
// order mark is no character of the first line.
Place placeOf(std::string_view xml, std::size_t offset) {
  std::size_t i = xml.substr(0, 3) == "\xEF\xBB\xBF" ? std::min<std::size_t>(3, offset) : 0;
  Place place{1, 1};
  std::size_t lineStart = i;
  for (; i < offset; ++i) {
    const char c = xml[i];
    if (c == '\n' || (c == '\r' && (i + 1 == xml.size() || xml[i + 1] != '\n'))) {
      ++place.line;
      lineStart = i + 1;
    }
  }
  for (std::size_t j = lineStart; j < offset; ++j) {
    if ((static_cast<unsigned char>(xml[j]) & 0xC0) != 0x80) ++place.column;
  }
  return place;
}

}  // namespace

std::string position(std::string_view xml, std::size_t offset) {
  const Place place = placeOf(xml, std::min(offset, xml.size()));
  return std::to_string(place.line) + ":" + std::to_string(place.column);
}

void throwParseError(std::string_view xml, std::size_t offset, const std::string& message) {
  offset = std::min(offset, xml.size());
  const Place place = placeOf(xml, offset);
  throw ORVIDOM_ParseError(message, place.line, place.column, offset);
}

}  // namespace orvidom
