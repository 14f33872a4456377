// A handle to a document: the owner and factory of its nodes. Nodes it creates or imports are
// detached until appended somewhere.
#pragma once

#include <utility>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Element.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_NodeList.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Text.h>

class KORVATH_API ORVIDOM_Document : public ORVIDOM_Node {
 public:
  ORVIDOM_Document() noexcept = default;
  ORVIDOM_Document(const ORVIDOM_Node& node) noexcept  // NOLINT(google-explicit-constructor)
      : ORVIDOM_Node(node) {}
  // Takes over a temporary handle, which saves the copy's two atomic reference count changes.
  ORVIDOM_Document(ORVIDOM_Node&& node) noexcept  // NOLINT(google-explicit-constructor)
      : ORVIDOM_Node(std::move(node)) {}

  // The first element child of the document.
  ORVIDOM_Element getDocumentElement() const noexcept;
  // A new detached element; the name must be an XML name.
  ORVIDOM_Element createElement(const I18NString& tagName) const;
  // A new detached text node.
  ORVIDOM_Text createTextNode(const I18NString& data) const;
  // A new detached CDATA section.
  ORVIDOM_Node createCDATASection(const I18NString& data) const;
  // A new detached comment; the text must not hold "--" or end in "-".
  ORVIDOM_Node createComment(const I18NString& data) const;
  // A detached copy, owned by this document, of a node of any document; with its subtree
  // when `deep`.
  ORVIDOM_Node importNode(const ORVIDOM_Node& node, bool deep) const;
  // Every element of that name ("*" for all) in the document, in document order.
  ORVIDOM_NodeList getElementsByTagName(const I18NString& name) const;
};
