#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::NewDocument;

// Runs `change`, expecting ORVIDOM_DOMException with `code` and, if given, exactly `message`.
void ExpectDomError(unsigned short code, const std::function<void()>& change,
                    const char* message = nullptr) {
  try {
    change();
    ADD_FAILURE() << "expected ORVIDOM_DOMException " << code;
  } catch (const ORVIDOM_DOMException& e) {
    EXPECT_EQ(e.getCode(), code) << e.what();
    if (message) EXPECT_STREQ(e.what(), message);
  }
}

// Nodes created and not attached, or attached below a detached node, never show in the document;
// a node keeps its identity when detached and attached again.
TEST(ORVIDOM_NodeTest, DetachedNodesNeverShowInTheDocumentAndKeepTheirIdentity) {
  ORVIDOM_Document doc = NewDocument();
  ORVIDOM_Element parent = doc.createElement("parent");
  ORVIDOM_Element child = doc.createElement("child");
  EXPECT_TRUE(child.getParentNode().isNull());
  EXPECT_EQ(parent.appendChild(child), child);
  EXPECT_EQ(child.getParentNode(), parent);
  doc.createTextNode("loose text");
  EXPECT_EQ(doc.getLastChild(), doc.getFirstChild());
  EXPECT_TRUE(doc.getDocumentElement().getPreviousSibling().isNull());
  EXPECT_EQ(doc.getElementsByTagName("*").getLength(), 1u);
  EXPECT_EQ(ORVIDOM_Writer::toString(doc), "<requestDoc/>");
  EXPECT_TRUE(ORVIDOM_Helper::findFirstElement(doc, "child").isNull());

  EXPECT_EQ(parent.removeChild(child), child);
  EXPECT_TRUE(child.getParentNode().isNull());
  EXPECT_FALSE(parent.hasChildNodes());
  child.setAttribute("kept", "yes");
  parent.appendChild(child);
  EXPECT_TRUE(xmltest::SameTree(parent, "<parent><child kept='yes'/></parent>"));
}

TEST(ORVIDOM_NodeTest, ADocumentInANamespaceDeclaresItOnItsElement) {
  const auto element = [](const char* uri, const char* name) {
    return ORVIDOM_DOMImplementation::getInstance()
        .createDocument(uri, name, ORVIDOM_DocumentType())
        .getDocumentElement();
  };
  EXPECT_EQ(element("urn:a", "p:r").getAttribute("xmlns:p"), "urn:a");
  EXPECT_EQ(element("urn:b", "r").getAttribute("xmlns"), "urn:b");
}

