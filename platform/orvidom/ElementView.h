// An element read in place, without a counted handle: readers that step through many nodes and
// read many values pay neither a reference count per step nor a string per value. Internal to
// the library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "orvidom/ORVIDOM_Element.h"
#include "orvidom/ORVIDOM_ElementIndex.h"

struct ORVIDOM_Store;

namespace orvidom {

// True when the zero-terminated names are equal. Compared here byte by byte: the names a reader
// compares are a few bytes long, for which a library call costs more than the comparison.
inline bool sameName(const char* a, const char* b) noexcept {
  for (; *a == *b; ++a, ++b) {
    if (*a == '\0') return true;
  }
  return false;
}

// A view is valid while a handle keeps its document and the tree is not changed.
class ElementView {
 public:
  // A null view: every step from it is null and every value "".
  ElementView() noexcept = default;
  // The node of `handle`; null for an attribute. Steps from a node that holds no elements find
  // none.
  explicit ElementView(const ORVIDOM_Node& handle) noexcept;
  // Element `at` of list `list` of `index`; null outside the list. Inline: a reader makes one
  // for each element it reads and each it asks for ahead.
  ElementView(const ORVIDOM_ElementIndex& index, std::size_t list, std::size_t at) noexcept {
    if (list < index.m_lists.size() && at < index.m_lists[list].size()) {
      m_store = index.m_store.get();
      m_node = index.m_lists[list][at].node;
    }
  }

  bool isNull() const noexcept { return m_node == 0; }
  // The first child element named `name`.
  ElementView child(const char* name) const noexcept;
  // The next step of a walk, depth first in document order, through elements named `name` that
  // hold each other, from the first one: this element's first child of the name, else the next
  // sibling of the name of this element or of the nearest of the `depth` elements around it;
  // null at the end. `depth`, the levels below the first, follows the walk, which so keeps no
  // stack.
  ElementView nextNested(const char* name, std::size_t& depth) const noexcept;
  // The value of the attribute; "" when there is none.
  const char* attribute(const char* name) const noexcept;
  // The value of the first child when it is a text node; null otherwise.
  const char* leadingText() const noexcept;
  // Asks for the element's record ahead of a read: a reader going through many elements of a
  // tree larger than the cache then does not wait on each in turn.
  void prefetch() const noexcept;
  // Asks for the text of the element's name, which a parsed document follows with the names and
  // values of its attributes. Finding the text reads the record, which is best asked for first.
  void prefetchText() const noexcept;
  // A handle to the element, in the document `sameDocument` belongs to.
  ORVIDOM_Element handle(const ORVIDOM_Node& sameDocument) const noexcept;

 private:
  ElementView(const ORVIDOM_Store* store, std::uint32_t node) noexcept
      : m_store(store), m_node(node) {}

  const ORVIDOM_Store* m_store = nullptr;
  std::uint32_t m_node = 0;
};

}  // namespace orvidom
