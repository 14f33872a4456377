#include "queryservice/QsParamValueItemHierarchyHelper.h"

#include <memory>
#include <utility>

#include "core/OwnedList.h"
#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

bool isElementNamed(const ORVIDOM_Node& node, const I18NString& name) {
  return node.getNodeType() == ORVIDOM_Node::ELEMENT_NODE && node.getNodeName() == name;
}

}  // namespace

// Sub nodes are taken over by a work list before each is deleted, so a deep hierarchy is freed
// without one destructor call nesting inside another.
QsParamValueItemHierarchyHelper::~QsParamValueItemHierarchyHelper() {
  std::vector<QsParamValueItemHierarchyHelper*> pending = std::move(m_subNodes);
  while (!pending.empty()) {
    QsParamValueItemHierarchyHelper* node = pending.back();
    pending.pop_back();
    pending.insert(pending.end(), node->m_subNodes.begin(), node->m_subNodes.end());
    node->m_subNodes.clear();
    delete node;
  }
}

QsParamValueItemSimpleHelper* QsParamValueItemHierarchyHelper::SetValue(const I18NString& use,
                                                                        int inclusive) {
  m_value = std::make_unique<QsParamValueItemSimpleHelper>(inclusive, use);
  return m_value.get();
}

// An item that was never read has no element to search, and gives null like an item read
// without a value.
QsParamValueItemSimpleHelper* QsParamValueItemHierarchyHelper::GetValue() {
  if (m_value) return m_value.get();
  ORVIDOM_Node nodeTemp =
      ORVIDOM_Helper::findFirstElement(GetElement(), korvath_actionhelper_resources_value_str);
  if (nodeTemp.isNull()) return nullptr;
  ORV_ASSERT(nodeTemp.getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  ORVIDOM_Element elem(nodeTemp);
  std::unique_ptr<QsParamValueItemHelper> p(
      Create(korvath_actionhelper_resources_bus_simpleParmValueItem_str, elem));
  ORV_ASSERT(p->GetType() == kValueItemSimple);
  m_value.reset(static_cast<QsParamValueItemSimpleHelper*>(p.release()));
  return m_value.get();
}

const std::vector<QsParamValueItemHierarchyHelper*>&
QsParamValueItemHierarchyHelper::GetSubNodes() {
  if (GetElement().isNull() || !m_subNodes.empty()) return m_subNodes;
  for (ORVIDOM_Node list = GetElement().getFirstChild(); !list.isNull();
       list = list.getNextSibling()) {
    if (!isElementNamed(list, korvath_actionhelper_resources_subNodes_str)) continue;
    for (ORVIDOM_Node child = list.getFirstChild(); !child.isNull();
         child = child.getNextSibling()) {
      if (!isElementNamed(child, korvath_actionhelper_resources_item_str)) continue;
      ORVIDOM_Element item(child);
      std::unique_ptr<QsParamValueItemHelper> p(
          Create(korvath_actionhelper_resources_bus_hierarchicalParmValueItem_str, item));
      ORV_ASSERT(p->GetType() == kValueItemHierarchy);
      AppendOwned(m_subNodes, std::unique_ptr<QsParamValueItemHierarchyHelper>(
                                  static_cast<QsParamValueItemHierarchyHelper*>(p.release())));
    }
  }
  return m_subNodes;
}

QsParamValueItemHierarchyHelper* QsParamValueItemHierarchyHelper::AddSubNode() {
  auto node = std::make_unique<QsParamValueItemHierarchyHelper>();
  m_subNodes.push_back(node.get());
  return node.release();
}

const I18NString& QsParamValueItemHierarchyHelper::GetTesselType() const {
  return korvath_actionhelper_resources_bus_hierarchicalParmValueItem_str;
}

// The nodes are written breadth first, so that the sub nodes of each node follow one another in
// the work list, and then joined from the last node back to the first: every "item" is complete
// and each parent still free-standing when it is appended, which keeps the work per node constant
// and the call stack flat however deep the hierarchy is.
void QsParamValueItemHierarchyHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  struct Written {
    const QsParamValueItemHierarchyHelper* node;
    ORVIDOM_Element item;
    ORVIDOM_Element subNodes;
  };
  QsParamValueItemHelper::doMake(doc, elem);
  std::vector<Written> written{{this, elem, ORVIDOM_Element()}};
  for (std::size_t i = 0; i < written.size(); ++i) {
    written[i].subNodes = written[i].node->makeOwnParts(doc, written[i].item);
    for (const QsParamValueItemHierarchyHelper* child : written[i].node->m_subNodes) {
      ORVIDOM_Element childItem;
      child->QsParamValueItemHelper::doMake(doc, childItem);
      written.push_back({child, childItem, ORVIDOM_Element()});
    }
  }
  std::size_t firstChild = written.size();
  for (std::size_t i = written.size(); i-- > 0;) {
    const std::size_t count = written[i].node->m_subNodes.size();
    firstChild -= count;
    for (std::size_t c = firstChild; c < firstChild + count; ++c) {
      written[i].subNodes.appendChild(written[c].item);
    }
  }
}

ORVIDOM_Element QsParamValueItemHierarchyHelper::makeOwnParts(ORVIDOM_Document& doc,
                                                              ORVIDOM_Element& item) const {
  if (m_value) {
    ORVIDOM_Element value = doc.createElement(korvath_actionhelper_resources_value_str);
    item.appendChild(value);
    MakePropertiesOf(*m_value, value);
  }
  ORVIDOM_Element subNodes = doc.createElement(korvath_actionhelper_resources_subNodes_str);
  item.appendChild(subNodes);
  if (m_subNodes.empty()) {
    subNodes.setAttribute(korvath_actionhelper_resources_xsi_nil_str,
                          korvath_actionhelper_resources_true_str);
  }
  return subNodes;
}
