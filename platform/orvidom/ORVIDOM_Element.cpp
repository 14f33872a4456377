#include "orvidom/ORVIDOM_Element.h"

#include <string>

#include "orvidom/ORVIDOM_Store.h"

using orvidom::Index;
using Ex = ORVIDOM_DOMException;

namespace {

// The element of a handle; 0 when the handle is null, an attribute or another kind of node.
Index elementOf(const ORVIDOM_Node& n) noexcept {
  const Index e = ORVIDOM_Access::nodeOnly(n);
  return e && ORVIDOM_Access::store(n)->nodes[e].isElement() ? e : 0;
}

Index requireElement(const ORVIDOM_Node& n, const char* op) {
  const Index e = elementOf(n);
  if (!e) throw Ex(Ex::NOT_SUPPORTED_ERR, std::string(op) + " on a handle that is no element");
  return e;
}

// The attribute of the handle's element named `name`; 0 when there is none.
Index attributeOf(const ORVIDOM_Node& n, const I18NString& name) noexcept {
  const Index e = elementOf(n);
  return e ? ORVIDOM_Access::store(n)->findAttribute(e, name.str()) : 0;
}

}  // namespace

I18NString ORVIDOM_Element::getTagName() const {
  const Index e = elementOf(*this);
  return e ? I18NString(m_store->textOf(e)) : I18NString();
}

I18NString ORVIDOM_Element::getAttribute(const I18NString& name) const {
  const Index a = attributeOf(*this, name);
  return a ? I18NString(m_store->text(m_store->attrs[a].value)) : I18NString();
}

void ORVIDOM_Element::setAttribute(const I18NString& name, const I18NString& value) const {
  const Index e = requireElement(*this, "setAttribute");
  orvidom::requireXmlName(name.str(), "attribute name");
  orvidom::requireXmlText(value.str(), "an attribute value");
  const orvidom::TextRef text = m_store->addText(value.str());
  if (const Index a = attributeOf(*this, name)) {
    m_store->attrs[a].value = text;
  } else {
    m_store->addAttribute(e, m_store->poolName(name.str()), text);
  }
}

bool ORVIDOM_Element::hasAttribute(const I18NString& name) const {
  return attributeOf(*this, name) != 0;
}

void ORVIDOM_Element::removeAttribute(const I18NString& name) const {
  const Index e = requireElement(*this, "removeAttribute");
  if (const Index a = attributeOf(*this, name)) m_store->removeAttribute(e, a);
}

ORVIDOM_NodeList ORVIDOM_Element::getElementsByTagName(const I18NString& name) const {
  std::vector<Index> found;
  if (const Index root = ORVIDOM_Access::nodeOnly(*this)) {
    const bool all = name == "*";
    const orvidom::NameMatcher wanted(name.str());
    const ORVIDOM_Store& store = *m_store;
    orvidom::findDescendant(store, root, [&](Index n) {
      if (store.nodes[n].isElement() && (all || wanted.matches(store.textOf(n)))) {
        found.push_back(n);
      }
      return false;
    });
  }
  return ORVIDOM_Access::list(m_store, std::move(found));
}

ORVIDOM_Element ORVIDOM_Element::appendElement(const I18NString& tagName) const {
  const Index parent = requireElement(*this, "appendElement");
  orvidom::requireXmlName(tagName.str(), "element name");
  const Index e = m_store->newElement(tagName.str());
  m_store->append(parent, e);
  return ORVIDOM_Access::node(m_store, e);
}
