#include "queryservice/QsPromptFaultHelper.h"

#include <memory>

#include "core/OwnedList.h"
#include "core/Resources.h"
#include "orvidom/ORVIDOM_Helper.h"

QsPromptFaultHelper::~QsPromptFaultHelper() { DeleteAll(m_parameters); }

// The fault may be handed over whole or as its "parameters" element.
void QsPromptFaultHelper::doTake(ORVIDOM_Element& elem) {
  if (elem.isNull()) return;
  const ORVIDOM_Element parameters =
      elem.getTagName() == korvath_actionhelper_resources_parameters_str
          ? elem
          : ORVIDOM_Helper::findFirstElement(elem, korvath_actionhelper_resources_parameters_str);
  for (ORVIDOM_Node child = parameters.getFirstChild(); !child.isNull();
       child = child.getNextSibling()) {
    if (child.getNodeType() != ORVIDOM_Node::ELEMENT_NODE ||
        child.getNodeName() != korvath_actionhelper_resources_item_str) {
      continue;
    }
    auto parameter = std::make_unique<QsParameterHelper>();
    m_parameters.push_back(parameter.get());
    ORVIDOM_Element item(child);
    parameter.release()->Take(item);
  }
}
