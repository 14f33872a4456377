#include <gtest/gtest.h>

#include <climits>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

TEST(QsApiConnectHelperTest, LaterValuesReplaceAndEmptyValuesAreLeftOut) {
  QsApiConnectHelper helper;
  EXPECT_TRUE(xmltest::SameTree(Made(helper), R"(<connection>
      <dataSourceType value="QueryFrameworkService"/><serviceID value="Zo"/></connection>)"));
  helper.SetUserName("first");
  helper.SetUserName("second");
  helper.SetPassword("pw");
  helper.SetPassword("");
  helper.AddProperty("serviceID", "");
  helper.SetRetainConnection(true);
  helper.SetRetainConnection(false);
  // The provider type is written even when empty.
  helper.SetProviderType("");
  EXPECT_TRUE(xmltest::SameTree(Made(helper), R"(
    <connection>
      <dataSourceType value=""/>
      <username value="second"/>
      <property name="RETAINCONNECTION" value="FALSE"/>
    </connection>)"));
}

TEST(QsApiConnectHelperTest, RefreshRequestUpdatesInPlaceOrAppends) {
  ORVIDOM_Element request =
      xmltest::Parse(R"(<connection><dataSourceType value="Q"/><WexPassport value="old"/>)"
                     R"(<runLocale value="en-us"/></connection>)");
  const I18NLocale product("fr-fr");
  const I18NLocale run("it-it");
  QsApiConnectHelper::RefreshRequest(request, "new", &product, &run);
  EXPECT_TRUE(xmltest::SameTree(request, R"(
    <connection>
      <dataSourceType value="Q"/>
      <WexPassport value="new"/>
      <runLocale value="it-it"/>
      <productLocale value="fr-fr"/>
    </connection>)"));

  QsApiConnectHelper::RefreshRequest(request, "", nullptr, nullptr);
  EXPECT_EQ(request.getChildNodes().getLength(), 4u);
  EXPECT_EQ(ORVIDOM_Helper::findChildElement(request, "WexPassport").getAttribute("value"), "new");
}

TEST(QsApiConnectHelperTest, SessionIdsAreWrittenInFullWithoutSign) {
  EXPECT_EQ(QsApiConnectHelper::MakeSessionID(0), "0");
  const char* largest = sizeof(unsigned long) == 8 ? "18446744073709551615" : "4294967295";
  EXPECT_EQ(QsApiConnectHelper::MakeSessionID(ULONG_MAX), largest);

  QsApiConnectHelper helper;
  helper.SetSessionID(2147483648UL);
  EXPECT_EQ(ORVIDOM_Helper::findChildElement(Made(helper), "sessionID").getAttribute("value"),
            "2147483648");
}

}  // namespace
