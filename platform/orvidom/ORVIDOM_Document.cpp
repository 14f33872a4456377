#include "orvidom/ORVIDOM_Document.h"

#include "orvidom/ORVIDOM_DOMImplementation.h"
#include "orvidom/ORVIDOM_Store.h"

using orvidom::Index;
using Ex = ORVIDOM_DOMException;

namespace {

void requireDocument(const ORVIDOM_Node& n, const char* op) {
  if (ORVIDOM_Access::nodeOnly(n) != orvidom::kDocumentNode) {
    throw Ex(Ex::NOT_SUPPORTED_ERR, std::string(op) + " on a handle that is no document");
  }
}

ORVIDOM_Node createValued(const ORVIDOM_Node& doc, orvidom::Kind kind, const I18NString& data,
                          const char* op) {
  requireDocument(doc, op);
  const auto& store = ORVIDOM_Access::store(doc);
  ORVIDOM_Node node = ORVIDOM_Access::node(store, store->newNode(0, kind));
  node.setNodeValue(data);
  return node;
}

}  // namespace

ORVIDOM_Element ORVIDOM_Document::getDocumentElement() const noexcept {
  if (ORVIDOM_Access::nodeOnly(*this) != orvidom::kDocumentNode) return {};
  for (Index c = m_store->nodes[m_node].firstChild; c; c = m_store->nodes[c].next) {
    if (m_store->nodes[c].isElement()) return ORVIDOM_Access::node(m_store, c);
  }
  return {};
}

ORVIDOM_Element ORVIDOM_Document::createElement(const I18NString& tagName) const {
  requireDocument(*this, "createElement");
  orvidom::requireXmlName(tagName.str(), "element name");
  return ORVIDOM_Access::node(m_store, m_store->newElement(tagName.str()));
}

ORVIDOM_Text ORVIDOM_Document::createTextNode(const I18NString& data) const {
  return createValued(*this, orvidom::kKindText, data, "createTextNode");
}

ORVIDOM_Node ORVIDOM_Document::createCDATASection(const I18NString& data) const {
  return createValued(*this, orvidom::kKindCData, data, "createCDATASection");
}

ORVIDOM_Node ORVIDOM_Document::createComment(const I18NString& data) const {
  return createValued(*this, orvidom::kKindComment, data, "createComment");
}

ORVIDOM_Node ORVIDOM_Document::importNode(const ORVIDOM_Node& node, bool deep) const {
  requireDocument(*this, "importNode");
  const unsigned short type = node.getNodeType();
  if (node.isNull() || type == ATTRIBUTE_NODE || type == DOCUMENT_NODE) {
    throw Ex(Ex::NOT_SUPPORTED_ERR, "importNode: only elements, texts and comments are imported");
  }
  const Index copy = m_store->copy(*ORVIDOM_Access::store(node), ORVIDOM_Access::index(node), deep);
  return ORVIDOM_Access::node(m_store, copy);
}

ORVIDOM_NodeList ORVIDOM_Document::getElementsByTagName(const I18NString& name) const {
  return ORVIDOM_Element(*this).getElementsByTagName(name);
}

ORVIDOM_Document ORVIDOM_DOMImplementation::createDocument(const I18NString& namespaceURI,
                                                           const I18NString& qualifiedName,
                                                           const ORVIDOM_DocumentType&) const {
  orvidom::requireXmlName(qualifiedName.str(), "element name");
  auto store = std::make_shared<ORVIDOM_Store>();
  const Index root = store->newElement(qualifiedName.str());
  store->append(orvidom::kDocumentNode, root);
  if (!namespaceURI.empty()) {
    const std::string& q = qualifiedName.str();
    const std::size_t colon = q.find(':');
    const std::string attr = colon == std::string::npos ? "xmlns" : "xmlns:" + q.substr(0, colon);
    orvidom::requireXmlText(namespaceURI.str(), "a namespace URI");
    store->addAttribute(root, store->addText(attr), store->addText(namespaceURI.str()));
  }
  return ORVIDOM_Access::node(store, orvidom::kDocumentNode);
}
