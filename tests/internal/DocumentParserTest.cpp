// The parser's window over its input, seen from inside the platform layer.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Document.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_ParseError.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Parser.h>

#include "orvidom/DocumentParser.h"
#include "orvidom/ORVIDOM_NamedNodeMap.h"
#include "orvidom/ORVIDOM_Store.h"

namespace {

// Every node of `doc` with its kind, name and value, or the error that refused it.
std::string Outcome(const std::function<ORVIDOM_Document()>& parse) {
  std::string dump;
  try {
    const ORVIDOM_Document doc = parse();
    const ORVIDOM_NodeList all = doc.getElementsByTagName("*");
    for (unsigned long i = 0; i < all.getLength(); ++i) {
      const ORVIDOM_Element e = all.item(i);
      dump += "<" + e.getTagName().str();
      const ORVIDOM_NamedNodeMap attributes = e.getAttributes();
      for (unsigned long a = 0; a < attributes.getLength(); ++a) {
        dump += " " + attributes.item(a).getNodeName().str() + "=" +
                attributes.item(a).getNodeValue().str();
      }
      for (ORVIDOM_Node c = e.getFirstChild(); !c.isNull(); c = c.getNextSibling()) {
        dump += "|" + std::to_string(c.getNodeType()) + ":" + c.getNodeValue().str();
      }
    }
  } catch (const ORVIDOM_ParseError& e) {
    dump = std::string(e.what()) + " at " + std::to_string(e.getLine()) + ":" +
           std::to_string(e.getColumn()) + "/" + std::to_string(e.getOffset());
  }
  return dump;
}

// The parser reads its input where it lies or a window at a time, and reads a part again when it
// runs past a window's end: however small the window, and wherever it ends, what is read or
// refused is the same.
TEST(DocumentParserTest, TheWindowNeverShowsInWhatIsRead) {
  const std::string_view documents[] = {
      "\xEF\xBB\xBF<?xml version='1.0' encoding='utf-8' standalone='no'?>\r\n<!-- c -->"
      "<?p x?><root a='x&#9;y&amp;\r\nz' b=\"&quot;'\">t&lt;1<!--c-->t2<?q?>&#x263A;\r\n"
      "<![CDATA[<raw>\r]]><\xCE\xB1 \xCE\xB2='\xE2\x82\xAC'>caf\xC3\xA9</\xCE\xB1 ><e/>"
      "</root>\n<!-- after -->\n",
      "<r><a></r>",
      "<r a='1' a='2'/>",
      "<r>text &undeclared; more</r>",
      "<r><!-- a -- b --></r>",
      "<r><![CDATA[never ends</r>",
      "<?xml version='1.0' encoding='latin-1'?><r/>",
      "<r>\xE2\x82</r>",
      "<r/> <s/>",
      "<r attribute='value",
      "<r></r",
      "<r>................................................................<!-- c -->d<?p?>e</r>",
      // Read where it lies up to its last "<" that 32 bytes follow, whatever that "<" is in.
      "<r><!-- ................................ < ................................",
      "<r><![CDATA[................................ < ................................ ]",
      "<r><?p ................................ < ................................ ?",
      "<r>................................</r><!-- ................................ ",
  };
  // What is read, and the attribute records left: a tag read again leaves none of its first.
  const auto read = [](std::string_view xml, std::optional<std::size_t> window) {
    std::size_t records = 0;
    const std::string outcome = Outcome([&] {
      auto store = orvidom::parseDocument(xml, window);
      records = store->attrs.size();
      return ORVIDOM_Document(ORVIDOM_Access::node(store, orvidom::kDocumentNode));
    });
    return outcome + " in " + std::to_string(records);
  };
  for (const std::string_view xml : documents) {
    // What a read past the end of the input would take for the rest of the document.
    const std::string followed = std::string(xml) + "-->?>]]></r>";
    const std::string expected = read(std::string_view(followed.data(), xml.size()), {});
    for (std::size_t window = 1; window <= xml.size() + 1; ++window) {
      EXPECT_EQ(read(xml, window), expected) << "window " << window << " of " << xml;
    }
  }
}

// A small document starts with room for the records documents of its size mostly need, and one
// denser than that moves them as it grows: the open element, its last child and the tag's last
// attribute, which the parser keeps by address, must be found again after the move, whichever of
// them the move falls on.
TEST(DocumentParserTest, ADenseDocumentKeepsItsTreeWhileItsRecordsMove) {
  for (int count = 1000; count < 1004; ++count) {
    std::string xml = "<r";
    std::string expected = "<r";
    for (int i = 0; i < count; ++i) {
      xml += " a" + std::to_string(i) + "='" + std::to_string(i % 10) + "'";
      expected += " a" + std::to_string(i) + "=" + std::to_string(i % 10);
    }
    xml += ">";
    for (int i = 0; i < count; ++i) {
      xml += "<b><c/></b>";
      expected += "|1:";
    }
    xml += "</r>";
    for (int i = 0; i < count; ++i) expected += "<b|1:<c";
    ORVIDOM_Document doc;
    EXPECT_EQ(Outcome([&] { return doc = ORVIDOM_Parser::parseString(xml); }), expected);
    int backwards = 0;
    for (ORVIDOM_Node c = doc.getDocumentElement().getLastChild(); !c.isNull();
         c = c.getPreviousSibling())
      ++backwards;
    EXPECT_EQ(backwards, count);
  }
}

// A name is copied at its first element; met again, it shares a copy, also after other names took
// its place in the parser's cache (60 names here in the 32 pairs it has for a document this size,
// so that pairs of three or more lose names): two copies at most.
TEST(DocumentParserTest, NamesMetAgainShareACopy) {
  std::string xml = "<r>";
  for (int round = 0; round < 4; ++round) {
    for (int i = 0; i < 60; ++i) xml += "<n" + std::to_string(i) + "/>";
  }
  const ORVIDOM_Document doc = ORVIDOM_Parser::parseString(xml + "</r>");
  const ORVIDOM_Store& store = *ORVIDOM_Access::store(doc.getDocumentElement());
  std::map<std::string, std::set<orvidom::TextRef>> copies;
  for (ORVIDOM_Node n = doc.getDocumentElement().getFirstChild(); !n.isNull();
       n = n.getNextSibling())
    copies[n.getNodeName().str()].insert(store.nodes[ORVIDOM_Access::nodeOnly(n)].text);
  ASSERT_EQ(copies.size(), 60u);
  for (const auto& name : copies) EXPECT_LE(name.second.size(), 2u) << name.first;
}

}  // namespace
