#include <gtest/gtest.h>

#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

std::string Expected(const std::string& definitionContent) {
  return envelopexml::ZoCommand(
      "<querySubject type='querySubject'><name>aVrkQuerySubject</name><definition>" +
      definitionContent + "</definition></querySubject>");
}

TEST(XelQuerySubjectHelperTest, CopiesTheDefinitionAndRenamesTheFirstDialect) {
  const std::string definitionXml =
      "<qs name='orders'>"
      "<sql type='native'>select 0</sql>"
      "<part><sql type='tarvin'>select 1</sql></part>"
      "<sql type='tarvin'>select 2</sql>"
      "</qs>";
  ORVIDOM_Element definition = xmltest::Parse(definitionXml);
  XelQuerySubjectHelper helper("/m", definition);
  const std::string expected = Expected(
      "<qs name='orders'>"
      "<sql type='native'>select 0</sql>"
      "<part><sql type='Tarvin'>select 1</sql></part>"
      "<sql type='tarvin'>select 2</sql>"
      "</qs>");
  const ORVIDOM_Element made = Made(helper);
  EXPECT_TRUE(xmltest::SameTree(made, expected));
  EXPECT_TRUE(xmltest::SameTree(definition, definitionXml));

  // The helper shares the definition: a later change shows in the next Make.
  definition.setAttribute("name", "changed");
  EXPECT_EQ(ORVIDOM_Element(Made(helper).getElementsByTagName("qs").item(0)).getAttribute("name"),
            "changed");
}

TEST(XelQuerySubjectHelperTest, ADefinitionWithoutDialectOrNoneAtAllIsCopiedAsIs) {
  ORVIDOM_Element definition = xmltest::Parse("<qs><sql type='Tarvin'>s</sql></qs>");
  EXPECT_TRUE(xmltest::SameTree(Made(XelQuerySubjectHelper("/m", definition)),
                                Expected("<qs><sql type='Tarvin'>s</sql></qs>")));
  // The definition itself may be the statement.
  ORVIDOM_Element sql = xmltest::Parse("<sql type='tarvin'>s</sql>");
  EXPECT_TRUE(xmltest::SameTree(Made(XelQuerySubjectHelper("/m", sql)),
                                Expected("<sql type='Tarvin'>s</sql>")));
  ORVIDOM_Element none;
  EXPECT_TRUE(xmltest::SameTree(Made(XelQuerySubjectHelper("/m", none)), Expected("")));
}

}  // namespace
