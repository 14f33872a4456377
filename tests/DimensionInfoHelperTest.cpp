#include <gtest/gtest.h>

#include "support/XmlTestSupport.h"

namespace {

TEST(DimensionInfoHelperTest, WritesLevelsThenHierarchiesAndOnlyTheListsThatHaveEntries) {
  DimensionInfoHelper helper;
  ORVIDOM_Element elem = xmltest::Made(helper);
  EXPECT_TRUE(xmltest::SameTree(elem, "<dimInfo/>"));
  EXPECT_TRUE(helper.getLevelsElement(elem).isNull());
  EXPECT_TRUE(helper.getHierarchiesElement(elem).isNull());
  ORVIDOM_Element none;
  EXPECT_TRUE(helper.getLevelsElement(none).isNull());

  helper.AddHierarchy("", {});
  // Levels are not checked: a name may repeat, and any nonzero flag is a unique key.
  EXPECT_EQ(helper.AddLevel("Day", "", {}, -1, {}), "Day");
  EXPECT_EQ(helper.AddLevel("Day", "", {}, 0, {}), "Day");
  elem = xmltest::Made(helper);
  EXPECT_TRUE(xmltest::SameTree(elem, R"(
    <dimInfo>
      <levels>
        <level><name>Day</name><externalName>Day</externalName>
          <key isUniqueKey="true"><name/><queryItems_collection/></key><attributes/></level>
        <level><name>Day</name><externalName>Day</externalName>
          <key isUniqueKey="false"><name/><queryItems_collection/></key><attributes/></level>
      </levels>
      <hierarchies><hierarchy><name/><externalName/><functionalDependency/></hierarchy></hierarchies>
    </dimInfo>)"));
  EXPECT_EQ(helper.getLevelsElement(elem), elem.getFirstChild());
  EXPECT_EQ(helper.getHierarchiesElement(elem), elem.getLastChild());
}

}  // namespace
