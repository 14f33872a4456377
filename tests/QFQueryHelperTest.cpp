#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

TEST(QFQueryHelperTest, WritesValuesOutsideTheEnumerationsAsUnknownAndHintsInHintOrder) {
  QFExecuteCommandHelper command("/m", nullptr);
  QFQueryHelper* query = command.AddQuery("Q");
  query->SetQueryRef("Other");
  query->SetAutoSummary(2);
  QFQueryDataItem* odd = query->AddDataItem("odd", "");
  odd->m_sort = static_cast<QFQueryHelper::ESort>(4);
  odd->m_aggregate = static_cast<QFQueryHelper::EAggregate>(10);
  EXPECT_EQ(query->GetDataItems(), std::vector<QFQueryDataItem*>{odd});
  QFQueryDetailFilter* filter =
      query->AddDetailFilter(odd->m_expression, static_cast<QFQueryDetailFilter::EUse>(0));
  EXPECT_EQ(query->GetDetailFilters(), std::vector<QFQueryDetailFilter*>{filter});
  query->AddHint(QFQueryHelper::kQueryHintMaxRowsRetrieved, "100");
  query->AddHint(QFQueryHelper::kQueryHintAutoSort, "first");
  query->AddHint(QFQueryHelper::kQueryHintAutoSort, "true");
  query->AddHint(QFQueryHelper::kQueryHintAvoidZeroDiv, "false");
  query->AddHint(static_cast<QFQueryHelper::EQueryHint>(5), "v");
  EXPECT_TRUE(xmltest::SameTree(
      xmltest::Made(*query),
      "<query name='Q'><source><queryRef refQuery='Other'/></source>"
      "<selection autoSummary='true'>"
      "<dataItem name='odd' sort='unknown' aggregate='unknown'><expression/></dataItem>"
      "</selection>"
      "<detailFilter><filter use='unknown'><filterExpression/></filter></detailFilter>"
      "<queryHints><avoidZeroDiv value='false'/><autoSort value='true'/>"
      "<maxRowsRetrieved value='100'/><unknown value='v'/></queryHints></query>"));
}

TEST(QFQueryHelperTest, DataItemNamesAreMadeUnique) {
  QFExecuteCommandHelper command("/m", nullptr);
  QFQueryHelper* query = command.AddQuery("Q");
  EXPECT_EQ(query->AddDataItem("A", "1")->m_name, "A");
  EXPECT_EQ(query->AddDataItem("A", "2")->m_name, "A1");
  EXPECT_EQ(query->AddDataItem("A1", "3")->m_name, "A11");
  EXPECT_EQ(query->AddDataItem("A", "4")->m_name, "A2");
  EXPECT_EQ(query->AddDataItem("A3", "5")->m_name, "A3");
  EXPECT_EQ(query->AddDataItem(query->GetDataItems()[0]->m_name, "6")->m_name, "A4");
  EXPECT_EQ(query->AddDataItem("N", "7")->m_name, "N");
  EXPECT_EQ(query->AddDataItem("N", "8")->m_name, "N1");
  EXPECT_EQ(query->AddDataItem("N", "9")->m_name, "N2");
  EXPECT_EQ(query->AddDataItem("", "10")->m_name, "");
  EXPECT_EQ(query->AddDataItem("", "11")->m_name, "1");
  // Items beyond the first block of storage leave the first ones as they were.
  for (int i = 0; i < 6; ++i) query->AddDataItem("N", "");
  EXPECT_EQ(query->GetDataItems().at(16)->m_name, "N8");
  EXPECT_EQ(query->GetDataItems()[0]->m_name, "A");
  EXPECT_EQ(query->GetDataItems()[1]->m_expression, "2");
  // A name given out stays taken when the caller renames its item.
  query->GetDataItems()[0]->m_name = "Renamed";
  EXPECT_EQ(query->AddDataItem("A", "")->m_name, "A5");
  // Two names whose hashes agree in the 32 bits the look-up keeps (with the 64-bit GNU library)
  // are still two names.
  EXPECT_EQ(query->AddDataItem("Item30937", "")->m_name, "Item30937");
  EXPECT_EQ(query->AddDataItem("Item49974", "")->m_name, "Item49974");
}

// The projection of named items, made once each, is pinned by the execute-command example.
TEST(QFSetQueryHelperTest, AnEmptySetQueryIgnoresItsQueryRef) {
  QFExecuteCommandHelper command("/m", nullptr);
  QFQueryHelper* empty = command.AddModelSetQuery("E", {}, "", "");
  empty->SetQueryRef("ignored");
  EXPECT_TRUE(xmltest::SameTree(
      xmltest::Made(*empty),
      "<query name='E'><source><queryOperation name='set' setOperation='' duplicates=''>"
      "<queryRefs><queryRef refQuery='leftQuery'/><queryRef refQuery='rightQuery'/></queryRefs>"
      "<projectionList/></queryOperation></source><selection autoSummary='false'/>"
      "<queryHints><avoidZeroDiv value='true'/></queryHints></query>"));
}

}  // namespace
