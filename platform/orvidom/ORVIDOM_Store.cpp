#include "orvidom/ORVIDOM_Store.h"

using orvidom::Index;

ORVIDOM_Store::ORVIDOM_Store(Index nodeCount, Index attrCount)
    : nodes(nodeCount), attrs(attrCount) {
  newNode(0, orvidom::kKindDocument);
}

ORVIDOM_Store::ORVIDOM_Store(Index nodeCount, Index attrCount, std::size_t stringBytes)
    : ORVIDOM_Store(nodeCount, attrCount, stringBytes,
                    roomParts(nodeCount, attrCount, stringBytes)) {}

ORVIDOM_Store::ORVIDOM_Store(Index nodeCount, Index attrCount, std::size_t stringBytes,
                             RoomParts parts)
    : firstRoom(new char[parts.size]),
      nodes(reinterpret_cast<orvidom::NodeRecord*>(firstRoom.get() + parts.nodes), nodeCount),
      attrs(reinterpret_cast<orvidom::AttrRecord*>(firstRoom.get() + parts.attrs), attrCount),
      strings(firstRoom.get(), stringBytes) {
  newNode(0, orvidom::kKindDocument);
}

ORVIDOM_Store::RoomParts ORVIDOM_Store::roomParts(Index nodeCount, Index attrCount,
                                                  std::size_t stringBytes) noexcept {
  // The strings first, whose writer reads whole aligned words, each part from a multiple of 8.
  using orvidom::StringSpace;
  const std::size_t nodes = StringSpace::aligned(stringBytes);
  const std::size_t attrs = nodes + StringSpace::aligned(nodeCount * sizeof(orvidom::NodeRecord));
  return {nodes, attrs, attrs + attrCount * sizeof(orvidom::AttrRecord)};
}

void ORVIDOM_Store::append(Index parent, Index child) noexcept {
  orvidom::NodeRecord& p = nodes[parent];
  const Index first = p.firstChild;
  if (first) {
    const Index last = nodes[first].previous;
    nodes[last].next = child;
    nodes[child].previous = last;
    nodes[first].previous = child;
  } else {
    p.firstChild = child;
    nodes[child].previous = child;
  }
  nodes[child].parent = parent;
  nodes[child].next = 0;
}

void ORVIDOM_Store::insertBefore(Index parent, Index child, Index ref) noexcept {
  orvidom::NodeRecord& c = nodes[child];
  const Index previous = nodes[ref].previous;
  c.previous = previous;
  c.next = ref;
  c.parent = parent;
  if (nodes[parent].firstChild == ref) {
    nodes[parent].firstChild = child;
  } else {
    nodes[previous].next = child;
  }
  nodes[ref].previous = child;
}

void ORVIDOM_Store::detach(Index n) noexcept {
  orvidom::NodeRecord& r = nodes[n];
  if (!r.parent) return;
  orvidom::NodeRecord& p = nodes[r.parent];
  const Index first = p.firstChild;
  if (first == n) {
    p.firstChild = r.next;
    if (r.next) nodes[r.next].previous = r.previous;
  } else {
    nodes[r.previous].next = r.next;
    // The first child keeps the last one.
    nodes[r.next ? r.next : first].previous = r.previous;
  }
  r.parent = 0;
  r.next = 0;
  r.previous = n;
}

bool ORVIDOM_Store::holds(Index ancestor, Index n) const noexcept {
  for (; n; n = nodes[n].parent) {
    if (n == ancestor) return true;
  }
  return false;
}

Index ORVIDOM_Store::findAttribute(Index element, const std::string& name) const noexcept {
  const orvidom::NameMatcher wanted(name);
  for (Index a = nodes[element].firstAttribute(); a; a = attrs[a].next) {
    if (wanted.matches(text(attrs[a].name))) return a;
  }
  return 0;
}

Index ORVIDOM_Store::addAttribute(Index element, TextRef name, TextRef value) {
  const Index a = attrs.add();
  attrs[a] = {name, value, 0};
  Index last = nodes[element].firstAttribute();
  if (!last) {
    nodes[element].attributeOrKind = a;
    return a;
  }
  while (attrs[last].next) last = attrs[last].next;
  attrs[last].next = a;
  return a;
}

void ORVIDOM_Store::removeAttribute(Index element, Index attribute) noexcept {
  Index a = nodes[element].firstAttribute();
  if (a == attribute) {
    nodes[element].attributeOrKind = attrs[a].next;
  } else {
    while (a && attrs[a].next != attribute) a = attrs[a].next;
    if (!a) return;
    attrs[a].next = attrs[attribute].next;
  }
  attrs[attribute].next = 0;
}

Index ORVIDOM_Store::copyOne(const ORVIDOM_Store& from, Index n) {
  const orvidom::NodeRecord source = from.nodes[n];
  if (!source.isElement()) return newNode(copyText(from, source.text), source.attributeOrKind);
  const Index copy = newNode(copyText(from, source.text), 0);
  // Appended after the last one made rather than through addAttribute, which would walk the
  // list for each.
  Index last = 0;
  for (Index a = source.firstAttribute(); a; a = from.attrs[a].next) {
    const orvidom::AttrRecord attribute = from.attrs[a];
    const Index made = attrs.add();
    attrs[made] = {copyText(from, attribute.name), copyText(from, attribute.value), 0};
    if (last) {
      attrs[last].next = made;
    } else {
      nodes[copy].attributeOrKind = made;
    }
    last = made;
  }
  return copy;
}

Index ORVIDOM_Store::copy(const ORVIDOM_Store& from, Index n, bool deep) {
  const Index root = copyOne(from, n);
  if (!deep) return root;
  // Without recursion, so that a deep subtree needs no deep stack; `to` is the copy of the
  // parent of `at`.
  Index at = from.nodes[n].firstChild;
  Index to = root;
  while (at) {
    const Index made = copyOne(from, at);
    append(to, made);
    if (from.nodes[at].firstChild) {
      to = made;
      at = from.nodes[at].firstChild;
      continue;
    }
    while (!from.nodes[at].next) {
      at = from.nodes[at].parent;
      if (at == n) return root;
      to = nodes[to].parent;
    }
    at = from.nodes[at].next;
  }
  return root;
}
