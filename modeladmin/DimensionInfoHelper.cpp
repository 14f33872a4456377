#include "modeladmin/DimensionInfoHelper.h"

#include "core/Resources.h"
#include "orvidom/ORVIDOM_Helper.h"

I18NString DimensionInfoHelper::AddLevel(const I18NString& name, const I18NString& keyName,
                                         const std::vector<I18NString>& keyQueryItems,
                                         int isUniqueKey,
                                         const std::vector<I18NString>& attributes) {
  m_levels.push_back(LevelInfo{name, isUniqueKey, keyName, keyQueryItems, attributes});
  return name;
}

void DimensionInfoHelper::AddHierarchy(const I18NString& name,
                                       const std::vector<I18NString>& references) {
  m_hierarchies.push_back(HierarchyInfo{name, references});
}

ORVIDOM_Element DimensionInfoHelper::getLevelsElement(ORVIDOM_Element& dimInfo) const {
  return ORVIDOM_Helper::findFirstElement(dimInfo, korvath_actionhelper_resources_levels_str);
}

ORVIDOM_Element DimensionInfoHelper::getHierarchiesElement(ORVIDOM_Element& dimInfo) const {
  return ORVIDOM_Helper::findFirstElement(dimInfo, korvath_actionhelper_resources_hierarchies_str);
}

void DimensionInfoHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(korvath_actionhelper_resources_dimInfo_str);
  if (!m_levels.empty()) makeLevels(doc, elem);
  if (!m_hierarchies.empty()) makeHierarchies(doc, elem);
}

void DimensionInfoHelper::AddTextElementNode(ORVIDOM_Document& doc, ORVIDOM_Element& parent,
                                             const I18NString& name, const I18NString& text) const {
  ORVIDOM_Element elem = parent.appendElement(name);
  // An empty text has no written form, so an empty value is an element without children, as
  // it reads back after writing.
  if (!text.empty()) elem.appendChild(doc.createTextNode(text));
}

void DimensionInfoHelper::makeLevels(ORVIDOM_Document& doc, ORVIDOM_Element& dimInfo) const {
  ORVIDOM_Element levels = dimInfo.appendElement(korvath_actionhelper_resources_levels_str);
  for (const LevelInfo& info : m_levels) {
    ORVIDOM_Element level = levels.appendElement(korvath_actionhelper_resources_level_str);
    addNames(doc, level, info.m_name);
    ORVIDOM_Element key = ORVIDOM_Helper::findOrCreateElementWithAttribute(
        level, korvath_actionhelper_resources_key_str,
        korvath_actionhelper_resources_isUniqueKey_str,
        info.m_isUniqueKey != 0 ? korvath_actionhelper_resources_true_str
                                : korvath_actionhelper_resources_false_str);
    AddTextElementNode(doc, key, korvath_actionhelper_resources_name_str, info.m_keyName);
    addReferences(doc, key, korvath_actionhelper_resources_queryItems_collection_str,
                  info.m_keyQueryItems);
    addReferences(doc, level, korvath_actionhelper_resources_attributes_str, info.m_attributes);
  }
}

void DimensionInfoHelper::makeHierarchies(ORVIDOM_Document& doc, ORVIDOM_Element& dimInfo) const {
  ORVIDOM_Element hierarchies =
      dimInfo.appendElement(korvath_actionhelper_resources_hierarchies_str);
  for (const HierarchyInfo& info : m_hierarchies) {
    ORVIDOM_Element hierarchy =
        hierarchies.appendElement(korvath_actionhelper_resources_hierarchy_str);
    addNames(doc, hierarchy, info.m_name);
    addReferences(doc, hierarchy, korvath_actionhelper_resources_functionalDependency_str,
                  info.m_functionalDependency);
  }
}

void DimensionInfoHelper::addNames(ORVIDOM_Document& doc, ORVIDOM_Element& parent,
                                   const I18NString& name) const {
  AddTextElementNode(doc, parent, korvath_actionhelper_resources_name_str, name);
  AddTextElementNode(doc, parent, korvath_actionhelper_resources_externalName_str, name);
}

void DimensionInfoHelper::addReferences(ORVIDOM_Document& doc, ORVIDOM_Element& parent,
                                        const I18NString& listName,
                                        const std::vector<I18NString>& references) const {
  ORVIDOM_Element list = parent.appendElement(listName);
  for (const I18NString& reference : references) {
    AddTextElementNode(doc, list, korvath_actionhelper_resources_refobj_str, reference);
  }
}
