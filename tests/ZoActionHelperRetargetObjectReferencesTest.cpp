#include <gtest/gtest.h>

#include "support/XmlTestSupport.h"

namespace {

constexpr const char* kUnit = "ZoActionHelperRetargetObjectReferences";

using Retarget = ZoActionHelperRetargetObjectReferences;
using Item = ZoActionHelperRetargetObjectReferences::ItemToUpdate;

constexpr Retarget::EProcessDescendantsOption kYes = Retarget::kProcessDescendants;
constexpr Retarget::EProcessDescendantsOption kNo = Retarget::kDoNotProcessDescendants;

// The entries as one line per item: "current -> new: item (option)".
std::vector<std::string> Flatten(const std::vector<Retarget::Entry>& entries) {
  std::vector<std::string> lines;
  for (const Retarget::Entry& entry : entries) {
    for (const Retarget::UpdateInfo& update : entry.m_updateInfoList) {
      const std::string head = entry.m_currentRefValue.str() + " -> " + update.m_newRefValue.str();
      if (update.m_itemsToUpdate.empty()) lines.push_back(head + ": none");
      for (const Item& item : update.m_itemsToUpdate) {
        lines.push_back(head + ": " + item.m_itemID.str() +
                        (item.m_processDescendants == kYes ? " (descendants)" : " (alone)"));
      }
    }
  }
  return lines;
}

TEST(ZoActionHelperRetargetObjectReferencesTest, AddEntryRefusesEmptyIdsAndADetachedHelper) {
  Retarget retarget;
  // Nothing to write into before Make or Take.
  EXPECT_ORV_ASSERT(retarget.addEntry("c", "n", Item("i", kYes)),
                    "ORV_ASSERT(!entryElem.isNull());", kUnit);
  EXPECT_ORV_ASSERT(retarget.getEntries(),
                    "ORV_ASSERT(!pLocaleThis->m_requestRoot.isNull() && "
                    "!pLocaleThis->m_requestRoot.getOwnerDocument().isNull());",
                    kUnit);

  ORVIDOM_Element elem = xmltest::Made(retarget);
  EXPECT_EQ(elem.getParentNode(), elem.getOwnerDocument());
  EXPECT_ORV_ASSERT(retarget.getEntries(), "ORV_ASSERT(entries.size() > 0);", kUnit);

  // Items before the empty one stay written, those after it are not.
  EXPECT_ORV_ASSERT(
      retarget.addEntry("c", "n",
                        std::vector<Item>{Item("before", kYes), Item("", kNo), Item("after", kNo)}),
      "ORV_ASSERT(!itemsToUpdateIterator->m_itemID.empty());", kUnit);
  EXPECT_TRUE(xmltest::SameTree(elem, R"(<retargetObjectReferences><entry currentRefValue="c">
      <updateInfo newRefValue="n"><itemToUpdate processDescendants="true">before</itemToUpdate>
      </updateInfo></entry></retargetObjectReferences>)"));

  // An empty new value is written, but reading refuses it.
  retarget.addEntry("c", "", Item("x", kNo));
  EXPECT_ORV_ASSERT(retarget.getEntries(), "ORV_ASSERT(!updateInfo.m_newRefValue.empty());", kUnit);

  // Taking a null element detaches the helper again.
  ORVIDOM_Element null;
  retarget.Take(null);
  EXPECT_ORV_ASSERT(retarget.addEntry("c", "n", Item("i", kYes)),
                    "ORV_ASSERT(!entryElem.isNull());", kUnit);
}

TEST(ZoActionHelperRetargetObjectReferencesTest, GetEntriesReadsReceivedDocuments) {
  ORVIDOM_Element received = xmltest::Parse(R"(<retargetObjectReferences>
      <entry currentRefValue="c1">
        <updateInfo newRefValue="n1"> <itemToUpdate processDescendants="TRUE">upper</itemToUpdate>
          <itemToUpdate processDescendants="1">one</itemToUpdate>
          <itemToUpdate processDescendants="true">exact</itemToUpdate> </updateInfo>
        <updateInfo newRefValue="n2"/> </entry>
      <entry><updateInfo newRefValue="n3"><itemToUpdate processDescendants="false">i</itemToUpdate>
      </updateInfo></entry>
    </retargetObjectReferences>)");
  Retarget retarget;
  retarget.Take(received);
  EXPECT_EQ(Flatten(retarget.getEntries()),
            (std::vector<std::string>{"c1 -> n1: upper (alone)", "c1 -> n1: one (alone)",
                                      "c1 -> n1: exact (descendants)", "c1 -> n2: none",
                                      " -> n3: i (alone)"}));

  // Attached by Take, the helper writes into the received element.
  retarget.addEntry("c1", "n2", Item("added", kYes));
  EXPECT_EQ(Flatten(retarget.getEntries())[3], "c1 -> n2: added (descendants)");

  const char* const kItemText = "ORV_ASSERT(!itemID.empty() && !processDescendants.empty());";
  for (const char* item :
       {"<itemToUpdate processDescendants=\"true\"/>", "<itemToUpdate>i</itemToUpdate>",
        "<itemToUpdate processDescendants=\"\">i</itemToUpdate>"}) {
    xmltest::Take(retarget, std::string("<r><entry><updateInfo newRefValue=\"n\">") + item +
                                "</updateInfo></entry></r>");
    EXPECT_ORV_ASSERT(retarget.getEntries(), kItemText, kUnit);
  }

  xmltest::Take(retarget, "<r><entry currentRefValue=\"c\">\n  </entry></r>");
  EXPECT_ORV_ASSERT(retarget.getEntries(), "ORV_ASSERT(entry.m_updateInfoList.size() > 0);", kUnit);
}

}  // namespace
