#include "orvidom/ORVIDOM_ElementIndex.h"

#include <algorithm>
#include <string>

#include "orvidom/ORVIDOM_Store.h"

namespace {

// Room for a few elements in each list from the start: the lists of small documents, most of
// the traffic, then never grow step by step.
constexpr std::size_t kFirstRoom = 8;

}  // namespace

ORVIDOM_ElementIndex::ORVIDOM_ElementIndex(
    const ORVIDOM_Node& root, std::initializer_list<std::reference_wrapper<const I18NString>> names)
    : m_lists(names.size()) {
  if (root.isNull() || ORVIDOM_Access::isAttribute(root)) return;
  m_store = ORVIDOM_Access::store(root);
  const std::size_t count = m_lists.size();
  std::vector<orvidom::NameMatcher> matchers;
  matchers.reserve(count);
  for (const I18NString& name : names) matchers.emplace_back(name.str());
  for (std::vector<Entry>& list : m_lists) list.reserve(kFirstRoom);
  m_bounds.reserve(kFirstRoom * count * 2 * count);
  // The size of every list so far, which each listed element records on entry and exit.
  std::vector<std::size_t> sizes(count, 0);
  // The listed elements the walk is inside of, innermost last, with where their exit sizes go.
  std::vector<Entry> open;
  const auto enter = [&](pugi::xml_node n) {
    if (n.type() != pugi::node_element) return;
    const char* name = n.name();
    for (std::size_t i = 0; i < count; ++i) {
      if (!matchers[i].matches(name)) continue;
      ++sizes[i];
      const Entry entry{n.internal_object(), m_bounds.size()};
      m_lists[i].push_back(entry);
      // Slot by slot: each push is inline, where a resize calls out to grow. The exit sizes
      // are set on leaving.
      for (const std::size_t size : sizes) m_bounds.push_back(size);
      for (std::size_t j = 0; j < count; ++j) m_bounds.push_back(0);
      open.push_back({entry.node, entry.bounds + count});
    }
  };
  const auto leave = [&](pugi::xml_node n) {
    while (!open.empty() && open.back().node == n.internal_object()) {
      std::copy(sizes.begin(), sizes.end(),
                m_bounds.begin() + static_cast<std::ptrdiff_t>(open.back().bounds));
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
  return list < m_lists.size() ? Range{0, m_lists[list].size()} : Range{};
}

ORVIDOM_ElementIndex::Range ORVIDOM_ElementIndex::below(std::size_t outer, std::size_t at,
                                                        std::size_t inner) const noexcept {
  const std::size_t count = m_lists.size();
  if (outer >= count || inner >= count || at >= m_lists[outer].size()) return {};
  const std::size_t* record = &m_bounds[m_lists[outer][at].bounds];
  return {record[inner], record[count + inner]};
}

ORVIDOM_Element ORVIDOM_ElementIndex::element(std::size_t list, std::size_t at) const noexcept {
  if (list >= m_lists.size() || at >= m_lists[list].size()) return {};
  return ORVIDOM_Access::node(m_store, pugi::xml_node(m_lists[list][at].node));
}
