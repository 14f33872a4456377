#include "orvidom/ORVIDOM_ElementIndex.h"

#include <algorithm>
#include <string>
#include <utility>

#include "orvidom/ORVIDOM_Store.h"

namespace {

// Room for a few elements in each list from the start: the lists of small documents, most of
// the traffic, then never grow step by step.
constexpr std::size_t kFirstRoom = 8;

}  // namespace

ORVIDOM_ElementIndex::ORVIDOM_ElementIndex(
    const ORVIDOM_Node& root, std::initializer_list<std::reference_wrapper<const I18NString>> names)
    : m_count(names.size()), m_lists(names.size()) {
  if (root.isNull() || ORVIDOM_Access::isAttribute(root)) return;
  m_store = ORVIDOM_Access::store(root);
  const std::size_t count = m_count;
  std::vector<orvidom::NameMatcher> matchers;
  matchers.reserve(count);
  for (const I18NString& name : names) matchers.emplace_back(name.str());
  for (std::vector<Slot>& list : m_lists) list.reserve(kFirstRoom * stride());
  // The size of every list so far, which each listed element records on entry and exit.
  std::vector<Slot> sizes(count, 0);
  // The listed elements the walk is inside of, innermost last: the node, its list and where its
  // exit sizes go (an offset, since the list may grow while the element is open).
  struct Open {
    pugi::xml_node_struct* node;
    std::vector<Slot>* list;
    std::size_t exit;
  };
  std::vector<Open> open;
  const auto enter = [&](pugi::xml_node n) {
    if (n.type() != pugi::node_element) return;
    const char* name = n.name();
    for (std::size_t i = 0; i < count; ++i) {
      if (!matchers[i].matches(name)) continue;
      std::vector<Slot>& list = m_lists[i];
      ++sizes[i];
      // Slot by slot: each push is inline, where a resize calls out to grow.
      list.push_back(reinterpret_cast<Slot>(n.internal_object()));
      for (const Slot size : sizes) list.push_back(size);
      open.push_back({n.internal_object(), &list, list.size()});
      // The exit sizes are set on leaving.
      for (std::size_t j = 0; j < count; ++j) list.push_back(0);
    }
  };
  const auto leave = [&](pugi::xml_node n) {
    while (!open.empty() && open.back().node == n.internal_object()) {
      std::copy(sizes.begin(), sizes.end(),
                open.back().list->begin() + static_cast<std::ptrdiff_t>(open.back().exit));
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
  return list < m_count ? Range{0, m_lists[list].size() / stride()} : Range{};
}

ORVIDOM_ElementIndex::Range ORVIDOM_ElementIndex::below(std::size_t outer, std::size_t at,
                                                        std::size_t inner) const noexcept {
  if (outer >= m_count || inner >= m_count || at >= m_lists[outer].size() / stride()) return {};
  const Slot* record = &m_lists[outer][at * stride()];
  return {record[1 + inner], record[1 + m_count + inner]};
}

ORVIDOM_Element ORVIDOM_ElementIndex::element(std::size_t list, std::size_t at) const noexcept {
  if (list >= m_count || at >= m_lists[list].size() / stride()) return {};
  return ORVIDOM_Access::node(
      m_store,
      pugi::xml_node(reinterpret_cast<pugi::xml_node_struct*>(m_lists[list][at * stride()])));
}
