// The parser of XML text into a document's store. Internal to the DOM layer.
#pragma once

#include <string_view>

struct ORVIDOM_Store;

namespace orvidom {

// Parses `xml`, UTF-8 XML 1.0 without a document type declaration, into `store`, which holds
// only its document node: every rule is checked and the tree built in one pass over a copy of
// the input that the store keeps, the names and values of the tree pointing into it. Throws
// ORVIDOM_ParseError at the first problem.
void parseDocument(std::string_view xml, ORVIDOM_Store& store);

}  // namespace orvidom
