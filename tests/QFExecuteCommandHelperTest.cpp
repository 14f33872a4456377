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

TEST(QFExecuteCommandHelperTest, WritesTheWholeCommandForOneQuery) {
  const I18NLocale locale("de-de");
  QFExecuteCommandHelper command("/models/m1", &locale);
  QFQueryHelper* query = command.AddQuery("Q");
  query->AddDataItem("A", "[a]");
  query->AddDataItem("B", "[b]");
  ORVIDOM_Element made = Made(command);
  EXPECT_TRUE(xmltest::SameTree(
      made, Command("<execute><querySet expressionLocale='de-de'><modelPath>/models/m1</modelPath>"
                    "<queries><query name='Q'><source><model/></source>"
                    "<selection autoSummary='false'>"
                    "<dataItem name='A'><expression>[a]</expression></dataItem>"
                    "<dataItem name='B'><expression>[b]</expression></dataItem>"
                    "</selection>" +
                    kDefaultHints + "</query></queries>" +
                    ResultDefinitionsXml(
                        "Q", "<dataItemRef refDataItem='A'/><dataItemRef refDataItem='B'/>") +
                    "</querySet></execute>")));

  // The queries are written into the command's own document, which holds nothing else.
  EXPECT_TRUE(made.getParentNode().isNull());
  ORVIDOM_Element queryElem = ORVIDOM_Helper::findFirstElement(made, "query");
  EXPECT_EQ(queryElem.getOwnerDocument(), made.getOwnerDocument());
  EXPECT_FALSE(made.getOwnerDocument().getDocumentElement().hasChildNodes());
}

