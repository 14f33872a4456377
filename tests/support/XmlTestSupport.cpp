#include "support/XmlTestSupport.h"

#include <algorithm>
#include <vector>

namespace xmltest {

namespace {

bool isLayout(const ORVIDOM_Node& n) {
  if (n.getNodeType() != ORVIDOM_Node::TEXT_NODE) return false;
  return n.getNodeValue().str().find_first_not_of(" \t\r\n") == std::string::npos;
}

std::vector<ORVIDOM_Node> childrenOf(const ORVIDOM_Node& n, bool skipLayout) {
  std::vector<ORVIDOM_Node> out;
  for (ORVIDOM_Node c = n.getFirstChild(); !c.isNull(); c = c.getNextSibling()) {
    if (!(skipLayout && isLayout(c))) out.push_back(c);
  }
  return out;
}

std::string describe(const ORVIDOM_Node& n) {
  if (n.isNull()) return "(nothing)";
  if (n.getNodeType() == ORVIDOM_Node::ELEMENT_NODE) return "<" + n.getNodeName().str() + ">";
  return n.getNodeName().str() + " \"" + n.getNodeValue().str() + "\"";
}

// Compares without recursion, so deep trees are fine; returns the first difference.
std::string firstDifference(const ORVIDOM_Node& actualRoot, const ORVIDOM_Node& expectedRoot) {
  std::vector<std::pair<ORVIDOM_Node, ORVIDOM_Node>> work{{actualRoot, expectedRoot}};
  while (!work.empty()) {
    auto [a, e] = work.back();
    work.pop_back();
    const std::string where = describe(e);
    if (a.getNodeType() != e.getNodeType() || a.getNodeName() != e.getNodeName()) {
      return "expected " + where + ", got " + describe(a);
    }
    if (a.getNodeValue() != e.getNodeValue()) {
      return "expected " + where + ", got " + describe(a);
    }
    ORVIDOM_NamedNodeMap aa = a.getAttributes(), ea = e.getAttributes();
    std::string attrs;
    for (unsigned long i = 0; i < std::max(aa.getLength(), ea.getLength()); ++i) {
      ORVIDOM_Node x = aa.item(i), y = ea.item(i);
      if (x.getNodeName() != y.getNodeName() || x.getNodeValue() != y.getNodeValue()) {
        return "in " + where + " attribute " + std::to_string(i) + ": expected " +
               y.getNodeName().str() + "=\"" + y.getNodeValue().str() + "\", got " +
               x.getNodeName().str() + "=\"" + x.getNodeValue().str() + "\"";
      }
    }
    std::vector<ORVIDOM_Node> ac = childrenOf(a, false), ec = childrenOf(e, true);
    for (std::size_t i = 0; i < std::max(ac.size(), ec.size()); ++i) {
      if (i >= ac.size() || i >= ec.size()) {
        return "in " + where + " child " + std::to_string(i) + ": expected " +
               (i < ec.size() ? describe(ec[i]) : "no more children") + ", got " +
               (i < ac.size() ? describe(ac[i]) : "no more children");
      }
    }
    for (std::size_t i = ac.size(); i-- > 0;) work.emplace_back(ac[i], ec[i]);
  }
  return {};
}

}  // namespace

::testing::AssertionResult SameTree(const ORVIDOM_Node& actual, std::string_view expectedXml) {
  if (actual.isNull()) return ::testing::AssertionFailure() << "the actual node is null";
  const std::string diff = firstDifference(actual, Parse(expectedXml));
  if (diff.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << diff << "\nactual XML: " << ORVIDOM_Writer::toString(actual);
}

ORVIDOM_Element RoundTrip(const ORVIDOM_Node& element) {
  return Parse(ORVIDOM_Writer::toString(element));
}

ORVIDOM_Element Parse(std::string_view xml) {
  return ORVIDOM_Parser::parseString(xml).getDocumentElement();
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
