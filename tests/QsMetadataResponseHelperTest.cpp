#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

QsMetadataResponseHelper taken(ORVIDOM_Element response) {
  QsMetadataResponseHelper helper;
  helper.Take(response);
  return helper;
}

TEST(QsMetadataResponseHelperTest, NothingIsFoundBeforeTake) {
  QsMetadataResponseHelper helper;
  ORVIDOM_Element none;
  EXPECT_TRUE(helper.GetFirstEntry("entry").isNull() && helper.GetLastEntry("entry").isNull() &&
              helper.FindEntryFor("id", "", "entry").isNull() &&
              helper.FindAllEntriesFor("id", "", "entry").empty() &&
              helper.GetNextEntry(none, "entry").isNull());
  EXPECT_EQ(helper.EntriesSize("entry"), 0u);
}

TEST(QsMetadataResponseHelperTest, NavigatesDirectChildrenOfTheName) {
  ORVIDOM_Element response = xmltest::Parse(
      "<response><entry id='1'/><other id='o'/>text<entry id='2'><entry id='inner'/></entry>"
      "<!--note--><entry id='3'/><other id='p'/></response>");
  QsMetadataResponseHelper helper = taken(response);

  ORVIDOM_Element entry = helper.GetFirstEntry("entry");
  EXPECT_EQ(entry.getAttribute("id"), "1");
  entry = helper.GetNextEntry(entry, "entry");
  EXPECT_EQ(entry.getAttribute("id"), "2");
  entry = helper.GetNextEntry(entry, "entry");
  EXPECT_EQ(entry.getAttribute("id"), "3");
  EXPECT_TRUE(helper.GetNextEntry(entry, "entry").isNull());

  EXPECT_EQ(helper.GetLastEntry("entry").getAttribute("id"), "3");
  EXPECT_EQ(helper.GetLastEntry("other").getAttribute("id"), "p");
  EXPECT_TRUE(helper.GetFirstEntry("Entry").isNull());
  EXPECT_TRUE(helper.GetLastEntry("absent").isNull());

  EXPECT_EQ(helper.EntriesSize("entry"), 4u);
  EXPECT_EQ(helper.EntriesSize("other"), 2u);
  EXPECT_EQ(helper.EntriesSize("absent"), 0u);
}

TEST(QsMetadataResponseHelperTest, FindsEntriesByAttributeUpToTheFirstNonElement) {
  ORVIDOM_Element response = xmltest::Parse(
      "<response><level id='a' depth='1'/><member depth='2'/><level id='b' depth='2'/>"
      "end<level id='c' depth='2'/></response>");
  QsMetadataResponseHelper helper = taken(response);

  // The element name given is not used: any entry with the value matches.
  EXPECT_EQ(helper.FindEntryFor("depth", "2", "level").getNodeName(), "member");
  EXPECT_EQ(helper.FindEntryFor("id", "b", "unused").getAttribute("depth"), "2");
  EXPECT_EQ(helper.FindEntryFor("id", "", "level").getNodeName(), "member");
  EXPECT_TRUE(helper.FindEntryFor("id", "B", "level").isNull());
  // The text ends the search before the last entry.
  EXPECT_TRUE(helper.FindEntryFor("id", "c", "level").isNull());

  const std::vector<ORVIDOM_Element> all = helper.FindAllEntriesFor("depth", "2", "level");
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].getNodeName(), "member");
  EXPECT_EQ(all[1].getAttribute("id"), "b");
  EXPECT_TRUE(helper.FindAllEntriesFor("depth", "3", "level").empty());
}

TEST(QsMetadataResponseHelperTest, TextBetweenEntriesEndsTheSearchButNotTheNavigation) {
  ORVIDOM_Element response = xmltest::Parse(R"(<response>
  <entry id="1"/>
  <entry id="2"/>
</response>)");
  QsMetadataResponseHelper helper = taken(response);
  EXPECT_TRUE(helper.FindEntryFor("id", "1", "entry").isNull());
  EXPECT_TRUE(helper.FindAllEntriesFor("id", "2", "entry").empty());
  ORVIDOM_Element first = helper.GetFirstEntry("entry");
  EXPECT_EQ(helper.GetNextEntry(first, "entry").getAttribute("id"), "2");
}

TEST(QsMetadataResponseHelperTest, ReadsAPropertyAndItsLocalizedValues) {
  ORVIDOM_Element response = xmltest::Parse(R"xml(<response>
  <member caption="Year" empty="">
    <alias locale="en" caption="Year (en)"/> <alias locale="fr" caption="Annee"/>
    <alias caption="No locale"/> <alias locale="de"/> <alias locale="it" caption=""/>
    <group> <alias locale="en" caption="Year, later"/> </group>
  </member>
</response>)xml");
  QsMetadataResponseHelper helper = taken(response);
  const ORVIDOM_Element member = helper.GetFirstEntry("member");
  ASSERT_FALSE(member.isNull());

  I18NString value = "stale";
  EXPECT_EQ(QsMetadataResponseHelper::GetPropertyValue(member, "caption", value), 1);
  EXPECT_EQ(value, "Year");
  EXPECT_EQ(QsMetadataResponseHelper::GetPropertyValue(member, "empty", value), 1);
  EXPECT_EQ(value, "");
  value = "stale";
  EXPECT_EQ(QsMetadataResponseHelper::GetPropertyValue(member, "locale", value), 0);
  EXPECT_EQ(value, "");
  value = "stale";
  EXPECT_EQ(QsMetadataResponseHelper::GetPropertyValue(ORVIDOM_Element(), "caption", value), 0);
  EXPECT_EQ(value, "");

  std::map<I18NString, I18NString> localized{{"es", "Ano"}};
  EXPECT_EQ(QsMetadataResponseHelper::GetPropertyValue(member, "caption", value, localized), 1);
  EXPECT_EQ(value, "Year");
  const std::map<I18NString, I18NString> expected{
      {"en", "Year, later"}, {"es", "Ano"}, {"fr", "Annee"}};
  EXPECT_EQ(localized, expected);

  // An entry without the property reads no alias.
  EXPECT_EQ(QsMetadataResponseHelper::GetPropertyValue(member, "name", value, localized), 0);
  EXPECT_EQ(localized, expected);
}

TEST(QsMetadataResponseHelperTest, ListsPropertiesInAttributeOrderAndAppends) {
  ORVIDOM_Element response = xmltest::Parse(
      R"(<response><member uniqueName="[Y].[2020]" caption="2020" level=""/></response>)");
  QsMetadataResponseHelper helper = taken(response);
  ORVIDOM_Element member = helper.GetFirstEntry("member");

  std::vector<I18NString> names{"kept"};
  std::vector<I18NString> values{"kept"};
  helper.GetPropertyNameValues(member, names, values);
  EXPECT_EQ(names, (std::vector<I18NString>{"kept", "uniqueName", "caption", "level"}));
  EXPECT_EQ(values, (std::vector<I18NString>{"kept", "[Y].[2020]", "2020", ""}));

  ORVIDOM_Element none;
  helper.GetPropertyNameValues(none, names, values);
  EXPECT_EQ(names.size(), 4u);
  EXPECT_EQ(values.size(), 4u);
}

}  // namespace
