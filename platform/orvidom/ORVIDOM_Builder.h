// Building the elements of a helper's document in place, for the helpers' Make. Internal to the
// library.
#pragma once

#include <cassert>
#include <string_view>

#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_Store.h"

namespace orvidom {

// An element of a document being made. Each step is the tree the handle operations give
// (appendElement, setAttribute, findOrCreateElementWithText on a new element), without what a
// made document does not need: a counted handle per element, the name check of names from the
// library's vocabulary (constants that are XML names), and the search for an attribute an element
// just made cannot have yet. Values from callers are checked as the handle operations check them,
// with the same errors.
class Builder {
 public:
  // The element `element` refers to, which must be one.
  explicit Builder(const ORVIDOM_Node& element) noexcept : m_node(ORVIDOM_Access::pnode(element)) {
    assert(m_node.type() == pugi::node_element);
  }

  // A new detached element of `doc` named `name`, a vocabulary name: what createElement makes.
  static Builder detached(const ORVIDOM_Document& doc, const I18NString& name) {
    return Builder(ORVIDOM_Access::store(doc)->holder, name);
  }

  // A new last child element named `name`, a vocabulary name.
  Builder element(const I18NString& name) const { return Builder(m_node, name); }

  // Adds the attribute `name`, a vocabulary name the element does not have yet, with `value`.
  const Builder& attribute(const I18NString& name, const I18NString& value) const {
    assert(isXmlName(name.str()) && !m_node.attribute(name.c_str()));
    requireXmlText(value.str(), "an attribute value");
    node().append_attribute(name.c_str()).set_value(value.c_str(), value.length());
    return *this;
  }
  // Adds the attribute `name` as above with `value`, also from the vocabulary, which XML carries.
  const Builder& vocabularyAttribute(const I18NString& name, const I18NString& value) const {
    assert(isXmlName(name.str()) && !m_node.attribute(name.c_str()));
    assert(findInvalidXmlChar(value.str()) == std::string_view::npos);
    node().append_attribute(name.c_str()).set_value(value.c_str(), value.length());
    return *this;
  }

  // A new last child element named `name` holding `text`, which is checked before anything is
  // added; an empty text adds no text node.
  Builder textElement(const I18NString& name, const I18NString& text) const {
    requireXmlText(text.str(), "a node value");
    const Builder e = element(name);
    if (!text.empty()) {
      e.node().append_child(pugi::node_pcdata).set_value(text.c_str(), text.length());
    }
    return e;
  }

  // Makes `child`, a detached element, the last child.
  void append(const Builder& child) const { node().append_move(child.m_node); }

  // A handle to the element.
  ORVIDOM_Element handle(const ORVIDOM_Node& sameDocument) const noexcept {
    return ORVIDOM_Access::node(ORVIDOM_Access::store(sameDocument), m_node);
  }

 private:
  // A copy of the node, which pugixml changes through non-const calls only.
  pugi::xml_node node() const noexcept { return m_node; }

  Builder(pugi::xml_node parent, const I18NString& name)
      : m_node(parent.append_child(name.c_str())) {
    assert(isXmlName(name.str()));
  }

  pugi::xml_node m_node;
};

}  // namespace orvidom
