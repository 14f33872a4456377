#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

using Task = ZoAnalyzeRequestTaskHelper;

constexpr const char* kUnit = "ZoModelAnalysisRequestHelper";

TEST(ZoModelAnalysisRequestHelperTest, WritesEmptyAndUnknownTasks) {
  ZoModelAnalysisRequestHelper request;
  request.AddTask(Task::kTaskDoSpecifiedChecks);
  request.AddTask(static_cast<Task::ETask>(1));
  const ORVIDOM_Element made = Made(request);
  EXPECT_TRUE(xmltest::SameTree(made, R"(
    <analyzeModelRequest><tasks>
      <task name="doSpecifiedChecks"><objects/><checks/></task>
      <task name="unknown"><objects/><checks/></task>
    </tasks></analyzeModelRequest>)"));
  // The tasks are written with the request's own document.
  EXPECT_EQ(made.getFirstChild().getFirstChild().getOwnerDocument(), made.getOwnerDocument());
}

TEST(ZoModelAnalysisRequestHelperTest, SupportedChecksAreAppended) {
  std::vector<Task::ECheck> checks = {Task::kCheckJoinAtDifferentLevels,
                                      Task::kCheckCachingConflict};
  Task::GetSupportedChecks(checks);
  EXPECT_EQ(checks, (std::vector<Task::ECheck>{
                        Task::kCheckJoinAtDifferentLevels, Task::kCheckCachingConflict,
                        Task::kCheckUseOfCardinalityInFacts, Task::kCheckAmbiguousCardinality,
                        Task::kCheckAmbiguousRelationships, Task::kCheckCircularDependency,
                        Task::kCheckKeyIndexVsRelationships, Task::kCheckMinimizedSQLconflict,
                        Task::kCheckCalculatedMeasures, Task::kCheckCachingConflict}));
}

TEST(ZoModelAnalysisRequestHelperTest, ReadsAnIndentedRequestAfterItsOwnTasks) {
  // The second task lists its checks before its objects.
  const char* indented = R"(<analyzeModelRequest>
  <tasks>
    <task name="doSpecifiedChecks">
      <objects> <object id="o1"/> </objects>
      <checks> <check name="circularDependency"/> </checks>
    </task>
    <task name="doSpecifiedChecks">
      <checks> <check name="calculatedMeasures"/> </checks>
      <objects> <object id="o2"/> <object id="o3"/> </objects>
    </task>
  </tasks>
</analyzeModelRequest>)";
  ORVIDOM_Element received = xmltest::Parse(indented);
  ZoModelAnalysisRequestHelper request;
  request.AddTask(Task::kTaskDoSpecifiedChecks)->AddObject("mine");
  request.Take(received);
  // Tasks already held stay in front.
  ASSERT_EQ(request.GetTasks().size(), 3u);
  EXPECT_EQ(request.GetTasks()[0]->GetObjects(), std::vector<I18NString>{"mine"});
  EXPECT_EQ(request.GetTasks()[1]->GetChecks(),
            std::vector<Task::ECheck>{Task::kCheckCircularDependency});
  EXPECT_EQ(request.GetTasks()[1]->GetObjects(), std::vector<I18NString>{"o1"});
  EXPECT_EQ(request.GetTasks()[2]->GetChecks(),
            std::vector<Task::ECheck>{Task::kCheckCalculatedMeasures});
  EXPECT_EQ(request.GetTasks()[2]->GetObjects(), (std::vector<I18NString>{"o2", "o3"}));

  // Nothing, or a node that is not an element, reads as no task.
  for (ORVIDOM_Element odd :
       {ORVIDOM_Element(), ORVIDOM_Element(xmltest::Parse("<a>text</a>").getFirstChild())}) {
    ZoModelAnalysisRequestHelper empty;
    empty.Take(odd);
    EXPECT_TRUE(empty.GetTasks().empty());
  }
}

TEST(ZoModelAnalysisRequestHelperTest, MalformedRequestsFail) {
  const std::string good =
      "<task name=\"doSpecifiedChecks\"><objects><object id=\"o1\"/></objects></task>";
  struct Case {
    std::string xml;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"<task name=\"checkAll\"/>",
       "ORV_ASSERT(eTask != ZoAnalyzeRequestTaskHelper::kTaskUnknown);"},
      {"<task/>", "ORV_ASSERT(eTask != ZoAnalyzeRequestTaskHelper::kTaskUnknown);"},
      {"<task name=\"doSpecifiedChecks\"><checks><check name=\"bogus\"/></checks></task>",
       "ORV_ASSERT(eCheck != kCheckUnknown);"},
      {"<task name=\"doSpecifiedChecks\"><checks><check/></checks></task>",
       "ORV_ASSERT(eCheck != kCheckUnknown);"},
      {"<task name=\"doSpecifiedChecks\"><objects><object/></objects></task>",
       "ORV_ASSERT_NAMED(!idObj.empty(), \"Cannot be empty\");"},
      {"<task name=\"doSpecifiedChecks\"><objects><object id=\"\"/></objects></task>",
       "ORV_ASSERT_NAMED(!idObj.empty(), \"Cannot be empty\");"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xml);
    ORVIDOM_Element received = xmltest::Parse("<analyzeModelRequest><tasks>" + good + c.xml + good +
                                              "</tasks></analyzeModelRequest>");
    ZoModelAnalysisRequestHelper request;
    EXPECT_ORV_ASSERT(request.Take(received), c.text, kUnit);
    // The task read before the failing one stays; the failing one and those after it do not.
    ASSERT_EQ(request.GetTasks().size(), 1u);
    EXPECT_EQ(request.GetTasks()[0]->GetObjects(), std::vector<I18NString>{"o1"});
  }
}

}  // namespace
