#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace fuzz {

namespace {

bool isText(const ORVIDOM_Node& n) {
  return n.getNodeType() == ORVIDOM_Node::TEXT_NODE ||
         n.getNodeType() == ORVIDOM_Node::CDATA_SECTION_NODE;
}

// The children of `n`, each run of adjacent text and CDATA nodes as one text: a CDATA section
// holding "]]>" or a carriage return is written as several sections with text between them,
// which reads back as the same text over several nodes.
struct Child {
  ORVIDOM_Node node;
  std::string text;
};

std::vector<Child> childrenOf(const ORVIDOM_Node& n) {
  std::vector<Child> out;
  bool inText = false;
  for (ORVIDOM_Node c = n.getFirstChild(); !c.isNull(); c = c.getNextSibling()) {
    if (isText(c) && inText) {
      out.back().text += c.getNodeValue().str();
      continue;
    }
    inText = isText(c);
    out.push_back({c, inText ? c.getNodeValue().str() : std::string()});
  }
  return out;
}

}  // namespace

std::string FirstDifference(const ORVIDOM_Node& aRoot, const ORVIDOM_Node& bRoot) {
  std::vector<std::pair<ORVIDOM_Node, ORVIDOM_Node>> work{{aRoot, bRoot}};
  while (!work.empty()) {
    auto [a, b] = work.back();
    work.pop_back();
    if (a.getNodeType() != b.getNodeType() || a.getNodeName() != b.getNodeName() ||
        a.getNodeValue() != b.getNodeValue()) {
      return "node " + a.getNodeName().str() + " differs from " + b.getNodeName().str();
    }
    ORVIDOM_NamedNodeMap aa = a.getAttributes(), ba = b.getAttributes();
    if (aa.getLength() != ba.getLength()) return "attribute count of " + a.getNodeName().str();
    for (unsigned long i = 0; i < aa.getLength(); ++i) {
      if (aa.item(i).getNodeName() != ba.item(i).getNodeName() ||
          aa.item(i).getNodeValue() != ba.item(i).getNodeValue()) {
        return "attribute " + aa.item(i).getNodeName().str() + " of " + a.getNodeName().str();
      }
    }
    std::vector<Child> ac = childrenOf(a), bc = childrenOf(b);
    if (ac.size() != bc.size()) return "child count of " + a.getNodeName().str();
    for (std::size_t i = ac.size(); i-- > 0;) {
      if (isText(ac[i].node) != isText(bc[i].node) || ac[i].text != bc[i].text) {
        return "text in " + a.getNodeName().str();
      }
      if (!isText(ac[i].node)) work.emplace_back(ac[i].node, bc[i].node);
    }
  }
  return {};
}

void Check(bool ok, const std::string& what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::abort();
}

std::uint8_t Bytes::byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

std::string Bytes::string() {
  const std::size_t length = std::min<std::size_t>(byte() % 33, m_size - std::min(m_pos, m_size));
  std::string out(reinterpret_cast<const char*>(m_data + std::min(m_pos, m_size)), length);
  m_pos += length;
  return out;
}

ORVIDOM_Element ParseElement(const std::uint8_t* data, std::size_t size) {
  ORVIDOM_Element root;
  Allowed([&] {
    root = ORVIDOM_Parser::parseString(std::string_view(reinterpret_cast<const char*>(data), size))
               .getDocumentElement();
  });
  return root;
}

}  // namespace fuzz
