#include "queryservice/QsParamValueItemHelper.h"

#include <memory>

#include "core/NameTable.h"
#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"
#include "queryservice/QsParamValueItemHierarchyHelper.h"
#include "queryservice/QsParamValueItemRangeHelper.h"
#include "queryservice/QsParamValueItemSimpleHelper.h"

namespace {

// The names of the item classes, indexed by EItemType - 1.
const I18NString kItemClassNames[] = {"simple", "range", "hierarchy", "null"};

}  // namespace

// The parent is taken by value as the interface documents it.
bool ReadChildText(ORVIDOM_Node parent,  // NOLINT(performance-unnecessary-value-param)
                   const I18NString& name, I18NString& text) {
  if (parent.isNull()) return false;
  for (ORVIDOM_Node child = parent.getFirstChild(); !child.isNull();
       child = child.getNextSibling()) {
    if (child.getNodeType() != ORVIDOM_Node::ELEMENT_NODE || child.getNodeName() != name) continue;
    const ORVIDOM_Node first = child.getFirstChild();
    if (first.isNull()) continue;
    text = first.getNodeValue();
    return true;
  }
  return false;
}

const I18NString& QsParamValueItemHelper::ToString(ETesselItemType type) {
  switch (type) {
    case kItemSimple:
      return korvath_actionhelper_resources_bus_simpleParmValueItem_str;
    case kItemBoundRange:
      return korvath_actionhelper_resources_bus_boundRangeParmValueItem_str;
    case kItemUnboundedStart:
      return korvath_actionhelper_resources_bus_unboundedStartParmValueItem_str;
    case kItemUnboundedEnd:
      return korvath_actionhelper_resources_bus_unboundedEndParmValueItem_str;
    case kItemHierarchical:
      return korvath_actionhelper_resources_bus_hierarchicalParmValueItem_str;
    case kItemNil:
      return korvath_actionhelper_resources_xsi_nil_str;
  }
  return korvath_actionhelper_resources_unknown_str;
}

const I18NString& QsParamValueItemHelper::ToString(EItemType type) {
  return nametable::nameAt(kItemClassNames, type);
}

QsParamValueItemHelper* QsParamValueItemHelper::Create(const I18NString& type,
                                                       ORVIDOM_Element& element) {
  if (type.empty() || type == korvath_actionhelper_resources_xsi_nil_str) return nullptr;
  std::unique_ptr<QsParamValueItemHelper> item;
  if (type == korvath_actionhelper_resources_bus_simpleParmValueItem_str) {
    item = std::make_unique<QsParamValueItemSimpleHelper>();
  } else if (type == korvath_actionhelper_resources_bus_hierarchicalParmValueItem_str) {
    item = std::make_unique<QsParamValueItemHierarchyHelper>();
  } else if (type == korvath_actionhelper_resources_bus_boundRangeParmValueItem_str ||
             type == korvath_actionhelper_resources_bus_unboundedStartParmValueItem_str ||
             type == korvath_actionhelper_resources_bus_unboundedEndParmValueItem_str) {
    item = std::make_unique<QsParamValueItemRangeHelper>();
  } else {
    ORV_ASSERT(false);
  }
  item->doTake(element);
  return item.release();
}

void QsParamValueItemHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(korvath_actionhelper_resources_item_str);
  elem.setAttribute(korvath_actionhelper_resources_xsi_type_str, GetTesselType());
}

void QsParamValueItemHelper::doTake(ORVIDOM_Element& elmValueItem) {
  ORV_ASSERT(!elmValueItem.isNull());
  m_element = elmValueItem;
  I18NString inclusive;
  ReadChildText(elmValueItem, korvath_actionhelper_resources_inclusive_str, inclusive);
  m_inclusive = inclusive == korvath_actionhelper_resources_false_str ? 0 : 1;
}

void QsParamValueItemHelper::makeProperties(ORVIDOM_Element& elem) const {
  ORVIDOM_Helper::findOrCreateElementWithText(elem, korvath_actionhelper_resources_inclusive_str,
                                              m_inclusive
                                                  ? korvath_actionhelper_resources_true_str
                                                  : korvath_actionhelper_resources_false_str);
}
