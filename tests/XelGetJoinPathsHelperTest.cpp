#include <gtest/gtest.h>

#include <set>
#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using envelopexml::ZoCommand;

TEST(XelGetJoinPathsHelperTest, WritesOneExpressionPerNonEmptyItem) {
  XelGetJoinPathsHelper helper("/m");
  helper.AddItem("[ns].[orders].[id]");
  helper.AddItem("");
  helper.AddItem("a < b");
  helper.AddItem("[ns].[orders].[id]");
  ORVIDOM_Element made = xmltest::Made(helper);
  const std::string expected = ZoCommand(
      "<getJoinPaths>"
      "<expression>[ns].[orders].[id]</expression>"
      "<expression>a &lt; b</expression>"
      "<expression>[ns].[orders].[id]</expression>"
      "</getJoinPaths>");
  EXPECT_TRUE(xmltest::SameTree(made, expected));

  XelGetJoinPathsHelper empty("/m");
  empty.AddItem("");
  empty.Make(made);
  EXPECT_TRUE(xmltest::SameTree(made, ZoCommand("<getJoinPaths/>")));
}

TEST(XelGetJoinPathsHelperTest, ReadsTheJoinsOfEveryPath) {
  XelGetJoinPathsHelper helper("/m");
  std::set<I18NString> joins = {"earlier"};
  EXPECT_EQ(helper.PathExists(), 0);
  helper.GetJoins(joins);
  EXPECT_EQ(joins, (std::set<I18NString>{"earlier"}));

  ORVIDOM_Element response = xmltest::Take(
      helper,
      "<response>\n"
      "  <joinPaths>\n"
      "    <joinPath><join>o.id = l.id</join><step><join>l.p = p.id</join></step></joinPath>\n"
      "    <joinPath><join>o.id = l.id</join><join>c.id = o.c</join></joinPath>\n"
      "  </joinPaths>\n"
      "  <join>outside any path</join>\n"
      "</response>");
  EXPECT_EQ(helper.PathExists(), 1);
  helper.GetJoins(joins);
  EXPECT_EQ(joins, (std::set<I18NString>{"earlier", "o.id = l.id", "l.p = p.id", "c.id = o.c"}));

  xmltest::Take(helper, "<response><join>j</join></response>");
  EXPECT_EQ(helper.PathExists(), 0);
}

}  // namespace
