#include <gtest/gtest.h>

#include <stdexcept>

#include "support/XmlTestSupport.h"

namespace {

// Overrides nothing: Make and Take must leave the caller's handle as it was.
class PlainHelper : public ActionHandlerBase {};

// Writes one element, optionally failing after it.
class OneElementHelper : public ActionHandlerBase {
 public:
  explicit OneElementHelper(bool fail = false) : m_fail(fail) {}
  mutable ORVIDOM_Document lastDoc;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override {
    lastDoc = doc;
    elem = doc.createElement("top");
    elem.appendChild(doc.createElement("child"));
    if (m_fail) throw std::runtime_error("doMake failed");
  }

 private:
  bool m_fail;
};

TEST(ActionHandlerBaseTest, DefaultOperationsLeaveTheHandleAlone) {
  ORVIDOM_Element elem = xmltest::Parse("<mine/>");
  const ORVIDOM_Element before = elem;
  PlainHelper helper;
  helper.Make(elem);
  EXPECT_EQ(elem, before);
  helper.Take(elem);
  EXPECT_EQ(elem, before);
}

TEST(ActionHandlerBaseTest, MakeWorksInAFreshPrivateDocument) {
  OneElementHelper helper;
  ORVIDOM_Element first, second;
  helper.Make(first);
  ORVIDOM_Document firstDoc = helper.lastDoc;
  helper.Make(second);
  helper.lastDoc = ORVIDOM_Document();

  EXPECT_NE(first, second);
  EXPECT_NE(first.getOwnerDocument(), second.getOwnerDocument());
  EXPECT_TRUE(xmltest::SameTree(first, "<top><child/></top>"));
  EXPECT_TRUE(xmltest::SameTree(second, "<top><child/></top>"));
  EXPECT_TRUE(first.getParentNode().isNull());

  // The element outlives every handle to its document; the frame is an empty "requestDoc".
  firstDoc = ORVIDOM_Document();
  ORVIDOM_Document owner = first.getOwnerDocument();
  ASSERT_FALSE(owner.isNull());
  EXPECT_EQ(owner.getDocumentElement().getTagName(), "requestDoc");
  EXPECT_FALSE(owner.getDocumentElement().hasChildNodes());
  EXPECT_EQ(ORVIDOM_Writer::toString(owner), "<requestDoc/>");
}

TEST(ActionHandlerBaseTest, AFailingMakeKeepsWhatWasWrittenAndPassesTheError) {
  OneElementHelper helper(true);
  ORVIDOM_Element elem;
  EXPECT_THROW(helper.Make(elem), std::runtime_error);
  ASSERT_FALSE(elem.isNull());
  EXPECT_TRUE(xmltest::SameTree(elem, "<top><child/></top>"));
}

}  // namespace
