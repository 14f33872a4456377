#include "queryframework/XelGetJoinPathsHelper.h"

#include <algorithm>

#include "core/Resources.h"
#include "orvidom/ORVIDOM_ElementIndex.h"
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
  // One walk finds the paths and their joins however the paths nest. The joins below a path
  // that lies within an earlier path are already taken, so each join is read once.
  const ORVIDOM_ElementIndex found(m_response, {korvath_actionhelper_resources_joinPath_str,
                                                korvath_actionhelper_resources_join_str});
  const ORVIDOM_ElementIndex::Range paths = found.all(0);
  std::size_t taken = 0;
  for (std::size_t p = paths.first; p < paths.last; ++p) {
    const ORVIDOM_ElementIndex::Range pathJoins = found.below(0, p, 1);
    for (std::size_t j = std::max(pathJoins.first, taken); j < pathJoins.last; ++j) {
      joins.insert(ORVIDOM_Helper::getElementText(found.element(1, j)));
    }
    taken = std::max(taken, pathJoins.last);
  }
}
