#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

const char kUnit[] = "ZoActionHelperWvfFile";

ZoActionHelperWvfFile takeFrom(const char* xml) {
  ZoActionHelperWvfFile file;
  ORVIDOM_Element elem = xmltest::Take(file, xml);
  return file;
}

TEST(ZoActionHelperWvfFileTest, MakeWritesAnEmptyPathAndLeavesOutEmptyOptionalParts) {
  ZoActionHelperWvfFile file;
  file.addContentLine("x");
  ORVIDOM_Element elem = xmltest::Made(file);
  EXPECT_EQ(elem.getParentNode(), elem.getOwnerDocument());
  EXPECT_TRUE(
      xmltest::SameTree(elem, "<file><filePath/><contents><line>x</line></contents></file>"));
}

TEST(ZoActionHelperWvfFileTest, MakeRefusesAFileWithoutLines) {
  ZoActionHelperWvfFile file;
  file.setFilePath("empty.wvf");
  ORVIDOM_Element elem;
  EXPECT_ORV_ASSERT(file.Make(elem), "ORV_ASSERT(false);", kUnit);
  // "file" and "filePath" were already written when the empty list was found.
  EXPECT_TRUE(xmltest::SameTree(elem, "<file><filePath>empty.wvf</filePath></file>"));

  file.setContents({"a"});
  file.setContents({});
  EXPECT_ORV_ASSERT(file.Make(elem), "ORV_ASSERT(false);", kUnit);
}

TEST(ZoActionHelperWvfFileTest, TakeReadsAnIndentedFile) {
  ZoActionHelperWvfFile file = takeFrom(R"(<file>
  <filePath>p.wvf</filePath>
  <contents> <line>a</line> <line></line> <line>a</line> <line><![CDATA[x<y]]></line> </contents>
  <dbConnectionName>db</dbConnectionName> <cmDataSource>ds</cmDataSource>
</file>)");
  EXPECT_EQ(file.getFilePath(), "p.wvf");
  EXPECT_EQ(file.getContents(), (std::vector<I18NString>{"a", "", "a", "x<y"}));
  EXPECT_EQ(file.getDbConnectionName(), "db");
  EXPECT_EQ(file.getCmDataSource(), "ds");
}

TEST(ZoActionHelperWvfFileTest, TakeAppendsLinesFoundAtAnyDepthBelowContentsOnly) {
  ZoActionHelperWvfFile file;
  file.setFilePath("kept.wvf");
  file.setDbConnectionName("keptDb");
  file.addContentLine("held");
  ORVIDOM_Element elem =
      xmltest::Take(file,
                    "<other><line>outside</line><contents><line>1</line><part><line>2</line></part>"
                    "<line>3</line></contents></other>");
  EXPECT_EQ(file.getContents(), (std::vector<I18NString>{"held", "1", "2", "3"}));
  file.Take(elem);
  EXPECT_EQ(file.getContents(), (std::vector<I18NString>{"held", "1", "2", "3", "1", "2", "3"}));
  // Parts absent from the element leave their fields alone.
  EXPECT_EQ(file.getFilePath(), "kept.wvf");
  EXPECT_EQ(file.getDbConnectionName(), "keptDb");
  EXPECT_EQ(file.getCmDataSource(), "");

  // Only direct children name the parts.
  ZoActionHelperWvfFile nested = takeFrom(
      "<file><wrap><filePath>deep</filePath><contents><line>deep</line></contents></wrap></file>");
  EXPECT_EQ(nested.getFilePath(), "");
  EXPECT_TRUE(nested.getContents().empty());
}

TEST(ZoActionHelperWvfFileTest, TakeToleratesAnythingItIsGiven) {
  ZoActionHelperWvfFile file;
  file.addContentLine("held");
  ORVIDOM_Element none;
  file.Take(none);
  ORVIDOM_Element text = xmltest::Parse("<a>text</a>").getFirstChild();
  file.Take(text);
  ORVIDOM_Element attribute = xmltest::Parse("<a contents='x'/>").getAttributes().item(0);
  file.Take(attribute);
  xmltest::Take(file, "<file/>");
  EXPECT_EQ(file.getContents(), (std::vector<I18NString>{"held"}));
  EXPECT_EQ(file.getFilePath(), "");
}

}  // namespace
