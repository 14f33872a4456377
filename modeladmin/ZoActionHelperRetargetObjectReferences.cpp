#include "modeladmin/ZoActionHelperRetargetObjectReferences.h"

#include <map>

#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_ElementIndex.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kElemRetargetObjectReferences("retargetObjectReferences");
const I18NString kElemEntry("entry");
const I18NString kAttrCurrentRefValue("currentRefValue");
const I18NString kElemUpdateInfo("updateInfo");
const I18NString kAttrNewRefValue("newRefValue");
const I18NString kElemItemToUpdate("itemToUpdate");
const I18NString kAttrProcessDescendants("processDescendants");

using ItemElements = std::map<I18NString, ORVIDOM_Element>;

// The "itemToUpdate" children of an update by their text, the first of a text winning as a
// find by text would. Built once per call so that adding many items stays linear.
ItemElements indexItems(const ORVIDOM_Element& updateInfoElem) {
  ItemElements items;
  for (ORVIDOM_Node child = updateInfoElem.getFirstChild(); !child.isNull();
       child = child.getNextSibling()) {
    if (child.getNodeType() == ORVIDOM_Node::ELEMENT_NODE &&
        child.getNodeName() == kElemItemToUpdate) {
      items.emplace(ORVIDOM_Helper::getElementText(child), child);
    }
  }
  return items;
}

// The item's element under the update, appended when the update has none yet.
ORVIDOM_Element findOrCreateItem(const ORVIDOM_Element& updateInfoElem, ItemElements& items,
                                 const I18NString& itemID) {
  ORVIDOM_Element& found = items[itemID];
  if (found.isNull()) {
    const ORVIDOM_Document doc = updateInfoElem.getOwnerDocument();
    // The text is made first, so that an ID XML cannot carry leaves the update unchanged.
    const ORVIDOM_Text text = doc.createTextNode(itemID);
    found = doc.createElement(kElemItemToUpdate);
    found.appendChild(text);
    updateInfoElem.appendChild(found);
  }
  return found;
}

// The lists of the index getEntries reads from, by position in the names it is made with.
enum IndexedList : std::size_t { kEntries, kUpdateInfos, kItems };

}  // namespace

void ZoActionHelperRetargetObjectReferences::addEntry(
    const I18NString& currentRefValue, const I18NString& newRefValue,
    const std::vector<ItemToUpdate>& itemsToUpdate) {
  // Nothing can be written before Make or Take gives the helper an element: the entry stays
  // null and the call is refused with its assertion instead of failing inside the DOM.
  ORVIDOM_Element entryElem;
  if (!m_requestRoot.isNull()) {
    entryElem = ORVIDOM_Helper::findOrCreateElementWithAttribute(
        m_requestRoot, kElemEntry, kAttrCurrentRefValue, currentRefValue);
  }
  ORV_ASSERT(!entryElem.isNull());
  const ORVIDOM_Element updateInfoElem = ORVIDOM_Helper::findOrCreateElementWithAttribute(
      entryElem, kElemUpdateInfo, kAttrNewRefValue, newRefValue);
  ORV_ASSERT(!updateInfoElem.isNull());

  ItemElements items = indexItems(updateInfoElem);
  for (auto itemsToUpdateIterator = itemsToUpdate.begin();
       itemsToUpdateIterator != itemsToUpdate.end(); ++itemsToUpdateIterator) {
    ORV_ASSERT(!itemsToUpdateIterator->m_itemID.empty());
    const ORVIDOM_Element itemToUpdateElem =
        findOrCreateItem(updateInfoElem, items, itemsToUpdateIterator->m_itemID);
    ORV_ASSERT(!itemToUpdateElem.isNull());
    itemToUpdateElem.setAttribute(kAttrProcessDescendants,
                                  itemsToUpdateIterator->m_processDescendants == kProcessDescendants
                                      ? korvath_actionhelper_resources_true_str
                                      : korvath_actionhelper_resources_false_str);
  }
}

void ZoActionHelperRetargetObjectReferences::addEntry(const I18NString& currentRefValue,
                                                      const I18NString& newRefValue,
                                                      const ItemToUpdate& itemToUpdate) {
  addEntry(currentRefValue, newRefValue, std::vector<ItemToUpdate>{itemToUpdate});
}

void ZoActionHelperRetargetObjectReferences::addEntry(const I18NString& currentRefValue,
                                                      const UpdateInfo& updateInfo) {
  addEntry(currentRefValue, updateInfo.m_newRefValue, updateInfo.m_itemsToUpdate);
}

std::vector<ZoActionHelperRetargetObjectReferences::Entry>
ZoActionHelperRetargetObjectReferences::getEntries() const {
  const ZoActionHelperRetargetObjectReferences* pLocaleThis = this;
  // clang-format off
  ORV_ASSERT(!pLocaleThis->m_requestRoot.isNull() && !pLocaleThis->m_requestRoot.getOwnerDocument().isNull());
  // clang-format on
  std::vector<Entry> entries;
  // One walk finds the entries, updates and items at any depth, however they nest.
  const ORVIDOM_ElementIndex found(m_requestRoot, {kElemEntry, kElemUpdateInfo, kElemItemToUpdate});
  const ORVIDOM_ElementIndex::Range entryRange = found.all(kEntries);
  for (std::size_t at = entryRange.first; at < entryRange.last; ++at) {
    Entry entry;
    entry.m_currentRefValue = found.element(kEntries, at).getAttribute(kAttrCurrentRefValue);
    const ORVIDOM_ElementIndex::Range updates = found.below(kEntries, at, kUpdateInfos);
    for (std::size_t update = updates.first; update < updates.last; ++update) {
      UpdateInfo updateInfo;
      updateInfo.m_newRefValue = found.element(kUpdateInfos, update).getAttribute(kAttrNewRefValue);
      ORV_ASSERT(!updateInfo.m_newRefValue.empty());
      const ORVIDOM_ElementIndex::Range items = found.below(kUpdateInfos, update, kItems);
      for (std::size_t item = items.first; item < items.last; ++item) {
        const ORVIDOM_Element itemElem = found.element(kItems, item);
        const I18NString itemID = ORVIDOM_Helper::getElementText(itemElem);
        const I18NString processDescendants = itemElem.getAttribute(kAttrProcessDescendants);
        ORV_ASSERT(!itemID.empty() && !processDescendants.empty());
        // Only the exact text written for the option counts; "TRUE" or "1" do not.
        updateInfo.m_itemsToUpdate.emplace_back(
            itemID, processDescendants == korvath_actionhelper_resources_true_str
                        ? kProcessDescendants
                        : kDoNotProcessDescendants);
      }
      entry.m_updateInfoList.push_back(updateInfo);
    }
    // The assertion text is part of the interface, so the comparison stays as written.
    ORV_ASSERT(entry.m_updateInfoList.size() > 0);  // NOLINT(readability-container-size-empty)
    entries.push_back(entry);
  }
  ORV_ASSERT(entries.size() > 0);  // NOLINT(readability-container-size-empty)
  return entries;
}

void ZoActionHelperRetargetObjectReferences::doMake(ORVIDOM_Document& doc,
                                                    ORVIDOM_Element& domRequest) const {
  domRequest = doc.createElement(kElemRetargetObjectReferences);
  ORV_ASSERT(!domRequest.isNull());
  doc.appendChild(domRequest);
  m_requestRoot = domRequest;
}

void ZoActionHelperRetargetObjectReferences::doTake(ORVIDOM_Element& elem) { m_requestRoot = elem; }
