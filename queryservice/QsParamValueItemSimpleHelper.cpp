#include "queryservice/QsParamValueItemSimpleHelper.h"

#include "core/Resources.h"
#include "orvidom/ORVIDOM_Helper.h"

const I18NString& QsParamValueItemSimpleHelper::GetTesselType() const {
  return korvath_actionhelper_resources_bus_simpleParmValueItem_str;
}

void QsParamValueItemSimpleHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  QsParamValueItemHelper::doMake(doc, elem);
  makeProperties(elem);
}

void QsParamValueItemSimpleHelper::doTake(ORVIDOM_Element& elem) {
  QsParamValueItemHelper::doTake(elem);
  ReadChildText(elem, korvath_actionhelper_resources_use_str, m_use);
  ReadChildText(elem, korvath_actionhelper_resources_display_str, m_display);
}

void QsParamValueItemSimpleHelper::makeProperties(ORVIDOM_Element& elem) const {
  QsParamValueItemHelper::makeProperties(elem);
  if (!m_use.empty()) {
    ORVIDOM_Helper::findOrCreateElementWithText(elem, korvath_actionhelper_resources_use_str,
                                                m_use);
  }
}
