#include <gtest/gtest.h>

#include <string>

#include "support/XmlTestSupport.h"

namespace {

TEST(ORVIDOM_HelperTest, FindsDirectChildrenOrAnyDescendant) {
  ORVIDOM_Element root =
      xmltest::Parse("<r>\n <w><x id='deep'/></w>\n <x id='child' k='v'/>\n <x id='second'/></r>");
  EXPECT_EQ(ORVIDOM_Helper::findChildElement(root, "x").getAttribute("id"), "child");
  EXPECT_EQ(ORVIDOM_Helper::findFirstElement(root, "x").getAttribute("id"), "deep");
  EXPECT_EQ(ORVIDOM_Helper::findElementWithAttribute(root, "x", "id", "second").getAttribute("id"),
            "second");
  EXPECT_TRUE(ORVIDOM_Helper::findChildElement(root, "missing").isNull() &&
              ORVIDOM_Helper::findFirstElement(ORVIDOM_Node(), "x").isNull() &&
              ORVIDOM_Helper::findElementWithAttribute(root, "x", "id", "none").isNull());
}

TEST(ORVIDOM_HelperTest, SiblingSearchSkipsOtherNodesAndStopsAtTheParentsEnd) {
  ORVIDOM_Element root = xmltest::Parse(
      "<r>\n <x id='1'><x id='inner'/></x>\n <!--c--><y/>text<x id='2'/><xa/>\n <x id='3'/></r>");
  std::string ids;
  for (ORVIDOM_Element x = ORVIDOM_Helper::findChildElement(root, "x"); !x.isNull();
       x = ORVIDOM_Helper::findNextSiblingElement(x, "x")) {
    ids += x.getAttribute("id").str() + ";";
  }
  EXPECT_EQ(ids, "1;2;3;");
  ORVIDOM_Element inner = ORVIDOM_Helper::findFirstElement(root, "x").getFirstChild();
  EXPECT_TRUE(ORVIDOM_Helper::findNextSiblingElement(inner, "x").isNull());
  EXPECT_EQ(ORVIDOM_Helper::findNextSiblingElement(root.getFirstChild(), "y").getNodeName(), "y");
  EXPECT_TRUE(ORVIDOM_Helper::findNextSiblingElement(root, "x").isNull());
  EXPECT_TRUE(ORVIDOM_Helper::findNextSiblingElement(ORVIDOM_Node(), "x").isNull());
  EXPECT_TRUE(ORVIDOM_Helper::findChildElement(root, std::string("x\0y", 3)).isNull());

  // Detached nodes have no siblings, though they are kept side by side.
  ORVIDOM_Document doc = root.getOwnerDocument();
  ORVIDOM_Element first = doc.createElement("x");
  doc.createElement("x");
  EXPECT_TRUE(ORVIDOM_Helper::findNextSiblingElement(first, "x").isNull());
}

TEST(ORVIDOM_HelperTest, FindOrCreateReusesMatchesAndAppendsTheRest) {
  ORVIDOM_Element root = xmltest::Parse("<r><a>one</a></r>");
  ORVIDOM_Element a = root.getFirstChild();
  EXPECT_EQ(ORVIDOM_Helper::findOrCreateElement(root, "a"), a);
  EXPECT_EQ(ORVIDOM_Helper::findOrCreateElementWithText(root, "a", "one"), a);
  ORVIDOM_Element two = ORVIDOM_Helper::findOrCreateElementWithText(root, "a", "two");
  EXPECT_NE(two, a);
  ORVIDOM_Element p = ORVIDOM_Helper::findOrCreateElementWithAttribute(root, "p", "k", "1");
  EXPECT_EQ(ORVIDOM_Helper::findOrCreateElementWithAttribute(root, "p", "k", "1"), p);
  ORVIDOM_Helper::findOrCreateElementWithAttribute(root, "p", "k", "2");
  ORVIDOM_Helper::findOrCreateElement(root, "empty");
  EXPECT_THROW(ORVIDOM_Helper::findOrCreateElement(root, "1bad"), ORVIDOM_DOMException);
  EXPECT_TRUE(xmltest::SameTree(root, "<r><a>one</a><a>two</a><p k='1'/><p k='2'/><empty/></r>"));
  // A document takes its root element so; a text node takes no child: the DOM's error.
  ORVIDOM_Document doc =
      ORVIDOM_DOMImplementation::getInstance().createDocument("", "r", ORVIDOM_DocumentType());
  doc.removeChild(doc.getDocumentElement());
  const ORVIDOM_Element d = ORVIDOM_Helper::findOrCreateElement(doc, "d");
  EXPECT_EQ(d, doc.getDocumentElement());
  EXPECT_THROW(ORVIDOM_Helper::findOrCreateElement(a.getFirstChild(), "x"), ORVIDOM_DOMException);
}

TEST(ORVIDOM_HelperTest, ElementTextJoinsDirectTextOnly) {
  ORVIDOM_Element root = xmltest::Parse("<r>a<i>not this</i>b<![CDATA[<c>]]></r>");
  EXPECT_EQ(ORVIDOM_Helper::getElementText(root), "ab<c>");
  I18NString text("old");
  ORVIDOM_Helper::getElementText(root.getFirstChild().getNextSibling(), text);
  EXPECT_EQ(text, "not this");
  ORVIDOM_Helper::getElementText(ORVIDOM_Node(), text);
  EXPECT_TRUE(text.empty());
}

}  // namespace
