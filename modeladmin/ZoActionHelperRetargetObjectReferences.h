// Makes and reads a "retargetObjectReferences" element: for each current reference value, the
// new values that replace it and the items that take each one. Once attached to an element by
// Make or Take, the helper writes and reads its entries in that element only.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class KORVATH_API ZoActionHelperRetargetObjectReferences : public ActionHandlerBase {
 public:
  enum EProcessDescendantsOption : int { kDoNotProcessDescendants = 0, kProcessDescendants = 1 };

  // An item whose reference is retargeted.
  struct ItemToUpdate {
    ItemToUpdate(const I18NString& itemID, const EProcessDescendantsOption& processDescendants)
        : m_itemID(itemID), m_processDescendants(processDescendants) {}

    // Must not be empty.
    I18NString m_itemID;
    EProcessDescendantsOption m_processDescendants;
  };

  // A new reference value with the items that take it.
  struct UpdateInfo {
    I18NString m_newRefValue;
    std::vector<ItemToUpdate> m_itemsToUpdate;
  };

  // A current reference value with its replacements.
  struct Entry {
    I18NString m_currentRefValue;
    std::vector<UpdateInfo> m_updateInfoList;
  };

  ZoActionHelperRetargetObjectReferences() = default;

  // Writes the items under the entry of the current value and its update for the new value,
  // creating either when missing; an item already there takes the latest option. Refuses an
  // empty item ID, and a helper not attached by Make or Take.
  void addEntry(const I18NString& currentRefValue, const I18NString& newRefValue,
                const std::vector<ItemToUpdate>& itemsToUpdate);
  void addEntry(const I18NString& currentRefValue, const I18NString& newRefValue,
                const ItemToUpdate& itemToUpdate);
  void addEntry(const I18NString& currentRefValue, const UpdateInfo& updateInfo);
  // The entries of the attached element, in document order; refuses an element without any.
  std::vector<Entry> getEntries() const;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& domRequest) const override;
  // Attaches the helper to `elem` without reading it.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  mutable ORVIDOM_Element m_requestRoot;
};
