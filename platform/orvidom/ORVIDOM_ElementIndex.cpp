#include "orvidom/ORVIDOM_ElementIndex.h"

#include <algorithm>
#include <string>
#include <utility>

#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/PugiTree.h"

namespace {

// Room for a few elements in each list from the start: the lists of small documents, most of
// the traffic, then never grow step by step.
constexpr std::size_t kFirstRoom = 8;

// Lists the elements below `top` whose names match, in document order, numbering them and
// recording the size of every list before each number (see Entry and m_sizes).
template <class Tree, class Lists>
void walk(Tree, orvidom::Node top, orvidom::Node holder,
          const std::vector<orvidom::NameMatcher>& matchers, Lists& lists,
          std::vector<std::size_t>& before) {
  using Entry = typename Lists::value_type::value_type;
  const std::size_t count = lists.size();
  // The size of every list so far.
  std::vector<std::size_t> sizes(count, 0);
  std::size_t listed = 0;
  // The entries the walk is inside of, innermost last, as list and position.
  std::vector<std::pair<std::size_t, std::size_t>> open;
  const auto leave = [&](orvidom::Node node) {
    while (!open.empty() && lists[open.back().first][open.back().second].node == node) {
      lists[open.back().first][open.back().second].after = listed;
      open.pop_back();
    }
  };
  orvidom::Node cur = Tree::firstChild(top);
  if (cur == holder) cur = Tree::nextSibling(cur);
  while (cur) {
    if (Tree::type(cur) == pugi::node_element) {
      const char* name = Tree::name(cur);
      for (std::size_t i = 0; name && i < count; ++i) {
        if (!matchers[i].matches(name)) continue;
        for (const std::size_t size : sizes) before.push_back(size);
        open.emplace_back(i, lists[i].size());
        lists[i].push_back(Entry{cur, listed++, 0});
        ++sizes[i];
      }
    }
    orvidom::Node next = Tree::firstChild(cur);
    while (!next) {
      leave(cur);
      next = Tree::nextSibling(cur);
      if (next) break;
      cur = Tree::parent(cur);
      if (cur == top) break;
    }
    if (cur == top) break;
    cur = next;
  }
  for (const std::size_t size : sizes) before.push_back(size);
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
  m_sizes.reserve((kFirstRoom + 1) * m_lists.size() * m_lists.size());
  const orvidom::Node top = ORVIDOM_Access::pnode(root).internal_object();
  const orvidom::Node holder = m_store->holder.internal_object();
  if (orvidom::recordsMatchLibrary()) {
    walk(orvidom::RecordTree(), top, holder, matchers, m_lists, m_sizes);
  } else {
    walk(orvidom::ApiTree(), top, holder, matchers, m_lists, m_sizes);
  }
}

ORVIDOM_ElementIndex::Range ORVIDOM_ElementIndex::all(std::size_t list) const noexcept {
  return list < m_lists.size() ? Range{0, m_lists[list].size()} : Range{};
}

ORVIDOM_ElementIndex::Range ORVIDOM_ElementIndex::below(std::size_t outer, std::size_t at,
                                                        std::size_t inner) const noexcept {
  const std::size_t count = m_lists.size();
  if (outer >= count || inner >= count || at >= m_lists[outer].size()) return {};
  const Entry& entry = m_lists[outer][at];
  // The element itself counts in its own list before its descendants.
  return {m_sizes[entry.number * count + inner] + (inner == outer ? 1 : 0),
          m_sizes[entry.after * count + inner]};
}

ORVIDOM_Element ORVIDOM_ElementIndex::element(std::size_t list, std::size_t at) const noexcept {
  if (list >= m_lists.size() || at >= m_lists[list].size()) return {};
  return ORVIDOM_Access::node(m_store, pugi::xml_node(m_lists[list][at].node));
}