TEST(ORVIDOM_NodeTest, ForbiddenChangesThrowAndLeaveTheTreeIntact) {
  ORVIDOM_Document doc = NewDocument();
  ORVIDOM_Element outer = doc.createElement("outer");
  ORVIDOM_Element inner = doc.createElement("inner");
  outer.appendChild(inner);
  ORVIDOM_Document other = NewDocument();

  using Ex = ORVIDOM_DOMException;
  ExpectDomError(
      Ex::HIERARCHY_REQUEST_ERR, [&] { inner.appendChild(outer); },
      "appendChild: a node cannot become a child of itself or of its descendant");
  ExpectDomError(Ex::HIERARCHY_REQUEST_ERR, [&] { outer.appendChild(outer); });
  ExpectDomError(
      Ex::WRONG_DOCUMENT_ERR, [&] { outer.appendChild(other.createElement("x")); },
      "appendChild: the node belongs to another document; import it first");
  ExpectDomError(Ex::WRONG_DOCUMENT_ERR,
                 [&] { outer.replaceChild(other.createElement("x"), inner); });
  ExpectDomError(
      Ex::WRONG_DOCUMENT_ERR, [&] { outer.insertBefore(other.createElement("x"), inner); },
      "insertBefore: the node belongs to another document; import it first");
  ExpectDomError(Ex::NOT_FOUND_ERR, [&] { inner.removeChild(outer); });
  ExpectDomError(
      Ex::NOT_FOUND_ERR, [&] { inner.insertBefore(doc.createElement("y"), outer); },
      "insertBefore: the node is not a child of this node");
  ExpectDomError(Ex::NOT_FOUND_ERR, [&] { ORVIDOM_Element().appendChild(inner); });
  ExpectDomError(
      Ex::NOT_FOUND_ERR, [&] { ORVIDOM_Element().removeChild(inner); },
      "removeChild on a null node");
  ExpectDomError(
      Ex::NOT_FOUND_ERR, [&] { ORVIDOM_Element().cloneNode(true); }, "cloneNode on a null node");
  ExpectDomError(
      Ex::NOT_FOUND_ERR, [&] { ORVIDOM_Node().setNodeValue("x"); }, "setNodeValue on a null node");
  // An attribute is no child, though its element is one.
  inner.setAttribute("a", "1");
  ExpectDomError(Ex::NOT_FOUND_ERR, [&] { outer.removeChild(inner.getAttributes().item(0)); });
  ExpectDomError(
      Ex::HIERARCHY_REQUEST_ERR, [&] { doc.appendChild(doc.createTextNode("x")); },
      "appendChild: a #text node cannot be a child of a document");
  ExpectDomError(
      Ex::HIERARCHY_REQUEST_ERR,
      [&] { doc.replaceChild(doc.createTextNode("x"), doc.getDocumentElement()); },
      "replaceChild: a #text node cannot be a child of a document");
  ExpectDomError(
      Ex::NOT_FOUND_ERR, [&] { outer.replaceChild(doc.createElement("y"), outer); },
      "replaceChild: the node is not a child of this node");
  ExpectDomError(Ex::INVALID_CHARACTER_ERR, [&] { doc.createElement("1bad"); });
  // U+EFFFF is the last character that may start a name, and any ASCII name character may follow.
  EXPECT_NO_THROW(doc.createElement("\xF3\xAF\xBF\xBF_azAZ:-.09"));
  ExpectDomError(Ex::INVALID_CHARACTER_ERR, [&] { doc.createElement("\xF3\xB0\x80\x80"); });
  // U+FFFE and a surrogate, each just past a range of the name classes, are no characters at all.
  for (const char* name : {"\xEF\xBF\xBE", "\xED\xA0\x80"}) {
    ExpectDomError(Ex::INVALID_CHARACTER_ERR, [&] { doc.createElement(name); });
  }
  ExpectDomError(Ex::INVALID_CHARACTER_ERR, [&] { inner.setAttribute("a", "bell\x07"); });
  ExpectDomError(Ex::INVALID_CHARACTER_ERR, [&] { doc.createTextNode("\xC3("); });
  // A sequence cut at the end, whose first bits alone would read as a tab.
  ExpectDomError(Ex::INVALID_CHARACTER_ERR, [&] { doc.createTextNode("cut \xC9"); });
  for (const auto& [uri, name] : {std::pair{"urn:\x01", "r"}, std::pair{"", "1bad"}}) {
    ExpectDomError(Ex::INVALID_CHARACTER_ERR, [&, uri = uri, name = name] {
      ORVIDOM_DOMImplementation::getInstance().createDocument(uri, name, ORVIDOM_DocumentType());
    });
  }

  // A comment that holds "--" or ends in "-" could not be written back.
  ExpectDomError(
      Ex::INVALID_CHARACTER_ERR, [&] { doc.createComment("a--b"); },
      R"(a comment cannot hold "--" or end in "-")");
  ExpectDomError(Ex::INVALID_CHARACTER_ERR, [&] { doc.createComment("a-"); });
  EXPECT_NO_THROW(doc.createComment("a-b"));

  // Elements and documents have no value, so there is nothing to check.
  EXPECT_NO_THROW(outer.setNodeValue("\x01"));
  EXPECT_NO_THROW(doc.setNodeValue("\x01"));
  ExpectDomError(Ex::INVALID_CHARACTER_ERR, [&] { doc.createTextNode("\xED\xA0\x80"); });
  ExpectDomError(
      Ex::NOT_SUPPORTED_ERR, [&] { ORVIDOM_Document(outer).importNode(inner, true); },
      "importNode on a handle that is no document");
  for (const ORVIDOM_Node& node : {ORVIDOM_Node(), inner.getAttributes().item(0)}) {
    ExpectDomError(
        Ex::NOT_SUPPORTED_ERR, [&] { doc.importNode(node, true); },
        "importNode: only elements, texts and comments are imported");
  }
  const ORVIDOM_Document notDocument(outer);
  const std::pair<const char*, std::function<void()>> creations[] = {
      {"createElement on a handle that is no document", [&] { notDocument.createElement("c"); }},
      {"createTextNode on a handle that is no document", [&] { notDocument.createTextNode("c"); }},
      {"createCDATASection on a handle that is no document",
       [&] { notDocument.createCDATASection("c"); }},
      {"createComment on a handle that is no document", [&] { notDocument.createComment("c"); }}};
  for (const auto& [message, create] : creations) {
    ExpectDomError(Ex::NOT_SUPPORTED_ERR, create, message);
  }
  EXPECT_TRUE(ORVIDOM_Document(outer).getDocumentElement().isNull());
  EXPECT_TRUE(xmltest::SameTree(outer, "<outer><inner a='1'/></outer>"));
}

