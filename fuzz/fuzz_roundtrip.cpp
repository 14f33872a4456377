// Parses the input, writes it and parses the result: the second parse must succeed and give the
// same tree. With indentation the second parse must succeed too.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ORVIDOM_Element root = fuzz::ParseElement(data, size);
  if (root.isNull()) return 0;
  const ORVIDOM_Document doc = root.getOwnerDocument();
  const std::string written = ORVIDOM_Writer::toString(doc);
  ORVIDOM_Document again;
  try {
    again = ORVIDOM_Parser::parseString(written);
  } catch (const ORVIDOM_ParseError& e) {
    fuzz::Check(false, std::string("the written document does not parse: ") + e.what());
  }
  const std::string diff =
      fuzz::FirstDifference(doc.getDocumentElement(), again.getDocumentElement());
  fuzz::Check(diff.empty(), "the tree read back differs: " + diff + "\n" + written);
  fuzz::Check(ORVIDOM_Writer::toString(again) == written, "writing twice differs");
  ORVIDOM_WriterOptions indented;
  indented.indent = true;
  try {
    ORVIDOM_Parser::parseString(ORVIDOM_Writer::toString(doc, indented));
  } catch (const ORVIDOM_ParseError& e) {
    fuzz::Check(false, std::string("the indented document does not parse: ") + e.what());
  }
  return 0;
}
