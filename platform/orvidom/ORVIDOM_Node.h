// A handle to a node of a DOM document. Handles are cheap values holding a shared reference to
// their document, so a node stays usable as long as any handle refers to its document. A default
// handle is null: navigation and getters on it give null handles, empty strings or 0, while
// changes through it throw ORVIDOM_DOMException. A handle's constness is the handle's own: a
// const handle still changes the node it refers to, as a const pointer would.
#pragma once

#include <cstdint>
#include <memory>

#include <Korvath_ActionHelper/orvcore/I18NString.h>

struct ORVIDOM_Store;
class ORVIDOM_Document;
class ORVIDOM_NodeList;
class ORVIDOM_NamedNodeMap;

class KORVATH_API ORVIDOM_Node {
 public:
  // Node types as in W3C DOM Level 2 Core.
  enum NodeType : unsigned short {
    ELEMENT_NODE = 1,
    ATTRIBUTE_NODE = 2,
    TEXT_NODE = 3,
    CDATA_SECTION_NODE = 4,
    PROCESSING_INSTRUCTION_NODE = 7,
    COMMENT_NODE = 8,
    DOCUMENT_NODE = 9,
    DOCUMENT_TYPE_NODE = 10,
  };

  // A null handle.
  ORVIDOM_Node() noexcept = default;

  // True for a handle that refers to no node.
  bool isNull() const noexcept { return m_node == 0; }
  // One of NodeType; 0 for a null handle.
  unsigned short getNodeType() const noexcept;
  // The tag or attribute name; "#text", "#cdata-section", "#comment" or "#document" otherwise.
  I18NString getNodeName() const;
  // The text of a text, CDATA, comment or attribute node; empty for the others.
  I18NString getNodeValue() const;
  // Sets the text of a text, CDATA, comment or attribute node; no effect on the others.
  void setNodeValue(const I18NString& value) const;

  // The parent; null for a document, an attribute and a node not attached to any parent.
  ORVIDOM_Node getParentNode() const noexcept;
  ORVIDOM_Node getFirstChild() const noexcept;
  ORVIDOM_Node getLastChild() const noexcept;
  ORVIDOM_Node getNextSibling() const noexcept;
  ORVIDOM_Node getPreviousSibling() const noexcept;
  // True when the node has at least one child.
  bool hasChildNodes() const noexcept { return !getFirstChild().isNull(); }
  // The children as they are now (later changes to the tree do not show in the list).
  ORVIDOM_NodeList getChildNodes() const;
  // An element's attributes in the order they were set or parsed; empty for other nodes.
  ORVIDOM_NamedNodeMap getAttributes() const;
  // The document the node belongs to; null for a document itself.
  ORVIDOM_Document getOwnerDocument() const noexcept;

  // Makes `newChild` the last child, taking it from its old parent first; returns it.
  ORVIDOM_Node appendChild(const ORVIDOM_Node& newChild) const;
  // Makes `newChild` the child before `refChild` (the last child when `refChild` is null).
  ORVIDOM_Node insertBefore(const ORVIDOM_Node& newChild, const ORVIDOM_Node& refChild) const;
  // Detaches a child; the child stays usable and can be attached again. Returns it.
  ORVIDOM_Node removeChild(const ORVIDOM_Node& oldChild) const;
  // Puts `newChild` in the place of `oldChild`, which is detached and returned.
  ORVIDOM_Node replaceChild(const ORVIDOM_Node& newChild, const ORVIDOM_Node& oldChild) const;
  // A detached copy in the same document, with the subtree when `deep`.
  ORVIDOM_Node cloneNode(bool deep) const;

  // Node identity.
  friend bool operator==(const ORVIDOM_Node& a, const ORVIDOM_Node& b) noexcept {
    return a.m_node == b.m_node && a.m_attr == b.m_attr && a.m_store == b.m_store;
  }
  friend bool operator!=(const ORVIDOM_Node& a, const ORVIDOM_Node& b) noexcept {
    return !(a == b);
  }

 protected:
  friend struct ORVIDOM_Access;
  ORVIDOM_Node(std::shared_ptr<ORVIDOM_Store> store, std::uint32_t node,
               std::uint32_t attr = 0) noexcept;

  std::shared_ptr<ORVIDOM_Store> m_store;
  // The node's number in its document; 0 for a null handle.
  std::uint32_t m_node = 0;
  // Set for attribute nodes, whose m_node is the element that carried them when taken.
  std::uint32_t m_attr = 0;
};
