#include <gtest/gtest.h>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::NewDocument;

TEST(ORVIDOM_WriterTest, AwkwardStringsComeBackUnchanged) {
  // The last spans many pieces of escaping and many blocks of output.
  const std::string values[] = {"plain",
                                "",
                                " ",
                                "  lead and trail  ",
                                "<tag>&amp;\"quoted\" 'single'",
                                "]]> x] ]] ]>",
                                "tab\there",
                                "line\nfeed",
                                "carriage\rreturn",
                                "crlf\r\n",
                                "\n\r\t",
                                "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
                                "a > b",
                                "&#38;",
                                std::string(9000, '<') + std::string(9000, 'x') + "\t"};
  for (const std::string& value : values) {
    ORVIDOM_Document doc = NewDocument();
    ORVIDOM_Element e = doc.createElement("e");
    e.setAttribute("v", value);
    ORVIDOM_Element kid = doc.createElement("k");
    kid.appendChild(doc.createTextNode(value));
    e.appendChild(kid);
    e.appendChild(doc.createCDATASection(value));
    ORVIDOM_Element back = xmltest::RoundTrip(e);
    EXPECT_EQ(back.getAttribute("v"), value);
    EXPECT_EQ(ORVIDOM_Helper::getElementText(back.getFirstChild()), value);
    // A CDATA section may come back split, but its text is the same.
    std::string cdata;
    for (ORVIDOM_Node n = back.getFirstChild().getNextSibling(); !n.isNull();
         n = n.getNextSibling()) {
      cdata += n.getNodeValue().str();
    }
    EXPECT_EQ(cdata, value);
  }
}

TEST(ORVIDOM_WriterTest, OutputFillsEachBlockExactly) {
  // "]]>" in a CDATA section is written as fifteen bytes at once: 1091 of them after
  // "<document><![CDATA[" fill the first block of 16 KiB exactly, and "x" is written alone; after
  // one more byte, the last of them runs across into the next block.
  for (const std::string prefix : {"", "y"}) {
    ORVIDOM_Document doc = NewDocument();
    ORVIDOM_Element e = doc.createElement("document");
    std::string text = prefix;
    std::string expected = "<document><![CDATA[" + prefix;
    for (int i = 0; i < 1091; ++i) {
      text += "]]>";
      expected += "]]]]><![CDATA[>";
    }
    e.appendChild(doc.createCDATASection(text + "x"));
    EXPECT_EQ(ORVIDOM_Writer::toString(e), expected + "x]]></document>");
  }
}

TEST(ORVIDOM_WriterTest, EscapesAndEndsAtEveryPlaceOfAWord) {
  // Names and texts are read eight bytes at a time: each escape, and each end, at every place in
  // a word, in a tree made (strings aligned) and in one parsed (strings anywhere).
  ORVIDOM_Document doc = NewDocument();
  ORVIDOM_Element root = doc.createElement("r");
  std::string expected = "<r>";
  for (std::size_t n = 0; n < 17; ++n) {
    const std::string pad(n, 'x');
    ORVIDOM_Element e = doc.createElement("e" + pad);
    e.setAttribute("a" + pad, pad + "&<>\"\r\t\n" + pad);
    e.appendChild(doc.createTextNode(pad + "&<>\"\r\t\n" + pad));
    root.appendChild(e);
    expected += "<e" + pad + " a" + pad + "=\"" + pad + "&amp;&lt;&gt;&quot;&#13;&#9;&#10;" + pad +
                "\">" + pad + "&amp;&lt;&gt;\"&#13;\t\n" + pad + "</e" + pad + ">";
  }
  expected += "</r>";
  EXPECT_EQ(ORVIDOM_Writer::toString(root), expected);
  EXPECT_EQ(ORVIDOM_Writer::toString(xmltest::Parse(expected)), expected);
}

// A comment beside the root element stands on a line of its own too.
TEST(ORVIDOM_WriterTest, IndentsOnlyWhereNoTextIsChanged) {
  ORVIDOM_Document doc = xmltest::Parse("<r><a><b/></a><m>text<i/>more</m></r>").getOwnerDocument();
  doc.appendChild(doc.createComment("c"));
  EXPECT_EQ(ORVIDOM_Writer::toString(doc, {true, true}),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<r>\n  <a>\n    <b/>\n  </a>\n  <m>text<i/>more</m>\n</r>\n<!--c-->");
  EXPECT_EQ(ORVIDOM_Writer::toString(doc, {false, true}),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><a><b/></a><m>text<i/>more</m></r>"
            "<!--c-->");
}

TEST(ORVIDOM_WriterTest, WritesCompactByDefaultAndAnySubtreeOnItsOwn) {
  ORVIDOM_Element root = xmltest::Parse("<r><a x='&amp;'>t</a><b/></r>");
  root.appendChild(root.getOwnerDocument().createComment("c"));
  EXPECT_EQ(ORVIDOM_Writer::toString(root), "<r><a x=\"&amp;\">t</a><b/><!--c--></r>");
  EXPECT_EQ(ORVIDOM_Writer::toString(root.getFirstChild()), "<a x=\"&amp;\">t</a>");
  EXPECT_EQ(ORVIDOM_Writer::toString(root.getFirstChild().getFirstChild()), "t");
  // An attribute on its own, as it stands in its element.
  EXPECT_EQ(ORVIDOM_Writer::toString(root.getFirstChild().getAttributes().item(0)), "x=\"&amp;\"");
  EXPECT_EQ(ORVIDOM_Writer::toString(root.getOwnerDocument()), ORVIDOM_Writer::toString(root));
}

// The output takes blocks as it fills them: memory in proportion to what is written, however many
// elements and pieces it is written from.
TEST(ORVIDOM_WriterTest, TakesMemoryInProportionToTheOutput) {
  ORVIDOM_Document doc = NewDocument();
  ORVIDOM_Element root = doc.getDocumentElement();
  for (int i = 0; i < 10000; ++i) root.appendChild(doc.createElement("e"));
  std::string ends;
  for (int i = 0; i < 10000; ++i) ends += "]]>";
  root.appendChild(doc.createCDATASection(ends));
  const long before = xmltest::PeakKilobytes();
  if (before < 0) GTEST_SKIP() << "peak memory is not read here";
  EXPECT_EQ(ORVIDOM_Writer::toString(root).size(), 40025u + 9 + 10000 * 15 + 3);
  EXPECT_LT(xmltest::PeakKilobytes() - before, 4 * 1024);
}

TEST(ORVIDOM_WriterTest, ADocumentOfNoElementOrTwoIsNotWritten) {
  ORVIDOM_Document two = NewDocument();
  two.appendChild(two.createElement("second"));
  EXPECT_EQ(ORVIDOM_Writer::toString(two.getDocumentElement()), "<requestDoc/>");
  ORVIDOM_Document none = NewDocument();
  none.removeChild(none.getDocumentElement());
  for (const ORVIDOM_Document& doc : {two, none}) {
    try {
      ORVIDOM_Writer::toString(doc);
      FAIL() << "a document of " << doc.getChildNodes().getLength() << " elements written";
    } catch (const ORVIDOM_DOMException& e) {
      EXPECT_EQ(e.getCode(), ORVIDOM_DOMException::HIERARCHY_REQUEST_ERR);
    }
  }
}

}  // namespace
