// A node of a hierarchy of parameter values: an "item" of type
// "bus:hierarchicalParmValueItem" with an optional "value" and its sub nodes under "subNodes".
// Writing, reading and destruction use loops, so hierarchies of any depth are safe.
#pragma once

#include <memory>
#include <vector>

#include <Korvath_ActionHelper/queryservice/QsParamValueItemSimpleHelper.h>

class KORVATH_API QsParamValueItemHierarchyHelper : public QsParamValueItemHelper {
 public:
  QsParamValueItemHierarchyHelper() : QsParamValueItemHelper(1) {}
  ~QsParamValueItemHierarchyHelper() override;

  // Replaces the node's value with a new one; the node keeps ownership.
  QsParamValueItemSimpleHelper* SetValue(const I18NString& use, int inclusive);
  // The node's value, read from the received element on first use; null when there is none.
  QsParamValueItemSimpleHelper* GetValue();
  // The sub nodes, read from the received element on first use.
  const std::vector<QsParamValueItemHierarchyHelper*>& GetSubNodes();
  // Appends a new, empty sub node; the node keeps ownership.
  QsParamValueItemHierarchyHelper* AddSubNode();

  EItemType GetType() const override { return kValueItemHierarchy; }
  const I18NString& GetTesselType() const override;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;

 private:
  // Writes the value and "subNodes" of this node into `item`; returns "subNodes".
  ORVIDOM_Element makeOwnParts(ORVIDOM_Document& doc, ORVIDOM_Element& item) const;

  std::vector<QsParamValueItemHierarchyHelper*> m_subNodes;
  std::unique_ptr<QsParamValueItemSimpleHelper> m_value;
};
