#include <gtest/gtest.h>

#include "support/XmlTestSupport.h"

namespace {

constexpr const char* kAccessUnit = "ZoActionHelperObjectAccess";
constexpr const char* kSecurityObjectUnit = "ZoActionHelperSecurityObject";

using Access = ZoActionHelperObjectAccess;
using SecurityObject = ZoActionHelperSecurityObject;

// Opens the protected readers to the tests.
class ExposedObjectAccess : public ZoActionHelperObjectAccess {
 public:
  using ZoActionHelperObjectAccess::buildAccessVector;
  using ZoActionHelperObjectAccess::getObjectAccessRule;
};

std::vector<Access::SecurityObjectAccess> EntriesOf(const Access& access) {
  std::vector<Access::SecurityObjectAccess> entries;
  access.getEntries(entries);
  return entries;
}

void ExpectEntry(const Access::SecurityObjectAccess& entry, const char* cmSearchPath,
                 const char* displayPath, const char* type, Access::EObjectAccessRule rule) {
  ASSERT_TRUE(entry.m_securityObject);
  EXPECT_EQ(entry.m_securityObject->m_cmSearchPath, cmSearchPath);
  EXPECT_EQ(entry.m_securityObject->m_displayPath, displayPath);
  EXPECT_EQ(entry.m_securityObject->m_type, type);
  EXPECT_EQ(entry.m_rule, rule);
}

TEST(ZoActionHelperSecurityObjectTest, ConstructorsAndTypeTexts) {
  EXPECT_EQ(SecurityObject::getAccessTypeStr(SecurityObject::kUser), "account");
  EXPECT_EQ(SecurityObject::getAccessTypeStr(SecurityObject::kRole), "role");
  EXPECT_EQ(SecurityObject::getAccessTypeStr(SecurityObject::kGroup), "group");
  EXPECT_ORV_ASSERT(SecurityObject::getAccessTypeStr(static_cast<SecurityObject::EAccessType>(3)),
                    "ORV_ASSERT(eAccessType == ZoActionHelperSecurityObject::kUser);",
                    kSecurityObjectUnit);

  const SecurityObject group("dir:\"g\"", "Sales", SecurityObject::kGroup);
  EXPECT_EQ(group.m_type, "group");
  const SecurityObject custom("p", "d", I18NString("anything"));
  EXPECT_EQ(custom.m_type, "anything");

  // A copy is a new object of its own, whatever the original's sharing.
  ORVSmartPointer<SecurityObject> shared(new SecurityObject(group));
  ORVSmartPointer<SecurityObject> alsoShared = shared;
  EXPECT_EQ(shared->getReferenceCount(), 2);
  ORVSmartPointer<SecurityObject> copy(new SecurityObject(*shared));
  EXPECT_EQ(copy->getReferenceCount(), 1);
  EXPECT_EQ(copy->m_cmSearchPath, "dir:\"g\"");
  EXPECT_EQ(copy->m_displayPath, "Sales");
  EXPECT_EQ(copy->m_type, "group");
}

TEST(ZoActionHelperSecurityObjectTest, ReadsAccessAndSecurityObjectElements) {
  const SecurityObject access(xmltest::Parse(
      R"(<access cmSearchPath="p1" displayPath="d1" type="role"><cmSearchPath>ignored</cmSearchPath></access>)"));
  EXPECT_EQ(access.m_cmSearchPath, "p1");
  EXPECT_EQ(access.m_displayPath, "d1");
  EXPECT_EQ(access.m_type, "role");

  // Child elements at any depth win over attributes.
  const SecurityObject fromChildren(xmltest::Parse(R"(
    <securityObject type="account" cmSearchPath="attr" displayPath="attr">
      <names>
        <cmSearchPath>p2</cmSearchPath>
        <displayPath>d2</displayPath>
      </names>
    </securityObject>)"));
  EXPECT_EQ(fromChildren.m_cmSearchPath, "p2");
  EXPECT_EQ(fromChildren.m_displayPath, "d2");
  EXPECT_EQ(fromChildren.m_type, "account");

  // With a "cmSearchPath" child the display path comes only from a child.
  const SecurityObject noDisplayChild(xmltest::Parse(
      R"(<securityObject displayPath="attr"><cmSearchPath>p3</cmSearchPath></securityObject>)"));
  EXPECT_EQ(noDisplayChild.m_cmSearchPath, "p3");
  EXPECT_EQ(noDisplayChild.m_displayPath, "");
  EXPECT_EQ(noDisplayChild.m_type, "");

  const SecurityObject fromAttributes(
      xmltest::Parse(R"(<securityObject cmSearchPath="p4" displayPath="d4" type="group"/>)"));
  EXPECT_EQ(fromAttributes.m_cmSearchPath, "p4");
  EXPECT_EQ(fromAttributes.m_displayPath, "d4");

  EXPECT_ORV_ASSERT(
      SecurityObject(xmltest::Parse("<rule/>")),
      "ORV_ASSERT(securityObjectElemName == korvath_actionhelper_resources_securityObject_str);",
      kSecurityObjectUnit);
  EXPECT_ORV_ASSERT(
      SecurityObject{ORVIDOM_Element()},
      "ORV_ASSERT(securityObjectElemName == korvath_actionhelper_resources_securityObject_str);",
      kSecurityObjectUnit);
}

TEST(ZoActionHelperObjectAccessTest, RuleTexts) {
  EXPECT_EQ(Access::getObjectAccessRuleStr(Access::kUnspecified), "unspecified");
  EXPECT_EQ(Access::getObjectAccessRuleStr(Access::kAllow), "allow");
  EXPECT_EQ(Access::getObjectAccessRuleStr(Access::kDeny), "deny");
  EXPECT_EQ(Access::getObjectAccessRuleStr(static_cast<Access::EObjectAccessRule>(7)),
            "unspecified");

  EXPECT_EQ(Access::getObjectAccessRule(I18NString("allow")), Access::kAllow);
  EXPECT_EQ(Access::getObjectAccessRule(I18NString("deny")), Access::kDeny);
  for (const char* other : {"unspecified", "Allow", "DENY", " deny", ""}) {
    EXPECT_EQ(Access::getObjectAccessRule(I18NString(other)), Access::kUnspecified) << other;
  }

  EXPECT_EQ(ExposedObjectAccess::getObjectAccessRule(xmltest::Parse(
                "<securityObject><rule>deny</rule><rule>allow</rule></securityObject>")),
            Access::kDeny);
  EXPECT_EQ(ExposedObjectAccess::getObjectAccessRule(
                xmltest::Parse("<securityObject><x><rule>deny</rule></x></securityObject>")),
            Access::kUnspecified);
}

TEST(ZoActionHelperObjectAccessTest, DetachedHelperOnlyListsEntries) {
  ExposedObjectAccess access;
  EXPECT_TRUE(access.isUnspecifiedForAllEntries());
  EXPECT_TRUE(EntriesOf(access).empty());

  const SecurityObject user("u", "User", SecurityObject::kUser);
  access.addEntry(user, Access::kAllow);
  access.addEntry(SecurityObject("u", "Other", SecurityObject::kRole), Access::kUnspecified);
  access.addEntry(user, Access::kDeny);
  access.addEntry(SecurityObject("", "ignored", SecurityObject::kUser), Access::kDeny);

  // Duplicates and the rules passed in are kept, each with a security object of its own.
  std::vector<Access::SecurityObjectAccess> entries = EntriesOf(access);
  ASSERT_EQ(entries.size(), 3u);
  ExpectEntry(entries[0], "u", "User", "account", Access::kAllow);
  ExpectEntry(entries[1], "u", "Other", "role", Access::kUnspecified);
  ExpectEntry(entries[2], "u", "User", "account", Access::kDeny);
  EXPECT_NE(entries[0].m_securityObject, entries[2].m_securityObject);
  EXPECT_FALSE(access.isUnspecifiedForAllEntries());

  // The caller's list is appended to, and copies share the security object.
  access.getEntries(entries);
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_EQ(entries[3].m_securityObject, entries[0].m_securityObject);

  EXPECT_ORV_ASSERT(access.buildAccessVector(), "ORV_ASSERT(!m_requestRoot.isNull());",
                    kAccessUnit);

  // Make writes none of them, and once attached only the element counts.
  ORVIDOM_Element elem;
  access.Make(elem);
  EXPECT_TRUE(xmltest::SameTree(elem, "<objectAccess/>"));
  EXPECT_TRUE(EntriesOf(access).empty());
  EXPECT_TRUE(access.isUnspecifiedForAllEntries());
}

TEST(ZoActionHelperObjectAccessTest, AttachedHelperMergesEntriesPerSearchPath) {
  Access access;
  ORVIDOM_Element elem;
  access.Make(elem);
  const SecurityObject a("a", "A", SecurityObject::kUser);
  const SecurityObject b("b", "B", SecurityObject::kRole);
  const SecurityObject c("c", "C", SecurityObject::kGroup);
  access.addEntry(a, Access::kAllow);
  access.addEntry(b, Access::kDeny);
  access.addEntry(c, Access::kAllow);
  access.addEntry(SecurityObject("", "ignored", SecurityObject::kUser), Access::kDeny);
  // A later rule only ever strengthens; display path and type stay the first ones.
  access.addEntry(SecurityObject("a", "Renamed", SecurityObject::kGroup), Access::kDeny);
  access.addEntry(b, Access::kAllow);
  access.addEntry(c, Access::kUnspecified);

  EXPECT_TRUE(xmltest::SameTree(elem, R"(
    <objectAccess>
      <securityObject cmSearchPath="a" displayPath="A" type="account"><rule>deny</rule></securityObject>
      <securityObject cmSearchPath="b" displayPath="B" type="role"><rule>deny</rule></securityObject>
      <securityObject cmSearchPath="c" displayPath="C" type="group"><rule>allow</rule></securityObject>
    </objectAccess>)"));

  std::vector<Access::SecurityObjectAccess> entries = EntriesOf(access);
  ASSERT_EQ(entries.size(), 3u);
  ExpectEntry(entries[0], "a", "A", "account", Access::kDeny);
  ExpectEntry(entries[1], "b", "B", "role", Access::kDeny);
  ExpectEntry(entries[2], "c", "C", "group", Access::kAllow);
  EXPECT_FALSE(access.isUnspecifiedForAllEntries());

  Access unspecifiedOnly;
  unspecifiedOnly.Make(elem);
  unspecifiedOnly.addEntry(a, Access::kUnspecified);
  EXPECT_TRUE(unspecifiedOnly.isUnspecifiedForAllEntries());
  EXPECT_TRUE(xmltest::SameTree(elem, R"(
    <objectAccess>
      <securityObject cmSearchPath="a" displayPath="A" type="account"><rule>unspecified</rule></securityObject>
    </objectAccess>)"));
}

TEST(ZoActionHelperObjectAccessTest, TakeReadsAnIndentedDocumentAndWritesIntoIt) {
  ORVIDOM_Element received = xmltest::Parse(R"(
    <objectAccess>
      <securityObject cmSearchPath="a" displayPath="A" type="account">
        <rule>allow</rule>
      </securityObject>
      <!-- text and comments between the security objects are passed over -->
      <securityObject type="role">
        <cmSearchPath>b</cmSearchPath>
        <displayPath>B</displayPath>
        <rule>Deny</rule>
      </securityObject>
      <access cmSearchPath="c" displayPath="C" type="group"><rule>deny</rule></access>
      <securityObject cmSearchPath="d"/>
    </objectAccess>)");
  Access access;
  access.Take(received);
  std::vector<Access::SecurityObjectAccess> entries = EntriesOf(access);
  ASSERT_EQ(entries.size(), 4u);
  ExpectEntry(entries[0], "a", "A", "account", Access::kAllow);
  ExpectEntry(entries[1], "b", "B", "role", Access::kUnspecified);
  ExpectEntry(entries[2], "c", "C", "group", Access::kDeny);
  ExpectEntry(entries[3], "d", "", "", Access::kUnspecified);

  // Attached by Take, the helper writes into the received element.
  access.addEntry(SecurityObject("d", "D", SecurityObject::kUser), Access::kAllow);
  const ORVIDOM_Element d =
      ORVIDOM_Helper::findElementWithAttribute(received, "securityObject", "cmSearchPath", "d");
  EXPECT_TRUE(xmltest::SameTree(
      d, R"(<securityObject cmSearchPath="d"><rule>allow</rule></securityObject>)"));
  EXPECT_EQ(EntriesOf(access)[3].m_rule, Access::kAllow);

  ORVIDOM_Element foreign =
      xmltest::Parse(R"(<objectAccess><securityObject cmSearchPath="a"/> <other/></objectAccess>)");
  access.Take(foreign);
  EXPECT_ORV_ASSERT(
      EntriesOf(access),
      "ORV_ASSERT(securityObjectElemName == korvath_actionhelper_resources_securityObject_str);",
      kSecurityObjectUnit);

  ORVIDOM_Element null;
  EXPECT_ORV_ASSERT(access.Take(null), "ORV_ASSERT(!m_requestRoot.isNull());", kAccessUnit);
}

TEST(ZoActionHelperObjectAccessTest, RoundTripGivesBackEveryEntry) {
  Access access;
  ORVIDOM_Element elem;
  access.Make(elem);
  access.addEntry(SecurityObject("dir:\"x:u\"", "Users & <Admins>", SecurityObject::kUser),
                  Access::kAllow);
  access.addEntry(SecurityObject("r", "Role", SecurityObject::kRole), Access::kUnspecified);
  access.addEntry(SecurityObject("g", "", SecurityObject::kGroup), Access::kDeny);

  for (const bool indent : {false, true}) {
    ORVIDOM_Element received = xmltest::Parse(ORVIDOM_Writer::toString(elem, {indent, false}));
    Access reader;
    reader.Take(received);
    std::vector<Access::SecurityObjectAccess> entries = EntriesOf(reader);
    ASSERT_EQ(entries.size(), 3u);
    ExpectEntry(entries[0], "dir:\"x:u\"", "Users & <Admins>", "account", Access::kAllow);
    ExpectEntry(entries[1], "r", "Role", "role", Access::kUnspecified);
    ExpectEntry(entries[2], "g", "", "group", Access::kDeny);
  }
}

}  // namespace
