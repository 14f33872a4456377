#include <gtest/gtest.h>

#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

// The command testing a connection with `signon` inside it.
std::string TestCommand(const std::string& dataSource, const std::string& signon) {
  return "<command><connection><dataSourceType value='QueryFrameworkService'/><connection>"
         "<dataSource value='" +
         dataSource + "'/><dataSourceType value='Database'/><connectionString/>" + signon +
         "</connection></connection><testConnection/></command>";
}

TEST(XelTestConnectionHelperTest, EmptyOptionalPartsAreLeftOut) {
  EXPECT_TRUE(
      xmltest::SameTree(Made(XelTestConnectionHelper("", "", "", "", "")), TestCommand("", "")));
  // The sign-on alone.
  EXPECT_TRUE(xmltest::SameTree(Made(XelTestConnectionHelper("ds", "", "sso", "", "")),
                                TestCommand("ds", "<signon><name value='sso'/></signon>")));
}

}  // namespace
