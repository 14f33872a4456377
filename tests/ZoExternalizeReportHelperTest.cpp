#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

using Entry = ZoExternalizeReportHelper::Entry;

TEST(ZoExternalizeReportHelperTest, WritesEveryAttributeOfEachEntry) {
  ZoExternalizeReportHelper report;
  EXPECT_TRUE(xmltest::SameTree(Made(report), "<externalizeReport/>"));

  Entry* first = new Entry("qs.1", "csv", "/out/a.csv", "");
  report.AddEntry(first);
  report.AddEntry(new Entry("", "", "", "disk full"));
  ASSERT_EQ(report.GetEntries().size(), 2u);
  EXPECT_EQ(report.GetEntries()[0], first);
  EXPECT_TRUE(xmltest::SameTree(Made(report), R"(
    <externalizeReport>
      <entry objectID="qs.1" method="csv" error="" path="/out/a.csv"/>
      <entry objectID="" method="" error="disk full" path=""/>
    </externalizeReport>)"));

  EXPECT_ORV_ASSERT(report.AddEntry(nullptr), "ORV_ASSERT(pEntry);", "ZoExternalizeReportHelper");
  EXPECT_EQ(report.GetEntries().size(), 2u);
}

TEST(ZoExternalizeReportHelperTest, ReadsEntriesWithTheirFilesCompactAndIndented) {
  const char* compact =
      "<externalizeReport><entry objectID=\"qs.1\" method=\"csv\"><file path=\"/a\"/>"
      "<note path=\"/n\"/><file path=\"/b\"/></entry>"
      "<entry objectID=\"qs.2\" method=\"iqd\" path=\"/p\" error=\"e\"/>"
      "<entry><file/></entry></externalizeReport>";
  const char* indented = R"(<externalizeReport>
  <entry objectID="qs.1" method="csv">
    <file path="/a"/>
    <note path="/n"/>
    <file path="/b"/>
  </entry>
  <entry objectID="qs.2" method="iqd" path="/p" error="e"/>
  <entry>
    <file/>
  </entry>
</externalizeReport>)";
  for (const char* xml : {compact, indented}) {
    SCOPED_TRACE(xml);
    ORVIDOM_Element received = xmltest::Parse(xml);
    ZoExternalizeReportHelper report;
    report.AddEntry(new Entry("held", "m", "p", "e"));
    report.Take(received);
    const std::vector<Entry*>& entries = report.GetEntries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0]->objectID, "held");
    // The last "file" child names the path.
    EXPECT_EQ(entries[1]->objectID, "qs.1");
    EXPECT_EQ(entries[1]->method, "csv");
    EXPECT_EQ(entries[1]->path, "/b");
    EXPECT_EQ(entries[1]->error, "");
    // "path" and "error" attributes of a received entry are not read.
    EXPECT_EQ(entries[2]->objectID, "qs.2");
    EXPECT_EQ(entries[2]->method, "iqd");
    EXPECT_EQ(entries[2]->path, "");
    EXPECT_EQ(entries[2]->error, "");
    EXPECT_EQ(entries[3]->objectID, "");
    EXPECT_EQ(entries[3]->path, "");
  }

  for (ORVIDOM_Element odd :
       {ORVIDOM_Element(), ORVIDOM_Element(xmltest::Parse("<a>text</a>").getFirstChild())}) {
    ZoExternalizeReportHelper report;
    report.Take(odd);
    EXPECT_TRUE(report.GetEntries().empty());
  }
}

TEST(ZoExternalizeReportHelperTest, RoundTripKeepsIdsAndMethods) {
  ZoExternalizeReportHelper report;
  report.AddEntry(new Entry("qs.1", "csv", "/a.csv", "none"));
  report.AddEntry(new Entry("qs.2", "iqd", "/b.iqd", ""));
  ORVIDOM_Element received =
      ORVIDOM_Parser::parseString(ORVIDOM_Writer::toString(Made(report))).getDocumentElement();
  ZoExternalizeReportHelper read;
  read.Take(received);
  // The written entries carry the path as an attribute, which reading does not look at.
  ASSERT_EQ(read.GetEntries().size(), 2u);
  EXPECT_EQ(read.GetEntries()[0]->objectID, "qs.1");
  EXPECT_EQ(read.GetEntries()[0]->method, "csv");
  EXPECT_EQ(read.GetEntries()[0]->path, "");
  EXPECT_EQ(read.GetEntries()[1]->objectID, "qs.2");
  EXPECT_EQ(read.GetEntries()[1]->method, "iqd");
}

}  // namespace
