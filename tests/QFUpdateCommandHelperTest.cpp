#include <gtest/gtest.h>

#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using envelopexml::Command;
using envelopexml::kCommandOpen;
using xmltest::Made;

TEST(QFUpdateCommandHelperTest, WithoutSubjectsWritesOnlyTheModelPathAndEmptyValuesEmpty) {
  EXPECT_TRUE(xmltest::SameTree(
      Made(QFUpdateCommandHelper("/content/model")),
      Command("<update><updateSet><modelPath>/content/model</modelPath></updateSet></update>")));
  QFUpdateCommandHelper helper("");
  helper.AddUpdateSubject("", "");
  EXPECT_TRUE(xmltest::SameTree(
      xmltest::RoundTrip(Made(helper)),
      Command("<update><updateSet><modelPath/><updateSubject name=''/></updateSet></update>")));
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
  const ORVIDOM_Element made = Made(helper);
  EXPECT_TRUE(xmltest::SameTree(made, expected));
  EXPECT_TRUE(xmltest::SameTree(xmltest::RoundTrip(made), expected));
  // Making again writes the same document.
  EXPECT_TRUE(xmltest::SameTree(Made(helper), expected));
}

}  // namespace
