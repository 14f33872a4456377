#include "queryframework/XelRefineObjectsHelper.h"

#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"

XelRefineObjectsHelper::XelRefineObjectsHelper(const I18NString& modelPath)
    : QFZoCommandHelper(modelPath) {}

XelRefineObjectsHelper::~XelRefineObjectsHelper() = default;

void XelRefineObjectsHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  m_requestRoot = doc.createElement(korvath_actionhelper_resources_refinePublishedModel_str);
  QFZoCommandHelper::Incorporate(doc, elem, m_requestRoot);
}

void XelRefineObjectsHelper::addRequestObject(const I18NString& objectID) {
  ORV_ASSERT(!objectID.empty());
  ORV_ASSERT(!m_requestRoot.isNull());
  const ORVIDOM_Document doc = m_requestRoot.getOwnerDocument();
  const ORVIDOM_Element objElem =
      m_requestRoot.appendChild(doc.createElement(korvath_actionhelper_resources_expression_str));
  ORV_ASSERT(!objElem.isNull());
  objElem.appendChild(doc.createTextNode(objectID));
}

void XelRefineObjectsHelper::doTake(ORVIDOM_Element& domResponse) {
  ORV_ASSERT(!domResponse.isNull());
  m_currentResponseObject =
      ORVIDOM_Helper::findFirstElement(domResponse, korvath_actionhelper_resources_expression_str);
  // clang-format off
  ORV_ASSERT(m_currentResponseObject.isNull() || m_currentResponseObject.getParentNode().getNodeName() == korvath_actionhelper_resources_response_str);
  // clang-format on
}

XelRefineObjectsHelper::EResponseObjectStatus XelRefineObjectsHelper::getResponseObject(
    I18NString& objectID) {
  if (m_currentResponseObject.isNull()) return kNoResponseObject;
  objectID = ORVIDOM_Helper::getElementText(m_currentResponseObject);
  ORV_ASSERT(!objectID.empty());
  m_currentResponseObject = m_currentResponseObject.getNextSibling();
  // clang-format off
  ORV_ASSERT(m_currentResponseObject.isNull() || m_currentResponseObject.getNodeName() == korvath_actionhelper_resources_expression_str);
  // clang-format on
  return kResponseObjectReturned;
}
