#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

using Item = QsParamValueItemHelper;

// The item that `xml` describes, made by the factory from its own "xsi:type".
std::unique_ptr<Item> created(const std::string& xml) {
  ORVIDOM_Element elem = xmltest::Parse(xml);
  return std::unique_ptr<Item>(Item::Create(elem.getAttribute("xsi:type"), elem));
}

template <class T>
T* as(const std::unique_ptr<Item>& item) {
  return dynamic_cast<T*>(item.get());
}

TEST(QsParamValueItemHelperTest, FactoryChoosesByTypeName) {
  ORVIDOM_Element elem = xmltest::Parse("<item/>");
  EXPECT_EQ(Item::Create("xsi:nil", elem), nullptr);
  EXPECT_EQ(Item::Create("", elem), nullptr);
  EXPECT_EQ(created(R"(<item xsi:type="bus:simpleParmValueItem"/>)")->GetType(),
            Item::kValueItemSimple);
  EXPECT_EQ(created(R"(<item xsi:type="bus:hierarchicalParmValueItem"/>)")->GetType(),
            Item::kValueItemHierarchy);
  for (const char* range : {"bus:boundRangeParmValueItem", "bus:unboundedStartParmValueItem",
                            "bus:unboundedEndParmValueItem"}) {
    EXPECT_EQ(std::unique_ptr<Item>(Item::Create(range, elem))->GetType(), Item::kValueItemRange);
  }

  EXPECT_ORV_ASSERT(Item::Create("simpleParmValueItem", elem), "ORV_ASSERT(false);",
                    "QsParamValueItemHelper");
  ORVIDOM_Element none;
  EXPECT_ORV_ASSERT(Item::Create("bus:simpleParmValueItem", none),
                    "ORV_ASSERT(!elmValueItem.isNull());", "QsParamValueItemHelper");
}

TEST(QsParamValueItemHelperTest, ReadChildTextTakesTheFirstNamedChildWithText) {
  ORVIDOM_Element elem = xmltest::Parse(
      "<p>\n  <other>o</other>\n  <use/>\n  <use>first</use>\n  <use>second</use>\n</p>");
  I18NString text = "kept";
  EXPECT_FALSE(ReadChildText(ORVIDOM_Node(), "use", text));
  EXPECT_FALSE(ReadChildText(elem, "display", text));
  EXPECT_EQ(text, "kept");
  EXPECT_TRUE(ReadChildText(elem, "use", text));
  EXPECT_EQ(text, "first");
  // Only direct children count.
  EXPECT_FALSE(ReadChildText(xmltest::Parse("<p><q><use>deep</use></q></p>"), "use", text));
}

TEST(QsParamValueItemHelperTest, OnlyTheExactTextFalseClearsTheInclusiveFlag) {
  for (const char* text : {"FALSE", "0", "False", ""}) {
    auto other = created(std::string("<item xsi:type=\"bus:simpleParmValueItem\"><inclusive>") +
                         text + "</inclusive></item>");
    EXPECT_EQ(other->IsInclusive(), 1) << text;
  }
  EXPECT_EQ(created(R"(<item xsi:type="bus:simpleParmValueItem"/>)")->IsInclusive(), 1);
}

