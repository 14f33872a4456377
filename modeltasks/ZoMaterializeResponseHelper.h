// Reads "materializeResponse": per task of a materialize request, the engine's answer text.
// Its Make writes only the empty top element, which the engine fills.
#pragma once

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/modeltasks/ZoMaterializeRequestHelper.h>

class KORVATH_API ZoMaterializeResponseHelper : public ActionHandlerBase {
 public:
  ZoMaterializeResponseHelper() = default;

  // The "response" text of the task's answer: 1 and `response` filled when there is one, else 0
  // and `response` untouched.
  int GetResponse(ZoMaterializeRequestHelper::ETasks task, I18NString& response) const;

 protected:
  // Writes an empty "materializeResponse".
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Only keeps the element.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  ORVIDOM_Element m_responseElement;
};
