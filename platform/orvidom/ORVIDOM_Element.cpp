#include "orvidom/ORVIDOM_Element.h"

#include <string>

#include "orvidom/ORVIDOM_Store.h"

using Ex = ORVIDOM_DOMException;

namespace {

pugi::xml_node elementOf(const ORVIDOM_Node& n) noexcept {
  pugi::xml_node p = ORVIDOM_Access::pnode(n);
  return !ORVIDOM_Access::isAttribute(n) && p.type() == pugi::node_element ? p : pugi::xml_node();
}

[[noreturn]] void throwNoElement(const char* op) {
  throw Ex(Ex::NOT_SUPPORTED_ERR, std::string(op) + " on a handle that is no element");
}

pugi::xml_node requireElement(const ORVIDOM_Node& n, const char* op) {
  pugi::xml_node e = elementOf(n);
  if (!e) throwNoElement(op);
  return e;
}

}  // namespace

I18NString ORVIDOM_Element::getTagName() const { return I18NString(elementOf(*this).name()); }

I18NString ORVIDOM_Element::getAttribute(const I18NString& name) const {
  return I18NString(elementOf(*this).attribute(name.c_str()).value());
}

void ORVIDOM_Element::setAttribute(const I18NString& name, const I18NString& value) const {
  pugi::xml_node e = requireElement(*this, "setAttribute");
  orvidom::requireXmlName(name.str(), "attribute name");
  orvidom::requireXmlText(value.str(), "an attribute value");
  pugi::xml_attribute a = e.attribute(name.c_str());
  if (!a) a = e.append_attribute(name.c_str());
  a.set_value(value.c_str(), value.length());
}

bool ORVIDOM_Element::hasAttribute(const I18NString& name) const {
  return static_cast<bool>(elementOf(*this).attribute(name.c_str()));
}

void ORVIDOM_Element::removeAttribute(const I18NString& name) const {
  requireElement(*this, "removeAttribute").remove_attribute(name.c_str());
}

ORVIDOM_NodeList ORVIDOM_Element::getElementsByTagName(const I18NString& name) const {
  std::vector<pugi::xml_node_struct*> found;
  if (!isNull() && !ORVIDOM_Access::isAttribute(*this)) {
    const bool all = name == "*";
    const orvidom::NameMatcher wanted(name.str());
    orvidom::findDescendant(*m_store, ORVIDOM_Access::pnode(*this), [&](pugi::xml_node n) {
      if (n.type() == pugi::node_element && (all || wanted.matches(n.name()))) {
        found.push_back(n.internal_object());
      }
      return false;
    });
  }
  return ORVIDOM_Access::list(m_store, std::move(found));
}

ORVIDOM_Element ORVIDOM_Element::appendElement(const I18NString& tagName) const {
  return orvidom::appendNewElement(m_store, requireElement(*this, "appendElement"), tagName.str());
}
