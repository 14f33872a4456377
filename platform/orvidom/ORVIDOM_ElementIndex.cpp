#include "orvidom/ORVIDOM_ElementIndex.h"

#include <algorithm>
#include <string>

#include "orvidom/ORVIDOM_Store.h"

ORVIDOM_ElementIndex::ORVIDOM_ElementIndex(
    const ORVIDOM_Node& root, std::initializer_list<std::reference_wrapper<const I18NString>> names)
    : m_lists(names.size()) {
  if (root.isNull() || ORVIDOM_Access::isAttribute(root)) return;
  m_store = ORVIDOM_Access::store(root);
  std::vector<orvidom::NameMatcher> matchers;
  matchers.reserve(names.size());
  for (const I18NString& name : names) matchers.emplace_back(name.str());
  const std::size_t count = m_lists.size();
  // The size of every list so far, which each listed element records on entry and exit.
  std::vector<std::size_t> sizes(count, 0);
  // The listed elements the walk is inside of, innermost last.
  struct Open {
    pugi::xml_node_struct* node;
    List* list;
    std::size_t at;
  };
  std::vector<Open> open;
  const auto enter = [&](pugi::xml_node n) {
    if (n.type() != pugi::node_element) return;
    const char* name = n.name();
    for (std::size_t i = 0; i < count; ++i) {
      if (!matchers[i].matches(name)) continue;
      List& list = m_lists[i];
      open.push_back({n.internal_object(), &list, list.nodes.size()});
      list.nodes.push_back(n.internal_object());
      ++sizes[i];
      // The exit sizes are filled in on leaving.
      const std::size_t from = list.bounds.size();
      list.bounds.resize(from + 2 * count);
      std::copy(sizes.begin(), sizes.end(), list.bounds.begin() + from);
    }
  };
  const auto leave = [&](pugi::xml_node n) {
    while (!open.empty() && open.back().node == n.internal_object()) {
      std::copy(sizes.begin(), sizes.end(),
                open.back().list->bounds.begin() + (open.back().at * 2 + 1) * count);
      open.pop_back();
    }
  };
  const pugi::xml_node top = ORVIDOM_Access::pnode(root);
  pugi::xml_node cur = orvidom::firstVisibleChild(*m_store, top);
  while (cur) {
    enter(cur);
    pugi::xml_node next = cur.first_child();
    while (!next) {
      leave(cur);
      next = cur.next_sibling();
      if (next) break;
      cur = cur.parent();
      if (cur == top) return;
    }
    cur = next;
  }
}

ORVIDOM_ElementIndex::Range ORVIDOM_ElementIndex::all(std::size_t list) const noexcept {
  return list < m_lists.size() ? Range{0, m_lists[list].nodes.size()} : Range{};
}

ORVIDOM_ElementIndex::Range ORVIDOM_ElementIndex::below(std::size_t outer, std::size_t at,
                                                        std::size_t inner) const noexcept {
  const std::size_t count = m_lists.size();
  if (outer >= count || inner >= count || at >= m_lists[outer].nodes.size()) return {};
  const std::size_t* bounds = &m_lists[outer].bounds[at * 2 * count];
  return {bounds[inner], bounds[count + inner]};
}

ORVIDOM_Element ORVIDOM_ElementIndex::element(std::size_t list, std::size_t at) const noexcept {
  if (list >= m_lists.size() || at >= m_lists[list].nodes.size()) return {};
  return ORVIDOM_Access::node(m_store, pugi::xml_node(m_lists[list].nodes[at]));
}
