// The tree of one document behind its handles, and the handles' access to it. Internal to the DOM
// layer.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvidom/ElementView.h"
#include "orvidom/NamePool.h"
#include "orvidom/ORVIDOM_DOMException.h"
#include "orvidom/ORVIDOM_NamedNodeMap.h"
#include "orvidom/ORVIDOM_NodeList.h"
#include "orvidom/RecordArena.h"
#include "orvidom/StringSpace.h"
#include "orvidom/XmlChars.h"

namespace orvidom {

// What a node is. An element keeps the number of its first attribute in the field where the
// other nodes keep their kind, numbers that no attribute reaches.
enum Kind : std::uint32_t {
  kKindDocument = 0xFFFFFFFCu,
  kKindComment = 0xFFFFFFFDu,
  kKindCData = 0xFFFFFFFEu,
  kKindText = 0xFFFFFFFFu,
};

// A node: 24 bytes, a third of what a tree of pointers takes.
struct NodeRecord {
  // An element's name; the text of a text, CDATA or comment node.
  TextRef text;
  // 0 for the document and for a node that is not in any tree.
  Index parent;
  Index firstChild;
  // The previous sibling, and for the first child the last one: the parent's last child is one
  // step away, and a node of any place leaves its list in a few steps. A node outside any tree
  // is its own.
  Index previous;
  Index next;
  // An element's first attribute (0 for none), or the node's Kind.
  std::uint32_t attributeOrKind;

  bool isElement() const noexcept { return attributeOrKind < kKindDocument; }
  Index firstAttribute() const noexcept { return isElement() ? attributeOrKind : 0; }
};

// An attribute: a removed one keeps its record, and so its name and value, for the handles that
// still refer to it.
struct AttrRecord {
  TextRef name;
  TextRef value;
  Index next;
};

// The document node of every store.
constexpr Index kDocumentNode = 1;

}  // namespace orvidom

// One document: its nodes, attributes and strings, none of them freed before the document.
struct ORVIDOM_Store {
  using Index = orvidom::Index;
  using TextRef = orvidom::TextRef;

  // The first records and strings of a small document parsed, in one allocation; null for others.
  std::unique_ptr<char[]> firstRoom;
  orvidom::RecordArena<orvidom::NodeRecord> nodes;
  orvidom::RecordArena<orvidom::AttrRecord> attrs;
  orvidom::StringSpace strings;
  orvidom::NamePool names;

  // An empty document: its document node and nothing else.
  ORVIDOM_Store() : ORVIDOM_Store(0, 0) {}
  // An empty document with room for `nodeCount` nodes and `attrCount` attributes before its
  // records grow.
  ORVIDOM_Store(Index nodeCount, Index attrCount);
  // An empty document with room for `nodeCount` nodes (at least two), `attrCount` attributes (at
  // least one) and `stringBytes` bytes of strings in firstRoom: a parse of a small document then
  // allocates once for what it adds, instead of once for each kind.
  ORVIDOM_Store(Index nodeCount, Index attrCount, std::size_t stringBytes);
  ORVIDOM_Store(const ORVIDOM_Store&) = delete;
  ORVIDOM_Store& operator=(const ORVIDOM_Store&) = delete;

  const char* text(TextRef ref) const noexcept { return strings.at(ref); }
  // An element's name or another node's text.
  const char* textOf(Index n) const noexcept { return text(nodes[n].text); }

  // A new node outside the tree.
  Index newNode(TextRef text, std::uint32_t attributeOrKind) {
    const Index n = nodes.add();
    nodes[n] = {text, 0, 0, n, 0, attributeOrKind};
    return n;
  }
  // A new element outside the tree named `name`, which must be an XML name; names of the
  // library's vocabulary are kept once per document.
  Index newElement(const std::string& name) { return newNode(poolName(name), 0); }

  Index lastChild(Index parent) const noexcept {
    const Index first = nodes[parent].firstChild;
    return first ? nodes[first].previous : 0;
  }
  Index previousSibling(Index n) const noexcept {
    const Index parent = nodes[n].parent;
    return parent && nodes[parent].firstChild != n ? nodes[n].previous : 0;
  }
  // Makes `child`, outside the tree, the last child of `parent`.
  void append(Index parent, Index child) noexcept;
  // Makes `child`, outside the tree, the child of `parent` before `ref`, one of its children.
  void insertBefore(Index parent, Index child, Index ref) noexcept;
  // Takes `n` out of the tree, with its subtree; its record stays.
  void detach(Index n) noexcept;
  // True when `ancestor` is `n` or holds it.
  bool holds(Index ancestor, Index n) const noexcept;

