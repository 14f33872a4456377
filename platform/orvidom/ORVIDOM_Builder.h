// Building the elements of a helper's document in place, for the helpers' Make. Internal to the
// library.
#pragma once

#include <cassert>
#include <string_view>

#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/PugiTree.h"

namespace orvidom {

// An element of a document being made. Each step is the tree the handle operations give
// (appendElement, setAttribute, findOrCreateElementWithText on a new element), without what a
// made document does not need: a counted handle per element, the name check of names from the
// library's vocabulary (constants that are XML names), and the search for an attribute an element
// just made cannot have yet. Values from callers are checked as the handle operations check them,
// with the same errors. Where the library allows, elements' records point at names, and those of
// attributes and texts at values, that the document's store keeps (NamePool, TextPool) instead
// of copies the library makes one by one.
class Builder {
 public:
  // The element `element` refers to, which must be one.
  explicit Builder(const ORVIDOM_Node& element) noexcept
      : m_store(ORVIDOM_Access::store(element).get()), m_node(ORVIDOM_Access::pnode(element)) {
    assert(m_node.type() == pugi::node_element);
  }

  // A new detached element of `doc` named `name`, a vocabulary name: what createElement makes.
  static Builder detached(const ORVIDOM_Document& doc, const I18NString& name) {
    ORVIDOM_Store* store = ORVIDOM_Access::store(doc).get();
    return Builder(store, store->holder, name);
  }

  // A new last child element named `name`, a vocabulary name.
  Builder element(const I18NString& name) const { return Builder(m_store, m_node, name); }

  // Adds the attribute `name`, a vocabulary name the element does not have yet, with `value`.
  const Builder& attribute(const I18NString& name, const I18NString& value) const {
    requireXmlText(value.str(), "an attribute value");
    return vocabularyAttribute(name, value);
  }
  // Adds the attribute `name` as above with `value`, also from the vocabulary, which XML carries.
  const Builder& vocabularyAttribute(const I18NString& name, const I18NString& value) const {
    assert(isXmlName(name.str()) && !m_node.attribute(name.c_str()));
    assert(findInvalidXmlChar(value.str()) == std::string_view::npos);
    const pugi::xml_attribute a = node().append_attribute(name.c_str());
    // A new attribute's value is already empty.
    if (!value.empty()) setValue(a, value);
    return *this;
  }

  // A new last child element named `name` holding `text`, which is checked before anything is
  // added; an empty text adds no text node.
  Builder textElement(const I18NString& name, const I18NString& text) const {
    requireXmlText(text.str(), "a node value");
    const Builder e = element(name);
    if (!text.empty()) setValue(e.node().append_child(pugi::node_pcdata), text);
    return e;
  }

  // Makes `child`, a detached element, the last child.
  void append(const Builder& child) const { node().append_move(child.m_node); }
  // Removes `child`, a child element, and everything in it from the document.
  void remove(const Builder& child) const { node().remove_child(child.m_node); }

  // A handle to the element.
  ORVIDOM_Element handle(const ORVIDOM_Node& sameDocument) const noexcept {
    return ORVIDOM_Access::node(ORVIDOM_Access::store(sameDocument), m_node);
  }

 private:
  // A copy of the node, which pugixml changes through non-const calls only.
  pugi::xml_node node() const noexcept { return m_node; }

  Builder(ORVIDOM_Store* store, pugi::xml_node parent, const I18NString& name)
      : m_store(store), m_node(newElement(store, parent, name)) {}

  // Gives `n`, a new attribute or text node, the value `text`, which is not empty: a copy the
  // document's store keeps, where the library allows.
  template <class Handle>
  void setValue(Handle n, const I18NString& text) const {
    if (!sharedStringsMatchLibrary()) {
      n.set_value(text.c_str(), text.length());
    } else if (const auto record = n.internal_object()) {
      RecordTree::shareValue(record, m_store->texts.copy(text.str()));
    }
  }

  // The pool's copy of `name` when records may point at it, or null.
  static const char* sharedName(ORVIDOM_Store* store, const I18NString& name) {
    return sharedStringsMatchLibrary() ? store->names.find(name.str()) : nullptr;
  }

  // A new last child element of `parent` named `name`.
  static pugi::xml_node newElement(ORVIDOM_Store* store, pugi::xml_node parent,
                                   const I18NString& name) {
    assert(isXmlName(name.str()));
    const char* shared = sharedName(store, name);
    if (!shared) return parent.append_child(name.c_str());
    const pugi::xml_node e = parent.append_child(pugi::node_element);
    if (const Node record = e.internal_object()) RecordTree::shareName(record, shared);
    return e;
  }

  // The store of the element's document, which outlives the builder.
  ORVIDOM_Store* m_store;
  pugi::xml_node m_node;
};

}  // namespace orvidom