TEST(ORVIDOM_NodeTest, AppendElementGivesTheTreeOfCreateAndAppend) {
  ORVIDOM_Document doc = NewDocument();
  ORVIDOM_Element detached = doc.createElement("detached");
  detached.appendChild(doc.createTextNode("t"));
  ORVIDOM_Element made = detached.appendElement("made");
  made.appendElement("inner").setAttribute("a", "1");
  EXPECT_TRUE(detached.getParentNode().isNull());
  EXPECT_EQ(doc.getElementsByTagName("made").getLength(), 0u);
  EXPECT_TRUE(xmltest::SameTree(detached, "<detached>t<made><inner a='1'/></made></detached>"));

  ORVIDOM_Element root = doc.getDocumentElement();
  root.appendElement("first");
  root.appendChild(made);
  EXPECT_TRUE(
      xmltest::SameTree(root, "<requestDoc><first/><made><inner a='1'/></made></requestDoc>"));
  EXPECT_TRUE(xmltest::SameTree(detached, "<detached>t</detached>"));

  using Ex = ORVIDOM_DOMException;
  ExpectDomError(Ex::INVALID_CHARACTER_ERR, [&] { root.appendElement("1bad"); });
  ExpectDomError(
      Ex::NOT_SUPPORTED_ERR, [&] { ORVIDOM_Element(doc).appendElement("x"); },
      "appendElement on a handle that is no element");
  ExpectDomError(
      Ex::NOT_SUPPORTED_ERR, [&] { ORVIDOM_Element(doc).setAttribute("a", "1"); },
      "setAttribute on a handle that is no element");
  ExpectDomError(
      Ex::NOT_SUPPORTED_ERR, [&] { ORVIDOM_Element().removeAttribute("a"); },
      "removeAttribute on a handle that is no element");
  ExpectDomError(Ex::NOT_SUPPORTED_ERR, [&] { ORVIDOM_Element().appendElement("x"); });
  EXPECT_EQ(root.getChildNodes().getLength(), 2u);
}

