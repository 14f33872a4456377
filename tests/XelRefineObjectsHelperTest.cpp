#include <gtest/gtest.h>

#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using envelopexml::ZoCommand;
const char* const kUnit = "XelRefineObjectsHelper";

TEST(XelRefineObjectsHelperTest, AddsObjectsToTheLastMadeRequest) {
  XelRefineObjectsHelper helper("/m");
  EXPECT_ORV_ASSERT(helper.addRequestObject("id1"), "ORV_ASSERT(!m_requestRoot.isNull());", kUnit);

  ORVIDOM_Element first = xmltest::Made(helper);
  EXPECT_TRUE(xmltest::SameTree(first, ZoCommand("<refinePublishedModel/>")));
  helper.addRequestObject("id1");
  helper.addRequestObject("a&b");
  EXPECT_ORV_ASSERT(helper.addRequestObject(""), "ORV_ASSERT(!objectID.empty());", kUnit);
  const std::string expectedFirst = ZoCommand(
      "<refinePublishedModel><expression>id1</expression><expression>a&amp;b</expression>"
      "</refinePublishedModel>");
  EXPECT_TRUE(xmltest::SameTree(first, expectedFirst));

  // A second Make starts a new request; the first one keeps its objects.
  ORVIDOM_Element second = xmltest::Made(helper);
  helper.addRequestObject("id3");
  EXPECT_TRUE(xmltest::SameTree(
      second,
      ZoCommand("<refinePublishedModel><expression>id3</expression></refinePublishedModel>")));
  EXPECT_TRUE(xmltest::SameTree(first, expectedFirst));
}

TEST(XelRefineObjectsHelperTest, ReadsAdjacentObjectsUntilNoneIsLeft) {
  XelRefineObjectsHelper helper("/m");
  I18NString objectID = "kept";
  EXPECT_EQ(helper.getResponseObject(objectID), XelRefineObjectsHelper::kNoResponseObject);

  ORVIDOM_Element response =
      xmltest::Take(helper,
                    "<answer><response><expression>i1</expression><expression>i2</expression>"
                    "<expression>i3</expression></response></answer>");
  EXPECT_EQ(helper.getResponseObject(objectID), XelRefineObjectsHelper::kResponseObjectReturned);
  EXPECT_EQ(objectID, "i1");
  EXPECT_EQ(helper.getResponseObject(objectID), 1);
  EXPECT_EQ(objectID, "i2");
  EXPECT_EQ(helper.getResponseObject(objectID), 1);
  EXPECT_EQ(objectID, "i3");
  EXPECT_EQ(helper.getResponseObject(objectID), 0);
  EXPECT_EQ(objectID, "i3");

  xmltest::Take(helper, "<response/>");
  EXPECT_EQ(helper.getResponseObject(objectID), 0);
}

TEST(XelRefineObjectsHelperTest, RefusesMalformedResponses) {
  XelRefineObjectsHelper helper("/m");
  ORVIDOM_Element null;
  EXPECT_ORV_ASSERT(helper.Take(null), "ORV_ASSERT(!domResponse.isNull());", kUnit);

  ORVIDOM_Element wrongParent =
      xmltest::Parse("<response><objects><expression>i1</expression></objects></response>");
  EXPECT_ORV_ASSERT(helper.Take(wrongParent),
                    "ORV_ASSERT(m_currentResponseObject.isNull() || "
                    "m_currentResponseObject.getParentNode().getNodeName() == "
                    "korvath_actionhelper_resources_response_str);",
                    kUnit);

  const char* const siblingAssert =
      "ORV_ASSERT(m_currentResponseObject.isNull() || m_currentResponseObject.getNodeName() == "
      "korvath_actionhelper_resources_expression_str);";
  I18NString objectID;
  xmltest::Take(
      helper,
      "<response>\n  <expression>i1</expression>\n  <expression>i2</expression>\n</response>");
  EXPECT_ORV_ASSERT(helper.getResponseObject(objectID), siblingAssert, kUnit);

  xmltest::Take(helper, "<response><expression>i1</expression><status/></response>");
  EXPECT_ORV_ASSERT(helper.getResponseObject(objectID), siblingAssert, kUnit);

  xmltest::Take(helper, "<response><expression/></response>");
  EXPECT_ORV_ASSERT(helper.getResponseObject(objectID), "ORV_ASSERT(!objectID.empty());", kUnit);
}

}  // namespace
