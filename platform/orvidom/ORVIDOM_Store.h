// The storage behind a document's handles, and the handles' access to it. Internal to the DOM
// layer.
#pragma once

#include <pugixml.hpp>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvidom/ORVIDOM_DOMException.h"
#include "orvidom/ORVIDOM_NamedNodeMap.h"
#include "orvidom/ORVIDOM_NodeList.h"
#include "orvidom/XmlChars.h"

// One document. pugixml has no parentless nodes and cannot move nodes between documents, so
// every node that has no parent (created, imported or removed) lives under `holder`, the first
// child of the document node, which no handle, list or writer ever shows.
struct ORVIDOM_Store {
  pugi::xml_document doc;
  pugi::xml_node holder;

  // Adds the holder to the document as it is now; call after the document is filled.
  void addHolder() { holder = doc.prepend_child(pugi::node_element); }
};

// Builds handles and reads their insides.
struct ORVIDOM_Access {
  using StorePtr = std::shared_ptr<ORVIDOM_Store>;

  static ORVIDOM_Node node(const StorePtr& store, pugi::xml_node n) noexcept {
    return n ? ORVIDOM_Node(store, n.internal_object()) : ORVIDOM_Node();
  }
  static ORVIDOM_Node attribute(const StorePtr& store, pugi::xml_node owner,
                                pugi::xml_attribute a) noexcept {
    return a ? ORVIDOM_Node(store, owner.internal_object(), a.internal_object()) : ORVIDOM_Node();
  }
  static const StorePtr& store(const ORVIDOM_Node& n) noexcept { return n.m_store; }
  static pugi::xml_node pnode(const ORVIDOM_Node& n) noexcept { return pugi::xml_node(n.m_node); }
  static pugi::xml_attribute pattr(const ORVIDOM_Node& n) noexcept {
    return pugi::xml_attribute(n.m_attr);
  }
  static bool isAttribute(const ORVIDOM_Node& n) noexcept { return n.m_attr != nullptr; }

  static ORVIDOM_NodeList list(const StorePtr& store, std::vector<pugi::xml_node_struct*> nodes) {
    ORVIDOM_NodeList l;
    l.m_store = store;
    if (!nodes.empty()) {
      l.m_nodes = std::make_shared<const std::vector<pugi::xml_node_struct*>>(std::move(nodes));
    }
    return l;
  }
  static ORVIDOM_NamedNodeMap map(const StorePtr& store, pugi::xml_node owner,
                                  std::vector<pugi::xml_attribute_struct*> attrs) {
    ORVIDOM_NamedNodeMap m;
    m.m_store = store;
    m.m_owner = owner.internal_object();
    if (!attrs.empty()) {
      m.m_attrs =
          std::make_shared<const std::vector<pugi::xml_attribute_struct*>>(std::move(attrs));
    }
    return m;
  }
};

namespace orvidom {

// The first child of `n` that a handle may show (the holder is skipped).
inline pugi::xml_node firstVisibleChild(const ORVIDOM_Store& store, pugi::xml_node n) noexcept {
  pugi::xml_node c = n.first_child();
  return c == store.holder ? c.next_sibling() : c;
}

// Calls `visit` on every descendant of `root` in document order until it returns true, without
// recursion. Returns the node it stopped at, or an empty node.
template <class Visit>
pugi::xml_node findDescendant(const ORVIDOM_Store& store, pugi::xml_node root, Visit visit) {
  pugi::xml_node cur = firstVisibleChild(store, root);
  if (!cur) return {};
  // Every step of a pugixml handle is a call into the library, so each node is asked for its
  // first child and next sibling once.
  for (;;) {
    if (visit(cur)) return cur;
    pugi::xml_node next = cur.first_child();
    while (!next) {
      next = cur.next_sibling();
      if (next) break;
      cur = cur.parent();
      if (cur == root) return {};
    }
    cur = next;
  }
}

// A name to compare node names with: strcmp stops at the first differing byte, without
// measuring the node's name first. A name holding a zero byte is no XML name and matches nothing.
class NameMatcher {
 public:
  explicit NameMatcher(const std::string& name) noexcept
      // strlen of a short name costs a fraction of string::find, which a search pays per call.
      : m_name(name.c_str()), m_valid(std::strlen(m_name) == name.size()) {}
  bool matches(const char* name) const noexcept {
    // The first byte rules out most other names without a call.
    return m_valid && name[0] == m_name[0] && std::strcmp(m_name, name) == 0;
  }
  // True when `n` is an element with the name.
  bool isElement(pugi::xml_node n) const noexcept {
    return n.type() == pugi::node_element && matches(n.name());
  }

 private:
  const char* m_name;
  bool m_valid;
};

// Throw INVALID_CHARACTER_ERR; out of line, so that the checks below stay small enough to inline.
[[noreturn]] void throwInvalidText(std::size_t at, const char* what);
[[noreturn]] void throwInvalidName(std::string_view name, const char* what);

// Throws INVALID_CHARACTER_ERR when `text` holds a character XML 1.0 cannot carry.
inline void requireXmlText(std::string_view text, const char* what) {
  const std::size_t bad = findInvalidXmlChar(text);
  if (bad != std::string_view::npos) throwInvalidText(bad, what);
}
// Throws INVALID_CHARACTER_ERR when `name` is not an XML name.
inline void requireXmlName(std::string_view name, const char* what) {
  if (!isXmlName(name)) throwInvalidName(name, what);
}

// Makes a new element named `name` the last child of `parent`, which takes elements, in place:
// the tree that making it free-standing and appending it gives, without the checks of the move,
// whose walk up to the root is most of the cost of building a document.
inline ORVIDOM_Node appendNewElement(const ORVIDOM_Access::StorePtr& store, pugi::xml_node parent,
                                     const std::string& name) {
  requireXmlName(name, "element name");
  return ORVIDOM_Access::node(store, parent.append_child(name.c_str()));
}

}  // namespace orvidom