TEST(ORVIDOM_NodeTest, NullHandlesReadAsNothing) {
  ORVIDOM_Element none;
  EXPECT_TRUE(none.isNull() && none.getFirstChild().isNull() && none.getParentNode().isNull() &&
              none.getOwnerDocument().isNull() && none.getChildNodes().item(0).isNull());
  EXPECT_EQ(none.getNodeType(), 0);
  EXPECT_EQ(none.getNodeName() + none.getAttribute("a") + ORVIDOM_Writer::toString(none), "");
  EXPECT_FALSE(none.hasAttribute("a"));
  EXPECT_EQ(none.getChildNodes().getLength() + none.getElementsByTagName("*").getLength(), 0u);
  EXPECT_TRUE(ORVIDOM_NodeList().isNull() && ORVIDOM_NamedNodeMap().isNull() &&
              ORVIDOM_DOMImplementation().isNull());
  EXPECT_FALSE(ORVIDOM_DOMImplementation::getInstance().isNull());
  const ORVIDOM_NamedNodeMap noAttributes = xmltest::Parse("<r/>").getAttributes();
  EXPECT_TRUE(!noAttributes.isNull() && noAttributes.item(0).isNull());
  // Past the end of a list or map of any length, every item is null.
  std::string children;
  std::string attributes;
  for (int count = 1; count <= 9; ++count) {
    children += "<a/>";
    attributes += " a" + std::to_string(count) + "=''";
    const ORVIDOM_Element root = xmltest::Parse("<r" + attributes + ">" + children + "</r>");
    for (const ORVIDOM_NodeList& list : {root.getElementsByTagName("a"), root.getChildNodes()}) {
      EXPECT_TRUE(list.getLength() == count && list.item(count).isNull()) << count;
    }
    const ORVIDOM_NamedNodeMap map = root.getAttributes();
    EXPECT_TRUE(map.getLength() == count && map.item(count).isNull()) << count;
  }
}

TEST(ORVIDOM_NodeTest, InsertReplaceAndAttributesFollowTheirOrder) {
  ORVIDOM_Element root = xmltest::Parse("<r><b/><d/><x><c/></x></r>");
  ORVIDOM_Document doc = root.getOwnerDocument();
  ORVIDOM_Node b = root.getFirstChild();
  root.insertBefore(doc.createElement("a"), b);
  ORVIDOM_Node d = b.getNextSibling();
  // A node in the tree is moved from where it was.
  EXPECT_EQ(root.replaceChild(root.getLastChild().getFirstChild(), d), d);
  EXPECT_TRUE(d.getParentNode().isNull());
  ORVIDOM_Element a = root.getFirstChild();
  a.setAttribute("z", "1");
  a.setAttribute("y", "2");
  a.setAttribute("z", "3");
  EXPECT_TRUE(xmltest::SameTree(root, "<r><a z='3' y='2'/><b/><c/><x/></r>"));
  ORVIDOM_NamedNodeMap attrs = a.getAttributes();
  ASSERT_EQ(attrs.getLength(), 2u);
  EXPECT_EQ(attrs.item(0).getNodeType(), ORVIDOM_Node::ATTRIBUTE_NODE);
  EXPECT_EQ(attrs.getNamedItem("y").getNodeValue(), "2");
  EXPECT_EQ(ORVIDOM_Attr(attrs.item(1)).getOwnerElement(), a);
  a.removeAttribute("y");
  EXPECT_TRUE(xmltest::SameTree(a, "<a z='3'/>"));
  // An attribute has no siblings, though its element has.
  ORVIDOM_Element c = root.getLastChild().getPreviousSibling();
  c.setAttribute("w", "4");
  const ORVIDOM_Node w = c.getAttributes().item(0);
  EXPECT_TRUE(w.getPreviousSibling().isNull() && w.getNextSibling().isNull());
  // Inserted before a sibling, a child is moved too.
  root.insertBefore(root.getLastChild(), root.getFirstChild());
  EXPECT_TRUE(xmltest::SameTree(root, "<r><x/><a z='3'/><b/><c w='4'/></r>"));
}

