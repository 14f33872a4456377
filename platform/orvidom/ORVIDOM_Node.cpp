#include "orvidom/ORVIDOM_Node.h"

#include <string>

#include "orvidom/ORVIDOM_Attr.h"
#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/XmlChars.h"

using orvidom::firstVisibleChild;
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
}

[[noreturn]] void throwAncestor(const char* op) {
  throw Ex(Ex::HIERARCHY_REQUEST_ERR,
           std::string(op) + ": a node cannot become a child of itself or of its descendant");
}

void requireChildOf(const ORVIDOM_Node& parent, const ORVIDOM_Node& child, const char* op) {
  requireNode(parent, op);
  if (child.isNull() || ORVIDOM_Access::isAttribute(child) ||
      ORVIDOM_Access::store(parent) != ORVIDOM_Access::store(child) ||
      ORVIDOM_Access::pnode(child).parent() != ORVIDOM_Access::pnode(parent)) {
    throw Ex(Ex::NOT_FOUND_ERR, std::string(op) + ": the node is not a child of this node");
  }
}

}  // namespace

ORVIDOM_Node::ORVIDOM_Node(std::shared_ptr<ORVIDOM_Store> store, pugi::xml_node_struct* node,
                           pugi::xml_attribute_struct* attr) noexcept
    : m_store(std::move(store)), m_node(node), m_attr(attr) {}

unsigned short ORVIDOM_Node::getNodeType() const noexcept {
  if (m_attr) return ATTRIBUTE_NODE;
  switch (pugi::xml_node(m_node).type()) {
    case pugi::node_element:
      return ELEMENT_NODE;
    case pugi::node_pcdata:
      return TEXT_NODE;
    case pugi::node_cdata:
      return CDATA_SECTION_NODE;
    case pugi::node_comment:
      return COMMENT_NODE;
    case pugi::node_document:
      return DOCUMENT_NODE;
    case pugi::node_pi:
    case pugi::node_declaration:
      return PROCESSING_INSTRUCTION_NODE;
    case pugi::node_doctype:
      return DOCUMENT_TYPE_NODE;
    default:
      return 0;
  }
}

I18NString ORVIDOM_Node::getNodeName() const {
  if (m_attr) return I18NString(pugi::xml_attribute(m_attr).name());
  switch (getNodeType()) {
    case ELEMENT_NODE:
    case PROCESSING_INSTRUCTION_NODE:
      return I18NString(pugi::xml_node(m_node).name());
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
  if (m_attr) return I18NString(pugi::xml_attribute(m_attr).value());
  switch (getNodeType()) {
    case TEXT_NODE:
    case CDATA_SECTION_NODE:
    case COMMENT_NODE:
    case PROCESSING_INSTRUCTION_NODE:
      return I18NString(pugi::xml_node(m_node).value());
    default:
      return I18NString();
  }
}

void ORVIDOM_Node::setNodeValue(const I18NString& value) const {
  requireNode(*this, "setNodeValue");
  const unsigned short type = getNodeType();
  if (type == ELEMENT_NODE || type == DOCUMENT_NODE || type == DOCUMENT_TYPE_NODE) return;
  orvidom::requireXmlText(value.str(), "a node value");
  if (type == COMMENT_NODE && (value.str().find("--") != std::string::npos ||
                               (!value.empty() && value.str().back() == '-'))) {
    throw Ex(Ex::INVALID_CHARACTER_ERR, R"(a comment cannot hold "--" or end in "-")");
  }
  if (m_attr) {
    pugi::xml_attribute(m_attr).set_value(value.c_str(), value.length());
  } else {
    pugi::xml_node(m_node).set_value(value.c_str(), value.length());
  }
}

ORVIDOM_Node ORVIDOM_Node::getParentNode() const noexcept {
  if (!m_node || m_attr) return {};
  pugi::xml_node p = pugi::xml_node(m_node).parent();
  if (p == m_store->holder) return {};
  return ORVIDOM_Access::node(m_store, p);
}

ORVIDOM_Node ORVIDOM_Node::getFirstChild() const noexcept {
  if (!m_node || m_attr) return {};
  return ORVIDOM_Access::node(m_store, firstVisibleChild(*m_store, pugi::xml_node(m_node)));
}

ORVIDOM_Node ORVIDOM_Node::getLastChild() const noexcept {
  if (!m_node || m_attr) return {};
  pugi::xml_node c = pugi::xml_node(m_node).last_child();
  if (c == m_store->holder) return {};
  return ORVIDOM_Access::node(m_store, c);
}

ORVIDOM_Node ORVIDOM_Node::getNextSibling() const noexcept {
  if (!m_node || m_attr) return {};
  pugi::xml_node n(m_node);
  if (n.parent() == m_store->holder) return {};
  return ORVIDOM_Access::node(m_store, n.next_sibling());
}

ORVIDOM_Node ORVIDOM_Node::getPreviousSibling() const noexcept {
  if (!m_node || m_attr) return {};
  pugi::xml_node n(m_node);
  if (n.parent() == m_store->holder) return {};
  pugi::xml_node s = n.previous_sibling();
  if (s == m_store->holder) return {};
  return ORVIDOM_Access::node(m_store, s);
}

ORVIDOM_NodeList ORVIDOM_Node::getChildNodes() const {
  std::vector<pugi::xml_node_struct*> nodes;
  if (m_node && !m_attr) {
    for (pugi::xml_node c = firstVisibleChild(*m_store, pugi::xml_node(m_node)); c;
         c = c.next_sibling()) {
      nodes.push_back(c.internal_object());
    }
  }
  return ORVIDOM_Access::list(m_store, std::move(nodes));
}

ORVIDOM_NamedNodeMap ORVIDOM_Node::getAttributes() const {
  std::vector<pugi::xml_attribute_struct*> attrs;
  pugi::xml_node n(m_node);
  if (!m_attr && n.type() == pugi::node_element) {
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
      attrs.push_back(a.internal_object());
    }
  }
  return ORVIDOM_Access::map(m_store, n, std::move(attrs));
}

