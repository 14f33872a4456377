#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using namespace std::string_view_literals;

// Documents of every kind of markup and of every kind of problem.
const std::string_view kDocuments[] = {
    "\xEF\xBB\xBF<?xml version='1.0' encoding='utf-8'?>\r\n<!-- c --><?p x?>"
    "<root a='x&#9;y&amp;\r\nz' b=\"&quot;'\">t&lt;1<!--c-->t2<?q?>&#x263A;\r\n"
    "<![CDATA[<raw>\r]]>tail<\xCE\xB1 \xCE\xB2='\xE2\x82\xAC'>caf\xC3\xA9</\xCE\xB1 ><e/>"
    "\n  <empty></empty></root>\n<!-- after -->\n",
    "<r>plain</r>",
    // Values with references are copies, which move as the copies of their tag outgrow their room.
    "<r a='&amp;aaaaaaaaaaaaaaaaaaaa' b='&lt;bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb'"
    " c='&gt;cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc'/>",
    "<r><a></r>",
    "<tasks>\n  <task a='>'>\n</tasks>",
    // Line ends after the last start tag: eight bytes at once that hold one are counted a byte at
    // a time, when the window moves to the problem.
    "<a>\n\n\n\n\n\n\n\n</b>",
    // A byte order mark is no column of the first line.
    "\xEF\xBB\xBF<r></s>",
    "<r a='1' a='2'/>",
    "<r>text &undeclared; more</r>",
    "<r><!-- a -- b --></r>",
    "<r><![CDATA[never ends</r>",
    "<?xml version='1.000000000000000000' encoding='latin-1'?><r/>",
    "<r>\n\xE2\x82</r>",
    "<r/> <s/>",
    "<r attribute='value",
    // Tags that begin as the one before them at their depth, nested in one, and deeper than
    // those remembered.
    "<r><t a='1'><t a='2'>x</t><t a='3' b='4'/></t><t a='5'/><u/><u/><u>y</u><t a='6' a='7'/></r>",
    "<d x='1'><d x='1'><d x='1'><d x='1'><d x='1'><d x='1'><d x='1'><d x='1'><d x='1'>\n<d "
    "x='1'><d x='1'><d x='1'><d x='1'><d x='1'><d x='1'><d x='1'><d x='1'><d "
    "x='1'><d/></d></d></d></d></d></d></d></d></d>"
    "</d></d></d></d></d></d></d></d></d>",
    "<r></r",
    "",
    "\xFF\xFE<\0r\0/\0>\0"sv,
};

// What a pull reader gives, one line an event, or the error that stopped it.
std::string Events(ORVIDOM_PullReader& reader, const std::function<bool()>& feed = {}) {
  std::string out;
  try {
    for (;;) {
      const ORVIDOM_PullReader::Event event = reader.next();
      if (event == ORVIDOM_PullReader::kNeedInput) {
        if (!feed || !feed()) return out + "starved";
        continue;
      }
      if (event == ORVIDOM_PullReader::kEndDocument) return out;
      out += std::to_string(event) + " " + std::string(reader.getName()) + "@" +
             std::to_string(reader.getDepth());
      for (std::size_t i = 0; i < reader.getAttributeCount(); ++i) {
        out += " " + std::string(reader.getAttributeName(i)) + "=" +
               std::string(reader.getAttributeValue(i));
        // Found by name, as a view and as a copy ended by a zero, both stay valid together.
        std::string_view found;
        const char* copied = reader.findAttribute(reader.getAttributeName(i));
        EXPECT_TRUE(reader.findAttribute(reader.getAttributeName(i), found));
        EXPECT_EQ(found, reader.getAttributeValue(i));
        EXPECT_STREQ(copied, std::string(found).c_str());
      }
      // Past the last attribute there is none.
      EXPECT_TRUE(reader.getAttributeName(reader.getAttributeCount()).empty() &&
                  reader.getAttributeValue(reader.getAttributeCount()).empty());
      out += " [" + std::string(reader.getText()) + "]\n";
    }
  } catch (const ORVIDOM_ParseError& e) {
    return out + e.what() + " at " + std::to_string(e.getLine()) + ":" +
           std::to_string(e.getColumn()) + "/" + std::to_string(e.getOffset());
  }
}

