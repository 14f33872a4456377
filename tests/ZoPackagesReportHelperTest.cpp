#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

using Pairs = std::vector<std::pair<I18NString, I18NString>>;

Pairs PairsOf(const ZoPackagesReportHelper& report) {
  Pairs out;
  for (const ZoPackagesReportHelper::Package* p : report.GetPackages()) {
    out.emplace_back(p->defaultName, p->cmSearchPath);
  }
  return out;
}

TEST(ZoPackagesReportHelperTest, WritesEmptyAndAppendsWhatItTakes) {
  ZoPackagesReportHelper report;
  EXPECT_TRUE(xmltest::SameTree(Made(report), "<packages/>"));

  report.AddPackage("Sales", "/content/package[@n='S']");
  report.AddPackage("", "");
  report.AddPackage("Go & <Stop>", "/p");
  ASSERT_EQ(report.GetPackages().size(), 3u);
  // Taking appends.
  ORVIDOM_Element received = Made(report);
  report.Take(received);
  EXPECT_EQ(report.GetPackages().size(), 6u);
}

TEST(ZoPackagesReportHelperTest, ReadsPackagesAtAnyDepth) {
  const char* indented = R"(<packages>
  <package defaultName="A" cmSearchPath="/a"/>
  <package/>
  <folder>
    <package cmSearchPath="/deep"/>
  </folder>
</packages>)";
  ZoPackagesReportHelper report;
  xmltest::Take(report, indented);
  EXPECT_EQ(PairsOf(report), (Pairs{{"A", "/a"}, {"", ""}, {"", "/deep"}}));
}

}  // namespace
