// The XML declaration. Internal to the DOM layer.
#pragma once

#include <string_view>

#include "orvidom/ParsePosition.h"
#include "orvidom/ParseWindow.h"

namespace orvidom {

// Checks the XML declaration at `p` in `window`, "<?xml" at the start of the input: version, then
// optional encoding (UTF-8 alone is accepted), then optional standalone, with their exact
// syntax. Returns the end of the declaration; reports the first problem to `errors`, or throws
// NeedMore when the window ends first.
const char* checkXmlDeclaration(const ParseErrors& errors, const ParseWindow& window,
                                const char* p);

}  // namespace orvidom
