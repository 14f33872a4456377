#include <gtest/gtest.h>

#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using envelopexml::Command;
using envelopexml::ZoCommand;
using xmltest::Made;
const char* const kExpansionAssert =
    "ORV_ASSERT(resultList.getLength() == 1 && resultList.item(0).getNodeType() == "
    "ORVIDOM_Node::ELEMENT_NODE && resultList.item(0).getFirstChild().getNodeType() == "
    "ORVIDOM_Node::TEXT_NODE);";

I18NString ExpandedFrom(const std::string& responseXml) {
  XelExpandParameterHelper helper("/m");
  xmltest::Take(helper, responseXml);
  return helper.GetExpandedQuery();
}

TEST(XelExpandParameterHelperTest, WritesTheExpressionInTheEngineCommand) {
  XelExpandParameterHelper helper("/content/model");
  helper.SetParameterisedValue("[a] = ?p? & <b>");
  const std::string expected = Command(
      "<zoCommand><source><model>/content/model</model></source>"
      "<expand><expression>[a] = ?p? &amp; &lt;b&gt;</expression></expand>"
      "</zoCommand>");
  EXPECT_TRUE(xmltest::SameTree(Made(helper), expected));
  EXPECT_TRUE(xmltest::SameTree(xmltest::RoundTrip(Made(helper)), expected));
  EXPECT_TRUE(xmltest::SameTree(Made(XelExpandParameterHelper("/m")),
                                ZoCommand("<expand><expression/></expand>")));
}

TEST(XelExpandParameterHelperTest, ReadsTheOneExpansionResult) {
  EXPECT_EQ(XelExpandParameterHelper("/m").GetExpandedQuery(), "");

  EXPECT_EQ(ExpandedFrom("<response><expansionResult>[a] = 5</expansionResult></response>"),
            "[a] = 5");
  EXPECT_EQ(ExpandedFrom("<response>\n  <result>\n    <expansionResult>x &lt; 1</expansionResult>"
                         "\n  </result>\n</response>"),
            "x < 1");

  EXPECT_ORV_ASSERT(ExpandedFrom("<response><expansionResult>a</expansionResult>"
                                 "<expansionResult>b</expansionResult></response>"),
                    kExpansionAssert, "XelExpandParameterHelper");
  EXPECT_ORV_ASSERT(ExpandedFrom("<response/>"), kExpansionAssert, "XelExpandParameterHelper");
  EXPECT_ORV_ASSERT(ExpandedFrom("<response><expansionResult/></response>"), kExpansionAssert,
                    "XelExpandParameterHelper");
  EXPECT_ORV_ASSERT(
      ExpandedFrom("<response><expansionResult><b>x</b></expansionResult></response>"),
      kExpansionAssert, "XelExpandParameterHelper");
}

}  // namespace
