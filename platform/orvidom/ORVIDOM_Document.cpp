#include "orvidom/ORVIDOM_Document.h"

#include "orvidom/ORVIDOM_DOMImplementation.h"
#include "orvidom/ORVIDOM_Store.h"

using Ex = ORVIDOM_DOMException;

namespace {

pugi::xml_node requireDocument(const ORVIDOM_Node& n, const char* op) {
  pugi::xml_node d = ORVIDOM_Access::pnode(n);
  if (ORVIDOM_Access::isAttribute(n) || d.type() != pugi::node_document) {
    throw Ex(Ex::NOT_SUPPORTED_ERR, std::string(op) + " on a handle that is no document");
  }
  return d;
}

// Copies the node itself, with its attributes but without its children.
pugi::xml_node shallowCopy(pugi::xml_node holder, pugi::xml_node source) {
  if (source.type() != pugi::node_element) return holder.append_copy(source);
  pugi::xml_node copy = holder.append_child(source.name());
  for (pugi::xml_attribute a = source.first_attribute(); a; a = a.next_attribute()) {
    copy.append_copy(a);
  }
  return copy;
}

}  // namespace

ORVIDOM_Element ORVIDOM_Document::getDocumentElement() const noexcept {
  if (ORVIDOM_Access::isAttribute(*this) || getNodeType() != DOCUMENT_NODE) return {};
  for (pugi::xml_node c = ORVIDOM_Access::pnode(*this).first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && c != m_store->holder) {
      return ORVIDOM_Access::node(m_store, c);
    }
  }
  return {};
}

ORVIDOM_Element ORVIDOM_Document::createElement(const I18NString& tagName) const {
  requireDocument(*this, "createElement");
  orvidom::requireXmlName(tagName.str(), "element name");
  return ORVIDOM_Access::node(m_store, m_store->holder.append_child(tagName.c_str()));
}

namespace {

ORVIDOM_Node createValued(const ORVIDOM_Node& doc, pugi::xml_node_type type, const I18NString& data,
                          const char* op) {
  requireDocument(doc, op);
  ORVIDOM_Node node = ORVIDOM_Access::node(ORVIDOM_Access::store(doc),
                                           ORVIDOM_Access::store(doc)->holder.append_child(type));
  node.setNodeValue(data);
  return node;
}

}  // namespace

ORVIDOM_Text ORVIDOM_Document::createTextNode(const I18NString& data) const {
  return createValued(*this, pugi::node_pcdata, data, "createTextNode");
}

ORVIDOM_Node ORVIDOM_Document::createCDATASection(const I18NString& data) const {
  return createValued(*this, pugi::node_cdata, data, "createCDATASection");
}

ORVIDOM_Node ORVIDOM_Document::createComment(const I18NString& data) const {
  return createValued(*this, pugi::node_comment, data, "createComment");
}

ORVIDOM_Node ORVIDOM_Document::importNode(const ORVIDOM_Node& node, bool deep) const {
  requireDocument(*this, "importNode");
  const unsigned short type = node.getNodeType();
  if (node.isNull() || type == ATTRIBUTE_NODE || type == DOCUMENT_NODE) {
    throw Ex(Ex::NOT_SUPPORTED_ERR, "importNode: only elements, texts and comments are imported");
  }
  pugi::xml_node source = ORVIDOM_Access::pnode(node);
  pugi::xml_node holder = m_store->holder;
  return ORVIDOM_Access::node(m_store,
                              deep ? holder.append_copy(source) : shallowCopy(holder, source));
}

ORVIDOM_NodeList ORVIDOM_Document::getElementsByTagName(const I18NString& name) const {
  return ORVIDOM_Element(*this).getElementsByTagName(name);
}

ORVIDOM_Document ORVIDOM_DOMImplementation::createDocument(const I18NString& namespaceURI,
                                                           const I18NString& qualifiedName,
                                                           const ORVIDOM_DocumentType&) const {
  orvidom::requireXmlName(qualifiedName.str(), "element name");
  auto store = std::make_shared<ORVIDOM_Store>();
  store->addHolder();
  pugi::xml_node root = store->doc.append_child(qualifiedName.c_str());
  if (!namespaceURI.empty()) {
    const std::string& q = qualifiedName.str();
    const std::size_t colon = q.find(':');
    const std::string attr = colon == std::string::npos ? "xmlns" : "xmlns:" + q.substr(0, colon);
    orvidom::requireXmlText(namespaceURI.str(), "a namespace URI");
    root.append_attribute(attr.c_str()).set_value(namespaceURI.c_str(), namespaceURI.length());
  }
  return ORVIDOM_Access::node(store, store->doc);
}
