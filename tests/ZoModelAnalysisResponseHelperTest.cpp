#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

using Object = ZoAnalyzeResponseIssueObjectHelper;

TEST(ZoModelAnalysisResponseHelperTest, WritesOddSubTypesAndStatuses) {
  ZoModelAnalysisResponseHelper response;
  ZoAnalyzeResponseTaskHelper* task =
      response.AddTask(ZoAnalyzeRequestTaskHelper::kTaskDoSpecifiedChecks);
  ZoAnalyzeResponseIssueHelper* issue = task->AddIssue("ambiguousCardinality");
  Object* odd =
      issue->AddObject("Odd", "qi.2", "queryItem", "p", "r", static_cast<Object::ESubType>(5), {});
  EXPECT_EQ(task->GetIssues(), std::vector<ZoAnalyzeResponseIssueHelper*>{issue});
  EXPECT_EQ(issue->GetObjects(), std::vector<Object*>{odd});
  response.AddTask(ZoAnalyzeRequestTaskHelper::kTaskUnknown)->SetSuccess(7);
  EXPECT_TRUE(xmltest::SameTree(Made(response), R"(
    <analyzeModelResponse><tasks>
      <task name="doSpecifiedChecks" status="success">
        <issue name="ambiguousCardinality">
          <object name="Odd" id="qi.2" class="queryItem" path="p" refclass="r" subtype="">
            <messages/><relatedObjects/>
          </object>
        </issue>
      </task>
      <task name="unknown" status="success"/>
    </tasks></analyzeModelResponse>)"));
}

TEST(ZoModelAnalysisResponseHelperTest, EmptyResponseAndEmptyMessage) {
  ZoModelAnalysisResponseHelper response;
  EXPECT_TRUE(
      xmltest::SameTree(Made(response), "<analyzeModelResponse><tasks/></analyzeModelResponse>"));

  // An empty message is still written as a text node.
  response.AddTask(ZoAnalyzeRequestTaskHelper::kTaskDoSpecifiedChecks)
      ->AddIssue("i")
      ->AddObject("n", "i", "c", "p", "r", Object::kSubTypeMeasure, {""});
  const ORVIDOM_Node message =
      ORVIDOM_Element(Made(response)).getElementsByTagName("message").item(0);
  ASSERT_EQ(message.getChildNodes().getLength(), 1u);
  EXPECT_EQ(message.getFirstChild().getNodeType(), ORVIDOM_Node::TEXT_NODE);
  EXPECT_EQ(message.getFirstChild().getNodeValue(), "");

  // An object built by the caller owns its related objects.
  Object object("n", "i", "c", "p", "r", Object::kSubTypeNone, {"m"});
  object.AddRelatedObject("a", "b", "c", "d");
}

}  // namespace
