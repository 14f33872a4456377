#include <gtest/gtest.h>

#include "support/XmlTestSupport.h"

namespace {

constexpr const char* kUnit = "ZoActionHelperSecurityObject";

using Spec = ZoActionHelperSecurityObjectSpec;
using ViewInfo = ZoActionHelperSecurityObjectSpec::ViewInfo;
using SecurityObject = ZoActionHelperSecurityObject;

ViewInfo View(const char* viewRef, std::initializer_list<const char*> packageRefs) {
  ViewInfo view{I18NString(viewRef)};
  for (const char* packageRef : packageRefs) view.addPackageRef(packageRef);
  return view;
}

// One "search path|display path|type: view[package,...] ..." line per entry left in the walk.
std::vector<std::string> Walk(Spec& spec) {
  std::vector<std::string> lines;
  std::vector<ViewInfo> views;
  while (ORVSmartPointer<SecurityObject> entry = spec.getEntry(views)) {
    std::string line = entry->m_cmSearchPath.str() + "|" + entry->m_displayPath.str() + "|" +
                       entry->m_type.str() + ":";
    for (const ViewInfo& view : views) {
      line += " " + view.getViewRef().str() + "[";
      for (const I18NString& packageRef : view.m_packageRefs) line += packageRef.str() + ",";
      line += "]";
    }
    lines.push_back(line);
    views.clear();
  }
  return lines;
}

TEST(ZoActionHelperSecurityObjectSpecTest, ViewInfoRefusesEmptyReferences) {
  EXPECT_ORV_ASSERT(ViewInfo{I18NString()}, "ORV_ASSERT(!m_viewRef.empty());", kUnit);
  ViewInfo view{I18NString("v")};
  EXPECT_ORV_ASSERT(view.addPackageRef(""), "ORV_ASSERT(!packageRef.empty());", kUnit);
  view.addPackageRef("A");
  view.addPackageRef("A");
  std::vector<I18NString> packageRefs{"earlier"};
  view.getPackageRefs(packageRefs);
  EXPECT_EQ(packageRefs, (std::vector<I18NString>{"earlier", "A", "A"}));

  EXPECT_ORV_ASSERT(ViewInfo{ORVIDOM_Element()}, "ORV_ASSERT(!viewElem.isNull());", kUnit);
  const struct {
    const char* view;
    const char* text;
  } refused[] = {
      {"<view><packageref>p</packageref></view>", "ORV_ASSERT(!viewRefElem.isNull());"},
      {"<view><viewref/></view>", "ORV_ASSERT(!m_viewRef.empty());"},
      {"<view><viewref>v</viewref><packageref/></view>", "ORV_ASSERT(!packageRef.empty());"},
  };
  for (const auto& c : refused) EXPECT_ORV_ASSERT(ViewInfo{xmltest::Parse(c.view)}, c.text, kUnit);

  // References are found at any depth, in document order, repeats kept.
  const ViewInfo found{xmltest::Parse(
      "<view><packageref>P1</packageref><nested><viewref>V</viewref><packageref>P2</packageref>"
      "</nested><packageref>P1</packageref></view>")};
  EXPECT_EQ(found.getViewRef(), "V");
  packageRefs.clear();
  found.getPackageRefs(packageRefs);
  EXPECT_EQ(packageRefs, (std::vector<I18NString>{"P1", "P2", "P1"}));
}

TEST(ZoActionHelperSecurityObjectSpecTest, AddEntryWritesStraightIntoTheMadeElement) {
  Spec spec;
  EXPECT_ORV_ASSERT(spec.addEntry(SecurityObject("p", "d", SecurityObject::kUser), {}),
                    "ORV_ASSERT(!m_requestRoot.isNull());", kUnit);

  ORVIDOM_Element elem = xmltest::Made(spec);
  EXPECT_TRUE(xmltest::SameTree(elem, "<securityObjects/>"));
  EXPECT_EQ(elem.getParentNode(), elem.getOwnerDocument());

  const SecurityObject user("u", "U", SecurityObject::kUser);
  spec.addEntry(user, {View("v1", {"A", "B", "A"}), View("v1", {})});
  spec.addEntry(SecurityObject("r", "", I18NString("")), {});
  spec.addEntry(SecurityObject("", "ignored", SecurityObject::kGroup), {View("v", {})});
  spec.addEntry(user, {});
  EXPECT_TRUE(xmltest::SameTree(elem, R"(<securityObjects>
      <securityObject type="account"><displayPath>U</displayPath><cmSearchPath>u</cmSearchPath>
        <view><viewref>v1</viewref><packageref>A</packageref><packageref>B</packageref></view>
        <view><viewref>v1</viewref></view></securityObject>
      <securityObject type=""><cmSearchPath>r</cmSearchPath></securityObject>
      <securityObject type="account"><displayPath>U</displayPath><cmSearchPath>u</cmSearchPath>
      </securityObject></securityObjects>)"));
}

TEST(ZoActionHelperSecurityObjectSpecTest, GetEntryWalksAnIndentedDocument) {
  ORVIDOM_Element received = xmltest::Parse(R"(<reply>
      <securityObjects>
        <securityObject type="role">
          <cmSearchPath>r</cmSearchPath> <view> <viewref>v</viewref> <packageref>p</packageref> </view>
        </securityObject>
        <!-- text and comments between the security objects are passed over -->
        <securityObject cmSearchPath="g" displayPath="G" type="group"/>
      </securityObjects>
    </reply>)");
  Spec spec;
  spec.Take(received);

  EXPECT_EQ(Walk(spec), (std::vector<std::string>{"r||role: v[p,]", "g|G|group:"}));
  // Past the last one: a null pointer, and the caller's list stays as it was.
  std::vector<ViewInfo> views{View("mine", {})};
  EXPECT_FALSE(spec.getEntry(views));
  EXPECT_EQ(views.size(), 1u);

  // Another Take restarts the walk; a null element is no error and keeps the walk where it is.
  spec.Take(received);
  ORVIDOM_Element null;
  spec.Take(null);
  EXPECT_EQ(spec.getEntry(views)->m_cmSearchPath, "r");

  xmltest::Take(spec, "<securityObjects>\n</securityObjects>");
  EXPECT_FALSE(spec.getEntry(views));
}

TEST(ZoActionHelperSecurityObjectSpecTest, RefusesMalformedReceivedDocuments) {
  Spec spec;
  ORVIDOM_Element misplaced =
      xmltest::Parse("<securityObjects><group><securityObject/></group></securityObjects>");
  // clang-format off
  EXPECT_ORV_ASSERT(spec.Take(misplaced), "ORV_ASSERT(m_currentSecurityObjectElem.isNull() || m_currentSecurityObjectElem.getParentNode().getNodeName() == kElemNameRoot);", kUnit);
  // clang-format on

  xmltest::Take(spec, R"(
    <securityObjects>
      <securityObject cmSearchPath="a"/>
      <other/>
    </securityObjects>)");
  std::vector<ViewInfo> views;
  // clang-format off
  EXPECT_ORV_ASSERT(spec.getEntry(views), "ORV_ASSERT(m_currentSecurityObjectElem.isNull() || m_currentSecurityObjectElem.getNodeName() == korvath_actionhelper_resources_securityObject_str);", kUnit);
  // clang-format on

  // A refused view leaves the walk and the caller's list where they were.
  xmltest::Take(spec, R"(
    <securityObjects>
      <securityObject cmSearchPath="a"><view><viewref>v</viewref></view><view/></securityObject>
    </securityObjects>)");
  EXPECT_ORV_ASSERT(spec.getEntry(views), "ORV_ASSERT(!viewRefElem.isNull());", kUnit);
  EXPECT_TRUE(views.empty());
  EXPECT_ORV_ASSERT(spec.getEntry(views), "ORV_ASSERT(!viewRefElem.isNull());", kUnit);
}

}  // namespace
