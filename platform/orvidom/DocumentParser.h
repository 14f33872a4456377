// The parser of XML text into a document's store. Internal to the DOM layer.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

struct ORVIDOM_Store;

namespace orvidom {

// Parses `xml`, UTF-8 XML 1.0 without a document type declaration, into a new document's store:
// every rule is checked and the tree built in one pass over the input, read where it lies but for
// its last bytes, or, where `window` is given, over a copy of it `window` bytes at a time (the
// size changes nothing in what is read, only how much of the input is copied at once). Throws
// ORVIDOM_ParseError at the first problem.
std::shared_ptr<ORVIDOM_Store> parseDocument(std::string_view xml,
                                             std::optional<std::size_t> window = std::nullopt);

}  // namespace orvidom
