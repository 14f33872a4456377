// The checks of XML 1.0 well-formedness that pugixml leaves out, made on the tree it has just
// parsed in place. Internal to the DOM layer.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace orvidom {

// What pugixml is asked to keep: every node, so that each can be checked, and every string
// as written, so that each can be checked before it is decoded.
constexpr unsigned kRawParseOptions = pugi::parse_cdata | pugi::parse_ws_pcdata |
                                      pugi::parse_comments | pugi::parse_pi |
                                      pugi::parse_declaration | pugi::parse_doctype;

// The zero bytes the parser's copy of the input has after its end, so that the checks may read
// sixteen bytes at a time without testing for the end.
constexpr std::size_t kBufferPadding = 16;

// Checks the tree pugixml parsed with kRawParseOptions from `buffer`, a copy of `xml` followed
// by kBufferPadding zero bytes (`nonAscii` when it holds a byte from 0x80), and
// finishes it: references replaced, line ends and attribute white space normalised, the text
// on either side of a comment or processing instruction joined, and comments, processing
// instructions and the XML declaration removed. Throws ORVIDOM_ParseError at the first problem
// found; every node is visited once and each string is read once more.
void checkParsedTree(std::string_view xml, char* buffer, bool nonAscii, pugi::xml_document& doc);

// Throws ORVIDOM_ParseError for input pugixml refused with `status` at `offset`, naming what is
// wrong as the input shows it.
[[noreturn]] void throwParseFailure(std::string_view xml, pugi::xml_parse_status status,
                                    std::size_t offset);

// Throws ORVIDOM_ParseError with `message` and the line and column of `offset` in `xml`.
[[noreturn]] void throwParseError(std::string_view xml, std::size_t offset,
                                  const std::string& message);

// The line and column, from 1, of `offset` in `xml` as "line:column".
std::string position(std::string_view xml, std::size_t offset);

}  // namespace orvidom
