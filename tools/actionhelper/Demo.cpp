#include "Demo.h"

#include <Korvath_ActionHelper.h>

#include "DemoResponse.h"
#include "TextLayout.h"

namespace {

using Task = ZoUpdateRequestTaskHelper;
using ResponseTask = ZoUpdateResponseTaskHelper;

void step(std::ostream& out, const char* title) { out << "\n== " << title << "\n"; }

// Prints the element indented, and parses its compact text back as the receiver would: on the
// wire no whitespace is added, since a fragment value must be its parameter's first child.
ORVIDOM_Element sendAndReceive(const ORVIDOM_Element& made, std::ostream& out) {
  out << ORVIDOM_Writer::toString(made, {true, false}) << "\n";
  return ORVIDOM_Parser::parseString(ORVIDOM_Writer::toString(made)).getDocumentElement();
}

ORVIDOM_Element makeUpdateObjectRequest() {
  ZoUpdateObjectRequestHelper request;
  Task* add = request.AddTask(Task::kTaskAddObject);
  add->AddParameter(Task::kParamObjectName, "Sales & Returns", "en-us");
  add->AddParameter(Task::kParamObjectType, "querySubject", "");
  Task* update = request.AddTask(Task::kTaskUpdateProperty);
  update->AddParameter(Task::kParamObjectID, "[Sales].[Returns]", "");
  update->AddParameter(Task::kParamPropertyType, "definition", "");
  ORVIDOM_Element fragment =
      ORVIDOM_Parser::parseString("<sql>select * from returns where qty &lt; 0</sql>")
          .getDocumentElement();
  update->AddParameter(Task::kParamPropertyValue, fragment);
  ORVIDOM_Element elem;
  request.Make(elem);
  return elem;
}

void readUpdateObjectRequest(ORVIDOM_Element& received, std::ostream& out) {
  ZoUpdateObjectRequestHelper request(received);
  for (Task* task : request.GetTasks()) {
    out << "task " << Task::ToString(task->GetTask()) << "\n";
    for (int p = Task::kParamPropertyType; p <= Task::kParamDimensionRef; ++p) {
      std::vector<Task::ParamValue*> values;
      if (!task->GetParameter(static_cast<Task::EParameter>(p), values)) continue;
      for (const Task::ParamValue* v : values) {
        out << "  " << Task::ToString(static_cast<Task::EParameter>(p)) << " = "
            << (v->element.isNull() ? v->value.str() : ORVIDOM_Writer::toString(v->element))
            << (v->locale.empty() ? "" : " (" + v->locale.str() + ")") << "\n";
      }
    }
  }
}

ORVIDOM_Element makeUpdateObjectResponse() {
  ZoUpdateObjectResponseHelper response;
  ResponseTask* added = response.AddTask(Task::kTaskAddObject);
  added->SetStatus(ResponseTask::kStatusSuccess);
  added->AddParameter(ResponseTask::kParamObject, "[Sales].[Returns]");
  ZoActionFeedbackHelper feedback;
  ZoFeedbackEntry* created =
      feedback.AddEntry(ZoActionFeedbackHelper::kClassInfo, "Query subject created", "create");
  feedback.AddEntry(created, ZoActionFeedbackHelper::kClassWarning, "Name made unique", "name");
  feedback.AddEntry(ZoActionFeedbackHelper::kClassTrace, "2 ms", "timing");
  added->SetFeedback(feedback);
  ResponseTask* updated = response.AddTask(Task::kTaskUpdateProperty);
  updated->SetStatus(ResponseTask::kStatusFailure);
  updated->SetError("QE-1021", "The expression refers to an unknown column");
  ORVIDOM_Element elem;
  response.Make(elem);
  return elem;
}

void readUpdateObjectResponse(ORVIDOM_Element& received, std::ostream& out) {
  ZoUpdateObjectResponseHelper response(received);
  for (ResponseTask* task : response.GetTasks()) {
    out << "task " << Task::ToString(task->GetTask()) << ": " << ToString(task->GetStatus())
        << "\n";
    if (ResponseTask::ErrorInfo* error = task->GetError()) {
      out << "  error " << error->code << ": " << error->message << "\n";
    }
    ORVIDOM_Element feedbackElement = task->GetFeedback();
    if (feedbackElement.isNull()) continue;
    ZoActionFeedbackHelper feedback;
    feedback.Take(feedbackElement);
    I18NString rendered;
    feedback.Render(rendered);
    out << "  feedback:\n" << rendered << "\n";
  }
}

ORVIDOM_Element makeExecuteCommand() {
  const I18NLocale locale("en-us");
  QFExecuteCommandHelper command("/content/package[@name='Sales']/model", &locale);
  // A set query always combines the queries named "leftQuery" and "rightQuery".
  QFQueryHelper* orders = command.AddQuery("leftQuery");
  orders->AddDataItem("Order", "[Sales].[Orders].[Order number]");
  orders->AddDataItem("Revenue", "[Sales].[Orders].[Revenue]");
  orders->AddDetailFilter("[Sales].[Orders].[Year] = 2026", QFQueryDetailFilter::kUseRequired);
  QFQueryHelper* returns = command.AddQuery("rightQuery");
  returns->AddDataItem("Order", "[Sales].[Returns].[Order number]");
  returns->AddDataItem("Quantity", "[Sales].[Returns].[Quantity]");
  QFQueryHelper* joined =
      command.AddJoinQuery("OrdersWithReturns", "leftQuery", "1..1", "rightQuery", "0..n",
                           "[leftQuery].[Order] = [rightQuery].[Order]");
  joined->AddDataItem("Order", "[leftQuery].[Order]");
  joined->AddDataItem("Quantity", "[rightQuery].[Quantity]");
  QFQueryHelper* both = command.AddModelSetQuery("AllOrders", {"Order"}, "union", "remove");
  both->AddDataItem("Order", "[leftQuery].[Order]");
  command.AddQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackNativeCommandText);
  ORVIDOM_Element elem;
  command.Make(elem);
  return elem;
}

