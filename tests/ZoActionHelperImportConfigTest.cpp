#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using ConnectionItem = ZoActionHelperImportConfig::ConnectionItem;
using ConfigItem = ZoActionHelperImportConfig::ConfigItem;

const char kUnit[] = "ZoActionHelperImportConfig";
const char kNotASource[] =
    "ORV_ASSERT(!elmSourceConfig.isNull() && elmSourceConfig.getNodeName() == "
    "korvath_actionhelper_resources_source_str);";

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Each item's name with its second field.
template <class Item>
Pairs pairsOf(const std::vector<Item>& items, I18NString Item::*second) {
  Pairs out;
  for (const Item& item : items) out.emplace_back(item.m_name.str(), (item.*second).str());
  return out;
}

Pairs pairsOf(const std::vector<ConnectionItem>& items) {
  return pairsOf(items, &ConnectionItem::m_nameInRequest);
}

Pairs pairsOf(const std::vector<ConfigItem>& items) { return pairsOf(items, &ConfigItem::m_value); }

TEST(ZoActionHelperImportConfigTest, ReadsTheFirstConnectionOnly) {
  ZoActionHelperImportConfig config;
  xmltest::Take(config,
                "<source><connection provider='first'><item name='s' nameInRequest='S'/>"
                "</connection><connection provider='second'><item name='x' nameInRequest='X'/>"
                "</connection><settings><capabilities><item value='10'/></capabilities>"
                "</settings></source>");
  I18NString value;
  EXPECT_EQ(config.getConnectionProvider(value), 1);
  EXPECT_EQ(value, "first");
  // The lists are appended to the caller's.
  std::vector<ConnectionItem> items{ConnectionItem("held", "H")};
  config.getConnectionItems(items);
  EXPECT_EQ(pairsOf(items), (Pairs{{"held", "H"}, {"s", "S"}}));
  std::vector<ConfigItem> capabilities{ConfigItem("held", "H")};
  config.getCapabilities(capabilities);
  EXPECT_EQ(pairsOf(capabilities), (Pairs{{"held", "H"}, {"", "10"}}));
}

TEST(ZoActionHelperImportConfigTest, GettersDegradeWhenThereIsNothingToRead) {
  ZoActionHelperImportConfig config;
  I18NString value = "untouched";
  std::vector<ConnectionItem> items{ConnectionItem("held", "")};
  std::vector<ConfigItem> capabilities{ConfigItem("held", "")};
  auto expectNoItems = [&] {
    config.getConnectionItems(items);
    config.getCapabilities(capabilities);
    EXPECT_EQ(items.size(), 1u);
    EXPECT_EQ(capabilities.size(), 1u);
  };

  // Before Take nothing is read and nothing is changed.
  EXPECT_EQ(config.getQueryType(value), 0);
  EXPECT_EQ(config.getConnectionProvider(value), 0);
  EXPECT_EQ(value, "untouched");
  expectNoItems();

  // A bare source has empty attributes, which replace the caller's string.
  xmltest::Take(config, "<source queryType=''><item name='stray'/></source>");
  EXPECT_EQ(config.getConnectionProvider(value), 0);
  EXPECT_EQ(value, "untouched");
  expectNoItems();
  EXPECT_EQ(config.getPluginName(value), 0);
  EXPECT_EQ(value, "");

  // A connection without a provider gives an empty provider, and groups without items none.
  ORVIDOM_Element empty = xmltest::Take(config, "<source><connection/><capabilities/></source>");
  value = "untouched";
  EXPECT_EQ(config.getConnectionProvider(value), 0);
  EXPECT_EQ(value, "");
  expectNoItems();
}

TEST(ZoActionHelperImportConfigTest, TakeRefusesAnythingButANodeNamedSource) {
  ZoActionHelperImportConfig config;
  ORVIDOM_Element kept = xmltest::Take(config, "<source queryType='kept'/>");

  ORVIDOM_Element none;
  EXPECT_ORV_ASSERT(config.Take(none), kNotASource, kUnit);
  ORVIDOM_Element other = xmltest::Parse("<sources queryType='other'/>");
  EXPECT_ORV_ASSERT(config.Take(other), kNotASource, kUnit);
  ORVIDOM_Element text = xmltest::Parse("<a>source</a>").getFirstChild();
  EXPECT_ORV_ASSERT(config.Take(text), kNotASource, kUnit);

  // A refused element leaves the source read before in place.
  I18NString value;
  EXPECT_EQ(config.getQueryType(value), 1);
  EXPECT_EQ(value, "kept");

  // An attribute named "source" is taken, and reads as a source without anything.
  ORVIDOM_Element attribute =
      xmltest::Parse("<a source='x'><connection provider='p'/></a>").getAttributes().item(0);
  config.Take(attribute);
  EXPECT_EQ(config.getQueryType(value), 0);
  EXPECT_EQ(value, "");
  value = "untouched";
  EXPECT_EQ(config.getConnectionProvider(value), 0);
  EXPECT_EQ(value, "untouched");
}

}  // namespace
