#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "support/XmlTestSupport.h"

namespace {

struct Malformed {
  const char* xml;
  int line;
  int column;
  const char* problem;
};

TEST(ORVIDOM_ParserTest, WhitespaceTextBetweenElementsIsKept) {
  ORVIDOM_Element root = xmltest::Parse("<r>\n  <a/>\n  <b> </b>\n</r>");
  ORVIDOM_NodeList kids = root.getChildNodes();
  ASSERT_EQ(kids.getLength(), 5u);
  EXPECT_EQ(kids.item(0).getNodeType(), ORVIDOM_Node::TEXT_NODE);
  EXPECT_EQ(kids.item(0).getNodeValue(), "\n  ");
  EXPECT_EQ(kids.item(1).getNodeName(), "a");
  EXPECT_EQ(kids.item(3).getFirstChild().getNodeValue(), " ");
}

TEST(ORVIDOM_ParserTest, TextRunsReferencesAndCDataReadAsWritten) {
  ORVIDOM_Element root = xmltest::Parse(
      "<?xml version='1.0' encoding='UTF-8'?><!-- c --><r a='x&#9;y&#10;z\tw'>"
      "a &lt;b&gt; &amp; &#x263A;&quot;&apos;<![CDATA[<raw>]]><!--in--></r>");
  EXPECT_EQ(root.getAttribute("a"), "x\ty\nz w");
  ORVIDOM_Node text = root.getFirstChild();
  EXPECT_EQ(text.getNodeValue(), "a <b> & \xE2\x98\xBA\"'");
  EXPECT_EQ(text.getNextSibling().getNodeType(), ORVIDOM_Node::CDATA_SECTION_NODE);
  EXPECT_EQ(text.getNextSibling().getNodeValue(), "<raw>");
  EXPECT_EQ(root.getLastChild().getNodeType(), ORVIDOM_Node::COMMENT_NODE);
}

TEST(ORVIDOM_ParserTest, NamesAreTakenAsWritten) {
  ORVIDOM_Element root =
      xmltest::Parse("<bus:start xmlns:bus='urn:b' xsi:type='t'><bus:end/></bus:start>");
  EXPECT_EQ(root.getTagName(), "bus:start");
  EXPECT_EQ(root.getAttribute("xmlns:bus"), "urn:b");
  EXPECT_EQ(root.getAttributes().getLength(), 2u);
  EXPECT_EQ(ORVIDOM_Helper::findChildElement(root, "bus:end").getTagName(), "bus:end");
}

TEST(ORVIDOM_ParserTest, ADoctypeIsNeverProcessed) {
  // The declared entity is neither expanded nor fetched: referring to it is an error.
  const char* xml =
      "<!DOCTYPE r [<!ENTITY e 'expanded'><!ENTITY x SYSTEM 'file:///etc/passwd'>]>\n<r>&x;</r>";
  try {
    ORVIDOM_Parser::parseString(xml);
    FAIL() << "an undeclared entity was accepted";
  } catch (const ORVIDOM_ParseError& e) {
    EXPECT_EQ(e.getLine(), 2);
    EXPECT_EQ(e.getColumn(), 4);
    EXPECT_NE(std::string(e.what()).find("entity"), std::string::npos);
  }
  EXPECT_EQ(xmltest::Parse("<!DOCTYPE r [<!ENTITY e 'v'>]><r>plain</r>").getTagName(), "r");
}

TEST(ORVIDOM_ParserTest, MalformedInputIsLocated) {
  const Malformed cases[] = {
      // A mismatch is located just past the end tag's name.
      {"<r><a></r>", 1, 9, "mismatch"},
      {"<r a='1' a='2'/>", 1, 10, "twice"},
      {"<r/><s/>", 1, 5, "after the root"},
      {"<r/>\ntext", 2, 1, "after the root"},
      {"text<r/>", 1, 1, "before the root"},
      {"<r a='<'/>", 1, 7, "attribute value"},
      {"<r>&nbsp;</r>", 1, 4, "entity"},
      {"<r>&#0;</r>", 1, 4, "character reference"},
      {"<r>&#xD800;</r>", 1, 4, "character reference"},
      {"<r>\n\xC3\xA9\xFF</r>", 2, 2, "UTF-8"},
      {"<r>\x01</r>", 1, 4, "UTF-8"},
      {"<r>]]></r>", 1, 4, "]]>"},
      {"<r><!-- a -- b --></r>", 1, 11, "--"},
      {"<r", 1, 3, "expected"},
      {"", 1, 1, "no root"},
      {"<r b=1/>", 1, 6, "quoted"},
  };
  for (const Malformed& c : cases) {
    try {
      ORVIDOM_Parser::parseString(c.xml);
      ADD_FAILURE() << "accepted: " << c.xml;
    } catch (const ORVIDOM_ParseError& e) {
      EXPECT_EQ(e.getLine(), c.line) << c.xml << ": " << e.what();
      EXPECT_EQ(e.getColumn(), c.column) << c.xml << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(c.problem), std::string::npos) << e.what();
    }
  }
}

TEST(ORVIDOM_ParserTest, FilesAreReadOrReportedUnreadable) {
  const std::string path = ::testing::TempDir() + "orvidom_parser_test.xml";
  std::ofstream(path) << "\xEF\xBB\xBF<r>file</r>";
  EXPECT_EQ(ORVIDOM_Helper::getElementText(ORVIDOM_Parser::parseFile(path).getDocumentElement()),
            "file");
  std::remove(path.c_str());
  try {
    ORVIDOM_Parser::parseFile(path);
    FAIL() << "a missing file was read";
  } catch (const ORVIDOM_ParseError& e) {
    EXPECT_EQ(e.getLine(), 0);
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
  }
}

TEST(ORVIDOM_ParserTest, DeepDocumentsNeedNoDeepStack) {
  constexpr int kDepth = 200000;
  std::string xml;
  for (int i = 1; i < kDepth; ++i) xml += "<d>";
  xml += "<d/>";
  for (int i = 1; i < kDepth; ++i) xml += "</d>";
  ORVIDOM_Element root = xmltest::Parse(xml);
  EXPECT_EQ(root.getElementsByTagName("d").getLength(), static_cast<unsigned long>(kDepth - 1));
  EXPECT_EQ(ORVIDOM_Writer::toString(root), xml);
  ORVIDOM_Document copy = ORVIDOM_DOMImplementation::getInstance().createDocument(
      "", "requestDoc", ORVIDOM_DocumentType());
  ORVIDOM_Node imported = copy.importNode(root, true);
  EXPECT_EQ(ORVIDOM_Writer::toString(imported), xml);
  root.getOwnerDocument().removeChild(root);
}

}  // namespace
