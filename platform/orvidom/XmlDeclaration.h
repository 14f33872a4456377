// The XML declaration. Internal to the DOM layer.
#pragma once

#include <string_view>

namespace orvidom {

// Checks the XML declaration at `p`, "<?xml" at the start of the input `xml`, whose copy runs
// from `text` to `end` in the parser's buffer: version, then optional encoding (UTF-8 alone is
// accepted), then optional standalone, with their exact syntax. Returns the end of the
// declaration; throws ORVIDOM_ParseError at the first problem.
const char* checkXmlDeclaration(std::string_view xml, const char* p, const char* text,
                                const char* end);

}  // namespace orvidom
