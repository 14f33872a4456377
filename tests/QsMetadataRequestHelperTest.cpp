#include <gtest/gtest.h>

#include <map>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

TEST(QsMetadataRequestHelperTest, AClassAloneGivesDefaultAttributesAndNoChildren) {
  QsMetadataRequestHelper helper;
  EXPECT_TRUE(xmltest::SameTree(Made(helper), "<command/>"));
  // Without a class only the retrieved properties and the alias tables are written.
  helper.AddProperty("caption");
  helper.AddConstraint("level = 2");
  helper.SetContext("ctx");
  helper.AddRetrieveProperty("name");
  helper.AddRetrieveProperty("name");
  EXPECT_TRUE(xmltest::SameTree(Made(helper), R"(
      <command>
        <retrievePropertyValues><property name="name"/><property name="name"/></retrievePropertyValues>
      </command>)"));
  helper = QsMetadataRequestHelper();

  helper.SetMetadataClass("Levels");
  EXPECT_TRUE(xmltest::SameTree(Made(helper), R"(
      <command>
        <metadata class="Levels" depth="0" resultCount="0" resultStart="0" returnSchema="false"/>
      </command>)"));

  // Only the exact word asks for calculated members.
  helper.SetMetadataClass("members");
  EXPECT_FALSE(Made(helper).getFirstChild().hasChildNodes());
}

TEST(QsMetadataRequestHelperTest, EachSetterReplacesItsOwnValueAndANewMapTheWholeMap) {
  QsMetadataRequestHelper helper;
  helper.SetMetadataClass("Members");
  helper.SetResultStart(10);
  helper.SetResultCount(50);
  helper.SetResultSchema(-1);
  helper.SetAliasTablesMap({{"fr", "Noms"}, {"en", "Names"}});
  EXPECT_EQ(ORVIDOM_Element(Made(helper).getFirstChild()).getAttribute("returnSchema"), "true");
  helper.SetResultCount(7);
  helper.SetResultSchema(0);
  helper.SetAliasTablesMap({{"it", "Nomi"}});
  ORVIDOM_Element command = Made(helper);
  ORVIDOM_Element metadata = command.getFirstChild();
  EXPECT_EQ(metadata.getAttribute("resultCount"), "7");
  EXPECT_EQ(metadata.getAttribute("resultStart"), "10");
  EXPECT_EQ(metadata.getAttribute("returnSchema"), "false");
  EXPECT_TRUE(
      xmltest::SameTree(command.getLastChild(),
                        R"(<aliasTableMap><aliasTable lang="it" name="Nomi"/></aliasTableMap>)"));
}

}  // namespace
