#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

using Result = ZoUpdateResponseTaskHelper;
using Task = ZoUpdateRequestTaskHelper;
using Feedback = ZoActionFeedbackHelper;

namespace {

using xmltest::Made;

const char* const kUnit = "ZoUpdateObjectResponseHelper";

// "status|code:message" of a result, "status|no error" when it has no error.
std::string Describe(Result* result) {
  const Result::ErrorInfo* error = result->GetError();
  return ToString(result->GetStatus()).str() + "|" +
         (error ? error->code.str() + ":" + error->message.str() : "no error");
}

std::string Rendered(ORVIDOM_Element feedbackElement) {
  Feedback feedback;
  feedback.Take(feedbackElement);
  I18NString out;
  feedback.Render(out);
  return out.str();
}

}  // namespace

TEST(ZoUpdateObjectResponseHelperTest, WritesTheLastErrorAndNoEmptyFeedback) {
  ZoUpdateObjectResponseHelper response;
  Result* failed = response.AddTask(Task::kTaskAddObject);
  failed->SetError("E1", "first");
  failed->SetError("E42", "taken");
  Feedback empty;
  failed->SetFeedback(empty);
  EXPECT_TRUE(failed->GetFeedback().isNull());
  response.AddTask(static_cast<Task::ETask>(9))->SetStatus(static_cast<Result::EStatus>(7));
  response.AddTask(Task::kTaskRemoveObject)->SetError("E0", "");
  EXPECT_TRUE(xmltest::SameTree(Made(response), R"(
    <updateObjectResponse><tasks>
      <task name="addObject" status="success"><error code="E42">taken</error></task>
      <task name="unknown" status="unknown"/>
      <task name="removeObject" status="success"><error code="E0"/></task>
    </tasks></updateObjectResponse>)"));
}

TEST(ZoUpdateObjectResponseHelperTest, ReadsReceivedResults) {
  ORVIDOM_Element elem = xmltest::Parse(R"(<updateObjectResponse><tasks>
      <task name="addObject" status="success"><param name="object" value="[ns].[new]"/>
        <param name="property"/><feedback><entry class="info">created</entry></feedback></task>
      <task name="removeObject" status="failure"><error code="E7">in use</error></task>
      <task name="addObject" status="pending"><error code="E8"><detail/></error></task>
      <task name="removeObject"/>
    </tasks></updateObjectResponse>)");
  ZoUpdateObjectResponseHelper response(elem);
  ASSERT_EQ(response.GetTasks().size(), 4u);
  Result* added = response.GetTask(Task::kTaskAddObject);
  EXPECT_EQ(added, response.GetTasks()[0]);  // the first of its kind
  EXPECT_EQ(response.GetTask(Task::kTaskRemoveObject), response.GetTasks()[1]);
  EXPECT_EQ(response.GetTask(Task::kTaskAddProperty), nullptr);

  EXPECT_EQ(Describe(added), "success|no error");
  std::vector<I18NString> values;
  ASSERT_TRUE(added->GetParameter(Result::kParamObject, values));
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0], "[ns].[new]");
  ASSERT_TRUE(added->GetParameter(Result::kParamProperty, values));
  ASSERT_EQ(values.size(), 2u);  // appended
  EXPECT_EQ(values[1], "");
  EXPECT_EQ(Rendered(added->GetFeedback()), "\n--- created");

  Result* removed = response.GetTasks()[1];
  EXPECT_EQ(Describe(removed), "failure|E7:in use");
  EXPECT_FALSE(removed->GetParameter(Result::kParamObject, values));
  EXPECT_TRUE(removed->GetFeedback().isNull());

  // An unknown or missing status is read as unknown; an error without text has no message.
  EXPECT_EQ(Describe(response.GetTasks()[2]), "unknown|E8:");
  EXPECT_EQ(Describe(response.GetTasks()[3]), "unknown|no error");

  // Results taken after one added take the places left in its block.
  response.AddTask(Task::kTaskAddProperty);
  response.Take(elem);
  ASSERT_EQ(response.GetTasks().size(), 9u);
  EXPECT_EQ(Describe(response.GetTasks()[7]), "unknown|E8:");
  EXPECT_EQ(response.GetTasks()[4]->GetTask(), Task::kTaskAddProperty);

  // A task taken on its own finds its parameters below its element.
  ORVIDOM_Element firstTask = ORVIDOM_Helper::findFirstElement(elem, "task");
  ZoUpdateObjectResponseHelper owner;
  Result* alone = owner.AddTask(Task::kTaskAddObject);
  alone->Take(firstTask);
  ASSERT_TRUE(alone->GetParameter(Result::kParamObject, values));
  EXPECT_EQ(values.back(), "[ns].[new]");
  // Its feedback stays through a take of a task without one, or of none, until a task has one.
  ORVIDOM_Element secondTask = ORVIDOM_Helper::findNextSiblingElement(firstTask, "task");
  ORVIDOM_Element none;
  for (ORVIDOM_Element* next : {&secondTask, &none}) {
    alone->Take(*next);
    EXPECT_EQ(Rendered(alone->GetFeedback()), "\n--- created");
  }
  Feedback set;
  set.AddEntry(Feedback::kClassWarning, "set", "");
  alone->SetFeedback(set);
  alone->Take(secondTask);
  EXPECT_EQ(Rendered(alone->GetFeedback()), "\n--- set");
  alone->Take(firstTask);
  EXPECT_EQ(Rendered(alone->GetFeedback()), "\n--- created");
}

