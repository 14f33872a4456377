#include <gtest/gtest.h>

#include <string>

#include "support/XmlTestSupport.h"

namespace {

const std::string kCommandOpen =
    "<command xmlns='http://korvath.dev/schemas/qsapi/2/'"
    " xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'>";
const std::string kDefaultIds = "<commandID value='ZoCommand'/><requestID value='ZoRequest'/>";

ORVIDOM_Element MakeOf(const ActionHandlerBase& helper) {
  ORVIDOM_Element elem;
  helper.Make(elem);
  return elem;
}

TEST(QFUpdateCommandHelperTest, WithoutSubjectsWritesOnlyTheModelPath) {
  QFUpdateCommandHelper helper("/content/model");
  EXPECT_TRUE(xmltest::SameTree(MakeOf(helper), kCommandOpen +
                                                    "<update><updateSet>"
                                                    "<modelPath>/content/model</modelPath>"
                                                    "</updateSet></update>" +
                                                    kDefaultIds + "</command>"));
}

TEST(QFUpdateCommandHelperTest, WritesEverySubjectInOrderWithItsValueAsText) {
  QFUpdateCommandHelper helper("/m");
  helper.AddUpdateSubject("orders", "<querySubject name='o'/>");
  helper.AddUpdateSubject("orders", "second & last");
  helper.AddUpdateSubject("customers", "c");
  helper.SetProperty(QFCommandHelper::kPropertyRequestID, "R1");
  const std::string expected = kCommandOpen +
                               "<update><updateSet><modelPath>/m</modelPath>"
                               "<updateSubject name='orders'>&lt;querySubject name='o'/&gt;"
                               "</updateSubject>"
                               "<updateSubject name='orders'>second &amp; last</updateSubject>"
                               "<updateSubject name='customers'>c</updateSubject>"
                               "</updateSet></update>"
                               "<commandID value='ZoCommand'/><requestID value='R1'/></command>";
  const ORVIDOM_Element made = MakeOf(helper);
  EXPECT_TRUE(xmltest::SameTree(made, expected));
  EXPECT_TRUE(xmltest::SameTree(xmltest::RoundTrip(made), expected));
  // Making again writes the same document.
  EXPECT_TRUE(xmltest::SameTree(MakeOf(helper), expected));
}

TEST(QFUpdateCommandHelperTest, EmptyNamesAndValuesAreWrittenEmpty) {
  QFUpdateCommandHelper helper("");
  helper.AddUpdateSubject("", "");
  const ORVIDOM_Element made = MakeOf(helper);
  const ORVIDOM_Element subject = made.getElementsByTagName("updateSubject").item(0);
  ASSERT_FALSE(subject.isNull());
  EXPECT_TRUE(subject.hasAttribute("name"));
  EXPECT_EQ(subject.getAttribute("name"), "");
  EXPECT_EQ(ORVIDOM_Helper::getElementText(subject), "");
  EXPECT_TRUE(xmltest::SameTree(xmltest::RoundTrip(made),
                                kCommandOpen +
                                    "<update><updateSet><modelPath/>"
                                    "<updateSubject name=''/></updateSet></update>" +
                                    kDefaultIds + "</command>"));
}

}  // namespace
