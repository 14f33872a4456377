#include "orvidom/ORVIDOM_ElementIndex.h"

#include <algorithm>
#include <string>

#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/PugiTree.h"

namespace {

// Room for a few elements in each list from the start: the lists of small documents, most of
// the traffic, then never grow step by step.
constexpr std::size_t kFirstRoom = 8;

// Lists the elements below `top` whose names match, in document order, with the size of every
// list on entering and on leaving each listed element (see Entry).
template <class Tree, class Lists>
void walk(Tree, orvidom::Node top, orvidom::Node holder,
          const std::vector<orvidom::NameMatcher>& matchers, Lists& lists,
          std::vector<std::size_t>& bounds) {
  using Entry = typename Lists::value_type::value_type;
  const std::size_t count = lists.size();
  // The size of every list so far, which each listed element records on entry and exit.
  std::vector<std::size_t> sizes(count, 0);
  // The listed elements the walk is inside of, innermost last, with where their exit sizes go.
  std::vector<Entry> open;
  orvidom::Node cur = Tree::firstChild(top);
  if (cur == holder) cur = Tree::nextSibling(cur);
  while (cur) {
    if (Tree::type(cur) == pugi::node_element) {
      const char* name = Tree::name(cur);
      for (std::size_t i = 0; i < count; ++i) {
        if (!name || !matchers[i].matches(name)) continue;
        ++sizes[i];
        const Entry entry{cur, bounds.size()};
        lists[i].push_back(entry);
        // Slot by slot: each push is inline, where a resize calls out to grow. The exit sizes
        // are set on leaving.
        for (const std::size_t size : sizes) bounds.push_back(size);
        for (std::size_t j = 0; j < count; ++j) bounds.push_back(0);
        open.push_back({cur, entry.bounds + count});
      }
    }
    orvidom::Node next = Tree::firstChild(cur);
    while (!next) {
      while (!open.empty() && open.back().node == cur) {
        std::copy(sizes.begin(), sizes.end(),
                  bounds.begin() + static_cast<std::ptrdiff_t>(open.back().bounds));
        open.pop_back();
      }
      next = Tree::nextSibling(cur);
      if (next) break;
      cur = Tree::parent(cur);
      if (cur == top) return;
    }
    cur = next;
  }
}

}  // namespace

ORVIDOM_ElementIndex::ORVIDOM_ElementIndex(
    const ORVIDOM_Node& root, std::initializer_list<std::reference_wrapper<const I18NString>> names)
    : m_lists(names.size()) {
  if (root.isNull() || ORVIDOM_Access::isAttribute(root)) return;
  m_store = ORVIDOM_Access::store(root);
  std::vector<orvidom::NameMatcher> matchers;
  matchers.reserve(names.size());
  for (const I18NString& name : names) matchers.emplace_back(name.str());
  for (std::vector<Entry>& list : m_lists) list.reserve(kFirstRoom);
  m_bounds.reserve(kFirstRoom * 2 * m_lists.size() * m_lists.size());
  const orvidom::Node top = ORVIDOM_Access::pnode(root).internal_object();
  const orvidom::Node holder = m_store->holder.internal_object();
  if (orvidom::recordsMatchLibrary()) {
    walk(orvidom::RecordTree(), top, holder, matchers, m_lists, m_bounds);
  } else {
    walk(orvidom::ApiTree(), top, holder, matchers, m_lists, m_bounds);
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
