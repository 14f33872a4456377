// The name and value pairs of a "parameters" element: written as "parameters" holding one
// "parameter" per pair, read back from any element holding "parameter" elements.
#pragma once

#include <utility>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>

class KORVATH_API XelGetParametersHelper : public ActionHandlerBase {
 public:
  XelGetParametersHelper() = default;
  ~XelGetParametersHelper() override;

  // A copy of the pairs (name, value), in order.
  std::vector<std::pair<I18NString, I18NString>> GetParameters() const;
  // Replaces the pairs by a copy of `parameters`.
  void SetParameters(const std::vector<std::pair<I18NString, I18NString>>& parameters);

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Appends the pair of every "parameter" below `elem`; the earlier pairs stay.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  std::vector<std::pair<I18NString, I18NString>> m_parameters;
};
