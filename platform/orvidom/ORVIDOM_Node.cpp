#include "orvidom/ORVIDOM_Node.h"

#include <string>

#include "orvidom/ORVIDOM_Attr.h"
#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/XmlChars.h"

using orvidom::Index;
using Ex = ORVIDOM_DOMException;

ORVIDOM_DOMException::ORVIDOM_DOMException(ExceptionCode code, std::string message)
    : m_code(code), m_message(std::move(message)) {}

namespace orvidom {

void throwInvalidText(std::size_t at, const char* what) {
  throw Ex(Ex::INVALID_CHARACTER_ERR, std::string(what) + " holds a character XML cannot carry" +
                                          " (invalid UTF-8 or a control character) at byte " +
                                          std::to_string(at));
}

void throwInvalidName(std::string_view name, const char* what) {
  throw Ex(Ex::INVALID_CHARACTER_ERR,
           std::string(what) + " \"" + std::string(name) + "\" is not an XML name");
}

}  // namespace orvidom

namespace {

void requireNode(const ORVIDOM_Node& n, const char* operation) {
  if (n.isNull()) throw Ex(Ex::NOT_FOUND_ERR, std::string(operation) + " on a null node");
}

// Checks what W3C requires before `child` joins `parent`'s children.
void requireInsertable(const ORVIDOM_Node& parent, const ORVIDOM_Node& child, const char* op) {
  requireNode(parent, op);
  if (child.isNull()) {
    throw Ex(Ex::HIERARCHY_REQUEST_ERR, std::string(op) + " with a null child");
  }
  if (ORVIDOM_Access::store(parent) != ORVIDOM_Access::store(child)) {
    throw Ex(Ex::WRONG_DOCUMENT_ERR,
             std::string(op) + ": the node belongs to another document; import it first");
  }
  const unsigned short pt = parent.getNodeType();
  const unsigned short ct = child.getNodeType();
  const bool parentTakesChildren =
      pt == ORVIDOM_Node::ELEMENT_NODE || pt == ORVIDOM_Node::DOCUMENT_NODE;
  const bool childMayMove = ct != ORVIDOM_Node::ATTRIBUTE_NODE && ct != ORVIDOM_Node::DOCUMENT_NODE;
  const bool textUnderDocument =
      pt == ORVIDOM_Node::DOCUMENT_NODE &&
      (ct == ORVIDOM_Node::TEXT_NODE || ct == ORVIDOM_Node::CDATA_SECTION_NODE);
  if (!parentTakesChildren || !childMayMove || textUnderDocument) {
    throw Ex(Ex::HIERARCHY_REQUEST_ERR,
             std::string(op) + ": a " + child.getNodeName().str() + " node cannot be a child of " +
                 (pt == ORVIDOM_Node::DOCUMENT_NODE ? "a document" : "this node"));
  }
  if (ORVIDOM_Access::store(child)->holds(ORVIDOM_Access::index(child),
                                          ORVIDOM_Access::index(parent))) {
    throw Ex(Ex::HIERARCHY_REQUEST_ERR,
             std::string(op) + ": a node cannot become a child of itself or of its descendant");
  }
}

void requireChildOf(const ORVIDOM_Node& parent, const ORVIDOM_Node& child, const char* op) {
  requireNode(parent, op);
  if (child.isNull() || ORVIDOM_Access::isAttribute(child) || ORVIDOM_Access::isAttribute(parent) ||
      ORVIDOM_Access::store(parent) != ORVIDOM_Access::store(child) ||
      ORVIDOM_Access::store(child)->nodes[ORVIDOM_Access::index(child)].parent !=
          ORVIDOM_Access::index(parent)) {
    throw Ex(Ex::NOT_FOUND_ERR, std::string(op) + ": the node is not a child of this node");
  }
}

}  // namespace

ORVIDOM_Node::ORVIDOM_Node(std::shared_ptr<ORVIDOM_Store> store, std::uint32_t node,
                           std::uint32_t attr) noexcept
    : m_store(std::move(store)), m_node(node), m_attr(attr) {}

