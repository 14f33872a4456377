#include <gtest/gtest.h>

#include <string>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

using Request = ZoMaterializeRequestHelper;

// The six values of a target data source, "-" for each one not given.
std::string Describe(const Request::TargetDataSource& source) {
  std::string out;
  for (const I18NString* value : {source.type, source.connectionString, source.database,
                                  source.username, source.password, source.SSOTicket}) {
    out += (value ? value->str() : "-") + "|";
  }
  return out + (source.reserved ? "reserved" : "-");
}

// A received request, as the engine's peers write it.
constexpr const char* kReceivedCompact =
    "<materializeRequest><tasks><task>loadDataFromFile</task><task>bogus</task><task/>"
    "<task>loadDataFromFile</task></tasks>"
    "<targetDataSource><host>h</host><database>db</database><username/>"
    "<password><x/></password><SSOTicket>t</SSOTicket></targetDataSource>"
    "<parameters><param name=\"other\" value=\"o\"/><param name=\"tableName\" value=\"T1\"/>"
    "<param name=\"tableName\" value=\"T2\"/></parameters>"
    "<resultSet><rows/></resultSet></materializeRequest>";

// The same request with layout text between the elements.
constexpr const char* kReceivedIndented = R"(<materializeRequest>
  <tasks> <task>loadDataFromFile</task> <task>bogus</task> <task/> <task>loadDataFromFile</task>
  </tasks>
  <targetDataSource> <host>h</host> <database>db</database> <username/>
    <password><x/></password> <SSOTicket>t</SSOTicket> </targetDataSource>
  <parameters> <param name="other" value="o"/> <param name="tableName" value="T1"/>
    <param name="tableName" value="T2"/> </parameters>
  <resultSet>
    <rows/>
  </resultSet>
</materializeRequest>)";