TEST(QsParamValueItemHelperTest, SimpleAndNullItemsWriteTheirElements) {
  QsParamValueItemSimpleHelper simple(0, "10");
  simple.SetDisplay("Ten");
  EXPECT_TRUE(xmltest::SameTree(Made(simple), R"(
    <item xsi:type="bus:simpleParmValueItem"><inclusive>false</inclusive><use>10</use></item>)"));
  QsParamValueItemSimpleHelper empty;
  EXPECT_EQ(empty.IsInclusive(), 1);
  EXPECT_TRUE(xmltest::SameTree(Made(empty), R"(
    <item xsi:type="bus:simpleParmValueItem"><inclusive>true</inclusive></item>)"));

  QsParamValueItemNullHelper null;
  ORVIDOM_Element nil = xmltest::RoundTrip(Made(null));
  EXPECT_TRUE(xmltest::SameTree(nil, R"(<item xsi:nil="true"/>)"));
  EXPECT_EQ(Item::Create(nil.getAttribute("xsi:type"), nil), nullptr);
}

TEST(QsParamValueItemHelperTest, RangeIsTypedByItsBounds) {
  QsParamValueItemRangeHelper range;
  EXPECT_TRUE(
      xmltest::SameTree(Made(range), R"(<item xsi:type="bus:unboundedEndParmValueItem"/>)"));
  range.SetEnd("9", 1);
  EXPECT_TRUE(xmltest::SameTree(Made(range), R"(
    <item xsi:type="bus:unboundedStartParmValueItem">
      <bus:end><inclusive>true</inclusive><use>9</use></bus:end>
    </item>)"));
  range.SetStart("0", 1);
  range.SetStart("1", 0);
  EXPECT_TRUE(xmltest::SameTree(Made(range), R"(
    <item xsi:type="bus:boundRangeParmValueItem">
      <bus:start><inclusive>false</inclusive><use>1</use></bus:start>
      <bus:end><inclusive>true</inclusive><use>9</use></bus:end>
    </item>)"));

  QsParamValueItemRangeHelper startOnly;
  startOnly.SetInclusive(0);
  startOnly.SetStart("5", 1);
  EXPECT_TRUE(xmltest::SameTree(Made(startOnly), R"(
    <item xsi:type="bus:unboundedEndParmValueItem">
      <bus:start><inclusive>true</inclusive><use>5</use></bus:start>
    </item>)"));
  // A range never read has nothing to find.
  EXPECT_EQ(QsParamValueItemRangeHelper().GetStart(), nullptr);
}

TEST(QsParamValueItemHelperTest, ReceivedRangeReadsItsBoundsOnFirstUse) {
  auto item = created(
      "<item xsi:type=\"bus:boundRangeParmValueItem\">\n"
      "  <start><inclusive>false</inclusive><use>1</use></start>\n"
      "  <bus:end><use>5</use><display>five</display></bus:end>\n</item>");
  auto* range = as<QsParamValueItemRangeHelper>(item);
  ASSERT_NE(range, nullptr);
  // Until the bounds are read they are absent, also for writing.
  EXPECT_TRUE(
      xmltest::SameTree(Made(*range), R"(<item xsi:type="bus:unboundedEndParmValueItem"/>)"));
  ASSERT_NE(range->GetStart(), nullptr);
  EXPECT_EQ(range->GetStart()->GetUse(), "1");
  EXPECT_EQ(range->GetStart()->IsInclusive(), 0);
  ASSERT_NE(range->GetEnd(), nullptr);
  EXPECT_EQ(range->GetEnd()->GetDisplay(), "five");
  EXPECT_EQ(range->GetEnd(), range->GetEnd());
  EXPECT_TRUE(xmltest::SameTree(Made(*range), R"(
    <item xsi:type="bus:boundRangeParmValueItem">
      <bus:start><inclusive>false</inclusive><use>1</use></bus:start>
      <bus:end><inclusive>true</inclusive><use>5</use></bus:end>
    </item>)"));

  auto open = created(R"(<item xsi:type="bus:unboundedEndParmValueItem"/>)");
  EXPECT_EQ(as<QsParamValueItemRangeHelper>(open)->GetEnd(), nullptr);
}

TEST(QsParamValueItemHelperTest, HierarchyReadsSubNodesWhateverTheirType) {
  auto item = created(
      "<item xsi:type=\"bus:hierarchicalParmValueItem\">\n"
      "  <subNodes>\n    <item xsi:type=\"bus:simpleParmValueItem\">"
      "<inclusive>false</inclusive><value><use>a</use></value></item>\n"
      "    <other/>\n  </subNodes>\n"
      "  <subNodes>\n    <item><value><use>b</use></value></item>\n  </subNodes>\n</item>");
  auto* top = as<QsParamValueItemHierarchyHelper>(item);
  const std::vector<QsParamValueItemHierarchyHelper*>& subs = top->GetSubNodes();
  ASSERT_EQ(subs.size(), 2u);
  EXPECT_EQ(subs[0]->GetType(), Item::kValueItemHierarchy);
  EXPECT_EQ(subs[0]->IsInclusive(), 0);
  EXPECT_EQ(subs[0]->GetValue()->GetUse(), "a");
  EXPECT_EQ(subs[1]->GetValue()->GetUse(), "b");
  EXPECT_EQ(QsParamValueItemHierarchyHelper().GetValue(), nullptr);
}

}  // namespace
