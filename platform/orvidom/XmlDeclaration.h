// The XML declaration. Internal to the DOM layer.
#pragma once

#include <string_view>

#include "orvidom/ParseWindow.h"

namespace orvidom {

// Checks the XML declaration at `p` in `window`, "<?xml" at the start of the input `xml`:
// version, then optional encoding (UTF-8 alone is accepted), then optional standalone, with their
// exact syntax. Returns the end of the declaration; throws ORVIDOM_ParseError at the first
// problem, or NeedMore when the window ends first.
const char* checkXmlDeclaration(std::string_view xml, const ParseWindow& window, const char* p);

}  // namespace orvidom
