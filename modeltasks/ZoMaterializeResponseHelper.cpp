#include "modeltasks/ZoMaterializeResponseHelper.h"

#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kElemMaterializeResponse("materializeResponse");

}  // namespace

int ZoMaterializeResponseHelper::GetResponse(ZoMaterializeRequestHelper::ETasks task,
                                             I18NString& response) const {
  const ORVIDOM_NodeList answers =
      m_responseElement.getElementsByTagName(ZoMaterializeRequestHelper::GetTaskName(task));
  if (answers.getLength() == 0) return 0;
  const ORVIDOM_Element nodeTemp = answers.item(0);
  ORV_ASSERT(nodeTemp.getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  // The engine writes one "response" per task, so only the first one is looked at.
  const ORVIDOM_Element answer =
      ORVIDOM_Helper::findFirstElement(nodeTemp, korvath_actionhelper_resources_response_str);
  const ORVIDOM_Node text = answer.getFirstChild();
  if (text.getNodeType() != ORVIDOM_Node::TEXT_NODE) return 0;
  response = text.getNodeValue();
  return 1;
}

void ZoMaterializeResponseHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(kElemMaterializeResponse);
}

void ZoMaterializeResponseHelper::doTake(ORVIDOM_Element& elem) { m_responseElement = elem; }
