#include "orvidom/ElementView.h"

#include "orvidom/ORVIDOM_Store.h"

namespace orvidom {
namespace {

// The first of `node` and its next siblings that is an element named `name`; 0 when none is.
Index nextNamed(const ORVIDOM_Store& store, Index node, const char* name) noexcept {
  if (!node) return 0;
  for (const NodeRecord* record = &store.nodes[node];;) {
    if (record->isElement() && sameName(store.text(record->text), name)) return node;
    const Index next = record->next;
    if (!next) return 0;
    record = store.nodes.following(record, node, next);
    node = next;
  }
}

}  // namespace

ElementView::ElementView(const ORVIDOM_Node& handle) noexcept
    : m_store(ORVIDOM_Access::store(handle).get()), m_node(ORVIDOM_Access::nodeOnly(handle)) {}

ElementView ElementView::child(const char* name) const noexcept {
  if (!m_node) return {};
  return ElementView(m_store, nextNamed(*m_store, m_store->nodes[m_node].firstChild, name));
}

ElementView ElementView::nextNested(const char* name, std::size_t& depth) const noexcept {
  if (!m_node) return {};
  const ORVIDOM_Store& store = *m_store;
  Index cur = m_node;
  if (const Index first = nextNamed(store, store.nodes[cur].firstChild, name)) {
    ++depth;
    return ElementView(m_store, first);
  }
  for (;;) {
    const Index next = nextNamed(store, store.nodes[cur].next, name);
    if (next || depth == 0) return ElementView(m_store, next);
    cur = store.nodes[cur].parent;
    --depth;
  }
}

const char* ElementView::attribute(const char* name) const noexcept {
  if (!m_node) return "";
  const ORVIDOM_Store& store = *m_store;
  Index a = store.nodes[m_node].firstAttribute();
  if (!a) return "";
  for (const AttrRecord* record = &store.attrs[a];;) {
    if (sameName(store.text(record->name), name)) return store.text(record->value);
    const Index next = record->next;
    if (!next) return "";
    record = store.attrs.following(record, a, next);
    a = next;
  }
}

const char* ElementView::leadingText() const noexcept {
  if (!m_node) return nullptr;
  const Index first = m_store->nodes[m_node].firstChild;
  return first && m_store->nodes[first].attributeOrKind == kKindText ? m_store->textOf(first)
                                                                     : nullptr;
}

void ElementView::prefetch() const noexcept {
  if (m_node) __builtin_prefetch(&m_store->nodes[m_node]);
}

void ElementView::prefetchText() const noexcept {
  if (m_node) __builtin_prefetch(m_store->textOf(m_node));
}

ORVIDOM_Element ElementView::handle(const ORVIDOM_Node& sameDocument) const noexcept {
  return ORVIDOM_Access::node(ORVIDOM_Access::store(sameDocument), m_node);
}

}  // namespace orvidom
