#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "support/XmlTestSupport.h"

namespace {

using namespace std::string_view_literals;

// Refused input, where the problem is found and a part of the message naming it.
struct Refused {
  std::string_view xml;
  int line;
  int column;
  const char* problem;
};

template <std::size_t N>
void ExpectRefused(const Refused (&cases)[N]) {
  for (const Refused& c : cases) {
    try {
      ORVIDOM_Parser::parseString(c.xml);
      ADD_FAILURE() << "accepted: " << c.xml;
    } catch (const ORVIDOM_ParseError& e) {
      const std::string where = std::to_string(e.getLine()) + ":" + std::to_string(e.getColumn());
      EXPECT_EQ(where, std::to_string(c.line) + ":" + std::to_string(c.column)) << c.xml;
      EXPECT_NE(std::string(e.what()).find(c.problem), std::string::npos) << e.what();
    }
  }
}

TEST(ORVIDOM_ParserTest, TextRunsReferencesAndCDataReadAsWritten) {
  ORVIDOM_Element root = xmltest::Parse(
      "<?xml version='1.0' encoding='UTF-8'?><!-- c --><r a='x&#9;y&#10;z\tw\r\nv'>"
      "a &lt;b&gt; &amp;<!--c-->&#x263A;&quot;<?p?>&apos;\r\n<![CDATA[<raw>\r]]></r>");
  EXPECT_EQ(root.getAttribute("a"), "x\ty\nz w v");
  // Comments and processing instructions are dropped and the text around them joined.
  ORVIDOM_Node text = root.getFirstChild();
  EXPECT_EQ(text.getNodeValue(), "a <b> &\xE2\x98\xBA\"'\n");
  EXPECT_EQ(text.getNextSibling().getNodeType(), ORVIDOM_Node::CDATA_SECTION_NODE);
  EXPECT_EQ(text.getNextSibling().getNodeValue(), "<raw>\n");
  EXPECT_TRUE(text.getNextSibling().getNextSibling().isNull());
  EXPECT_EQ(root.getOwnerDocument().getFirstChild(), root);
}

TEST(ORVIDOM_ParserTest, NamesAreTakenAsWritten) {
  ORVIDOM_Element root =
      xmltest::Parse("<bus:start xmlns:bus='urn:b' xsi:type='t'><bus:end/></bus:start>");
  EXPECT_EQ(root.getTagName(), "bus:start");
  EXPECT_EQ(root.getAttribute("xmlns:bus"), "urn:b");
  EXPECT_EQ(root.getAttributes().getLength(), 2u);
  EXPECT_EQ(ORVIDOM_Helper::findChildElement(root, "bus:end").getTagName(), "bus:end");
  // Names met again are known by their bytes: names that extend or differ only at the end of
  // the one before them are read as written.
  const std::string siblings =
      "<r><ab a=\"1\" ab=\"2\"/><abc abc=\"3\" a=\"4\"/><ab a=\"5\"/>"
      "<abcdefghijklmnop/><abcdefghijklmnoq/><abcdefghijklmnopq/><ab\xC3\xA9/><ab>x</ab></r>";
  EXPECT_EQ(ORVIDOM_Writer::toString(xmltest::Parse(siblings)), siblings);
  ExpectRefused({{"<r><ab></abc></r>", 1, 8, "end tag </abc> does not match start tag <ab>"},
                 {"<r><abc></ab></r>", 1, 9, "end tag </ab> does not match start tag <abc>"}});
  // So are tags that begin as the one before them at their depth, up to the first value's quote
  // or their end, and then go on otherwise.
  const std::string repeated =
      "<r><t a=\"1\"/><t a=\"2\" b=\"3\"/><t a=\"&amp;\">x</t><t b=\"4\"/><u/><u/><u>y</u>"
      "<abcdefghijk a=\"5\"/><abcdefghijk a=\"6\"/><abcdefghijkl a=\"7\"/><abcdefghijkl "
      "a=\"8\"/></r>";
  EXPECT_EQ(ORVIDOM_Writer::toString(xmltest::Parse(repeated)), repeated);
  EXPECT_EQ(ORVIDOM_Element(xmltest::Parse("<r><t a='1'/><t a='\"'/></r>").getLastChild())
                .getAttribute("a"),
            "\"");
  ExpectRefused(
      {{"<r><t a=\"1\"/><t a=\"2\"b=\"3\"/></r>", 1, 22, "white space between attributes"},
       {"<r><t a=\"1\"/><t a=\"2\" a=\"3\"/></r>", 1, 23, "attribute \"a\" given twice on <t>"},
       {"<r><t a=\"1\"/><t a=\"<\"/></r>", 1, 20, "\"<\" in an attribute value"}});
}

TEST(ORVIDOM_ParserTest, InputBorderingTheRulesIsRead) {
  const struct {
    std::string_view xml;
    const char* name;
    const char* text;
  } cases[] = {
      {"<\xCE\xB1/>", "\xCE\xB1", ""},
      {"<a\xC2\xB7-.9 _:b='1'>x</a\xC2\xB7-.9>", "a\xC2\xB7-.9", "x"},
      {"<r>&#0000000000000000065;&#x000000000000042;</r>", "r", "AB"},
      {"<r>&#x10FFFF;]] ]></r>", "r", "\xF4\x8F\xBF\xBF]] ]>"},
      // The first characters of name-start ranges (U+037F, U+2C00, U+10000, "A") and of a plane.
      {"<\xCD\xBF\xE2\xB0\x80\xF0\x90\x80\x80"
       "A>&#x10000;</\xCD\xBF\xE2\xB0\x80\xF0\x90\x80\x80"
       "A>",
       "\xCD\xBF\xE2\xB0\x80\xF0\x90\x80\x80"
       "A",
       "\xF0\x90\x80\x80"},
      {"<?xml version\t= '1.0'\n encoding =\r\n\"utf-8\" standalone = 'no' ?><r/>", "r", ""},
      {"\xEF\xBB\xBF<?xml version='1.9' standalone='yes'?>\n<!---->\n<?xml-stylesheet "
       "x?><r/>\n<?p?>\n",
       "r", ""},
      {"<r>\r\n]]&gt;<!--c--><?p x?></r>\r\n", "r", "\n]]>"},
  };
  for (const auto& c : cases) {
    ORVIDOM_Element root = xmltest::Parse(c.xml);
    EXPECT_EQ(root.getTagName(), c.name) << c.xml;
    EXPECT_EQ(ORVIDOM_Helper::getElementText(root), c.text) << c.xml;
  }
  // "_", ":" and the first and last characters of every range of name characters beyond ASCII.
  const std::string name =
      "_:\xC3\x80\xC3\x96\xC3\x98\xC3\xB6\xC3\xB8\xCB\xBF\xCD\xB0\xCD\xBD\xCD\xBF\xE1\xBF\xBF"
      "\xE2\x80\x8C\xE2\x80\x8D\xE2\x81\xB0\xE2\x86\x8F\xE2\xB0\x80\xE2\xBF\xAF\xE3\x80\x81"
      "\xED\x9F\xBF\xEF\xA4\x80\xEF\xB7\x8F\xEF\xB7\xB0\xEF\xBF\xBD\xF0\x90\x80\x80"
      "\xF3\xAF\xBF\xBF\xC2\xB7\xCC\x80\xCD\xAF\xE2\x80\xBF\xE2\x81\x80";
  EXPECT_EQ(xmltest::Parse("<" + name + "/>").getTagName(), name);
  // and the characters just outside those ranges start no name.
  for (unsigned c : {0xD7u, 0xF7u, 0x37Eu, 0x2000u, 0x200Bu, 0x200Eu, 0x206Fu, 0x2190u, 0x2BFFu,
                     0x2FF0u, 0x3000u, 0xF8FFu, 0xFDD0u, 0xFDEFu, 0xF0000u}) {
    I18NString outside;
    outside += c;
    EXPECT_THROW(xmltest::Parse("<" + outside.str() + "/>"), ORVIDOM_ParseError) << c;
  }
  // Nor do those just outside the ranges that only go on a name go on one.
  for (unsigned c : {0xB6u, 0xB8u, 0x203Eu, 0x2041u}) {
    I18NString outside;
    outside += c;
    EXPECT_THROW(xmltest::Parse("<a" + outside.str() + "/>"), ORVIDOM_ParseError) << c;
  }
}

TEST(ORVIDOM_ParserTest, DeclarationsAndEncodingsAreChecked) {
  ExpectRefused({
      {"<?xml encoding='UTF-8'?><r/>", 1, 7, "version first"},
      {"<?xml version='1.0' version='1.0'?><r/>", 1, 21, "unexpected \"version\""},
      {"<?xml version = '1.0\"?><r/>", 1, 17, "\"version\" in the XML declaration"},
      {"<?xml version='2.0'?><r/>", 1, 16, "\"2.0\" is not XML 1.x"},
      {"<?xml version='1.a'?><r/>", 1, 16, "\"1.a\" is not XML 1.x"},
      {"<?xml version='1.0' standalone='YES'?><r/>", 1, 33, "\"YES\""},
      {"<?xml version='1.0' encoding=' UTF-8'?><r/>", 1, 31, "malformed encoding"},
      {"<?xml version='1.0' encoding='UTF*8'?><r/>", 1, 31, "malformed encoding"},
      {"<?xml version='1.0' encoding='8bit'?><r/>", 1, 31, "malformed encoding"},
      {"<?xml version='1.0' encoding \"UTF-8\"?><r/>", 1, 30, "expected \"=\""},
      {"<?xml version='1.0'encoding='UTF-8'?><r/>", 1, 20, "white space"},
      {"<?xml version='1.0'/>?><r/>", 1, 20, "\"?>\""},
      {"<?xml version='1.0' encoding='ISO-8859-1'?><a>\xC3\xA9</a>", 1, 31, "\"ISO-8859-1\""},
      {"<?xml version='1.0' encoding='latin-0'?><r/>", 1, 31, "\"latin-0\"; only UTF-8"},
      {"<?xml version='1.0' encoding='utf-9'?><r/>", 1, 31, "\"utf-9\"; only UTF-8"},
      {"<?xml version='1.0' encoding='ASCII'?><r/>", 1, 31, "\"ASCII\"; only UTF-8"},
      {"<?xml version='1.0' encoding='zZ'?><r/>", 1, 31, "\"zZ\"; only UTF-8"},
      {"<?xml version=1.0?><r/>", 1, 15, "expected a quoted value for the attribute \"version\""},
      {"\xFF\xFE<\0r\0/\0>\0"sv, 1, 1, "UTF-16 (little-endian)"},
      {"\0<\0?\0x\0m\0l"sv, 1, 1, "UTF-16 (big-endian)"},
      {"<\0?\0x\0m\0l\0"sv, 1, 1, "UTF-16 (little-endian)"},
      {"\0\0\xFE\xFF\0\0\0<"sv, 1, 1, "UTF-32"},
  });
}

TEST(ORVIDOM_ParserTest, DoctypesAndMisplacedDeclarationsAreRefused) {
  ExpectRefused({
      {"<!DOCTYPE a [><a/>]><a/>", 1, 1, "document type declarations are not accepted"},
      {"<?xml version='1.0'?>\n<!DOCTYPE r [<!ENTITY e 'x'>]><r>&e;</r>", 2, 1, "document type"},
      {"<r><!DOCTYPE r></r>", 1, 4, "document type"},
      {"\n<?xml version='1.0'?><r/>", 2, 1, "very start"},
      {"<!--c--><?xml version='1.0'?><r/>", 1, 9, "very start"},
      {"<doc><?xMl version='1.0'?></doc>", 1, 6, "\"<?xMl\" is only allowed at the very start"},
      {"<?XML version='1.0'?><r/>", 1, 1, "written \"<?xml\""},
      {"<r><?pitarget+++?></r>", 1, 14, "white space or \"?>\" after"},
      {"<r><?\xC3\x97?></r>", 1, 6, "target \"\xC3\x97\" is not an XML name"},
      {"<r><?t \x01?></r>", 1, 8, "UTF-8"},
      {"<r><?t", 1, 4, "unterminated processing instruction"},
      {"<?xml version='1.0'", 1, 1, "unterminated XML declaration"},
      {"<?xml version='1.0'encoding", 1, 1, "unterminated XML declaration"},
      {"<?xml version ", 1, 1, "unterminated XML declaration"},
      {"<?xml version= ", 1, 1, "unterminated XML declaration"},
      {"<?xml version='1", 1, 15, "unterminated value of the attribute \"version\""},
  });
}

TEST(ORVIDOM_ParserTest, CommentsAndCDataAreChecked) {
  ExpectRefused({
      {"<r><!-- a -- b --></r>", 1, 11, "\"--\" inside a comment"},
      {"<r><!-- a ---></r>", 1, 11, "\"--\""},
      {"<r><!-- \x02 --></r>", 1, 9, "UTF-8"},
      {"<r><!-- x", 1, 4, "unterminated comment"},
      {"<r><!- x --></r>", 1, 4, "malformed comment"},
      {"<r><![CDATA[x</r>", 1, 4, "unterminated CDATA"},
      {"<r><![CDATA[\x0C]]></r>", 1, 13, "UTF-8"},
      {"<![CDATA[x]]><r/>", 1, 1, "CDATA section outside"},
  });
}

TEST(ORVIDOM_ParserTest, NamesAndReferencesAreChecked) {
  ExpectRefused({
      {"<a\xC3\x97/>", 1, 3, "element name \"a\xC3\x97\" is not an XML name"},
      {"<a\xC1\x81/>", 1, 3, "invalid UTF-8"},
      // The only byte from 0x80 in the first of a sixteen-byte block, of a text over 32 bytes.
      {"<aaaaaaaaaaaaaaa\xFF/><!--............-->", 1, 17, "invalid UTF-8"},
      {"<\xC2\xA0/>", 1, 2, "is not an XML name"},
      {"<\xCD\xBE/>", 1, 2, "is not an XML name"},
      {"<\xE2\xAF\xBF/>", 1, 2, "is not an XML name"},
      {"<r \xCC\x80='1'/>", 1, 4, "attribute name"},
      {"<r>&nbsp;</r>", 1, 4, "undeclared entity \"nbsp\""},
      {"<r>&averyveryverylongentityname;</r>", 1, 4, "\"averyveryverylongentityname\""},
      {"<r>&amp</r>", 1, 8, "expected \";\" after the entity name \"amp\""},
      {"<r>& </r>", 1, 4, "starts no entity"},
      {"<r>&#0;</r>", 1, 4, "character reference to a character"},
      {"<r a='&#xD800;'/>", 1, 7, "character reference to a character"},
      {"<r>&#x;&#X41;</r>", 1, 4, "malformed character reference"},
      {"<r>&#65</r>", 1, 4, "malformed character reference"},
  });
}

TEST(ORVIDOM_ParserTest, StructureAndCharactersAreChecked) {
  ExpectRefused({
      {"<r><a></r>", 1, 7, "end tag </r> does not match start tag <a> opened at 1:4"},
      {"<tasks>\n  <task a='>'>\n</tasks>", 3, 1, "start tag <task> opened at 2:3"},
      {"<r>\r\n</x>", 2, 1, "end tag </x> does not match"},
      {"<\nr/>", 1, 2, "expected a name"},
      {"<r/></r>", 1, 5, "end tag </r> without a start tag"},
      {"<r><a/>", 1, 8, "ends before the end tag of the start tag <r> opened at 1:1"},
      {"<r>\r\n", 2, 1, "ends before the end tag of the start tag <r>"},
      {"<r></r x>", 1, 8, "expected \">\" to close the end tag </r>"},
      {"<r a='1' a='2'/>", 1, 10, "attribute \"a\" given twice on <r>"},
      // The second of two tags of seventeen attributes, which are compared through their names'
      // hashes.
      {"<r><e a='' b='' c='' d='' e='' f='' g='' h='' i='' j='' k='' l='' m='' n='' o='' p='' "
       "q=''/>"
       "<e a='' b='' c='' d='' e='' f='' g='' h='' i='' j='' k='' l='' m='' n='' o='' p='' q='' "
       "a=''/></r>",
       1, 181, "\"a\" given twice"},
      {"<r/><s/>", 1, 5, "element <s> after the root element"},
      {"<r/><\0s/>"sv, 1, 6, "expected a name"},
      {"<r/>\ntext", 2, 1, "text after the root element"},
      {"text<r/>", 1, 1, "text before the root element"},
      {"<r/>\0"sv, 1, 5, "UTF-8"},
      {"", 1, 1, "no root element"},
      {"<r", 1, 3, "ends inside the start tag <r>"},
      {"<r b='1", 1, 8, "ends inside the start tag <r>"},
      {"<r></r", 1, 7, "ends inside the end tag </r>"},
      {"<r/ >", 1, 4, "expected white space, \">\" or \"/>\""},
      {"<r a='1' / >", 1, 11, "expected white space, \">\" or \"/>\""},
      {"<r b=1/>", 1, 6, "expected a quoted value for the attribute \"b\""},
      {"<r b='1'c='2'/>", 1, 9, "white space between attributes"},
      {"<r b/>", 1, 5, "expected \"=\""},
      {"<r>a < b</r>", 1, 7, "after \"<\""},
      {"<r a='<'/>", 1, 7, "\"<\" in an attribute value"},
      {"<r a='\x1F'/>", 1, 7, "invalid UTF-8"},
      {"<r a='b\xFF\x01'/>", 1, 8, "invalid UTF-8"},
      {"<r>]]></r>", 1, 4, "\"]]>\" in text"},
      {"<r>\n\xC3\xA9\xFF</r>", 2, 2, "invalid UTF-8"},
      {"<r>\x01</r>", 1, 4, "invalid UTF-8"},
      {"<r>\r\r\n\xED\xA0\x80</r>", 3, 1, "invalid UTF-8"},
      // Sequences cut short, overlong, past U+10FFFF, and characters XML leaves out.
      {"<r>\xE2\x82</r>", 1, 4, "invalid UTF-8"},
      {"<r>x\xF0\x9F\x98", 1, 5, "invalid UTF-8"},
      {"<r>\xE0\x80\x80</r>", 1, 4, "invalid UTF-8"},
      {"<r>\xF4\x90\x80\x80</r>", 1, 4, "invalid UTF-8"},
      {"<r a='\xEF\xBF\xBE'/>", 1, 7, "invalid UTF-8"},
      {"<r><![CDATA[\xC3]]></r>", 1, 13, "invalid UTF-8"},
      {"<r/><!--\xFF-->", 1, 9, "invalid UTF-8"},
  });
}

TEST(ORVIDOM_ParserTest, FilesAreReadOrReportedUnreadable) {
  const std::string path = ::testing::TempDir() + "orvidom_parser_test.xml";
  // One byte more than a read's chunk of 65,536, so that the last read gives one byte.
  std::ofstream(path) << "\xEF\xBB\xBF" << std::string(65523, ' ') << "<r>file</r>";
  EXPECT_EQ(ORVIDOM_Helper::getElementText(ORVIDOM_Parser::parseFile(path).getDocumentElement()),
            "file");
  std::remove(path.c_str());
  for (const std::string& unreadable : {path, ::testing::TempDir()}) {
    try {
      ORVIDOM_Parser::parseFile(unreadable);
      FAIL() << "read: " << unreadable;
    } catch (const ORVIDOM_ParseError& e) {
      EXPECT_EQ(e.getLine(), 0);
      EXPECT_NE(std::string(e.what()).find(unreadable + ": "), std::string::npos) << e.what();
    }
  }
}

// References to the first and last characters of each range XML allows, and to those just
// outside, in text and in attribute values.
TEST(ORVIDOM_ParserTest, CharacterReferencesAtTheEdgesOfTheRanges) {
  const struct {
    const char* reference;
    unsigned character;  // 0: refused
  } cases[] = {
      {"&#x8;", 0},           {"&#x9;", 0x9},
      {"&#x80;", 0x80},       {"&#x800;", 0x800},
      {"&#xA;", 0xA},         {"&#xB;", 0},
      {"&#xD;", 0xD},         {"&#x1F;", 0},
      {"&#32;", 0x20},        {"&#xD7FF;", 0xD7FF},
      {"&#xD800;", 0},        {"&#57343;", 0},
      {"&#xE000;", 0xE000},   {"&#xFFFD;", 0xFFFD},
      {"&#xFFFE;", 0},        {"&#65535;", 0},
      {"&#x10000;", 0x10000}, {"&#1114111;", 0x10FFFF},
      {"&#x110000;", 0},      {"&#x100000000000010;", 0},
  };
  for (const auto& c : cases) {
    for (const std::string& xml :
         {"<r>" + std::string(c.reference) + "</r>", "<r a='" + std::string(c.reference) + "'/>"}) {
      if (c.character == 0) {
        ExpectRefused({{xml, 1, xml[2] == '>' ? 4 : 7, "character reference to a character"}});
        continue;
      }
      I18NString expected;
      expected += c.character;
      const ORVIDOM_Element root = xmltest::Parse(xml);
      EXPECT_EQ(xml[2] == '>' ? ORVIDOM_Helper::getElementText(root) : root.getAttribute("a"),
                expected)
          << xml;
    }
  }
}

// Input of any size or shape is read in time and memory linear in it, or refused with the
// problem named: a million attributes on one element, by the parser and the reader as it comes, a
// text split by many comments, names of megabytes, and input beyond what a document can number.
TEST(ORVIDOM_ParserTest, LargeInputIsReadOrRefusedAsAnyOther) {
  std::string attributes = "<r";
  for (int i = 0; i < 1000000; ++i)
    attributes += " a" + std::to_string(i) + "='" + std::to_string(i % 7) + "'";
  const std::string element = attributes + "/>";
  ORVIDOM_Element root = xmltest::Parse(element);
  const ORVIDOM_NamedNodeMap map = root.getAttributes();
  ASSERT_EQ(map.getLength(), 1000000u);
  ORVIDOM_PullReader pulled(element);
  ASSERT_EQ(pulled.next(), ORVIDOM_PullReader::kStartElement);
  ASSERT_EQ(pulled.getAttributeCount(), 1000000u);
  for (unsigned long i = 0; i < map.getLength(); ++i) {
    const std::string value = std::to_string(i % 7);
    if (map.item(i).getNodeValue() != value || pulled.getAttributeValue(i) != value) {
      FAIL() << "attribute " << i;
    }
  }
  try {
    ORVIDOM_Parser::parseString(attributes + " a500000=''/>");
    ADD_FAILURE() << "a repeated attribute was accepted";
  } catch (const ORVIDOM_ParseError& e) {
    EXPECT_EQ(e.getOffset(), attributes.size() + 1);
    EXPECT_STREQ(e.what(), "attribute \"a500000\" given twice on <r>");
  }
  std::string split = "<r>";
  std::string joined;
  for (int i = 0; i < 200000; ++i) {
    split += "x&amp;<!---->";
    joined += "x&";
  }
  EXPECT_EQ(ORVIDOM_Helper::getElementText(xmltest::Parse(split + "</r>")).str(), joined);
  const std::string name(1 << 22, 'n');
  root = xmltest::Parse("<" + name + " " + name + "='v'>t</" + name + ">");
  EXPECT_EQ(root.getTagName().str(), name);
  EXPECT_EQ(root.getAttribute(name), "v");
#if defined(__linux__) && UINTPTR_MAX > 0xFFFFFFFFu
  // Mapped but never read: the size alone is refused, before any byte is copied.
  const std::size_t size = std::size_t{1} << 32;
  void* input = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(input, MAP_FAILED);
  try {
    ORVIDOM_Parser::parseString(std::string_view(static_cast<const char*>(input), size));
    ADD_FAILURE() << "a document of 4 GiB was accepted";
  } catch (const ORVIDOM_ParseError& e) {
    EXPECT_NE(std::string(e.what()).find("the most one document holds"), std::string::npos);
    // The most a document holds, named in the message, is read as any other input.
    const std::size_t most =
        std::stoull(std::string(e.what()).substr(std::strlen("the document is larger than ")));
    try {
      ORVIDOM_Parser::parseString(std::string_view(static_cast<const char*>(input), most));
    } catch (const ORVIDOM_ParseError& refused) {
      EXPECT_EQ(std::string(refused.what()).find("the most"), std::string::npos);
    }
  }
  munmap(input, size);
#endif
}

}  // namespace
