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

}  // namespace
