// A null parameter value: an "item" with "xsi:nil" "true" and nothing else.
#pragma once

#include <Korvath_ActionHelper/queryservice/QsParamValueItemHelper.h>

class KORVATH_API QsParamValueItemNullHelper : public QsParamValueItemHelper {
 public:
  QsParamValueItemNullHelper() : QsParamValueItemHelper(1) {}

  EItemType GetType() const override { return kValueItemNull; }
  const I18NString& GetTesselType() const override;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
};