// The same of the tree the parser builds.
std::string TreeEvents(std::string_view xml) {
  std::string out;
  try {
    const ORVIDOM_Element root = ORVIDOM_Parser::parseString(xml).getDocumentElement();
    std::vector<ORVIDOM_Node> open;
    std::size_t depth = 0;
    std::function<void(const ORVIDOM_Node&)> walk = [&](const ORVIDOM_Node& n) {
      if (n.getNodeType() != ORVIDOM_Node::ELEMENT_NODE) {
        out += std::to_string(n.getNodeType() == ORVIDOM_Node::TEXT_NODE
                                  ? ORVIDOM_PullReader::kText
                                  : ORVIDOM_PullReader::kCData) +
               " @0 [" + n.getNodeValue().str() + "]\n";
        return;
      }
      ++depth;
      out += std::to_string(ORVIDOM_PullReader::kStartElement) + " " + n.getNodeName().str() + "@" +
             std::to_string(depth);
      const ORVIDOM_NamedNodeMap attributes = n.getAttributes();
      for (unsigned long i = 0; i < attributes.getLength(); ++i) {
        out += " " + attributes.item(i).getNodeName().str() + "=" +
               attributes.item(i).getNodeValue().str();
      }
      out += " []\n";
      for (ORVIDOM_Node c = n.getFirstChild(); !c.isNull(); c = c.getNextSibling()) walk(c);
      out += std::to_string(ORVIDOM_PullReader::kEndElement) + " " + n.getNodeName().str() + "@" +
             std::to_string(depth) + " []\n";
      --depth;
    };
    walk(root);
  } catch (const ORVIDOM_ParseError& e) {
    return std::string(e.what()) + " at " + std::to_string(e.getLine()) + ":" +
           std::to_string(e.getColumn()) + "/" + std::to_string(e.getOffset());
  }
  return out;
}

// The events of `xml` pushed up to `first` bytes, then `rest` bytes at a time.
std::string PushedEvents(std::string_view xml, std::size_t first, std::size_t rest) {
  ORVIDOM_PullReader reader;
  std::size_t given = 0;
  return Events(reader, [&] {
    if (given > xml.size()) return false;
    if (given == xml.size()) {
      reader.finish();
      ++given;
    } else {
      const std::size_t piece = std::min(given < first ? first - given : rest, xml.size() - given);
      reader.push(xml.substr(given, piece));
      given += piece;
    }
    return true;
  });
}

// A file of the running test's own: the tests run side by side.
std::string TestFilePath() {
  return ::testing::TempDir() + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
         ".xml";
}

// The events of `xml` read from a file.
std::string FileEvents(std::string_view xml) {
  const std::string path = TestFilePath();
  std::ofstream(path, std::ios::binary) << xml;
  ORVIDOM_PullReader file = ORVIDOM_PullReader::openFile(path);
  return Events(file);
}

// Everything before a problem is handed out; what matters here is what follows it.
std::string Tail(const std::string& events) {
  const std::size_t last = events.rfind('\n', events.size() - 1);
  return last == std::string::npos || events.back() == '\n' ? events : events.substr(last + 1);
}

// However the input comes, the reader gives the tree's elements, attributes and texts in order,
// and refuses what the parser refuses, with the same message and place.
TEST(ORVIDOM_PullReaderTest, ReadsWhatTheParserReadsHoweverTheInputComes) {
  for (const std::string_view xml : kDocuments) {
    const std::string tree = TreeEvents(xml);
    ORVIDOM_PullReader whole(xml);
    const std::string expected = Events(whole);
    EXPECT_EQ(Tail(expected), Tail(tree)) << xml;
    std::istringstream stream{std::string(xml)};
    ORVIDOM_PullReader streamed(stream);
    EXPECT_EQ(Events(streamed), expected) << xml;
    EXPECT_EQ(FileEvents(xml), expected) << xml;
    // Pushed in two pieces split at every place, and a byte at a time.
    for (std::size_t split = 0; split <= xml.size(); ++split) {
      EXPECT_EQ(PushedEvents(xml, split, xml.size()), expected)
          << "split at " << split << " of " << xml;
    }
    EXPECT_EQ(PushedEvents(xml, 0, 1), expected) << xml;
  }
}

