// The parser of XML text into a document's store. Internal to the DOM layer.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

struct ORVIDOM_Store;

namespace orvidom {

// Parses `xml`, UTF-8 XML 1.0 without a document type declaration, into `store`, which holds
// only its document node: every rule is checked and the tree built in one pass over a copy of
// the input that the store keeps, the names and values of the tree pointing into it. Throws
// ORVIDOM_ParseError at the first problem. The input is read `window` bytes at a time; the size
// changes nothing in what is read, only how much of the input is copied at once.
void parseDocument(std::string_view xml, ORVIDOM_Store& store,
                   std::size_t window = std::size_t{1} << 17);

// An empty store with room for every node and attribute a parse of `xml` may add.
std::shared_ptr<ORVIDOM_Store> storeFor(std::string_view xml);

}  // namespace orvidom
