// A handle to a text node.
#pragma once

#include <utility>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Node.h>

class KORVATH_API ORVIDOM_Text : public ORVIDOM_Node {
 public:
  ORVIDOM_Text() noexcept = default;
  ORVIDOM_Text(const ORVIDOM_Node& node) noexcept  // NOLINT(google-explicit-constructor)
      : ORVIDOM_Node(node) {}
  // Takes over a temporary handle, which saves the copy's two atomic reference count changes.
  ORVIDOM_Text(ORVIDOM_Node&& node) noexcept  // NOLINT(google-explicit-constructor)
      : ORVIDOM_Node(std::move(node)) {}

  // The text.
  I18NString getData() const { return getNodeValue(); }
  // Replaces the text.
  void setData(const I18NString& data) const { setNodeValue(data); }
};
