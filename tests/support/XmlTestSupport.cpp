#include "support/XmlTestSupport.h"

#include <string>

#if defined(__linux__)
#include <sys/resource.h>
#endif

namespace xmltest {

::testing::AssertionResult SameTree(const ORVIDOM_Node& actual, std::string_view expectedXml) {
  if (actual.isNull()) return ::testing::AssertionFailure() << "the actual node is null";
  // Whitespace-only text of the expectation is layout: it goes before both trees are written.
  const ORVIDOM_Element expected = Parse(expectedXml);
  const ORVIDOM_NodeList elements = expected.getElementsByTagName("*");
  for (unsigned long i = 0; i <= elements.getLength(); ++i) {
    const ORVIDOM_Node parent = i == 0 ? ORVIDOM_Node(expected) : elements.item(i - 1);
    for (ORVIDOM_Node c = parent.getFirstChild(); !c.isNull();) {
      const ORVIDOM_Node next = c.getNextSibling();
      if (c.getNodeType() == ORVIDOM_Node::TEXT_NODE &&
          c.getNodeValue().str().find_first_not_of(" \t\r\n") == std::string::npos) {
        parent.removeChild(c);
      }
      c = next;
    }
  }
  const std::string want = ORVIDOM_Writer::toString(expected);
  const std::string got = ORVIDOM_Writer::toString(actual);
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected XML: " << want << "\nactual XML:   " << got;
}

ORVIDOM_Element RoundTrip(const ORVIDOM_Node& element) {
  return Parse(ORVIDOM_Writer::toString(element));
}

ORVIDOM_Element Parse(std::string_view xml) {
  return ORVIDOM_Parser::parseString(xml).getDocumentElement();
}

long PeakKilobytes() {
#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#else
  return -1;
#endif
}

ORVIDOM_Document NewDocument() {
  return ORVIDOM_DOMImplementation::getInstance().createDocument("", "requestDoc",
                                                                 ORVIDOM_DocumentType());
}

ORVIDOM_Element Made(const ActionHandlerBase& helper) {
  ORVIDOM_Element elem;
  helper.Make(elem);
  return elem;
}

ORVIDOM_Element Take(ActionHandlerBase& helper, std::string_view xml) {
  ORVIDOM_Element elem = Parse(xml);
  helper.Take(elem);
  return elem;
}

}  // namespace xmltest
