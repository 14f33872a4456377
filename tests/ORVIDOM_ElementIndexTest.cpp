#include <gtest/gtest.h>

#include <string>

#include "support/XmlTestSupport.h"

namespace {

const I18NString kA("a");
const I18NString kB("b");

}  // namespace

TEST(ORVIDOM_ElementIndexTest, FindsBelowEachElementAndNothingOutsideItsLists) {
  ORVIDOM_Element root = xmltest::Parse("<r><a><b/><a><b/></a></a><b/></r>");
  const ORVIDOM_ElementIndex found(root, {kA, kB});
  ASSERT_EQ(found.all(0).last, 2u);
  ASSERT_EQ(found.all(1).last, 3u);
  // The outer "a" holds the inner one and the first two "b"; the inner one holds the second.
  EXPECT_EQ(found.below(0, 0, 0).first, 1u);
  EXPECT_EQ(found.below(0, 0, 0).last, 2u);
  EXPECT_EQ(found.below(0, 0, 1).last, 2u);
  EXPECT_EQ(found.below(0, 1, 1).first, 1u);
  EXPECT_EQ(found.below(0, 1, 1).last, 2u);
  EXPECT_TRUE(found.below(1, 2, 0).empty());
  EXPECT_EQ(found.element(1, 2).getParentNode(), root);

  // Positions past a list, and lists past the names, give nothing.
  EXPECT_TRUE(found.element(2, 0).isNull() && found.element(0, 2).isNull() &&
              found.first(0, {}).isNull());
  EXPECT_TRUE(found.all(2).empty() && found.below(2, 0, 0).empty() &&
              found.below(0, 0, 2).empty() && found.below(0, 2, 1).empty());
  // An index of no element has empty lists, whose places hold nothing to read.
  const ORVIDOM_ElementIndex none(ORVIDOM_Element(), {kA});
  EXPECT_TRUE(none.all(0).empty() && none.element(0, 0).isNull() && none.below(0, 0, 0).empty());
}

// Many names met in turn, some longer than the short names a document keeps once, and one name
// listed twice: each element is still found in every list of its name, and the part of a later
// list before each element is counted. A name holding a zero byte is no XML name and lists
// nothing.
TEST(ORVIDOM_ElementIndexTest, ListsEveryElementAmongManyNames) {
  const I18NString longName("a_name_longer_than_any_kept_once");
  const I18NString n7("n7"), n0("n0"), n1("n1"), n2("n2"), n39("n39");
  std::string xml = "<r>";
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 40; ++i) xml += "<n" + std::to_string(i) + "/><a/>";
    xml += "<" + longName.str() + "/>";
  }
  ORVIDOM_Element root = xmltest::Parse(xml + "</r>");
  const I18NString withZero(std::string("a\0b", 3));
  const ORVIDOM_ElementIndex found(root, {kA, longName, n7, kA, withZero, n0, n1, n2, n39});
  EXPECT_EQ(found.all(0).last, 120u);
  EXPECT_EQ(found.all(1).last, 3u);
  EXPECT_EQ(found.all(2).last, 3u);
  EXPECT_EQ(found.all(3).last, 120u);
  EXPECT_EQ(found.all(4).last, 0u);
  EXPECT_EQ(found.below(1, 1, 8).first, 2u);
}
