// Reads XML 1.0 text in UTF-8 into a document. Whitespace text is kept, names are taken as
// written (no namespace processing), and no DTD or external entity is ever processed.
#pragma once

#include <string>
#include <string_view>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Document.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_ParseError.h>

class KORVATH_API ORVIDOM_Parser {
 public:
  // The document the text holds; ORVIDOM_ParseError when it is not well-formed.
  static ORVIDOM_Document parseString(std::string_view xml);
  // The document the file holds; ORVIDOM_ParseError when it cannot be read or is not
  // well-formed.
  static ORVIDOM_Document parseFile(const std::string& path);
};