// A directory opens as a file on some systems and fails at its first read. A file past 2 GiB (a
// large response, here sparse) opens in a 32-bit build too, and is read up to its first problem.
TEST(ORVIDOM_PullReaderTest, OpensFilesOfAnySizeAndNamesOnesItCannotRead) {
  try {
    ORVIDOM_PullReader::openFile(".");
    ADD_FAILURE() << "a directory read as a file";
  } catch (const ORVIDOM_ParseError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("cannot read the file .: ", 0), 0u) << e.what();
  }
  const std::string large = TestFilePath();
  {
    std::ofstream file(large, std::ios::binary);
    file << "<r>";
    file.seekp(std::streamoff(1) << 31);
    file << '>';
  }
  std::string events;
  try {
    ORVIDOM_PullReader reader = ORVIDOM_PullReader::openFile(large);
    events = Events(reader);
  } catch (const ORVIDOM_ParseError& e) {
    events = e.what();
  }
  std::remove(large.c_str());
  EXPECT_EQ(Tail(events), Tail(TreeEvents(std::string_view("<r>\0", 4))));
}

// A document many windows long, of many lines, characters of several bytes and every kind of line
// end, fails where the parser fails, read whole, from a stream or from a file: lines and columns
// are counted as the window leaves them.
TEST(ORVIDOM_PullReaderTest, PlacesAProblemManyWindowsOnAsTheParserDoes) {
  std::string xml = "<r>\r\n <open a='\xC3\xA9'>";
  // Lines of 64 bytes, shifted a byte at a time: some block counted at once starts with a line end.
  for (int shift = 0; shift < 64; ++shift) {
    for (int i = 0; i < 24; ++i) xml += "<e>" + std::string(56, 'x') + "</e>\n";
    xml += ' ';
  }
  for (int i = 0; xml.size() < 200000; ++i) xml += i % 3 ? "<e/>\r" : "<e>x</e>\r\n";
  // The last line, itself a few windows long, where blocks of sixteen plain bytes stand between
  // characters of several bytes.
  while (xml.size() < 400000) xml += "<e>caf\xC3\xA9 \xE2\x82\xAC</e><e>plain ascii text</e>";
  // One line after a byte order mark, which is no character of it, of a million open elements,
  // each placed once as the window leaves its start tag.
  std::string deep = "\xEF\xBB\xBF";
  for (int i = 0; i < 1 << 20; ++i) deep += "<a>";
  for (const std::string& broken : {xml + "</r>", xml + "<e>\xC3</e>", deep + "</b>"}) {
    ORVIDOM_PullReader reader(broken);
    const std::string events = Events(reader);
    EXPECT_EQ(Tail(events), Tail(TreeEvents(broken)));
    std::istringstream stream(broken);
    ORVIDOM_PullReader streamed(stream);
    // Compared whole, not printed: a difference of megabytes of events would take minutes.
    EXPECT_TRUE(Events(streamed) == events) << "from a stream";
    EXPECT_TRUE(FileEvents(broken) == events) << "from a file";
  }
}

// A text is handed out with the start tag after it: when the tag runs past the window's end, the
// window moves on to it while the text waits in the queue, and the text reads as it was.
TEST(ORVIDOM_PullReaderTest, KeepsWhatItQueuedWhenATagRunsPastTheWindow) {
  std::string xml = "<r>";
  for (int i = 0; xml.size() < 400000; ++i) {
    xml += "text " + std::to_string(i) + "<e a='" + std::string(20000 + 7 * i, 'v') + "'/>";
  }
  xml += "</r>";
  const std::string tree = TreeEvents(xml);
  ORVIDOM_PullReader whole(xml);
  EXPECT_TRUE(Events(whole) == tree) << "read whole";
  EXPECT_TRUE(FileEvents(xml) == tree) << "from a file";
}

}  // namespace
