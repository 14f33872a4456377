#include "queryframework/XelGetJoinPathsHelper.h"

#include "core/Resources.h"
#include "orvidom/ORVIDOM_Helper.h"

XelGetJoinPathsHelper::XelGetJoinPathsHelper(const I18NString& modelPath)
    : QFZoCommandHelper(modelPath) {}

XelGetJoinPathsHelper::~XelGetJoinPathsHelper() = default;

void XelGetJoinPathsHelper::AddItem(const I18NString& item) {
  if (!item.empty()) m_items.push_back(item);
}

void XelGetJoinPathsHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  ORVIDOM_Element body = doc.createElement(korvath_actionhelper_resources_getJoinPaths_str);
  for (const I18NString& item : m_items) {
    const ORVIDOM_Element expression =
        doc.createElement(korvath_actionhelper_resources_expression_str);
    body.appendChild(expression);
    expression.appendChild(doc.createTextNode(item));
  }
  QFZoCommandHelper::Incorporate(doc, elem, body);
}

void XelGetJoinPathsHelper::doTake(ORVIDOM_Element& elem) { m_response = elem; }

bool XelGetJoinPathsHelper::HasResponse() const {
  return m_response.getNodeType() == ORVIDOM_Node::ELEMENT_NODE;
}

int XelGetJoinPathsHelper::PathExists() {
  const bool found = HasResponse() && !ORVIDOM_Helper::findFirstElement(
                                           m_response, korvath_actionhelper_resources_joinPath_str)
                                           .isNull();
  return found ? 1 : 0;
}

void XelGetJoinPathsHelper::GetJoins(std::set<I18NString>& joins) {
  if (!HasResponse()) return;
  const ORVIDOM_NodeList paths =
      m_response.getElementsByTagName(korvath_actionhelper_resources_joinPath_str);
  for (unsigned long p = 0; p < paths.getLength(); ++p) {
    const ORVIDOM_NodeList pathJoins =
        ORVIDOM_Element(paths.item(p))
            .getElementsByTagName(korvath_actionhelper_resources_join_str);
    for (unsigned long j = 0; j < pathJoins.getLength(); ++j) {
      joins.insert(ORVIDOM_Helper::getElementText(pathJoins.item(j)));
    }
  }
}
