#include "orvidom/ORVIDOM_Helper.h"

#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_Store.h"

using orvidom::Index;
using orvidom::NameMatcher;

namespace {

// The first direct child element named `name` of `parent` for which `accept` holds.
template <class Accept>
ORVIDOM_Element findChild(const ORVIDOM_Node& parent, const I18NString& name, Accept accept) {
  const Index p = ORVIDOM_Access::nodeOnly(parent);
  if (!p) return {};
  const auto& store = ORVIDOM_Access::store(parent);
  const NameMatcher wanted(name.str());
  for (Index c = store->nodes[p].firstChild; c; c = store->nodes[c].next) {
    if (wanted.isElement(*store, c) && accept(*store, c)) return ORVIDOM_Access::node(store, c);
  }
  return {};
}

// True when element `e` has the attribute with the value.
bool hasAttributeValue(const ORVIDOM_Store& store, Index e, const I18NString& attribute,
                       const I18NString& value) {
  const Index a = store.findAttribute(e, attribute.str());
  return a && value == store.text(store.attrs[a].value);
}

// The joined text of the element's direct text and CDATA children.
std::string textOf(const ORVIDOM_Store& store, Index e) {
  std::string text;
  for (Index c = store.nodes[e].firstChild; c; c = store.nodes[c].next) {
    const std::uint32_t kind = store.nodes[c].attributeOrKind;
    if (kind == orvidom::kKindText || kind == orvidom::kKindCData) text += store.textOf(c);
  }
  return text;
}

// True for the parents that take element children: elements and documents.
bool takesElements(const ORVIDOM_Node& parent) noexcept {
  const unsigned short type = parent.getNodeType();
  return type == ORVIDOM_Node::ELEMENT_NODE || type == ORVIDOM_Node::DOCUMENT_NODE;
}

// A new element named `name` appended to `parent`. Other parents than elements and documents
// take the checked path of making and appending, which raises the DOM's errors.
ORVIDOM_Element appendNew(const ORVIDOM_Node& parent, const I18NString& name) {
  if (!takesElements(parent)) {
    const ORVIDOM_Document doc = parent.getOwnerDocument();
    ORVIDOM_Element elem = doc.createElement(name);
    parent.appendChild(elem);
    return elem;
  }
  orvidom::requireXmlName(name.str(), "element name");
  const auto& store = ORVIDOM_Access::store(parent);
  const Index e = store->newElement(name.str());
  store->append(ORVIDOM_Access::index(parent), e);
  return ORVIDOM_Access::node(store, e);
}

}  // namespace

ORVIDOM_Element ORVIDOM_Helper::findChildElement(const ORVIDOM_Node& parent,
                                                 const I18NString& name) {
  return findChild(parent, name, [](const ORVIDOM_Store&, Index) { return true; });
}

ORVIDOM_Element ORVIDOM_Helper::findFirstElement(const ORVIDOM_Node& parent,
                                                 const I18NString& name) {
  const Index p = ORVIDOM_Access::nodeOnly(parent);
  if (!p) return {};
  const auto& store = ORVIDOM_Access::store(parent);
  const NameMatcher wanted(name.str());
  return ORVIDOM_Access::node(store, orvidom::findDescendant(*store, p, [&](Index n) {
                                return wanted.isElement(*store, n);
                              }));
}

ORVIDOM_Element ORVIDOM_Helper::findElementWithAttribute(const ORVIDOM_Node& parent,
                                                         const I18NString& name,
                                                         const I18NString& attribute,
                                                         const I18NString& value) {
  const Index p = ORVIDOM_Access::nodeOnly(parent);
  if (!p) return {};
  const auto& store = ORVIDOM_Access::store(parent);
  const NameMatcher wanted(name.str());
  return ORVIDOM_Access::node(store, orvidom::findDescendant(*store, p, [&](Index n) {
                                return wanted.isElement(*store, n) &&
                                       hasAttributeValue(*store, n, attribute, value);
                              }));
}

ORVIDOM_Element ORVIDOM_Helper::findNextSiblingElement(const ORVIDOM_Node& node,
                                                       const I18NString& name) {
  const Index n = ORVIDOM_Access::nodeOnly(node);
  if (!n) return {};
  const auto& store = ORVIDOM_Access::store(node);
  const NameMatcher wanted(name.str());
  for (Index s = store->nodes[n].next; s; s = store->nodes[s].next) {
    if (wanted.isElement(*store, s)) return ORVIDOM_Access::node(store, s);
  }
  return {};
}

ORVIDOM_Element ORVIDOM_Helper::findOrCreateElement(const ORVIDOM_Node& parent,
                                                    const I18NString& name) {
  ORVIDOM_Element found = findChildElement(parent, name);
  return found.isNull() ? appendNew(parent, name) : found;
}

ORVIDOM_Element ORVIDOM_Helper::findOrCreateElementWithText(const ORVIDOM_Node& parent,
                                                            const I18NString& name,
                                                            const I18NString& text) {
  ORVIDOM_Element found = findChild(parent, name, [&](const ORVIDOM_Store& store, Index c) {
    return textOf(store, c) == text.str();
  });
  if (!found.isNull()) return found;
  // The text is checked first, so that text XML cannot carry leaves the parent unchanged.
  orvidom::requireXmlText(text.str(), "a node value");
  ORVIDOM_Element elem = appendNew(parent, name);
  if (!text.empty()) {
    const auto& store = ORVIDOM_Access::store(elem);
    const Index t = store->newNode(store->addText(text.str()), orvidom::kKindText);
    store->append(ORVIDOM_Access::index(elem), t);
  }
  return elem;
}

ORVIDOM_Element ORVIDOM_Helper::findOrCreateElementWithAttribute(const ORVIDOM_Node& parent,
                                                                 const I18NString& name,
                                                                 const I18NString& attribute,
                                                                 const I18NString& value) {
  ORVIDOM_Element found = findChild(parent, name, [&](const ORVIDOM_Store& store, Index c) {
    return hasAttributeValue(store, c, attribute, value);
  });
  if (!found.isNull()) return found;
  ORVIDOM_Element elem = appendNew(parent, name);
  elem.setAttribute(attribute, value);
  return elem;
}

void ORVIDOM_Helper::appendChildAttributes(const ORVIDOM_Node& parent, const I18NString& name,
                                           const I18NString& attribute,
                                           std::vector<I18NString>& values) {
  const Index p = ORVIDOM_Access::nodeOnly(parent);
  if (!p) return;
  const ORVIDOM_Store& store = *ORVIDOM_Access::store(parent);
  const NameMatcher wanted(name.str());
  for (Index c = store.nodes[p].firstChild; c; c = store.nodes[c].next) {
    if (!wanted.isElement(store, c)) continue;
    const Index a = store.findAttribute(c, attribute.str());
    values.emplace_back(a ? store.text(store.attrs[a].value) : "");
  }
}

I18NString ORVIDOM_Helper::getElementText(const ORVIDOM_Node& element) {
  const Index e = ORVIDOM_Access::nodeOnly(element);
  return e ? I18NString(textOf(*ORVIDOM_Access::store(element), e)) : I18NString();
}

void ORVIDOM_Helper::getElementText(const ORVIDOM_Node& element, I18NString& text) {
  text = getElementText(element);
}
