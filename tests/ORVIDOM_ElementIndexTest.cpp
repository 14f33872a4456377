#include <gtest/gtest.h>

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
  EXPECT_TRUE(ORVIDOM_ElementIndex(ORVIDOM_Element(), {kA}).all(0).empty());
}
