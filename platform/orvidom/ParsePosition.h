// Where a problem lies in a parsed input, for ORVIDOM_ParseError. Internal to the DOM layer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvidom {

// The line and column, from 1, of `offset` in `xml` as "line:column".
std::string position(std::string_view xml, std::size_t offset);

// Throws ORVIDOM_ParseError with `message` and the line, column and offset of `offset` in `xml`
// (the end of the input when `offset` lies beyond it).
[[noreturn]] void throwParseError(std::string_view xml, std::size_t offset,
                                  const std::string& message);

// Where the parts of a parser report a problem in their input: each throws ORVIDOM_ParseError
// at the place given, with its line and column however the input was read.
class ParseErrors {
 public:
  [[noreturn]] virtual void fail(std::size_t offset, const std::string& message) const = 0;

 protected:
  ~ParseErrors() = default;
};

}  // namespace orvidom
