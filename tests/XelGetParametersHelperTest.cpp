#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using Parameters = std::vector<std::pair<I18NString, I18NString>>;

TEST(XelGetParametersHelperTest, WritesOneParameterPerPairUnderTheDocument) {
  XelGetParametersHelper helper;
  ORVIDOM_Element made = xmltest::Made(helper);
  EXPECT_TRUE(xmltest::SameTree(made, "<parameters/>"));
  EXPECT_EQ(made.getParentNode(), made.getOwnerDocument());

  helper.SetParameters({{"p1", "1"}, {"p2", "a < b & \"c\""}, {"p1", ""}});
  helper.Make(made);
  EXPECT_TRUE(xmltest::SameTree(made,
                                "<parameters>"
                                "<parameter name='p1' value='1'/>"
                                "<parameter name='p2' value='a &lt; b &amp; &quot;c&quot;'/>"
                                "<parameter name='p1' value=''/>"
                                "</parameters>"));
}

TEST(XelGetParametersHelperTest, TakeAppendsEveryParameterBelowTheElement) {
  XelGetParametersHelper helper;
  helper.SetParameters({{"kept", "k"}});
  xmltest::Take(helper, "<response><param name='x' value='y'/></response>");
  EXPECT_EQ(helper.GetParameters(), (Parameters{{"kept", "k"}}));

  ORVIDOM_Element response =
      xmltest::Take(helper,
                    "<response>\n"
                    "  <parameter name='a' value='1'/>\n"
                    "  <group><parameter name='b'/><parameter value='2'/></group>\n"
                    "</response>");
  helper.Take(response);
  EXPECT_EQ(
      helper.GetParameters(),
      (Parameters{
          {"kept", "k"}, {"a", "1"}, {"b", ""}, {"", "2"}, {"a", "1"}, {"b", ""}, {"", "2"}}));
}

}  // namespace
