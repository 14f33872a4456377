#include "orvidom/ORVIDOM_ElementIndex.h"

#include <array>
#include <limits>
#include <new>
#include <string>
#include <utility>

#include "orvidom/ElementView.h"
#include "orvidom/ORVIDOM_Store.h"

namespace {

// Room for a few elements in each list from the start: the lists of small documents, most of
// the traffic, then never grow step by step.
constexpr std::size_t kFirstRoom = 16;
// Room for the sizes of the lists before as many listed elements in all, at most what the
// allocator keeps at hand for reuse (a kilobyte), which a larger first room would not be.
constexpr std::size_t kFirstListed = 48;

// The lists an element name goes into. Each name of a document is looked up here once at most
// (FirstListByText answers for it afterwards), so the lists are compared in turn.
class ListsByName {
 public:
  // `names` holds `count` names and outlives the object.
  ListsByName(const std::reference_wrapper<const I18NString>* names, std::size_t count)
      : m_names(names), m_count(count) {
    for (std::size_t i = 0; i < count && !m_repeats; ++i) {
      m_repeats = find(i + 1, names[i].get().c_str()) != kNone;
    }
  }

  // The first list of an element named `name` and the one after `list`; kNone when no more.
  std::size_t first(const char* name) const noexcept { return find(0, name); }
  std::size_t next(std::size_t list, const char* name) const noexcept {
    return m_repeats ? find(list + 1, name) : kNone;
  }

  static constexpr std::size_t kNone = ~std::size_t(0);

 private:
  // The first list from `list` on whose name is `name`. A name holding a zero byte is no XML
  // name and matches nothing.
  std::size_t find(std::size_t list, const char* name) const noexcept {
    for (; list < m_count; ++list) {
      const std::string& listName = m_names[list].get().str();
      if (orvidom::sameName(listName.c_str(), name) && listName.find('\0') == std::string::npos) {
        return list;
      }
    }
    return kNone;
  }

  const std::reference_wrapper<const I18NString>* m_names;
  std::size_t m_count;
  // Whether two lists have one name, so that an element goes into more than one: most indexes
  // then never look past an element's first list.
  bool m_repeats = false;
};

// The first list of each element name met, by the name's string in the document: a document
// keeps one copy of each short name, so that comparing two numbers answers for most elements,
// where comparing the names would read each name again. A string of a document never changes.
class FirstListByText {
 public:
  explicit FirstListByText(const ListsByName& names) : m_names(names) {
    // The empty string is no element's name, but it is answered like any other.
    m_slots.fill({0, names.first("")});
  }

  // The first list of elements named by string `text` of `store`; kNone when none.
  std::size_t first(orvidom::TextRef text, const ORVIDOM_Store& store) noexcept {
    Slot* const set = &m_slots[((text * 0x9E3779B1u) >> (32 - kBits)) * kWays];
    if (set[0].text == text) return set[0].list;
    if (set[1].text == text) return set[1].list;
    // The name met last before this one in the set stays beside it.
    set[1] = set[0];
    set[0] = {text, m_names.first(store.text(text))};
    return set[0].list;
  }

 private:
  // Sets of two for a few dozen names: with one name a slot, two of a document's half dozen
  // names shared a slot in one document of five, and every other element of theirs missed.
  static constexpr unsigned kBits = 5;
  static constexpr unsigned kWays = 2;
  struct Slot {
    orvidom::TextRef text;
    std::size_t list;
  };

  const ListsByName& m_names;
  std::array<Slot, (std::size_t{1} << kBits) * kWays> m_slots;
};

// The entries a walk is inside of, innermost last, as list and position: in the walk's own room
// for the depth of most documents, allocated only below it.
template <class Count>
class OpenEntries {
 public:
  using Entry = std::pair<Count, Count>;

  bool empty() const noexcept { return m_depth == 0; }
  const Entry& back() noexcept { return at(m_depth - 1); }
  void push(Count list, Count position) {
    if (m_depth >= kHeld && m_deeper.size() == m_depth - kHeld) m_deeper.emplace_back();
    at(m_depth++) = {list, position};
  }
  Entry pop() noexcept { return at(--m_depth); }

