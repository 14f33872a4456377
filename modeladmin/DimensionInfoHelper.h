// Makes the "dimInfo" document: a dimension's levels, each with its key of query items and its
// attributes, and its hierarchies, each an ordered functional dependency of references.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class KORVATH_API DimensionInfoHelper : public ActionHandlerBase {
 public:
  struct LevelInfo {
    // Written as both "name" and "externalName" of the level.
    I18NString m_name;
    // Non-zero when the level's key is unique.
    int m_isUniqueKey = 0;
    I18NString m_keyName;
    // References of the query items that make up the key, in order.
    std::vector<I18NString> m_keyQueryItems;
    // References of the level's attributes, in order.
    std::vector<I18NString> m_attributes;
  };

  struct HierarchyInfo {
    // Written as both "name" and "externalName" of the hierarchy.
    I18NString m_name;
    // References, in order.
    std::vector<I18NString> m_functionalDependency;
  };

  DimensionInfoHelper() = default;
  ~DimensionInfoHelper() override = default;

  // Appends a level and returns its name, so that callers can collect level references for
  // AddHierarchy. Nothing is checked: empty names, empty lists and duplicates are all written.
  I18NString AddLevel(const I18NString& name, const I18NString& keyName,
                      const std::vector<I18NString>& keyQueryItems, int isUniqueKey,
                      const std::vector<I18NString>& attributes);
  // Appends a hierarchy whose functional dependency is `references`.
  void AddHierarchy(const I18NString& name, const std::vector<I18NString>& references);

  // The first "levels" (respectively "hierarchies") element below `dimInfo`, or a null handle.
  ORVIDOM_Element getLevelsElement(ORVIDOM_Element& dimInfo) const;
  ORVIDOM_Element getHierarchiesElement(ORVIDOM_Element& dimInfo) const;

 protected:
  // Leaves "dimInfo" unattached: the caller places it where it needs it.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // The helper only writes.
  void doTake(ORVIDOM_Element&) override {}

  void makeLevels(ORVIDOM_Document& doc, ORVIDOM_Element& dimInfo) const;
  void makeHierarchies(ORVIDOM_Document& doc, ORVIDOM_Element& dimInfo) const;
  // Appends to `parent` a new element `name` holding `text`; never looks for an existing one,
  // so equal values are all written.
  void AddTextElementNode(ORVIDOM_Document& doc, ORVIDOM_Element& parent, const I18NString& name,
                          const I18NString& text) const;

 private:
  // Adds "name" and "externalName", both holding `name`.
  void addNames(ORVIDOM_Document& doc, ORVIDOM_Element& parent, const I18NString& name) const;
  // Adds the element `listName` to `parent` with one "refobj" per reference, in order.
  void addReferences(ORVIDOM_Document& doc, ORVIDOM_Element& parent, const I18NString& listName,
                     const std::vector<I18NString>& references) const;

  std::vector<HierarchyInfo> m_hierarchies;
  std::vector<LevelInfo> m_levels;
};
