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
  // A vocabulary name copied into the document once, for the many elements and attributes a loop
  // names with it: looking a name up costs about as much as the rest of adding an attribute.
  class Name {
   private:
    friend class Builder;
    explicit Name(TextRef text) noexcept : m_text(text) {}
    TextRef m_text;
  };

  // The element `element` refers to, which must be one.
  explicit Builder(const ORVIDOM_Node& element) noexcept
      : m_store(ORVIDOM_Access::store(element).get()), m_node(ORVIDOM_Access::index(element)) {
    assert(m_store->nodes[m_node].isElement());
  }

  // A new detached element of `doc` named `name`, a vocabulary name: what createElement makes.
  static Builder detached(const ORVIDOM_Document& doc, const I18NString& name) {
    ORVIDOM_Store* store = ORVIDOM_Access::store(doc).get();
    return Builder(store, newElement(store, name));
  }

  // The document's copy of `name`, a vocabulary name.
  Name name(const I18NString& name) const {
    assert(isXmlName(name.str()));
    return Name(m_store->poolName(name.str()));
  }

  // A new last child element named `name`, a vocabulary name.
  Builder element(Name name) const {
    const Index e = m_store->newNode(name.m_text, 0);
    m_store->append(m_node, e);
    return Builder(m_store, e);
  }
  Builder element(const I18NString& name) const { return element(this->name(name)); }

  // Adds the attribute `name`, a vocabulary name the element does not have yet, with `value`.
  const Builder& attribute(Name name, const I18NString& value) const {
    requireXmlText(value.str(), "an attribute value");
    return vocabularyAttribute(name, value);
  }
  const Builder& attribute(const I18NString& name, const I18NString& value) const {
    return attribute(this->name(name), value);
  }
  // Adds the attribute `name` as above with `value`, also from the vocabulary, which XML carries.
  const Builder& vocabularyAttribute(Name name, const I18NString& value) const {
    assert(!m_store->findAttribute(m_node, m_store->text(name.m_text)));
    assert(findInvalidXmlChar(value.str()) == std::string_view::npos);
    m_store->addAttribute(m_node, name.m_text, m_store->addText(value.str()));
    return *this;
  }
  const Builder& vocabularyAttribute(const I18NString& name, const I18NString& value) const {
    return vocabularyAttribute(this->name(name), value);
  }

  // A new last child element named `name` holding `text`, which is checked before anything is
  // added; an empty text adds no text node.
  Builder textElement(Name name, const I18NString& text) const {
    requireXmlText(text.str(), "a node value");
    const Builder e = element(name);
    if (!text.empty())
      m_store->append(e.m_node, m_store->newNode(m_store->addText(text.str()), kKindText));
    return e;
  }
  Builder textElement(const I18NString& name, const I18NString& text) const {
    return textElement(this->name(name), text);
  }

  // Makes `child`, a detached element, the last child.
  void append(const Builder& child) const { m_store->append(m_node, child.m_node); }
  // Takes `child`, a child element, and everything in it out of the document.
  void remove(const Builder& child) const { m_store->detach(child.m_node); }

  // A handle to the element.
  ORVIDOM_Element handle(const ORVIDOM_Node& sameDocument) const noexcept {
    return ORVIDOM_Access::node(ORVIDOM_Access::store(sameDocument), m_node);
  }

 private:
  Builder(ORVIDOM_Store* store, Index node) noexcept : m_store(store), m_node(node) {}

  static Index newElement(ORVIDOM_Store* store, const I18NString& name) {
    assert(isXmlName(name.str()));
    return store->newElement(name.str());
  }

  // The store of the element's document, which outlives the builder.
  ORVIDOM_Store* m_store;
  Index m_node;
};

}  // namespace orvidom