unsigned short ORVIDOM_Node::getNodeType() const noexcept {
  if (m_attr) return ATTRIBUTE_NODE;
  if (!m_node) return 0;
  switch (m_store->nodes[m_node].attributeOrKind) {
    case orvidom::kKindText:
      return TEXT_NODE;
    case orvidom::kKindCData:
      return CDATA_SECTION_NODE;
    case orvidom::kKindComment:
      return COMMENT_NODE;
    case orvidom::kKindDocument:
      return DOCUMENT_NODE;
    default:
      return ELEMENT_NODE;
  }
}

I18NString ORVIDOM_Node::getNodeName() const {
  if (m_attr) return I18NString(m_store->text(m_store->attrs[m_attr].name));
  switch (getNodeType()) {
    case ELEMENT_NODE:
      return I18NString(m_store->textOf(m_node));
    case TEXT_NODE:
      return I18NString("#text");
    case CDATA_SECTION_NODE:
      return I18NString("#cdata-section");
    case COMMENT_NODE:
      return I18NString("#comment");
    case DOCUMENT_NODE:
      return I18NString("#document");
    default:
      return I18NString();
  }
}

I18NString ORVIDOM_Node::getNodeValue() const {
  if (m_attr) return I18NString(m_store->text(m_store->attrs[m_attr].value));
  const unsigned short type = getNodeType();
  if (type == TEXT_NODE || type == CDATA_SECTION_NODE || type == COMMENT_NODE) {
    return I18NString(m_store->textOf(m_node));
  }
  return I18NString();
}

void ORVIDOM_Node::setNodeValue(const I18NString& value) const {
  requireNode(*this, "setNodeValue");
  const unsigned short type = getNodeType();
  if (type == ELEMENT_NODE || type == DOCUMENT_NODE) return;
  orvidom::requireXmlText(value.str(), "a node value");
  if (type == COMMENT_NODE && (value.str().find("--") != std::string::npos ||
                               (!value.empty() && value.str().back() == '-'))) {
    throw Ex(Ex::INVALID_CHARACTER_ERR, R"(a comment cannot hold "--" or end in "-")");
  }
  // A new string: the old one may be shared with a copy of the node.
  const orvidom::TextRef text = m_store->addText(value.str());
  if (m_attr) {
    m_store->attrs[m_attr].value = text;
  } else {
    m_store->nodes[m_node].text = text;
  }
}

ORVIDOM_Node ORVIDOM_Node::getParentNode() const noexcept {
  if (!m_node || m_attr) return {};
  return ORVIDOM_Access::node(m_store, m_store->nodes[m_node].parent);
}

ORVIDOM_Node ORVIDOM_Node::getFirstChild() const noexcept {
  if (!m_node || m_attr) return {};
  return ORVIDOM_Access::node(m_store, m_store->nodes[m_node].firstChild);
}

ORVIDOM_Node ORVIDOM_Node::getLastChild() const noexcept {
  if (!m_node || m_attr) return {};
  return ORVIDOM_Access::node(m_store, m_store->lastChild(m_node));
}

ORVIDOM_Node ORVIDOM_Node::getNextSibling() const noexcept {
  if (!m_node || m_attr) return {};
  return ORVIDOM_Access::node(m_store, m_store->nodes[m_node].next);
}

ORVIDOM_Node ORVIDOM_Node::getPreviousSibling() const noexcept {
  if (!m_node || m_attr) return {};
  return ORVIDOM_Access::node(m_store, m_store->previousSibling(m_node));
}

ORVIDOM_NodeList ORVIDOM_Node::getChildNodes() const {
  std::vector<Index> nodes;
  if (m_node && !m_attr) {
    for (Index c = m_store->nodes[m_node].firstChild; c; c = m_store->nodes[c].next) {
      nodes.push_back(c);
    }
  }
  return ORVIDOM_Access::list(m_store, std::move(nodes));
}