ORVIDOM_Document ORVIDOM_Node::getOwnerDocument() const noexcept {
  if (!m_node || (!m_attr && getNodeType() == DOCUMENT_NODE)) return {};
  return ORVIDOM_Access::node(m_store, m_store->doc);
}

ORVIDOM_Node ORVIDOM_Node::appendChild(const ORVIDOM_Node& newChild) const {
  requireInsertable(*this, newChild, "appendChild");
  if (!pugi::xml_node(m_node).append_move(ORVIDOM_Access::pnode(newChild))) {
    throwAncestor("appendChild");
  }
  return newChild;
}

ORVIDOM_Node ORVIDOM_Node::insertBefore(const ORVIDOM_Node& newChild,
                                        const ORVIDOM_Node& refChild) const {
  if (refChild.isNull()) return appendChild(newChild);
  requireChildOf(*this, refChild, "insertBefore");
  requireInsertable(*this, newChild, "insertBefore");
  if (newChild == refChild) return newChild;
  if (!pugi::xml_node(m_node).insert_move_before(ORVIDOM_Access::pnode(newChild),
                                                 ORVIDOM_Access::pnode(refChild))) {
    throwAncestor("insertBefore");
  }
  return newChild;
}

ORVIDOM_Node ORVIDOM_Node::removeChild(const ORVIDOM_Node& oldChild) const {
  requireChildOf(*this, oldChild, "removeChild");
  // Detaching moves the node under the holder instead of destroying it: handles to it stay
  // valid, and a deep subtree is not torn down recursively.
  m_store->holder.append_move(ORVIDOM_Access::pnode(oldChild));
  return oldChild;
}

ORVIDOM_Node ORVIDOM_Node::replaceChild(const ORVIDOM_Node& newChild,
                                        const ORVIDOM_Node& oldChild) const {
  requireChildOf(*this, oldChild, "replaceChild");
  requireInsertable(*this, newChild, "replaceChild");
  if (newChild == oldChild) return oldChild;
  if (!pugi::xml_node(m_node).insert_move_before(ORVIDOM_Access::pnode(newChild),
                                                 ORVIDOM_Access::pnode(oldChild))) {
    throwAncestor("replaceChild");
  }
  m_store->holder.append_move(ORVIDOM_Access::pnode(oldChild));
  return oldChild;
}

ORVIDOM_Node ORVIDOM_Node::cloneNode(bool deep) const {
  requireNode(*this, "cloneNode");
  return getOwnerDocument().importNode(*this, deep);
}

ORVIDOM_Node ORVIDOM_NodeList::item(unsigned long index) const noexcept {
  if (!m_nodes || index >= m_nodes->size()) return {};
  return ORVIDOM_Access::node(m_store, pugi::xml_node((*m_nodes)[index]));
}

ORVIDOM_Node ORVIDOM_NamedNodeMap::item(unsigned long index) const noexcept {
  if (!m_attrs || index >= m_attrs->size()) return {};
  return ORVIDOM_Access::attribute(m_store, pugi::xml_node(m_owner),
                                   pugi::xml_attribute((*m_attrs)[index]));
}

ORVIDOM_Node ORVIDOM_NamedNodeMap::getNamedItem(const I18NString& name) const {
  if (!m_attrs) return {};
  for (pugi::xml_attribute_struct* a : *m_attrs) {
    if (name == pugi::xml_attribute(a).name()) {
      return ORVIDOM_Access::attribute(m_store, pugi::xml_node(m_owner), pugi::xml_attribute(a));
    }
  }
  return {};
}

ORVIDOM_Element ORVIDOM_Attr::getOwnerElement() const noexcept {
  if (!ORVIDOM_Access::isAttribute(*this)) return {};
  return ORVIDOM_Access::node(m_store, pugi::xml_node(m_node));
}
