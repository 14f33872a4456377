#include <gtest/gtest.h>

#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

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

TEST(XelExpandParameterHelperTest, ReadsTheOneExpansionResult) {
  EXPECT_TRUE(xmltest::SameTree(Made(XelExpandParameterHelper("/m")),
                                ZoCommand("<expand><expression/></expand>")));
  EXPECT_EQ(XelExpandParameterHelper("/m").GetExpandedQuery(), "");

  EXPECT_EQ(ExpandedFrom("<response><expansionResult>[a] = 5</expansionResult></response>"),
            "[a] = 5");
  EXPECT_EQ(ExpandedFrom("<response>\n  <result>\n    <expansionResult>x &lt; 1</expansionResult>"
                         "\n  </result>\n</response>"),
            "x < 1");

  for (const char* refused :
       {"<response><expansionResult>a</expansionResult><expansionResult>b</expansionResult>"
        "</response>",
        "<response/>", "<response><expansionResult/></response>",
        "<response><expansionResult><b>x</b></expansionResult></response>"}) {
    EXPECT_ORV_ASSERT(ExpandedFrom(refused), kExpansionAssert, "XelExpandParameterHelper");
  }
}

}  // namespace