ORVIDOM_NamedNodeMap ORVIDOM_Node::getAttributes() const {
  std::vector<Index> attrs;
  if (m_node && !m_attr) {
    for (Index a = m_store->nodes[m_node].firstAttribute(); a; a = m_store->attrs[a].next) {
      attrs.push_back(a);
    }
  }
  return ORVIDOM_Access::map(m_store, m_attr ? 0 : m_node, std::move(attrs));
}

ORVIDOM_Document ORVIDOM_Node::getOwnerDocument() const noexcept {
  if (!m_node || (!m_attr && m_node == orvidom::kDocumentNode)) return {};
  return ORVIDOM_Access::node(m_store, orvidom::kDocumentNode);
}

ORVIDOM_Node ORVIDOM_Node::appendChild(const ORVIDOM_Node& newChild) const {
  requireInsertable(*this, newChild, "appendChild");
  m_store->detach(newChild.m_node);
  m_store->append(m_node, newChild.m_node);
  return newChild;
}

ORVIDOM_Node ORVIDOM_Node::insertBefore(const ORVIDOM_Node& newChild,
                                        const ORVIDOM_Node& refChild) const {
  if (refChild.isNull()) return appendChild(newChild);
  requireChildOf(*this, refChild, "insertBefore");
  requireInsertable(*this, newChild, "insertBefore");
  if (newChild == refChild) return newChild;
  m_store->detach(newChild.m_node);
  m_store->insertBefore(m_node, newChild.m_node, refChild.m_node);
  return newChild;
}

ORVIDOM_Node ORVIDOM_Node::removeChild(const ORVIDOM_Node& oldChild) const {
  requireChildOf(*this, oldChild, "removeChild");
  m_store->detach(oldChild.m_node);
  return oldChild;
}

ORVIDOM_Node ORVIDOM_Node::replaceChild(const ORVIDOM_Node& newChild,
                                        const ORVIDOM_Node& oldChild) const {
  requireChildOf(*this, oldChild, "replaceChild");
  requireInsertable(*this, newChild, "replaceChild");
  if (newChild == oldChild) return oldChild;
  m_store->detach(newChild.m_node);
  m_store->insertBefore(m_node, newChild.m_node, oldChild.m_node);
  m_store->detach(oldChild.m_node);
  return oldChild;
}

ORVIDOM_Node ORVIDOM_Node::cloneNode(bool deep) const {
  requireNode(*this, "cloneNode");
  return getOwnerDocument().importNode(*this, deep);
}

ORVIDOM_Node ORVIDOM_NodeList::item(unsigned long index) const noexcept {
  if (!m_nodes || index >= m_nodes->size()) return {};
  return ORVIDOM_Access::node(m_store, (*m_nodes)[index]);
}

ORVIDOM_Node ORVIDOM_NamedNodeMap::item(unsigned long index) const noexcept {
  if (!m_attrs || index >= m_attrs->size()) return {};
  return ORVIDOM_Access::attribute(m_store, m_owner, (*m_attrs)[index]);
}

ORVIDOM_Node ORVIDOM_NamedNodeMap::getNamedItem(const I18NString& name) const {
  if (!m_attrs) return {};
  const orvidom::NameMatcher wanted(name.str());
  for (const Index a : *m_attrs) {
    if (wanted.matches(m_store->text(m_store->attrs[a].name))) {
      return ORVIDOM_Access::attribute(m_store, m_owner, a);
    }
  }
  return {};
}

ORVIDOM_Element ORVIDOM_Attr::getOwnerElement() const noexcept {
  if (!m_attr) return {};
  // A removed attribute belongs to no element any more.
  for (Index a = m_store->nodes[m_node].firstAttribute(); a; a = m_store->attrs[a].next) {
    if (a == m_attr) return ORVIDOM_Access::node(m_store, m_node);
  }
  return {};
}
