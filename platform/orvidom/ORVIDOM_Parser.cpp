#include "orvidom/ORVIDOM_Parser.h"

#include "orvidom/DocumentParser.h"
#include "orvidom/FileSource.h"
#include "orvidom/ORVIDOM_Store.h"

ORVIDOM_Document ORVIDOM_Parser::parseString(std::string_view xml) {
  return ORVIDOM_Access::node(orvidom::parseDocument(xml), orvidom::kDocumentNode);
}

ORVIDOM_Document ORVIDOM_Parser::parseFile(const std::string& path) {
  return parseString(orvidom::FileSource(path).readAll());
}
