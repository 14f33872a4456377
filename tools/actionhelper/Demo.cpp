#include "Demo.h"

#include <Korvath_ActionHelper.h>

void runDemo(const std::string& examplesDir, std::ostream& out) {
  out << "== metadata request: make, write, parse\n";
  QsMetadataRequestHelper request;
  request.SetMetadataClass("table");
  request.SetDepth(2);
  request.AddProperty("name");
  ORVIDOM_Element elem;
  request.Make(elem);
  const std::string xml = ORVIDOM_Writer::toString(elem, {true, false});
  out << xml << "\n";
  out << "parsed back: " << ORVIDOM_Parser::parseString(xml).getDocumentElement().getTagName()
      << "\n";
  (void)examplesDir;
}