// A removed node or attribute is detached, never freed while a handle reaches it: handles and
// lists taken before read what they read before, and a change through them touches nothing else.
// The value is long, so that a read of freed memory could not pass unnoticed.
TEST(ORVIDOM_NodeTest, HandlesTakenBeforeARemovalStayValid) {
  const std::string big(100000, 'v');
  ORVIDOM_Element root = xmltest::Parse("<r a='" + big + "' b='2'><c>text</c><d/></r>");
  const ORVIDOM_NamedNodeMap before = root.getAttributes();
  const ORVIDOM_Attr a = before.getNamedItem("a");
  const ORVIDOM_Attr b = before.item(1);
  const ORVIDOM_NodeList kids = root.getChildNodes();
  const ORVIDOM_Node c = root.getFirstChild();
  const ORVIDOM_Node text = c.getFirstChild();
  const ORVIDOM_Node d = c.getNextSibling();
  root.removeAttribute("a");
  root.setAttribute("b", "3");
  root.removeChild(c);
  // The first child left is the last one too.
  EXPECT_EQ(root.getLastChild(), d);
  root.replaceChild(root.getOwnerDocument().createElement("e"), d);

  EXPECT_EQ(a.getName(), "a");
  EXPECT_EQ(a.getValue(), big);
  EXPECT_TRUE(a.getOwnerElement().isNull());
  a.setValue("detached");
  EXPECT_EQ(before.getNamedItem("a").getNodeValue(), "detached");
  EXPECT_EQ(b.getValue(), "3");
  EXPECT_EQ(b.getOwnerElement(), root);
  EXPECT_EQ(kids.getLength(), 2u);
  EXPECT_EQ(kids.item(1), d);
  EXPECT_TRUE(d.getParentNode().isNull());
  EXPECT_TRUE(d.getPreviousSibling().isNull());
  EXPECT_EQ(text.getParentNode(), c);
  EXPECT_TRUE(xmltest::SameTree(root, "<r b='3'><e/></r>"));
  EXPECT_TRUE(xmltest::SameTree(c, "<c>text</c>"));
  root = ORVIDOM_Element();
  EXPECT_EQ(a.getValue(), "detached");
  EXPECT_EQ(text.getNodeValue(), "text");
}

TEST(ORVIDOM_NodeTest, ImportAndCloneCopy) {
  ORVIDOM_Element source = xmltest::Parse("<src a='1'><kid>text</kid></src>");
  ORVIDOM_Document doc = NewDocument();
  ORVIDOM_Element deep = doc.importNode(source, true);
  ORVIDOM_Element shallow = doc.importNode(source, false);
  EXPECT_EQ(deep.getOwnerDocument(), doc);
  EXPECT_TRUE(deep.getParentNode().isNull());
  EXPECT_TRUE(xmltest::SameTree(deep, "<src a='1'><kid>text</kid></src>"));
  EXPECT_TRUE(xmltest::SameTree(shallow, "<src a='1'/>"));
  const ORVIDOM_Node clone = source.cloneNode(true);
  EXPECT_TRUE(clone.getParentNode().isNull());
  source.setAttribute("a", "changed");
  EXPECT_EQ(deep.getAttribute("a"), "1");
  EXPECT_TRUE(xmltest::SameTree(clone, "<src a='1'><kid>text</kid></src>"));
  EXPECT_TRUE(xmltest::SameTree(source.cloneNode(false), "<src a='changed'/>"));
  doc.getDocumentElement().appendChild(deep);
  EXPECT_EQ(doc.getElementsByTagName("kid").getLength(), 1u);
}

TEST(ORVIDOM_NodeTest, DescendantSearchesAreInDocumentOrder) {
  ORVIDOM_Element root = xmltest::Parse("<r><x id='1'><x id='2'/></x><y><x id='3'/></y></r>");
  ORVIDOM_NodeList xs = root.getElementsByTagName("x");
  ASSERT_EQ(xs.getLength(), 3u);
  for (unsigned long i = 0; i < 3; ++i) {
    EXPECT_EQ(ORVIDOM_Element(xs.item(i)).getAttribute("id"), std::to_string(i + 1));
  }
  EXPECT_EQ(root.getElementsByTagName("*").getLength(), 4u);
}

}  // namespace
