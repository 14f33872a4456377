// The storage behind a document's handles, and the handles' access to it. Internal to the DOM
// layer.
#pragma once

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
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

namespace orvidom {

// One copy of each name the Builder gives a document's elements, for their records to point at
// instead of each holding a copy of its own: copying a name costs as much as the rest of making
// an element. The names come from the library's vocabulary, a few per document.
class NamePool {
 public:
  // The pool's copy of `name`, or null for a name longer than the pool keeps, or once the pool
  // holds as many names as it takes (the caller then names the record through the library),
  // which keeps every search short.
  const char* find(const std::string& name) {
    // Unsigned, so that an empty name wraps around to a long one.
    if (name.size() - 1 >= kLongest) return nullptr;
    const Key key = keyOf(name.data(), name.size());
    if (m_table) {
      // The first slot looked at is the name's own in all but a few cases.
      const Slot& slot = m_table->slots[key.slot()];
      if (slot.key == key) return slot.copy;
    }
    return search(key, name);
  }

 private:
  static constexpr std::size_t kLongest = 16;
  static constexpr int kBits = 7;
  static constexpr std::size_t kSlots = std::size_t{1} << kBits;

  // A name of one to kLongest bytes as words that tell it from every other such name: its length
  // and its first and last eight bytes, or four, or its first, middle and last byte (which
  // overlap when the name is shorter than both).
  struct Key {
    std::uint64_t head;
    std::uint64_t tail;
    std::size_t length;

    bool operator==(const Key& other) const noexcept {
      return head == other.head && tail == other.tail && length == other.length;
    }
    std::size_t slot() const noexcept {
      const std::uint64_t mixed = (head * 0x9E3779B97F4A7C15u) ^ tail ^ length;
      return static_cast<std::size_t>((mixed * 0xC2B2AE3D27D4EB4Fu) >> (64 - kBits));
    }
  };
  template <std::size_t bytes>
  static std::uint64_t load(const char* at) noexcept {
    std::uint64_t word = 0;
    std::memcpy(&word, at, bytes);
    return word;
  }
  static Key keyOf(const char* s, std::size_t n) noexcept {
    if (n >= 8) return {load<8>(s), load<8>(s + n - 8), n};
    if (n >= 4) return {load<4>(s), load<4>(s + n - 4), n};
    return {load<1>(s) | load<1>(s + n / 2) << 8, load<1>(s + n - 1), n};
  }

  struct Slot {
    Key key{};  // length 0: a free slot
    char copy[kLongest + 1];
  };
  struct Table {
    Slot slots[kSlots];
    std::size_t used = 0;
  };

  // What find() gives when the name is not in the first slot it looks at.
  const char* search(const Key& key, const std::string& name);

  std::unique_ptr<Table> m_table;
};

// Copies of the values the Builder gives a document's attributes and texts, a block at a time,
// for their records to point at: cheaper than the library's own copy of each.
class TextPool {
 public:
  // A zero-terminated copy of `text`, kept as long as the pool.
  const char* copy(std::string_view text) {
    const std::size_t size = text.size() + 1;
    if (size > m_left) grow(size);
    char* at = m_next;
    std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\0';
    m_next += size;
    m_left -= size;
    return at;
  }

 private:
  // Starts a block of room for at least `size` bytes; blocks double from 1 KB up to 64 KB, and a
  // longer text has one of its own.
  void grow(std::size_t size) {
    const std::size_t usual = std::size_t{1024} << std::min<std::size_t>(m_blocks.size(), 6);
    const std::size_t room = std::max(size, usual);
    std::unique_ptr<char[]> block(new char[room]);
    m_blocks.push_back(std::move(block));
    m_next = m_blocks.back().get();
    m_left = room;
  }

  std::vector<std::unique_ptr<char[]>> m_blocks;
  char* m_next = nullptr;
  std::size_t m_left = 0;
};

}  // namespace orvidom

// One document. pugixml has no parentless nodes and cannot move nodes between documents, so
// every node that has no parent (created, imported or removed) lives under `holder`, the first
// child of the document node, which no handle, list or writer ever shows.
struct ORVIDOM_Store {
  // Declared before the tree, whose records point into them, so that they go after.
  orvidom::NamePool names;
  orvidom::TextPool texts;
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
