#include "queryframework/XelExpandParameterHelper.h"

#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"

XelExpandParameterHelper::XelExpandParameterHelper(const I18NString& modelPath)
    : QFZoCommandHelper(modelPath) {}

XelExpandParameterHelper::~XelExpandParameterHelper() = default;

void XelExpandParameterHelper::SetParameterisedValue(const I18NString& value) {
  m_parameterisedValue = value;
}

void XelExpandParameterHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  ORVIDOM_Element expand = doc.createElement(korvath_actionhelper_resources_expand_str);
  ORVIDOM_Helper::findOrCreateElementWithText(expand, korvath_actionhelper_resources_expression_str,
                                              m_parameterisedValue);
  QFZoCommandHelper::Incorporate(doc, elem, expand);
}

void XelExpandParameterHelper::doTake(ORVIDOM_Element& elem) { m_response = elem; }

I18NString XelExpandParameterHelper::GetExpandedQuery() const {
  if (m_response.isNull()) return I18NString();
  const ORVIDOM_NodeList resultList =
      m_response.getElementsByTagName(korvath_actionhelper_resources_expansionResult_str);
  // clang-format off
  ORV_ASSERT(resultList.getLength() == 1 && resultList.item(0).getNodeType() == ORVIDOM_Node::ELEMENT_NODE && resultList.item(0).getFirstChild().getNodeType() == ORVIDOM_Node::TEXT_NODE);
  // clang-format on
  return resultList.item(0).getFirstChild().getNodeValue();
}
