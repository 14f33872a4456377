#include "queryservice/QsParamValueItemNullHelper.h"

#include "core/Resources.h"

const I18NString& QsParamValueItemNullHelper::GetTesselType() const {
  return korvath_actionhelper_resources_xsi_nil_str;
}

void QsParamValueItemNullHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(korvath_actionhelper_resources_item_str);
  elem.setAttribute(korvath_actionhelper_resources_xsi_nil_str,
                    korvath_actionhelper_resources_true_str);
}
