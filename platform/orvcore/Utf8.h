// UTF-8 encoding, shared by the strings and the DOM layer. Internal to the library.
#pragma once

#include <cstdint>

namespace orvcore {

// Writes the code point `c` (at most U+10FFFF) in UTF-8 at `out`; returns the end of what was
// written (one to four bytes).
char* encodeUtf8(std::uint32_t c, char* out) noexcept;

}  // namespace orvcore
