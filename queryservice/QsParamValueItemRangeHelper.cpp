#include "queryservice/QsParamValueItemRangeHelper.h"

#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"

QsParamValueItemRangeHelper::~QsParamValueItemRangeHelper() = default;

QsParamValueItemSimpleHelper* QsParamValueItemRangeHelper::SetStart(const I18NString& use,
                                                                    int inclusive) {
  m_start = std::make_unique<QsParamValueItemSimpleHelper>(inclusive, use);
  return m_start.get();
}

QsParamValueItemSimpleHelper* QsParamValueItemRangeHelper::SetEnd(const I18NString& use,
                                                                  int inclusive) {
  m_end = std::make_unique<QsParamValueItemSimpleHelper>(inclusive, use);
  return m_end.get();
}

QsParamValueItemSimpleHelper* QsParamValueItemRangeHelper::GetStart() {
  return readBound(m_start, korvath_actionhelper_resources_bus_start_str,
                   korvath_actionhelper_resources_start_str);
}

QsParamValueItemSimpleHelper* QsParamValueItemRangeHelper::GetEnd() {
  return readBound(m_end, korvath_actionhelper_resources_bus_end_str,
                   korvath_actionhelper_resources_end_str);
}

// An item that was never read has no element to search, and gives null like an item read
// without that bound.
QsParamValueItemSimpleHelper* QsParamValueItemRangeHelper::readBound(
    std::unique_ptr<QsParamValueItemSimpleHelper>& bound, const I18NString& prefixedName,
    const I18NString& plainName) {
  if (bound) return bound.get();
  ORVIDOM_Node nodeTemp = ORVIDOM_Helper::findFirstElement(GetElement(), prefixedName);
  if (nodeTemp.isNull()) nodeTemp = ORVIDOM_Helper::findFirstElement(GetElement(), plainName);
  if (nodeTemp.isNull()) return nullptr;
  ORV_ASSERT(nodeTemp.getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  ORVIDOM_Element elem(nodeTemp);
  std::unique_ptr<QsParamValueItemHelper> p(
      Create(korvath_actionhelper_resources_bus_simpleParmValueItem_str, elem));
  ORV_ASSERT(p->GetType() == kValueItemSimple);
  bound.reset(static_cast<QsParamValueItemSimpleHelper*>(p.release()));
  return bound.get();
}

const I18NString& QsParamValueItemRangeHelper::GetTesselType() const {
  if (!m_end) return korvath_actionhelper_resources_bus_unboundedEndParmValueItem_str;
  return m_start ? korvath_actionhelper_resources_bus_boundRangeParmValueItem_str
                 : korvath_actionhelper_resources_bus_unboundedStartParmValueItem_str;
}

void QsParamValueItemRangeHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  QsParamValueItemHelper::doMake(doc, elem);
  makeBound(doc, elem, m_start, korvath_actionhelper_resources_bus_start_str);
  makeBound(doc, elem, m_end, korvath_actionhelper_resources_bus_end_str);
}

void QsParamValueItemRangeHelper::makeBound(
    ORVIDOM_Document& doc, ORVIDOM_Element& item,
    const std::unique_ptr<QsParamValueItemSimpleHelper>& bound, const I18NString& name) const {
  if (!bound) return;
  ORVIDOM_Element elem = doc.createElement(name);
  item.appendChild(elem);
  MakePropertiesOf(*bound, elem);
}
