#include <gtest/gtest.h>

#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

TEST(XelTestConnectionHelperTest, EmptyOptionalPartsAreLeftOut) {
  EXPECT_TRUE(xmltest::SameTree(Made(XelTestConnectionHelper("", "", "", "", "")),
                                "<command><connection>"
                                "<dataSourceType value='QueryFrameworkService'/>"
                                "<connection><dataSource value=''/>"
                                "<dataSourceType value='Database'/><connectionString/>"
                                "</connection></connection><testConnection/></command>"));
  // The sign-on alone.
  EXPECT_TRUE(xmltest::SameTree(Made(XelTestConnectionHelper("ds", "", "sso", "", "")),
                                "<command><connection>"
                                "<dataSourceType value='QueryFrameworkService'/>"
                                "<connection><dataSource value='ds'/>"
                                "<dataSourceType value='Database'/><connectionString/>"
                                "<signon><name value='sso'/></signon>"
                                "</connection></connection><testConnection/></command>"));
}

// A connection added to a made connection test replaces the outer connection and keeps the
// connection under test.
TEST(XelTestConnectionHelperTest, AddConnectionKeepsTheConnectionUnderTest) {
  ORVIDOM_Element command = Made(XelTestConnectionHelper("sales", "", "", "scott", ""));
  ORVIDOM_Element service = xmltest::Parse(
      "<connection><dataSourceType value='QueryFrameworkService'/><session id='42'/>"
      "<connection><dataSource value='replaced'/></connection></connection>");
  QFCommandHelper::AddConnection(command, service);
  EXPECT_TRUE(xmltest::SameTree(command,
                                "<command><connection>"
                                "<dataSourceType value='QueryFrameworkService'/><session id='42'/>"
                                "<connection><dataSource value='sales'/>"
                                "<dataSourceType value='Database'/><connectionString/>"
                                "<username value='scott'/></connection>"
                                "</connection><testConnection/></command>"));
}

}  // namespace
