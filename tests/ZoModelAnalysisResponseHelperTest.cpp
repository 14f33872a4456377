#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

using Object = ZoAnalyzeResponseIssueObjectHelper;

TEST(ZoModelAnalysisResponseHelperTest, WritesTasksIssuesAndObjects) {
  ZoModelAnalysisResponseHelper response;
  ZoAnalyzeResponseTaskHelper* task =
      response.AddTask(ZoAnalyzeRequestTaskHelper::kTaskDoSpecifiedChecks);
  ZoAnalyzeResponseIssueHelper* cardinality = task->AddIssue("ambiguousCardinality");
  Object* sales =
      cardinality->AddObject("Sales", "qs.7", "querySubject", "[m].[Sales]", "fact",
                             Object::kSubTypeMeasure, {"first message", "second <message>"});
  sales->AddRelatedObject("Orders", "qs.8", "querySubject", "[m].[Orders]");
  sales->AddRelatedObject("Items", "qs.9", "dimension", "[m].[Items]");
  cardinality->AddObject("Qty", "qi.1", "queryItem", "[m].[Sales].[Qty]", "", Object::kSubTypeNone,
                         {});
  cardinality->AddObject("Odd", "qi.2", "queryItem", "p", "r", static_cast<Object::ESubType>(5),
                         {});
  task->AddIssue("cachingConflict");

  ZoAnalyzeResponseTaskHelper* failed =
      response.AddTask(ZoAnalyzeRequestTaskHelper::kTaskDoSpecifiedChecks);
  failed->SetSuccess(0);
  response.AddTask(ZoAnalyzeRequestTaskHelper::kTaskUnknown)->SetSuccess(7);

  ASSERT_EQ(task->GetIssues().size(), 2u);
  EXPECT_EQ(task->GetIssues()[0], cardinality);
  ASSERT_EQ(cardinality->GetObjects().size(), 3u);
  EXPECT_EQ(cardinality->GetObjects()[0], sales);

  const ORVIDOM_Element made = Made(response);
  constexpr const char* kExpected = R"(
    <analyzeModelResponse>
      <tasks>
        <task name="doSpecifiedChecks" status="success">
          <issue name="ambiguousCardinality">
            <object name="Sales" id="qs.7" class="querySubject" path="[m].[Sales]"
                    refclass="fact" subtype="measure">
              <messages>
                <message>first message</message><message>second &lt;message&gt;</message>
              </messages>
              <relatedObjects>
                <relatedObject name="Orders" id="qs.8" class="querySubject" path="[m].[Orders]"/>
                <relatedObject name="Items" id="qs.9" class="dimension" path="[m].[Items]"/>
              </relatedObjects>
            </object>
            <object name="Qty" id="qi.1" class="queryItem" path="[m].[Sales].[Qty]"
                    refclass="" subtype="">
              <messages/><relatedObjects/>
            </object>
            <object name="Odd" id="qi.2" class="queryItem" path="p" refclass="r" subtype="">
              <messages/><relatedObjects/>
            </object>
          </issue>
          <issue name="cachingConflict"/>
        </task>
        <task name="doSpecifiedChecks" status="failure"/>
        <task name="unknown" status="success"/>
      </tasks>
    </analyzeModelResponse>)";
  EXPECT_TRUE(xmltest::SameTree(made, kExpected));
  // Written, parsed and compared again: the document survives the trip through text.
  EXPECT_TRUE(xmltest::SameTree(xmltest::RoundTrip(made), kExpected));
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
