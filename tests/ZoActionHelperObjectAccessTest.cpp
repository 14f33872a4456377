#include <gtest/gtest.h>

#include "support/XmlTestSupport.h"

namespace {

constexpr const char* kAccessUnit = "ZoActionHelperObjectAccess";
constexpr const char* kSecurityObjectUnit = "ZoActionHelperSecurityObject";
constexpr const char* kNameAssert =
    "ORV_ASSERT(securityObjectElemName == korvath_actionhelper_resources_securityObject_str);";

using Access = ZoActionHelperObjectAccess;
using SecurityObject = ZoActionHelperSecurityObject;

// Opens the protected readers to the tests.
class ExposedObjectAccess : public ZoActionHelperObjectAccess {
 public:
  using ZoActionHelperObjectAccess::buildAccessVector;
  using ZoActionHelperObjectAccess::getObjectAccessRule;
};

std::string Describe(const SecurityObject& object) {
  return object.m_cmSearchPath.str() + "|" + object.m_displayPath.str() + "|" + object.m_type.str();
}

// One "search path|display path|type|rule" line per entry.
std::vector<std::string> EntriesOf(const Access& access) {
  std::vector<Access::SecurityObjectAccess> entries;
  access.getEntries(entries);
  std::vector<std::string> lines;
  for (const Access::SecurityObjectAccess& entry : entries) {
    lines.push_back(Describe(*entry.m_securityObject) + "|" +
                    Access::getObjectAccessRuleStr(entry.m_rule).str());
  }
  return lines;
}

using Lines = std::vector<std::string>;

TEST(ZoActionHelperSecurityObjectTest, ConstructorsAndTypeTexts) {
  EXPECT_EQ(Describe(SecurityObject("p", "d", I18NString("any"))), "p|d|any");
  EXPECT_ORV_ASSERT(SecurityObject::getAccessTypeStr(static_cast<SecurityObject::EAccessType>(3)),
                    "ORV_ASSERT(eAccessType == ZoActionHelperSecurityObject::kUser);",
                    kSecurityObjectUnit);

  // A copy is a new object of its own, whatever the original's sharing.
  ORVSmartPointer<SecurityObject> shared(new SecurityObject("p", "d", SecurityObject::kRole));
  ORVSmartPointer<SecurityObject> alsoShared = shared;
  ORVSmartPointer<SecurityObject> copy(new SecurityObject(*shared));
  EXPECT_EQ(shared->getReferenceCount(), 2);
  EXPECT_EQ(copy->getReferenceCount(), 1);
  EXPECT_EQ(Describe(*copy), "p|d|role");
}

TEST(ZoActionHelperSecurityObjectTest, ReadsAccessAndSecurityObjectElements) {
  EXPECT_EQ(
      Describe(SecurityObject(xmltest::Parse(
          R"(<access cmSearchPath="p" displayPath="d" type="role"><cmSearchPath>x</cmSearchPath></access>)"))),
      "p|d|role");
  // Descendant elements win over attributes.
  EXPECT_EQ(Describe(SecurityObject(xmltest::Parse(R"(
    <securityObject type="account" cmSearchPath="attr" displayPath="attr">
      <names>
        <cmSearchPath>p</cmSearchPath>
        <displayPath>d</displayPath>
      </names>
    </securityObject>)"))),
            "p|d|account");
  // With a "cmSearchPath" element the display path comes only from an element.
  EXPECT_EQ(
      Describe(SecurityObject(xmltest::Parse(
          R"(<securityObject displayPath="attr"><cmSearchPath>p</cmSearchPath></securityObject>)"))),
      "p||");
  EXPECT_EQ(Describe(SecurityObject(xmltest::Parse(
                R"(<securityObject cmSearchPath="p" displayPath="d" type="group"/>)"))),
            "p|d|group");

  EXPECT_ORV_ASSERT(SecurityObject(xmltest::Parse("<rule/>")), kNameAssert, kSecurityObjectUnit);
  EXPECT_ORV_ASSERT(SecurityObject{ORVIDOM_Element()}, kNameAssert, kSecurityObjectUnit);
}

TEST(ZoActionHelperObjectAccessTest, RulesOtherThanAllowAndDenyAreUnspecified) {
  EXPECT_EQ(Access::getObjectAccessRuleStr(static_cast<Access::EObjectAccessRule>(7)),
            "unspecified");
  for (const char* other : {"Allow", "DENY", " deny", ""}) {
    EXPECT_EQ(Access::getObjectAccessRule(I18NString(other)), Access::kUnspecified) << other;
  }
  // Only the first "rule" child counts.
  EXPECT_EQ(ExposedObjectAccess::getObjectAccessRule(xmltest::Parse(
                "<s><x><rule>allow</rule></x><rule>deny</rule><rule>allow</rule></s>")),
            Access::kDeny);
  EXPECT_EQ(ExposedObjectAccess::getObjectAccessRule(xmltest::Parse("<s/>")), Access::kUnspecified);
}

TEST(ZoActionHelperObjectAccessTest, DetachedHelperOnlyListsEntries) {
  ExposedObjectAccess access;
  EXPECT_TRUE(access.isUnspecifiedForAllEntries());
  const SecurityObject user("u", "User", SecurityObject::kUser);
  access.addEntry(user, Access::kAllow);
  access.addEntry(SecurityObject("u", "Other", SecurityObject::kRole), Access::kUnspecified);
  access.addEntry(user, Access::kDeny);
  access.addEntry(SecurityObject("", "ignored", SecurityObject::kUser), Access::kDeny);
  // Duplicates and the rules passed in are kept.
  EXPECT_EQ(EntriesOf(access),
            (Lines{"u|User|account|allow", "u|Other|role|unspecified", "u|User|account|deny"}));
  EXPECT_FALSE(access.isUnspecifiedForAllEntries());

  // The caller's list is appended to; copies of an entry share its security object, and every
  // entry has a security object of its own.
  std::vector<Access::SecurityObjectAccess> entries;
  access.getEntries(entries);
  access.getEntries(entries);
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_EQ(entries[3].m_securityObject, entries[0].m_securityObject);
  EXPECT_NE(entries[2].m_securityObject, entries[0].m_securityObject);

  EXPECT_ORV_ASSERT(access.buildAccessVector(), "ORV_ASSERT(!m_requestRoot.isNull());",
                    kAccessUnit);

  // Make writes none of them, and once attached only the element counts.
  ORVIDOM_Element elem = xmltest::Made(access);
  EXPECT_TRUE(xmltest::SameTree(elem, "<objectAccess/>"));
  EXPECT_EQ(elem.getParentNode(), elem.getOwnerDocument());
  EXPECT_TRUE(EntriesOf(access).empty());
  EXPECT_TRUE(access.isUnspecifiedForAllEntries());
}

// Entries merged per search path, a later rule only strengthening the first, display path and type
// kept, are pinned by the object-access example.
TEST(ZoActionHelperObjectAccessTest, AttachedHelperKeepsARuleOverUnspecifiedAndSkipsEmptyPaths) {
  Access access;
  ORVIDOM_Element elem = xmltest::Made(access);
  const char* const kA =
      R"(<securityObject cmSearchPath="a" displayPath="A" type="account"><rule>unspecified</rule>)"
      R"(</securityObject>)";
  access.addEntry(SecurityObject("a", "A", SecurityObject::kUser), Access::kUnspecified);
  EXPECT_TRUE(access.isUnspecifiedForAllEntries());
  EXPECT_TRUE(xmltest::SameTree(elem, std::string("<objectAccess>") + kA + "</objectAccess>"));
  const SecurityObject c("c", "C", SecurityObject::kGroup);
  access.addEntry(c, Access::kAllow);
  access.addEntry(SecurityObject("", "ignored", SecurityObject::kUser), Access::kDeny);
  access.addEntry(c, Access::kUnspecified);
  EXPECT_TRUE(xmltest::SameTree(elem, std::string("<objectAccess>") + kA +
                                          R"(<securityObject cmSearchPath="c" displayPath="C")"
                                          R"( type="group"><rule>allow</rule></securityObject>)"
                                          "</objectAccess>"));
}

TEST(ZoActionHelperObjectAccessTest, TakeReadsAnIndentedDocumentAndWritesIntoIt) {
  ORVIDOM_Element received = xmltest::Parse(R"(<objectAccess>
      <securityObject cmSearchPath="a" displayPath="A" type="account"> <rule>allow</rule> </securityObject>
      <!-- text and comments between the security objects are passed over -->
      <securityObject type="role">
        <cmSearchPath>b</cmSearchPath> <displayPath>B</displayPath> <rule>Deny</rule>
      </securityObject>
      <access cmSearchPath="c" displayPath="C" type="group"><rule>deny</rule></access>
      <securityObject cmSearchPath="d"/>
    </objectAccess>)");
  Access access;
  access.Take(received);
  EXPECT_EQ(EntriesOf(access), (Lines{"a|A|account|allow", "b|B|role|unspecified", "c|C|group|deny",
                                      "d|||unspecified"}));

  // Attached by Take, the helper writes into the received element.
  access.addEntry(SecurityObject("d", "D", SecurityObject::kUser), Access::kAllow);
  EXPECT_TRUE(
      xmltest::SameTree(received.getLastChild().getPreviousSibling(),
                        R"(<securityObject cmSearchPath="d"><rule>allow</rule></securityObject>)"));
  EXPECT_EQ(EntriesOf(access)[3], "d|||allow");

  xmltest::Take(access,
                R"(<objectAccess><securityObject cmSearchPath="a"/> <other/></objectAccess>)");
  EXPECT_ORV_ASSERT(EntriesOf(access), kNameAssert, kSecurityObjectUnit);
  ORVIDOM_Element null;
  EXPECT_ORV_ASSERT(access.Take(null), "ORV_ASSERT(!m_requestRoot.isNull());", kAccessUnit);
}

}  // namespace
