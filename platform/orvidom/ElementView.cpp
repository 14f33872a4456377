#include "orvidom/ElementView.h"

#include "orvidom/ORVIDOM_ElementIndex.h"
#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/PugiTree.h"

namespace orvidom {
namespace {

// True for an element named `name`. The holder of free-standing nodes has no name and so never
// matches.
template <class Tree>
bool isElementNamed(Tree, Node node, const char* name) noexcept {
  if (Tree::type(node) != pugi::node_element) return false;
  const char* own = Tree::name(node);
  return own && sameName(own, name);
}

template <class Tree>
Node nextNamed(Tree tree, Node node, const char* name) noexcept {
  while (node && !isElementNamed(tree, node, name)) node = Tree::nextSibling(node);
  return node;
}

}  // namespace

ElementView::ElementView(const ORVIDOM_Node& handle) noexcept {
  if (ORVIDOM_Access::isAttribute(handle)) return;
  m_node = ORVIDOM_Access::pnode(handle).internal_object();
}

ElementView::ElementView(const ORVIDOM_ElementIndex& index, std::size_t list,
                         std::size_t at) noexcept {
  if (list < index.m_lists.size() && at < index.m_lists[list].size()) {
    m_node = index.m_lists[list][at].node;
  }
}

ElementView ElementView::child(const char* name) const noexcept {
  if (!m_node) return {};
  return ElementView(withTree(
      [&](auto tree) { return nextNamed(tree, decltype(tree)::firstChild(m_node), name); }));
}

ElementView ElementView::nextNested(const char* name, std::size_t& depth) const noexcept {
  if (!m_node) return {};
  return ElementView(withTree([&](auto tree) -> Node {
    using Tree = decltype(tree);
    Node cur = m_node;
    Node next = nextNamed(tree, Tree::firstChild(cur), name);
    if (next) {
      ++depth;
      return next;
    }
    for (;;) {
      const Node parent = Tree::parent(cur);
      // A free-standing node has no siblings, though the nameless holder keeps it next to others.
      const char* parentName = parent ? Tree::name(parent) : nullptr;
      if (!parent || (Tree::type(parent) == pugi::node_element && (!parentName || !*parentName))) {
        return nullptr;
      }
      next = nextNamed(tree, Tree::nextSibling(cur), name);
      if (next || depth == 0) return next;
      cur = parent;
      --depth;
    }
  }));
}

const char* ElementView::attribute(const char* name) const noexcept {
  if (!m_node) return "";
  return withTree([&](auto tree) -> const char* {
    using Tree = decltype(tree);
    for (Attr a = Tree::firstAttribute(m_node); a; a = Tree::nextAttribute(a)) {
      const char* own = Tree::name(a);
      if (own && sameName(own, name)) {
        const char* value = Tree::value(a);
        return value ? value : "";
      }
    }
    return "";
  });
}

const char* ElementView::leadingText() const noexcept {
  if (!m_node) return nullptr;
  return withTree([&](auto tree) -> const char* {
    using Tree = decltype(tree);
    const Node first = Tree::firstChild(m_node);
    return first && Tree::type(first) == pugi::node_pcdata ? Tree::value(first) : nullptr;
  });
}

void ElementView::prefetchText() const noexcept {
  if (!m_node) return;
  const char* text =
      withTree([&](auto tree) -> const char* { return decltype(tree)::name(m_node); });
  if (!text) return;
  __builtin_prefetch(text);
  __builtin_prefetch(text + 64);
}

ORVIDOM_Element ElementView::handle(const ORVIDOM_Node& sameDocument) const noexcept {
  return ORVIDOM_Access::node(ORVIDOM_Access::store(sameDocument), pugi::xml_node(m_node));
}

}  // namespace orvidom
