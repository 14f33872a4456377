// A handle to an attribute of an element.
#pragma once

#include <utility>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Element.h>

class KORVATH_API ORVIDOM_Attr : public ORVIDOM_Node {
 public:
  ORVIDOM_Attr() noexcept = default;
  ORVIDOM_Attr(const ORVIDOM_Node& node) noexcept  // NOLINT(google-explicit-constructor)
      : ORVIDOM_Node(node) {}
  // Takes over a temporary handle, which saves the copy's two atomic reference count changes.
  ORVIDOM_Attr(ORVIDOM_Node&& node) noexcept  // NOLINT(google-explicit-constructor)
      : ORVIDOM_Node(std::move(node)) {}

  // The attribute's name.
  I18NString getName() const { return getNodeName(); }
  // The attribute's value.
  I18NString getValue() const { return getNodeValue(); }
  // Replaces the attribute's value.
  void setValue(const I18NString& value) const { setNodeValue(value); }
  // The element that carries the attribute.
  ORVIDOM_Element getOwnerElement() const noexcept;
};
