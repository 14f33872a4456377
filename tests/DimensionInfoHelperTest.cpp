#include <gtest/gtest.h>

#include "support/XmlTestSupport.h"

namespace {

const char kTimeDimension[] = R"(
  <dimInfo>
    <levels>
      <level>
        <name>Year</name>
        <externalName>Year</externalName>
        <key isUniqueKey="true">
          <name>yearKey</name>
          <queryItems_collection>
            <refobj>[time].[year]</refobj>
          </queryItems_collection>
        </key>
        <attributes>
          <refobj>[time].[yearCaption]</refobj>
        </attributes>
      </level>
      <level>
        <name>Month</name>
        <externalName>Month</externalName>
        <key isUniqueKey="false">
          <name>monthKey</name>
          <queryItems_collection>
            <refobj>[time].[year]</refobj>
            <refobj>[time].[month]</refobj>
          </queryItems_collection>
        </key>
        <attributes>
          <refobj>[time].[monthCaption]</refobj>
          <refobj>[time].[monthCaption]</refobj>
        </attributes>
      </level>
    </levels>
    <hierarchies>
      <hierarchy>
        <name>Calendar</name>
        <externalName>Calendar</externalName>
        <functionalDependency>
          <refobj>Year</refobj>
          <refobj>Month</refobj>
        </functionalDependency>
      </hierarchy>
    </hierarchies>
  </dimInfo>)";

// Levels come before hierarchies whatever the order they were added in.
DimensionInfoHelper timeDimension() {
  DimensionInfoHelper helper;
  helper.AddHierarchy("Calendar", {"Year", "Month"});
  helper.AddLevel("Year", "yearKey", {"[time].[year]"}, 1, {"[time].[yearCaption]"});
  helper.AddLevel("Month", "monthKey", {"[time].[year]", "[time].[month]"}, 0,
                  {"[time].[monthCaption]", "[time].[monthCaption]"});
  return helper;
}

TEST(DimensionInfoHelperTest, MakeWritesLevelsThenHierarchies) {
  DimensionInfoHelper helper = timeDimension();
  ORVIDOM_Element elem = xmltest::Made(helper);
  EXPECT_TRUE(xmltest::SameTree(elem, kTimeDimension));
  // The caller places "dimInfo" where it needs it.
  EXPECT_TRUE(elem.getParentNode().isNull());
  EXPECT_FALSE(elem.getOwnerDocument().getDocumentElement().hasChildNodes());
  EXPECT_TRUE(xmltest::SameTree(xmltest::RoundTrip(elem), kTimeDimension));
}

TEST(DimensionInfoHelperTest, MakeWritesOnlyTheListsThatHaveEntries) {
  DimensionInfoHelper helper;
  ORVIDOM_Element elem = xmltest::Made(helper);
  EXPECT_TRUE(xmltest::SameTree(elem, "<dimInfo/>"));

  helper.AddHierarchy("", {});
  helper.Make(elem);
  EXPECT_TRUE(xmltest::SameTree(elem, R"(
    <dimInfo>
      <hierarchies>
        <hierarchy><name/><externalName/><functionalDependency/></hierarchy>
      </hierarchies>
    </dimInfo>)"));
}

TEST(DimensionInfoHelperTest, LevelsAreWrittenUncheckedAndWithEveryPart) {
  DimensionInfoHelper helper;
  EXPECT_EQ(helper.AddLevel("Day", "", {}, -1, {}), "Day");
  EXPECT_EQ(helper.AddLevel("Day", "dayKey", {"[d]"}, 0, {}), "Day");
  ORVIDOM_Element elem = xmltest::Made(helper);
  EXPECT_TRUE(xmltest::SameTree(elem, R"(
    <dimInfo>
      <levels>
        <level>
          <name>Day</name><externalName>Day</externalName>
          <key isUniqueKey="true"><name/><queryItems_collection/></key>
          <attributes/>
        </level>
        <level>
          <name>Day</name><externalName>Day</externalName>
          <key isUniqueKey="false"><name>dayKey</name>
            <queryItems_collection><refobj>[d]</refobj></queryItems_collection>
          </key>
          <attributes/>
        </level>
      </levels>
    </dimInfo>)"));
}

TEST(DimensionInfoHelperTest, FindsTheListElementsOfAMadeDocument) {
  DimensionInfoHelper helper = timeDimension();
  ORVIDOM_Element elem = xmltest::Made(helper);
  ORVIDOM_Element levels = helper.getLevelsElement(elem);
  ASSERT_FALSE(levels.isNull());
  EXPECT_EQ(levels.getParentNode(), elem);
  EXPECT_EQ(levels.getTagName(), "levels");
  ORVIDOM_Element hierarchies = helper.getHierarchiesElement(elem);
  ASSERT_FALSE(hierarchies.isNull());
  EXPECT_EQ(hierarchies.getTagName(), "hierarchies");

  DimensionInfoHelper empty;
  empty.Make(elem);
  EXPECT_TRUE(empty.getLevelsElement(elem).isNull());
  EXPECT_TRUE(empty.getHierarchiesElement(elem).isNull());
  ORVIDOM_Element none;
  EXPECT_TRUE(empty.getLevelsElement(none).isNull());
}

}  // namespace
