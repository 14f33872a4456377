#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

using Entry = ZoExternalizeReportHelper::Entry;

// One "object ID|method|path|error" line per entry.
std::vector<std::string> Lines(const ZoExternalizeReportHelper& report) {
  std::vector<std::string> lines;
  for (const Entry* e : report.GetEntries()) {
    lines.push_back(e->objectID.str() + "|" + e->method.str() + "|" + e->path.str() + "|" +
                    e->error.str());
  }
  return lines;
}

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
    // The last "file" child names the path; the "path" and "error" attributes of a received
    // entry are not read.
    EXPECT_EQ(Lines(report),
              (std::vector<std::string>{"held|m|p|e", "qs.1|csv|/b|", "qs.2|iqd||", "|||"}));
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
  EXPECT_EQ(Lines(read), (std::vector<std::string>{"qs.1|csv||", "qs.2|iqd||"}));
}

}  // namespace
