#include <gtest/gtest.h>

#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using envelopexml::Command;
using envelopexml::kCommandOpen;
using xmltest::Made;
const std::string kDefaultHints = "<queryHints><avoidZeroDiv value='true'/></queryHints>";

// The "queryResultDefinitions" of a made command.
ORVIDOM_Element ResultDefinitions(const ORVIDOM_Element& command) {
  return ORVIDOM_Helper::findFirstElement(command, "queryResultDefinitions");
}

// The result definition tree of one definition named after `name`, with the given data item
// references.
std::string ResultDefinitionsXml(const std::string& name, const std::string& refs) {
  return "<queryResultDefinitions><queryResultDefinition name='rsd" + name + "' refQuery='" + name +
         "'><edges><edge name='columns'><edgeGroups><edgeGroup><valueSets>"
         "<valueSet name='valueSet1'><groupBody name='groupBody1'>" +
         refs +
         "</groupBody></valueSet></valueSets></edgeGroup></edgeGroups></edge></edges>"
         "</queryResultDefinition></queryResultDefinitions>";
}

// Ordinary queries share one definition named after the last, as the execute-command example
// shows.
TEST(QFExecuteCommandHelperTest, ResultDefinitionsFollowTheFirstQuery) {
  // A first query named "SingleCount" or "querySet" is the only one defined, but all are written.
  for (const char* first : {"SingleCount", "querySet"}) {
    QFExecuteCommandHelper single("/m", nullptr);
    single.AddQuery(first)->AddDataItem("N", "count(1)");
    single.AddQuery("Other")->AddDataItem("X", "1");
    ORVIDOM_Element made = Made(single);
    EXPECT_TRUE(xmltest::SameTree(ResultDefinitions(made),
                                  ResultDefinitionsXml(first, "<dataItemRef refDataItem='N'/>")))
        << first;
    EXPECT_EQ(ORVIDOM_Helper::findFirstElement(made, "queries").getChildNodes().getLength(), 2u);
  }

  // "SingleCount" only counts as the first query.
  QFExecuteCommandHelper later("/m", nullptr);
  later.AddQuery("First");
  later.AddQuery("SingleCount");
  EXPECT_TRUE(
      xmltest::SameTree(ResultDefinitions(Made(later)), ResultDefinitionsXml("SingleCount", "")));
}

TEST(QFExecuteCommandHelperTest, WritesHintsPropertiesAndFeedbackInOrder) {
  using Cmd = QFExecuteCommandHelper;
  Cmd command("", nullptr);
  command.AddQuery("");
  const std::string queries =
      "<queries><query name=''><source><model/></source><selection autoSummary='false'/>" +
      kDefaultHints + "</query></queries>" + ResultDefinitionsXml("", "");
  ORVIDOM_Element made = Made(command);
  // The queries are written into the command's own document, which holds nothing else.
  EXPECT_EQ(ORVIDOM_Helper::findFirstElement(made, "query").getOwnerDocument(),
            made.getOwnerDocument());
  EXPECT_FALSE(made.getOwnerDocument().getDocumentElement().hasChildNodes());

  command.AddRequestHint(Cmd::kRequestHintQueryProcessing, "local");
  command.AddRequestHint(Cmd::kRequestHintNoDataMode, "false");
  command.AddRequestHint(Cmd::kRequestHintNoDataMode, "true");
  command.AddRequestHint(Cmd::kRequestHintExecutionOptimization,
                         Cmd::ToString(Cmd::kQueryOptimizationIncremental));
  command.AddRequestHint(Cmd::kRequestHintDesignMode, "");
  command.AddRequestHint(static_cast<Cmd::ERequestHint>(5), "dropped");
  command.AddExecuteProperty("zeta", "1");
  command.AddExecuteProperty("alpha", "old");
  command.AddExecuteProperty("alpha", "new");
  command.AddQueryFeedback(Cmd::kQueryFeedbackExecutionPlan);
  command.AddQueryFeedback(Cmd::kQueryFeedbackExecutionPlan);
  command.AddQueryFeedback(Cmd::kQueryFeedbackColumnList);
  command.SetQOSSeverityLevel(Cmd::kQOSSeverityWarning);
  command.SetProperty(QFCommandHelper::kPropertyRequestID, "R7");
  EXPECT_TRUE(xmltest::SameTree(
      Made(command), kCommandOpen + "<execute><querySet><modelPath/>" + queries +
                         "<requestHints><noDataMode enabled='true'/><designMode enabled=''/>"
                         "<executionOptimization value='incremental'/>"
                         "<queryProcessing value='local'/></requestHints></querySet>"
                         "<property name='alpha' value='new'/><property name='zeta' value='1'/>"
                         "<queryFeedback severityLevel='warning'>"
                         "<property name='executionPlan'/><property name='executionPlan'/>"
                         "<property name='columnList'/></queryFeedback></execute>"
                         "<commandID value='ZoCommand'/><requestID value='R7'/></command>"));
}

TEST(QFExecuteCommandHelperTest, ASeverityLevelAloneStillAsksForFeedback) {
  QFExecuteCommandHelper command("/m", nullptr);
  command.AddQuery("Q");
  command.SetQOSSeverityLevel(QFExecuteCommandHelper::kQOSSeverityKeyTransformation);
  EXPECT_TRUE(xmltest::SameTree(ORVIDOM_Helper::findFirstElement(Made(command), "queryFeedback"),
                                "<queryFeedback severityLevel='keyTransformation'/>"));
  // Back to "not set": no feedback element at all.
  command.SetQOSSeverityLevel(QFExecuteCommandHelper::kQOSSeverityUnknown);
  EXPECT_TRUE(ORVIDOM_Helper::findFirstElement(Made(command), "queryFeedback").isNull());
}

TEST(QFExecuteCommandHelperTest, ACommandWithoutQueriesIsRefused) {
  QFExecuteCommandHelper command("/m", nullptr);
  ORVIDOM_Element mine = xmltest::Parse("<mine/>");
  ORVIDOM_Element elem = mine;
  EXPECT_ORV_ASSERT(command.Make(elem), "ORV_ASSERT(!m_queries.empty());",
                    "QFExecuteCommandHelper");
  EXPECT_EQ(elem, mine);
  EXPECT_TRUE(xmltest::SameTree(mine, "<mine/>"));
}

TEST(QFExecuteCommandHelperTest, NagLevelsGiveSeverities) {
  using Cmd = QFExecuteCommandHelper;
  // Nag levels 0 and 1 are errors; 4 and above are information.
  const Cmd::EQOSSeverity levels[] = {Cmd::kQOSSeverityError, Cmd::kQOSSeverityError,
                                      Cmd::kQOSSeverityWarning, Cmd::kQOSSeverityKeyTransformation,
                                      Cmd::kQOSSeverityInformation};
  for (int nag : {0, 1, 2, 3, 4, 100}) {
    EXPECT_EQ(Cmd::ConvertNagLevel2SeverityLevel(nag), levels[nag < 4 ? nag : 4]) << nag;
  }
}

// The names of the optimizations the service knows; the others are unknown.
TEST(QFExecuteCommandHelperTest, NamesEachQueryOptimization) {
  using Cmd = QFExecuteCommandHelper;
  EXPECT_EQ(Cmd::ToString(Cmd::kQueryOptimizationAllRows), "allRows");
  EXPECT_EQ(Cmd::ToString(Cmd::kQueryOptimizationFirstRow), "firstRow");
  EXPECT_EQ(Cmd::ToString(static_cast<Cmd::EQueryOptimization>(99)), "unknown");
}

}  // namespace
