#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using envelopexml::Command;

// The validate command written for `input`.
ORVIDOM_Element ValidateOf(ORVIDOM_Element input) {
  QFValidateCommandHelper helper;
  helper.Make(input);
  return input;
}

TEST(QFValidateCommandHelperTest, CopiesTheChildrenOfTheFirstChild) {
  const std::string inputXml =
      "<command><execute>"
      "<querySet><modelPath>/m</modelPath><queries><query name='Q'/></queries></querySet>"
      "<property name='p' value='1'/>"
      "text &amp; more"
      "</execute><commandID value='ZoCommand'/></command>";
  const ORVIDOM_Element input = xmltest::Parse(inputXml);
  const ORVIDOM_Element command = ValidateOf(input);
  const std::string expected = Command(
      "<validate>"
      "<querySet><modelPath>/m</modelPath><queries><query name='Q'/>"
      "</queries></querySet>"
      "<property name='p' value='1'/>"
      "text &amp; more"
      "</validate>");
  EXPECT_TRUE(xmltest::SameTree(command, expected));
  // The input is copied, not moved.
  EXPECT_TRUE(xmltest::SameTree(input, inputXml));
  EXPECT_NE(command.getOwnerDocument(), input.getOwnerDocument());
}

TEST(QFValidateCommandHelperTest, AnInputWithoutChildValidatesAnEmptyBody) {
  for (const ORVIDOM_Element& input : {xmltest::Parse("<command/>"), ORVIDOM_Element(),
                                       xmltest::Parse("<command><execute/></command>")}) {
    EXPECT_TRUE(xmltest::SameTree(ValidateOf(input), Command("<validate/>")));
  }
}

TEST(QFValidateCommandHelperTest, CheckReponseKeepsTheSeverityTheRulesGive) {
  struct Case {
    std::vector<const char*> levels;
    int severity;
  };
  const std::vector<Case> cases = {
      {{}, 5},
      {{"error"}, 1},
      {{"error", "fatal"}, 0},
      {{"fatal", "error"}, 0},
      {{"warning", "error"}, 1},
      {{"error", "warning"}, 1},
      {{"fatal", "warning"}, 2},
      {{"fatal", "information"}, 3},
      {{"error", "information", "warning"}, 2},
      {{"Error"}, 5},
      {{"warning", "severe"}, 2},
      {{nullptr}, 5},
  };
  QFValidateCommandHelper helper;
  for (const Case& c : cases) {
    std::string xml = "<response>";
    for (const char* level : c.levels) {
      xml += level ? std::string("<message severity='") + level + "'>m</message>"
                   : std::string("<message>m</message>");
    }
    xml += "</response>";
    ORVSeverity severity = kORVSeverityInformation;
    I18NString messages;
    helper.CheckReponse(xmltest::Parse(xml), severity, messages);
    EXPECT_EQ(static_cast<int>(severity), c.severity) << xml;
    EXPECT_EQ(messages.length(), 2 * c.levels.size()) << xml;
  }
}

TEST(QFValidateCommandHelperTest, CheckReponseAppendsEveryMessageText) {
  QFValidateCommandHelper helper;
  ORVSeverity severity = kORVSeverityFatal;
  I18NString messages = "before\n";
  helper.CheckReponse(xmltest::Parse("<response>\n"
                                     "  <message severity='error'>T</message>\n"
                                     "  <details>\n"
                                     "    <message severity='unheard of'>a &lt; b</message>\n"
                                     "    <message severity='warning'/>\n"
                                     "  </details>\n"
                                     "</response>"),
                      severity, messages);
  EXPECT_EQ(severity, kORVSeverityError);
  EXPECT_EQ(messages, "before\nT\na < b\n\n");

  // No message: the level is "not set" and the text stays as it was.
  helper.CheckReponse(xmltest::Parse("<response/>"), severity, messages);
  EXPECT_EQ(static_cast<int>(severity), 5);
  EXPECT_EQ(messages, "before\nT\na < b\n\n");
}

}  // namespace
