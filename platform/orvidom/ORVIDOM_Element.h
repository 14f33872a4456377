// A handle to an element. Built from any node handle; the element operations on a handle to
// another kind of node read as empty and refuse changes.
#pragma once

#include <utility>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Node.h>

class KORVATH_API ORVIDOM_Element : public ORVIDOM_Node {
 public:
  ORVIDOM_Element() noexcept = default;
  ORVIDOM_Element(const ORVIDOM_Node& node) noexcept  // NOLINT(google-explicit-constructor)
      : ORVIDOM_Node(node) {}
  // Takes over a temporary handle, which saves the copy's two atomic reference count changes.
  ORVIDOM_Element(ORVIDOM_Node&& node) noexcept  // NOLINT(google-explicit-constructor)
      : ORVIDOM_Node(std::move(node)) {}

  // The element's name; empty when the handle is not an element.
  I18NString getTagName() const;
  // The attribute's value; the empty string when it is absent.
  I18NString getAttribute(const I18NString& name) const;
  // Sets the attribute, adding it after the existing ones when it is new.
  void setAttribute(const I18NString& name, const I18NString& value) const;
  // True when the attribute is present.
  bool hasAttribute(const I18NString& name) const;
  // Removes the attribute when present.
  void removeAttribute(const I18NString& name) const;
  // Every descendant element of that name ("*" for all) in document order.
  ORVIDOM_NodeList getElementsByTagName(const I18NString& name) const;
  // A new last child element: the tree createElement and appendChild give, made in place.
  ORVIDOM_Element appendElement(const I18NString& tagName) const;
};
