#include "orvidom/ORVIDOM_Helper.h"

#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_Store.h"

using orvidom::NameMatcher;

namespace {

// The parent's pugixml node, or an empty one for a null or attribute handle.
pugi::xml_node containerOf(const ORVIDOM_Node& parent) noexcept {
  return ORVIDOM_Access::isAttribute(parent) ? pugi::xml_node() : ORVIDOM_Access::pnode(parent);
}

// The first direct child element named `name` for which `accept` holds.
template <class Accept>
ORVIDOM_Element findChild(const ORVIDOM_Node& parent, const I18NString& name, Accept accept) {
  pugi::xml_node p = containerOf(parent);
  if (!p) return {};
  const auto& store = ORVIDOM_Access::store(parent);
  const NameMatcher wanted(name.str());
  for (pugi::xml_node c = orvidom::firstVisibleChild(*store, p); c; c = c.next_sibling()) {
    if (wanted.isElement(c) && accept(c)) return ORVIDOM_Access::node(store, c);
  }
  return {};
}

// The document that owns `parent`, or `parent` itself when it is a document.
ORVIDOM_Document documentOf(const ORVIDOM_Node& parent) {
  return parent.getNodeType() == ORVIDOM_Node::DOCUMENT_NODE ? ORVIDOM_Document(parent)
                                                             : parent.getOwnerDocument();
}

// True for the parents that take element children: elements and documents.
bool takesElements(const ORVIDOM_Node& parent) noexcept {
  const unsigned short type = parent.getNodeType();
  return type == ORVIDOM_Node::ELEMENT_NODE || type == ORVIDOM_Node::DOCUMENT_NODE;
}

// A new element named `name` appended to `parent`: made in place under an element or a
// document. Other parents take the checked path of making and appending, which raises the DOM's
// errors.
ORVIDOM_Element appendNew(const ORVIDOM_Node& parent, const I18NString& name) {
  if (takesElements(parent)) {
    return orvidom::appendNewElement(ORVIDOM_Access::store(parent), ORVIDOM_Access::pnode(parent),
                                     name.str());
  }
  ORVIDOM_Element elem = documentOf(parent).createElement(name);
  parent.appendChild(elem);
  return elem;
}

// The joined text of the element's direct text and CDATA children.
std::string textOf(pugi::xml_node e) {
  std::string text;
  for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) text += c.value();
  }
  return text;
}

}  // namespace

ORVIDOM_Element ORVIDOM_Helper::findChildElement(const ORVIDOM_Node& parent,
                                                 const I18NString& name) {
  return findChild(parent, name, [](pugi::xml_node) { return true; });
}

ORVIDOM_Element ORVIDOM_Helper::findFirstElement(const ORVIDOM_Node& parent,
                                                 const I18NString& name) {
  pugi::xml_node p = containerOf(parent);
  if (!p) return {};
  const auto& store = ORVIDOM_Access::store(parent);
  const NameMatcher wanted(name.str());
  return ORVIDOM_Access::node(store, orvidom::findDescendant(*store, p, [&](pugi::xml_node n) {
                                return wanted.isElement(n);
                              }));
}

ORVIDOM_Element ORVIDOM_Helper::findElementWithAttribute(const ORVIDOM_Node& parent,
                                                         const I18NString& name,
                                                         const I18NString& attribute,
                                                         const I18NString& value) {
  pugi::xml_node p = containerOf(parent);
  if (!p) return {};
  const auto& store = ORVIDOM_Access::store(parent);
  const NameMatcher wanted(name.str());
  return ORVIDOM_Access::node(store, orvidom::findDescendant(*store, p, [&](pugi::xml_node n) {
                                if (!wanted.isElement(n)) return false;
                                pugi::xml_attribute a = n.attribute(attribute.c_str());
                                return a && value == a.value();
                              }));
}

ORVIDOM_Element ORVIDOM_Helper::findNextSiblingElement(const ORVIDOM_Node& node,
                                                       const I18NString& name) {
  pugi::xml_node n = containerOf(node);
  if (!n) return {};
  const auto& store = ORVIDOM_Access::store(node);
  // A detached node has no siblings, though the holder keeps it next to others.
  if (n.parent() == store->holder) return {};
  const NameMatcher wanted(name.str());
  for (pugi::xml_node s = n.next_sibling(); s; s = s.next_sibling()) {
    if (wanted.isElement(s)) return ORVIDOM_Access::node(store, s);
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
  ORVIDOM_Element found =
      findChild(parent, name, [&](pugi::xml_node c) { return textOf(c) == text.str(); });
  if (!found.isNull()) return found;
  // The text is checked first, so that text XML cannot carry leaves the parent unchanged.
  if (takesElements(parent)) {
    orvidom::requireXmlText(text.str(), "a node value");
    ORVIDOM_Element elem = appendNew(parent, name);
    if (!text.empty()) {
      ORVIDOM_Access::pnode(elem)
          .append_child(pugi::node_pcdata)
          .set_value(text.c_str(), text.length());
    }
    return elem;
  }
  ORVIDOM_Text textNode = text.empty() ? ORVIDOM_Text() : documentOf(parent).createTextNode(text);
  ORVIDOM_Element elem = appendNew(parent, name);
  if (!textNode.isNull()) elem.appendChild(textNode);
  return elem;
}

ORVIDOM_Element ORVIDOM_Helper::findOrCreateElementWithAttribute(const ORVIDOM_Node& parent,
                                                                 const I18NString& name,
                                                                 const I18NString& attribute,
                                                                 const I18NString& value) {
  ORVIDOM_Element found = findChild(parent, name, [&](pugi::xml_node c) {
    pugi::xml_attribute a = c.attribute(attribute.c_str());
    return a && value == a.value();
  });
  if (!found.isNull()) return found;
  ORVIDOM_Element elem = appendNew(parent, name);
  elem.setAttribute(attribute, value);
  return elem;
}

void ORVIDOM_Helper::appendChildAttributes(const ORVIDOM_Node& parent, const I18NString& name,
                                           const I18NString& attribute,
                                           std::vector<I18NString>& values) {
  pugi::xml_node p = containerOf(parent);
  if (!p) return;
  const NameMatcher wanted(name.str());
  for (pugi::xml_node c = orvidom::firstVisibleChild(*ORVIDOM_Access::store(parent), p); c;
       c = c.next_sibling()) {
    if (wanted.isElement(c)) values.emplace_back(c.attribute(attribute.c_str()).value());
  }
}

I18NString ORVIDOM_Helper::getElementText(const ORVIDOM_Node& element) {
  pugi::xml_node e = containerOf(element);
  return e ? I18NString(textOf(e)) : I18NString();
}

void ORVIDOM_Helper::getElementText(const ORVIDOM_Node& element, I18NString& text) {
  text = getElementText(element);
}