TEST(QFExecuteCommandHelperTest, ResultDefinitionsFollowTheFirstQuery) {
  // Two ordinary queries share one definition, named after the last.
  QFExecuteCommandHelper two("/m", nullptr);
  two.AddQuery("Q1")->AddDataItem("A", "1");
  QFQueryHelper* q2 = two.AddQuery("Q2");
  q2->AddDataItem("B", "2");
  q2->AddDataItem("C", "3");
  EXPECT_TRUE(xmltest::SameTree(
      ResultDefinitions(Made(two)),
      ResultDefinitionsXml("Q2",
                           "<dataItemRef refDataItem='A'/><dataItemRef refDataItem='B'/>"
                           "<dataItemRef refDataItem='C'/>")));

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
  EXPECT_TRUE(xmltest::SameTree(Made(command), Command("<execute><querySet><modelPath/>" + queries +
                                                       "</querySet></execute>")));

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

// A command with a plain, a join and a set query, written as text and parsed back.
TEST(QFExecuteCommandHelperTest, ThreeQueriesRoundTripThroughText) {
  using Cmd = QFExecuteCommandHelper;
  const I18NLocale locale("en-us");
  Cmd command("/content/package[@name='p']/model", &locale);
  ORVIDOM_Element connection = xmltest::Parse("<connection><dataSource value='ds'/></connection>");
  command.SetConnection(connection);

  QFQueryHelper* left = command.AddQuery("leftQuery");
  QFQueryDataItem* id = left->AddDataItem("id", "[gosales].[order].[id]");
  id->m_sort = QFQueryHelper::kSortAscending;
  left->AddDetailFilter("[id] > 10", QFQueryDetailFilter::kUseOptional);
  QFQueryHelper* join = command.AddJoinQuery("rightQuery", "leftQuery", "1:1", "leftQuery", "0:n",
                                             "[leftQuery].[id] = [leftQuery].[id]");
  QFQueryDataItem* total = join->AddDataItem("total", "total([amount])\n\t<x>");
  total->m_aggregate = QFQueryHelper::kAggregateTotal;
  total->m_tag = "money";
  QFQueryHelper* set = command.AddModelSetQuery("combined", {"id", "total"}, "union", "preserve");
  set->AddDataItem("id", "[combined].[id]");
  set->AddHint(QFQueryHelper::kQueryHintMeasureRefiner, "on");
  command.AddRequestHint(Cmd::kRequestHintExecutionOptimization,
                         Cmd::ToString(Cmd::kQueryOptimizationFirstRow));
  command.AddQueryFeedback(Cmd::kQueryFeedbackNativeCommandText);

  const std::string expected = Command(
      "<connection><dataSource value='ds'/></connection>"
      "<execute><querySet expressionLocale='en-us'>"
      "<modelPath>/content/package[@name='p']/model</modelPath><queries>"
      "<query name='leftQuery'><source><model/></source><selection autoSummary='false'>"
      "<dataItem name='id' sort='ascending'><expression>[gosales].[order].[id]</expression>"
      "</dataItem></selection>"
      "<detailFilter><filter use='optional'><filterExpression>[id] &gt; 10</filterExpression>"
      "</filter></detailFilter>" +
      kDefaultHints +
      "</query>"
      "<query name='rightQuery'><source><joinOperation><joinOperands>"
      "<joinOperand cardinality='1:1'><queryRef refQuery='leftQuery'/></joinOperand>"
      "<joinOperand cardinality='0:n'><queryRef refQuery='leftQuery'/></joinOperand>"
      "</joinOperands><joinFilter><filterExpression>[leftQuery].[id] = [leftQuery].[id]"
      "</filterExpression></joinFilter></joinOperation></source>"
      "<selection autoSummary='false'><dataItem name='total' aggregate='total'>"
      "<expression>total([amount])&#10;&#9;&lt;x&gt;</expression><tag>money</tag></dataItem>"
      "</selection>" +
      kDefaultHints +
      "</query>"
      "<query name='combined'><source>"
      "<queryOperation name='set' setOperation='union' duplicates='preserve'>"
      "<queryRefs><queryRef refQuery='leftQuery'/><queryRef refQuery='rightQuery'/></queryRefs>"
      "<projectionList><queryItem name='id'/><queryItem name='total'/></projectionList>"
      "</queryOperation></source>"
      "<selection autoSummary='false'><dataItem name='id'><expression>[combined].[id]"
      "</expression></dataItem></selection>"
      "<queryHints><avoidZeroDiv value='true'/><measureRefiner value='on'/></queryHints>"
      "</query></queries>" +
      ResultDefinitionsXml("combined",
                           "<dataItemRef refDataItem='id'/><dataItemRef refDataItem='total'/>"
                           "<dataItemRef refDataItem='id'/>") +
      "<requestHints><executionOptimization value='firstRow'/></requestHints></querySet>"
      "<queryFeedback><property name='nativeCommandText'/></queryFeedback></execute>");

  ORVIDOM_Element made = Made(command);
  EXPECT_TRUE(xmltest::SameTree(made, expected));
  EXPECT_TRUE(xmltest::SameTree(xmltest::RoundTrip(made), expected));
}

TEST(QFExecuteCommandHelperTest, EnumerationTextsAndNagLevels) {
  using Cmd = QFExecuteCommandHelper;
  const auto feedback = xmltest::Words(
      "unknown nativeCommandText TarvinCommandText connections columnList executionPlan "
      "tableType unknown");
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Cmd::ToString(static_cast<Cmd::EQueryFeedback>(i)), feedback[i]) << i;
  }
  const auto severity =
      xmltest::Words("unknown error warning keyTransformation information unknown");
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Cmd::ToString(static_cast<Cmd::EQOSSeverity>(i)), severity[i]) << i;
  }
  const auto optimization = xmltest::Words("unknown firstRow allRows incremental unknown");
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Cmd::ToString(static_cast<Cmd::EQueryOptimization>(i)), optimization[i]) << i;
  }
  // Nag levels 0 and 1 are errors; 4 and above are information.
  const Cmd::EQOSSeverity levels[] = {Cmd::kQOSSeverityError, Cmd::kQOSSeverityError,
                                      Cmd::kQOSSeverityWarning, Cmd::kQOSSeverityKeyTransformation,
                                      Cmd::kQOSSeverityInformation};
  for (int nag : {0, 1, 2, 3, 4, 100}) {
    EXPECT_EQ(Cmd::ConvertNagLevel2SeverityLevel(nag), levels[nag < 4 ? nag : 4]) << nag;
  }
}

}  // namespace