TEST(ZoMaterializeRequestHelperTest, WritesOnlyTheSourceValuesGivenAndACopyOfTheResultSet) {
  Request request;
  EXPECT_TRUE(xmltest::SameTree(Made(request),
                                "<materializeRequest><tasks/><targetDataSource/>"
                                "</materializeRequest>"));
  EXPECT_TRUE(request.GetTasks().empty());
  EXPECT_TRUE(request.GetResultSet().isNull());
  EXPECT_EQ(Describe(request.GetTargetDataSourceInfo()), "-|-|-|-|-|-|-");

  const I18NString type("db2"), db("first"), pw("old"), newPw("new"), reserved("r");
  Request::TargetDataSource source;
  source.type = &type;
  source.database = &db;
  source.password = &pw;
  request.SetTargetDataSource(source);
  Request::TargetDataSource onlyPassword;
  onlyPassword.password = &newPw;
  onlyPassword.reserved = &reserved;
  request.SetTargetDataSource(onlyPassword);
  ORVIDOM_Element fragment = xmltest::Parse("<rows><row a=\"1\">x &amp; y</row></rows>");
  request.SetResultSet(fragment);

  // The helper keeps its own copies, and `reserved` is never handed out.
  EXPECT_EQ(Describe(request.GetTargetDataSourceInfo()), "db2|-|first|-|new|-|-");
  EXPECT_NE(request.GetTargetDataSourceInfo().password, &newPw);
  EXPECT_TRUE(xmltest::SameTree(Made(request), R"(
    <materializeRequest><tasks/>
      <targetDataSource type="db2"><database>first</database><password>new</password>
      </targetDataSource>
      <resultSet><rows><row a="1">x &amp; y</row></rows></resultSet>
    </materializeRequest>)"));
  // The fragment is copied into the request, not moved out of the caller's document.
  EXPECT_EQ(fragment.getParentNode(), fragment.getOwnerDocument());
}

TEST(ZoMaterializeRequestHelperTest, ReadsReceivedRequestsCompactAndIndented) {
  for (const char* xml : {kReceivedCompact, kReceivedIndented}) {
    SCOPED_TRACE(xml == kReceivedCompact ? "compact" : "indented");
    ORVIDOM_Element received = xmltest::Parse(xml);
    Request request;
    request.Take(received);

    // An unknown name reads as unknown; a "task" without content is passed over; repeats stay.
    EXPECT_EQ(request.GetTasks(),
              (std::vector<Request::ETasks>{Request::kTaskLoadDataFromFile, Request::kTaskUnknown,
                                            Request::kTaskLoadDataFromFile}));
    // The first "param" of the kind wins; an unknown name matches nothing asked for.
    I18NString value("untouched");
    EXPECT_EQ(request.GetParameter(Request::kParamTableName, value), 1);
    EXPECT_EQ(value, "T1");
    value = "untouched";
    EXPECT_EQ(request.GetParameter(Request::kParamObjectID, value), 0);
    EXPECT_EQ(value, "untouched");

    // An absent type reads as empty; children without text and unknown children are passed over.
    EXPECT_EQ(Describe(request.GetTargetDataSourceInfo()), "|-|db|-|-|t|-");

    // Only a fragment that is the first child of "resultSet" counts: layout text before it hides
    // it in the indented request.
    if (xml == kReceivedCompact) {
      EXPECT_TRUE(xmltest::SameTree(request.GetResultSet(), "<rows/>"));
    } else {
      EXPECT_TRUE(request.GetResultSet().isNull());
    }
  }
}

TEST(ZoMaterializeRequestHelperTest, OwnValuesHideTheTakenRequest) {
  ORVIDOM_Element received = xmltest::Parse(kReceivedCompact);
  const I18NString pw("mine");
  Request request;
  request.Take(received);
  request.AddTask(Request::kTaskMaterializeResultSet);
  request.AddParameter(Request::kParamDataFilePath, "/f");
  Request::TargetDataSource source;
  source.password = &pw;
  request.SetTargetDataSource(source);
  const ORVIDOM_Element fragment = xmltest::Parse("<own/>");
  request.SetResultSet(fragment);

  EXPECT_EQ(request.GetTasks(), std::vector<Request::ETasks>{Request::kTaskMaterializeResultSet});
  // Parameters come only from a taken request, and not once any was added.
  I18NString value;
  EXPECT_EQ(request.GetParameter(Request::kParamTableName, value), 0);
  EXPECT_EQ(request.GetParameter(Request::kParamDataFilePath, value), 0);
  EXPECT_EQ(Describe(request.GetTargetDataSourceInfo()), "-|-|-|-|mine|-|-");
  EXPECT_EQ(request.GetResultSet(), fragment);

  // Tasks read from a taken request count against later duplicates.
  Request again;
  again.Take(received);
  ASSERT_EQ(again.GetTasks().size(), 3u);
  again.AddTask(Request::kTaskLoadDataFromFile);
  again.AddTask(Request::kTaskMaterializeQuerySubject);
  EXPECT_EQ(again.GetTasks().size(), 4u);
  EXPECT_EQ(again.GetTasks().back(), Request::kTaskMaterializeQuerySubject);
}

TEST(ZoMaterializeResponseHelperTest, ReadsTheTextOfEachAnswer) {
  const char* indented = R"(<materializeResponse>
  <loadDataFromFile> <status/> <response>loaded 5 rows</response> </loadDataFromFile>
  <materializeQuerySubject> </materializeQuerySubject>
  <materializeResultSet> <response><x/>late text</response> </materializeResultSet>
</materializeResponse>)";
  ZoMaterializeResponseHelper response;
  xmltest::Take(response, indented);
  I18NString text("untouched");
  EXPECT_EQ(response.GetResponse(ZoMaterializeRequestHelper::kTaskLoadDataFromFile, text), 1);
  EXPECT_EQ(text, "loaded 5 rows");
  text = "untouched";
  // A task without "response", one whose "response" starts with an element, one not answered.
  EXPECT_EQ(response.GetResponse(ZoMaterializeRequestHelper::kTaskMaterializeQuerySubject, text),
            0);
  EXPECT_EQ(response.GetResponse(ZoMaterializeRequestHelper::kTaskMaterializeResultSet, text), 0);
  EXPECT_EQ(response.GetResponse(ZoMaterializeRequestHelper::kTaskGenLoadDataFromFile, text), 0);
  EXPECT_EQ(text, "untouched");

  // Only the first "response" of a task's answer counts.
  ORVIDOM_Element twoResponses = xmltest::Parse(
      "<materializeResponse><loadDataFromFile><response/><response>late</response>"
      "</loadDataFromFile></materializeResponse>");
  response.Take(twoResponses);
  EXPECT_EQ(response.GetResponse(ZoMaterializeRequestHelper::kTaskLoadDataFromFile, text), 0);
  EXPECT_EQ(text, "untouched");

  ZoMaterializeResponseHelper nothingTaken;
  EXPECT_EQ(nothingTaken.GetResponse(ZoMaterializeRequestHelper::kTaskLoadDataFromFile, text), 0);
  EXPECT_TRUE(xmltest::SameTree(Made(nothingTaken), "<materializeResponse/>"));
}

}  // namespace
