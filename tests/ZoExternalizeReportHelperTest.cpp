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

TEST(ZoExternalizeReportHelperTest, KeepsTheEntriesItIsGivenAndRefusesNone) {
  ZoExternalizeReportHelper report;
  EXPECT_TRUE(xmltest::SameTree(Made(report), "<externalizeReport/>"));

  report.AddEntry(new Entry("qs.1", "csv", "/out/a.csv", ""));
  report.AddEntry(new Entry("", "", "", "disk full"));
  ASSERT_EQ(report.GetEntries().size(), 2u);

  EXPECT_ORV_ASSERT(report.AddEntry(nullptr), "ORV_ASSERT(pEntry);", "ZoExternalizeReportHelper");
  EXPECT_EQ(report.GetEntries().size(), 2u);
}

TEST(ZoExternalizeReportHelperTest, ReadsEntriesWithTheirFiles) {
  const char* indented = R"(<externalizeReport>
  <entry objectID="qs.1" method="csv"> <file path="/a"/> <note path="/n"/> <file path="/b"/> </entry>
  <entry objectID="qs.2" method="iqd" path="/p" error="e"/>
  <entry> <file/> </entry>
</externalizeReport>)";
  ZoExternalizeReportHelper report;
  report.AddEntry(new Entry("held", "m", "p", "e"));
  xmltest::Take(report, indented);
  // The last "file" child names the path; the "path" and "error" attributes of a received
  // entry are not read.
  EXPECT_EQ(Lines(report),
            (std::vector<std::string>{"held|m|p|e", "qs.1|csv|/b|", "qs.2|iqd||", "|||"}));
}

}  // namespace
