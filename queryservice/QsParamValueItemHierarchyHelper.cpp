#include "queryservice/QsParamValueItemHierarchyHelper.h"

#include <utility>

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
      m_subNodes.push_back(static_cast<QsParamValueItemHierarchyHelper*>(p.get()));
      p.release();
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

// Each node's "item" is created and appended by its parent in list order; a work list then
// fills the nodes' own parts, so the depth of the hierarchy never reaches the call stack.
void QsParamValueItemHierarchyHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  QsParamValueItemHelper::doMake(doc, elem);
  std::vector<std::pair<const QsParamValueItemHierarchyHelper*, ORVIDOM_Element>> pending{
      {this, elem}};
  while (!pending.empty()) {
    auto [node, item] = pending.back();
    pending.pop_back();
    ORVIDOM_Element subNodes = node->makeOwnParts(doc, item);
    for (const QsParamValueItemHierarchyHelper* child : node->m_subNodes) {
      ORVIDOM_Element childItem;
      child->QsParamValueItemHelper::doMake(doc, childItem);
      subNodes.appendChild(childItem);
      pending.emplace_back(child, childItem);
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
