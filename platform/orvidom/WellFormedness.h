// The checks of XML 1.0 well-formedness that pugixml leaves out. Internal to the DOM layer.
#pragma once

#include <string_view>

namespace orvidom {

// Throws ORVIDOM_ParseError at the first problem pugixml would let through: invalid UTF-8 or a
// character XML does not allow, the same attribute twice, "<" in an attribute value, an entity
// reference other than the five predefined ones, a bad character reference, "]]>" in text,
// "--" in a comment, and anything but white space, comments and processing instructions outside
// the one root element. One pass over the input.
void checkWellFormedness(std::string_view xml);

// Throws ORVIDOM_ParseError with `message` and the line and column of `offset` in `xml`.
[[noreturn]] void throwParseError(std::string_view xml, std::size_t offset,
                                  const std::string& message);

}  // namespace orvidom