void readQueryResponse(std::ostream& out) {
  ORVIDOM_Element received = ORVIDOM_Parser::parseString(kDemoResponse).getDocumentElement();
  QFResponseDomHelper response;
  response.Take(received);
  I18NString nativeText;
  if (response.GetQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackNativeCommandText,
                                nativeText)) {
    out << "native command text: " << nativeText << "\n";
  }
  std::vector<std::map<QFResponseDomHelper::EColumnProp, I18NString>> columns;
  response.GetColumnList(columns);
  std::vector<std::vector<std::string>> rows(1);
  for (auto& column : columns) rows[0].push_back(column[QFResponseDomHelper::kColumnName].str());
  for (ORVIDOM_Element row = response.GetFirstResultSetRow(); !row.isNull();
       row = response.GetNextResultSetRow(row)) {
    std::vector<I18NString> values;
    response.GetResultSetRowValues(row, values);
    rows.emplace_back();
    for (const I18NString& v : values) rows.back().push_back(v.str());
  }
  out << layOutTable(rows);
}

}  // namespace

void runDemo(std::ostream& out) {
  step(out, "update-object request: make and write");
  ORVIDOM_Element request = sendAndReceive(makeUpdateObjectRequest(), out);
  step(out, "update-object request: parsed back and read");
  readUpdateObjectRequest(request, out);

  step(out, "update-object response: make and write");
  ORVIDOM_Element response = sendAndReceive(makeUpdateObjectResponse(), out);
  step(out, "update-object response: parsed back, read, feedback rendered");
  readUpdateObjectResponse(response, out);

  step(out, "execute command with a plain, a join and a set query: make and write");
  sendAndReceive(makeExecuteCommand(), out);

  step(out, "query response: read examples/kinds/query-response.in.xml");
  readQueryResponse(out);
}
