#include <gtest/gtest.h>

#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using envelopexml::Command;
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

}  // namespace