  // The attribute of `element` named `name`; 0 when there is none.
  Index findAttribute(Index element, const std::string& name) const noexcept;
  // Adds an attribute after the element's others; returns it.
  Index addAttribute(Index element, TextRef name, TextRef value);
  // Takes the attribute out of the element's list; its record stays.
  void removeAttribute(Index element, Index attribute) noexcept;

  // A string of the document holding `text`, which holds no zero byte.
  TextRef addText(std::string_view text) { return text.empty() ? 0 : strings.add(text); }
  // The document's copy of the name `name`: one for every use of a short name.
  TextRef poolName(std::string_view name) {
    const TextRef pooled = names.find(name, strings);
    return pooled ? pooled : strings.add(name);
  }

  // A copy outside the tree of node `n` of `from` (which may be this document), with its
  // attributes and, when `deep`, its subtree.
  Index copy(const ORVIDOM_Store& from, Index n, bool deep);

 private:
  // A copy of `n` of `from` with its attributes, but without its children.
  Index copyOne(const ORVIDOM_Store& from, Index n);
  // Where the strings, the nodes and the attributes of firstRoom start, and its size.
  struct RoomParts {
    std::size_t nodes;
    std::size_t attrs;
    std::size_t size;
  };
  static RoomParts roomParts(Index nodeCount, Index attrCount, std::size_t stringBytes) noexcept;
  ORVIDOM_Store(Index nodeCount, Index attrCount, std::size_t stringBytes, RoomParts parts);
  // This document's number of string `ref` of `from`.
  TextRef copyText(const ORVIDOM_Store& from, TextRef ref) {
    return &from == this || ref == 0 ? ref : strings.add(from.text(ref));
  }
};

// Builds handles and reads their insides.
struct ORVIDOM_Access {
  using StorePtr = std::shared_ptr<ORVIDOM_Store>;
  using Index = orvidom::Index;

  static ORVIDOM_Node node(const StorePtr& store, Index n) noexcept {
    return n ? ORVIDOM_Node(store, n) : ORVIDOM_Node();
  }
  static ORVIDOM_Node attribute(const StorePtr& store, Index owner, Index a) noexcept {
    return a ? ORVIDOM_Node(store, owner, a) : ORVIDOM_Node();
  }
  static const StorePtr& store(const ORVIDOM_Node& n) noexcept { return n.m_store; }
  // The node, or for an attribute the element that carries it; 0 for a null handle.
  static Index index(const ORVIDOM_Node& n) noexcept { return n.m_node; }
  static Index attributeIndex(const ORVIDOM_Node& n) noexcept { return n.m_attr; }
  static bool isAttribute(const ORVIDOM_Node& n) noexcept { return n.m_attr != 0; }
  // The node of a handle that is no attribute; 0 for a null handle or an attribute.
  static Index nodeOnly(const ORVIDOM_Node& n) noexcept { return n.m_attr ? 0 : n.m_node; }

  static ORVIDOM_NodeList list(const StorePtr& store, std::vector<Index> nodes) {
    ORVIDOM_NodeList l;
    l.m_store = store;
    if (!nodes.empty()) {
      l.m_nodes = std::make_shared<const std::vector<Index>>(std::move(nodes));
    }
    return l;
  }
  static ORVIDOM_NamedNodeMap map(const StorePtr& store, Index owner, std::vector<Index> attrs) {
    ORVIDOM_NamedNodeMap m;
    m.m_store = store;
    m.m_owner = owner;
    if (!attrs.empty()) m.m_attrs = std::make_shared<const std::vector<Index>>(std::move(attrs));
    return m;
  }
};

namespace orvidom {

// Calls `visit` on every descendant of `root` in document order until it returns true, without
// recursion. Returns the node it stopped at, or 0.
template <class Visit>
Index findDescendant(const ORVIDOM_Store& store, Index root, Visit visit) {
  Index cur = store.nodes[root].firstChild;
  while (cur) {
    if (visit(cur)) return cur;
    Index next = store.nodes[cur].firstChild;
    while (!next) {
      next = store.nodes[cur].next;
      if (next) break;
      cur = store.nodes[cur].parent;
      if (cur == root) return 0;
    }
    cur = next;
  }
  return 0;
}

// A name to compare node names with. A name holding a zero byte is no XML name and matches
// nothing.
class NameMatcher {
 public:
  explicit NameMatcher(const std::string& name) noexcept
      : m_name(name.c_str()), m_valid(std::strlen(m_name) == name.size()) {}
  bool matches(const char* name) const noexcept { return m_valid && sameName(m_name, name); }
  // True when node `n` of `store` is an element with the name.
  bool isElement(const ORVIDOM_Store& store, Index n) const noexcept {
    return store.nodes[n].isElement() && matches(store.textOf(n));
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

}  // namespace orvidom