 private:
  static constexpr std::size_t kHeld = 16;

  Entry& at(std::size_t depth) noexcept {
    return depth < kHeld ? m_held[depth] : m_deeper[depth - kHeld];
  }

  Entry m_held[kHeld];
  std::vector<Entry> m_deeper;
  std::size_t m_depth = 0;
};

// Appends the `count` sizes at `sizes` to `before`, copied one by one: a few numbers, for which
// the general insertion costs several times the copy.
template <class Count>
void appendSizes(std::vector<Count>& before, const Count* sizes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) before.push_back(sizes[i]);
}

// Lists the elements below `top` whose names match, in document order, numbering them and
// recording the size of every list before each number (see Entry and m_sizes).
template <class Lists, class Count>
void walk(const ORVIDOM_Store& store, orvidom::Index top, const ListsByName& names, Lists& lists,
          std::vector<Count>& before) {
  using Entry = typename Lists::value_type::value_type;
  using orvidom::Index;
  const std::size_t count = lists.size();
  // The size of every list so far; in the walk's own room for the few lists of most indexes.
  constexpr std::size_t kHeldLists = 8;
  Count held[kHeldLists] = {};
  const bool inHeld = count <= kHeldLists;
  std::vector<Count> more(inHeld ? 0 : count, 0);
  Count* const sizes = inHeld ? held : more.data();
  Count listed = 0;
  FirstListByText firstLists(names);
  // The entries the walk is inside of, and the node of the innermost (0 for none), which most
  // nodes left are not.
  OpenEntries<Count> open;
  Index openNode = 0;
  const auto leave = [&](Index node) {
    while (openNode == node) {
      const auto [list, at] = open.pop();
      lists[list][at].after = listed;
      openNode = open.empty() ? 0 : lists[open.back().first][open.back().second].node;
    }
  };
  Index cur = store.nodes[top].firstChild;
  const orvidom::NodeRecord* record = &store.nodes[cur];
  while (cur) {
    const orvidom::TextRef name = record->text;
    for (std::size_t i = record->isElement() ? firstLists.first(name, store) : ListsByName::kNone;
         i != ListsByName::kNone; i = names.next(i, store.text(name))) {
      // More elements than numbers would take more memory than there is.
      if (listed == std::numeric_limits<Count>::max()) throw std::bad_alloc();
      appendSizes(before, sizes, count);
      open.push(static_cast<Count>(i), static_cast<Count>(lists[i].size()));
      openNode = cur;
      // Filled field by field in place: an entry built aside and copied in one piece would be
      // read back before its parts are stored, which stalls the walk on every listed element.
      Entry& entry = lists[i].emplace_back();
      entry.node = cur;
      entry.number = listed++;
      ++sizes[i];
    }
    // The node visited last: in document order, the next one visited follows it.
    const Index visited = cur;
    const orvidom::NodeRecord* const visitedRecord = record;
    Index next = record->firstChild;
    while (!next) {
      leave(cur);
      next = record->next;
      if (next) break;
      cur = record->parent;
      if (cur == top) break;
      record = &store.nodes[cur];
    }
    if (cur == top) break;
    record = store.nodes.following(visitedRecord, visited, next);
    cur = next;
  }
  appendSizes(before, sizes, count);
}

}  // namespace

ORVIDOM_ElementIndex::ORVIDOM_ElementIndex(
    const ORVIDOM_Node& root, std::initializer_list<std::reference_wrapper<const I18NString>> names)
    : m_lists(names.size()) {
  const orvidom::Index top = ORVIDOM_Access::nodeOnly(root);
  if (!top) return;
  m_store = ORVIDOM_Access::store(root);
  const ListsByName lists(names.begin(), names.size());
  for (std::vector<Entry>& list : m_lists) list.reserve(kFirstRoom);
  m_sizes.reserve((kFirstListed + 1) * m_lists.size());
  walk(*m_store, top, lists, m_lists, m_sizes);
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
  return ORVIDOM_Access::node(m_store, m_lists[list][at].node);
}
