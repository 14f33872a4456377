#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <thread>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

// Runs first in this suite so that the service ID is most likely still unbuilt.
TEST(QsApiConnectHelperTest, ServiceIdIsBuiltOnceWhenFirstAskedFromManyThreads) {
  constexpr int kThreads = 16;
  std::atomic<int> ready{0};
  std::vector<const I18NString*> seen(kThreads, nullptr);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      ++ready;
      while (ready.load() < kThreads) std::this_thread::yield();
      seen[i] = &QsApiConnectHelper::GetZoServiceID();
    });
  }
  for (std::thread& t : threads) t.join();
  for (const I18NString* s : seen) {
    ASSERT_EQ(s, seen[0]);
  }
  EXPECT_EQ(*seen[0], "Zo");
  EXPECT_EQ(&QsApiConnectHelper::GetZoServiceID(), seen[0]);
}

TEST(QsApiConnectHelperTest, NewHelperWritesProviderTypeAndServiceId) {
  QsApiConnectHelper helper;
  ORVIDOM_Element elem = Made(helper);
  EXPECT_TRUE(xmltest::SameTree(elem, R"(
    <connection>
      <dataSourceType value="QueryFrameworkService"/>
      <serviceID value="Zo"/>
    </connection>)"));
  EXPECT_TRUE(elem.getParentNode().isNull());
}

TEST(QsApiConnectHelperTest, WritesSettingsModelsAndPropertiesInKeyOrder) {
  QsApiConnectHelper helper;
  helper.SetProviderType("OtherService");
  helper.SetUserName("anna");
  helper.SetNamespace("LDAP");
  helper.SetPassword("s3cret");
  helper.SetPassport("pp1");
  helper.SetContentManagerURI("http://cm/p2");
  helper.SetRunLocale(I18NLocale("en-us"));
  helper.SetProductLocale(I18NLocale("de-de"));
  helper.SetSessionID(42);
  helper.AddProperty("customSetting", "x");
  helper.SetDisableAuthentication(true);
  helper.SetRetainConnection(false);
  helper.AddModel("sales", true);
  helper.AddModel("hr", false);
  helper.AddModel("sales", true);

  const char* expected = R"(
    <connection>
      <dataSourceType value="OtherService"/>
      <WexPassport value="pp1"/>
      <contentManagerURI value="http://cm/p2"/>
      <customSetting value="x"/>
      <namespace value="LDAP"/>
      <password value="s3cret"/>
      <productLocale value="de-de"/>
      <runLocale value="en-us"/>
      <serviceID value="Zo"/>
      <sessionID value="42"/>
      <username value="anna"/>
      <connection><name value="sales"/><dataSourceType value="vrmModel"/></connection>
      <connection><name value="hr"/><dataSourceType value="Model"/></connection>
      <connection><name value="sales"/><dataSourceType value="vrmModel"/></connection>
      <property name="RETAINCONNECTION" value="FALSE"/>
      <property name="disableAuthentication" value="TRUE"/>
    </connection>)";
  EXPECT_TRUE(xmltest::SameTree(Made(helper), expected));
  // Make leaves the helper as it was, and the written text parses back to the same tree.
  EXPECT_TRUE(xmltest::SameTree(xmltest::RoundTrip(Made(helper)), expected));
}

TEST(QsApiConnectHelperTest, LaterValuesReplaceAndEmptyValuesAreLeftOut) {
  QsApiConnectHelper helper;
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
  EXPECT_EQ(QsApiConnectHelper::MakeSessionID(123456), "123456");
  EXPECT_EQ(QsApiConnectHelper::MakeSessionID(2147483647UL), "2147483647");
  EXPECT_EQ(QsApiConnectHelper::MakeSessionID(2147483648UL), "2147483648");
  const char* largest = sizeof(unsigned long) == 8 ? "18446744073709551615" : "4294967295";
  EXPECT_EQ(QsApiConnectHelper::MakeSessionID(ULONG_MAX), largest);

  QsApiConnectHelper helper;
  helper.SetSessionID(2147483648UL);
  ORVIDOM_Element elem = Made(helper);
  EXPECT_EQ(ORVIDOM_Helper::findChildElement(elem, "sessionID").getAttribute("value"),
            "2147483648");
}

}  // namespace
