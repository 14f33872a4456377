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

TEST(ZoPackagesReportHelperTest, WritesAndReadsBack) {
  ZoPackagesReportHelper report;
  EXPECT_TRUE(xmltest::SameTree(Made(report), "<packages/>"));

  ZoPackagesReportHelper::Package* sales = report.AddPackage("Sales", "/content/package[@n='S']");
  report.AddPackage("", "");
  report.AddPackage("Go & <Stop>", "/p");
  ASSERT_EQ(report.GetPackages().size(), 3u);
  EXPECT_EQ(report.GetPackages()[0], sales);
  const ORVIDOM_Element made = Made(report);
  EXPECT_TRUE(xmltest::SameTree(made, R"(
    <packages>
      <package defaultName="Sales" cmSearchPath="/content/package[@n='S']"/>
      <package defaultName="" cmSearchPath=""/>
      <package defaultName="Go &amp; &lt;Stop&gt;" cmSearchPath="/p"/>
    </packages>)"));

  ORVIDOM_Element received =
      ORVIDOM_Parser::parseString(ORVIDOM_Writer::toString(made)).getDocumentElement();
  ZoPackagesReportHelper read;
  read.Take(received);
  EXPECT_EQ(PairsOf(read), PairsOf(report));
  // Taking again appends.
  read.Take(received);
  EXPECT_EQ(read.GetPackages().size(), 6u);
}

TEST(ZoPackagesReportHelperTest, ReadsReceivedReportsCompactAndIndented) {
  const char* compact =
      "<packages><package defaultName=\"A\" cmSearchPath=\"/a\"/><package/>"
      "<folder><package cmSearchPath=\"/deep\"/></folder></packages>";
  const char* indented = R"(<packages>
  <package defaultName="A" cmSearchPath="/a"/>
  <package/>
  <folder>
    <package cmSearchPath="/deep"/>
  </folder>
</packages>)";
  for (const char* xml : {compact, indented}) {
    SCOPED_TRACE(xml);
    ORVIDOM_Element received = xmltest::Parse(xml);
    ZoPackagesReportHelper report;
    report.Take(received);
    EXPECT_EQ(PairsOf(report), (Pairs{{"A", "/a"}, {"", ""}, {"", "/deep"}}));
  }

  for (ORVIDOM_Element odd :
       {ORVIDOM_Element(), ORVIDOM_Element(xmltest::Parse("<a>text</a>").getFirstChild())}) {
    ZoPackagesReportHelper report;
    report.Take(odd);
    EXPECT_TRUE(report.GetPackages().empty());
  }
}

}  // namespace
