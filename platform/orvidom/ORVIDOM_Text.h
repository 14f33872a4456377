// A handle to a text node.
#pragma once

#include "orvidom/ORVIDOM_Node.h"

class KORVATH_API ORVIDOM_Text : public ORVIDOM_Node {
 public:
  ORVIDOM_Text() noexcept = default;
  ORVIDOM_Text(const ORVIDOM_Node& node) noexcept  // NOLINT(google-explicit-constructor)
      : ORVIDOM_Node(node) {}

  // The text.
  I18NString getData() const { return getNodeValue(); }
  // Replaces the text.
  void setData(const I18NString& data) const { setNodeValue(data); }
};