TEST(ZoUpdateObjectResponseHelperTest, ParametersReadStayWithTheResult) {
  ORVIDOM_Element elem = xmltest::Parse(R"(<updateObjectResponse><tasks>
      <task name="addObject"><param name="object" value="o1"/><param name="property" value="p1"/>
      </task><task name="addObject"><param name="object" value="o2"/></task>
      <task name="addObject"><param name="object" value="o3"/></task></tasks></updateObjectResponse>)");
  ZoUpdateObjectResponseHelper response(elem);
  Result* read = response.GetTasks()[0];
  Result* unread = response.GetTasks()[1];
  std::vector<I18NString> values;
  ASSERT_TRUE(read->GetParameter(Result::kParamObject, values));
  // Parameters added after a read join those read; added before one, they hide those received.
  read->AddParameter(Result::kParamProperty, "p2");
  unread->AddParameter(Result::kParamProperty, "p3");
  ASSERT_TRUE(read->GetParameter(Result::kParamProperty, values));
  EXPECT_EQ(values, (std::vector<I18NString>{"o1", "p1", "p2"}));
  EXPECT_FALSE(unread->GetParameter(Result::kParamObject, values));
  // A result made again writes the parameters read, and those of a result only read.
  response.GetTasks()[2]->GetParameter(Result::kParamProperty, values);
  EXPECT_TRUE(xmltest::SameTree(Made(response), R"(<updateObjectResponse><tasks>
      <task name="addObject" status="unknown"><param name="property" value="p1"/>
        <param name="property" value="p2"/><param name="object" value="o1"/></task>
      <task name="addObject" status="unknown"><param name="property" value="p3"/></task>
      <task name="addObject" status="unknown"><param name="object" value="o3"/></task>
    </tasks></updateObjectResponse>)"));
  // A result read keeps its parameters through a take of another task.
  ORVIDOM_Element other = ORVIDOM_Helper::findFirstElement(elem, "task");
  response.GetTasks()[2]->Take(other);
  values.clear();
  response.GetTasks()[2]->GetParameter(Result::kParamObject, values);
  EXPECT_EQ(values, std::vector<I18NString>{"o3"});
}

TEST(ZoUpdateObjectResponseHelperTest, RejectsMalformedResults) {
  ORVIDOM_Element unknownTask = xmltest::Parse(
      R"(<updateObjectResponse><tasks><task name="addObject"><error code="E1"/></task>)"
      R"(<task name="rename"/><task name="addObject"/></tasks></updateObjectResponse>)");
  ZoUpdateObjectResponseHelper response;
  EXPECT_ORV_ASSERT(response.Take(unknownTask),
                    "ORV_ASSERT(eTask != ZoUpdateRequestTaskHelper::kTaskUnknown);", kUnit);
  // The results before the unknown task stay whole, and later ones go after them.
  ASSERT_EQ(response.GetTasks().size(), 1u);
  EXPECT_EQ(Describe(response.GetTasks()[0]), "unknown|E1:");
  EXPECT_EQ(Describe(response.AddTask(Task::kTaskAddObject)), "success|no error");
  EXPECT_EQ(response.GetTasks().size(), 2u);

  ORVIDOM_Element unknownParam = xmltest::Parse(
      R"(<updateObjectResponse><task name="addObject" status="success"><param name="object")"
      R"( value="kept"/><param name="objects" value="x"/></task></updateObjectResponse>)");
  ZoUpdateObjectResponseHelper withUnknownParam(unknownParam);
  std::vector<I18NString> values;
  EXPECT_ORV_ASSERT(withUnknownParam.GetTasks()[0]->GetParameter(Result::kParamObject, values),
                    "ORV_ASSERT(eParam != kParamUnknown);", kUnit);
  // The failed read leaves the values given as they were, and keeps the parameters before.
  EXPECT_TRUE(values.empty());
  EXPECT_TRUE(withUnknownParam.GetTasks()[0]->GetParameter(Result::kParamObject, values));
  EXPECT_EQ(values, std::vector<I18NString>{"kept"});
}

TEST(ZoActionFeedbackHelperTest, WritesTheEntryTree) {
  Feedback feedback;
  EXPECT_TRUE(feedback.IsEmpty());
  ZoFeedbackEntry* error = feedback.AddEntry(Feedback::kClassError, "Cannot add", "E1");
  ZoFeedbackEntry* cause = feedback.AddEntry(error, Feedback::kClassInfo, "", "");
  feedback.AddEntry(cause, Feedback::kClassTrace, "deep", "t");
  feedback.AddEntry(error, Feedback::kClassWarning, "second", "");
  feedback.AddEntry(Feedback::kClassInfo, "top two", "");
  feedback.AddEntry(nullptr, static_cast<Feedback::EEntryClass>(5), "orphan", "");
  EXPECT_FALSE(feedback.IsEmpty());

  const ORVIDOM_Element made = Made(feedback);
  EXPECT_EQ(ORVIDOM_Writer::toString(made),
            R"(<feedback><entry class="error" name="E1">Cannot add<entry class="info">)"
            R"(<entry class="trace" name="t">deep</entry></entry><entry class="warning">second)"
            R"(</entry></entry><entry class="info">top two</entry><entry class="unknown">orphan)"
            R"(</entry></feedback>)");
  // An entry with empty text still holds a text node, ahead of its children.
  const ORVIDOM_Node empty = made.getFirstChild().getFirstChild().getNextSibling().getFirstChild();
  EXPECT_EQ(empty.getNodeType(), ORVIDOM_Node::TEXT_NODE);
  EXPECT_EQ(empty.getNodeValue(), "");

  Feedback taken;
  ORVIDOM_Element elem = made;
  taken.Take(elem);
  EXPECT_TRUE(taken.IsEmpty());
}

TEST(ZoActionFeedbackHelperTest, RendersReceivedFeedback) {
  EXPECT_EQ(
      Rendered(xmltest::Parse(
          R"(<feedback><entry class="error">E<entry class="info">C</entry></entry></feedback>)")),
      "\n*** Error:E\n\t--- C");
  // Only "entry" elements count; an entry whose first child is no text renders without text;
  // a class that only begins like "error" is no error.
  EXPECT_EQ(Rendered(xmltest::Parse(
                "<feedback><note>x</note><entry class=\"warning\"><entry class=\"Error\">a<x>"
                "<entry>hidden</entry></x><entry class=\"error\"/></entry>b</entry>"
                "<entry class=\"errors\">z</entry></feedback>")),
            "\n--- \n\t--- a\n\t\t*** Error:\n--- z");

  Feedback nothingTaken;
  nothingTaken.AddEntry(Feedback::kClassInfo, "not rendered", "");
  I18NString out("kept");
  nothingTaken.Render(out);
  EXPECT_EQ(out, "kept");
  Feedback feedback;
  xmltest::Take(feedback, R"(<feedback><entry class="info">i</entry></feedback>)");
  feedback.Render(out);
  feedback.Render(out);
  EXPECT_EQ(out, "kept\n--- i\n--- i");
}

TEST(ZoActionFeedbackHelperTest, FeedbackOfAHundredThousandLevelsIsCopiedWrittenAndRead) {
  constexpr unsigned long kDepth = 100000;
  ZoUpdateObjectResponseHelper response;
  {
    Feedback feedback;
    ZoFeedbackEntry* entry = feedback.AddEntry(Feedback::kClassError, "0", "");
    for (unsigned long d = 1; d < kDepth; ++d) {
      entry = feedback.AddEntry(entry, Feedback::kClassInfo, "", "");
    }
    response.AddTask(Task::kTaskAddObject)->SetFeedback(feedback);
  }  // the deep entry tree is destroyed here
  ORVIDOM_Element received = xmltest::RoundTrip(Made(response));
  ZoUpdateObjectResponseHelper taken(received);
  ASSERT_EQ(taken.GetTasks().size(), 1u);
  EXPECT_EQ(taken.GetTasks()[0]->GetFeedback().getElementsByTagName("entry").getLength(), kDepth);
}
