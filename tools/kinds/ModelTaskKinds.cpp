// Kinds of the model task documents: update-object, materialize and model analysis requests and
// responses, and the externalize and packages reports.
#include <optional>

#include "Kinds.h"
#include "PulledPart.h"
#include "TextLayout.h"

namespace {

using Request = ZoUpdateObjectRequestHelper;
using RequestTask = ZoUpdateRequestTaskHelper;
using Response = ZoUpdateObjectResponseHelper;
using ResultTask = ZoUpdateResponseTaskHelper;
using Feedback = ZoActionFeedbackHelper;
using Materialize = ZoMaterializeRequestHelper;
using AnalysisRequest = ZoModelAnalysisRequestHelper;
using AnalysisTask = ZoAnalyzeRequestTaskHelper;
using AnalysisResponse = ZoModelAnalysisResponseHelper;
using AnalysisObject = ZoAnalyzeResponseIssueObjectHelper;
using Externalize = ZoExternalizeReportHelper;
using Packages = ZoPackagesReportHelper;

// The values of the names of `names` the getter `has` reports, each with what it gives, in the
// order of the names: the helpers answer per value, not with a list.
template <class E, class Value, class Has>
std::vector<std::pair<E, Value>> perName(const Names& names, Has has) {
  std::vector<std::pair<E, Value>> out;
  for (const int v : names.values) {
    std::vector<Value> values;
    has(static_cast<E>(v), values);
    for (Value& value : values) out.emplace_back(static_cast<E>(v), std::move(value));
  }
  return out;
}

Names updateTasks() {
  return namesOf<RequestTask::ETask>(
      RequestTask::kTaskAddProperty, RequestTask::kTaskRemoveObject,
      [](RequestTask::ETask t) -> const I18NString& { return RequestTask::ToString(t); });
}

// --- update-object-request ---

Names requestParameters() {
  return namesOf<RequestTask::EParameter>(
      RequestTask::kParamPropertyType, RequestTask::kParamDimensionRef,
      [](RequestTask::EParameter p) -> const I18NString& { return RequestTask::ToString(p); });
}

// A parameter value is a text with an optional locale, or an XML fragment; read gives each value
// with the fields of its form only, so the parameters are read by hand, kind by kind.
Field requestParameterList() {
  const auto add = [](RequestTask& task, RequestTask::EParameter kind, ORVIDOM_Element element,
                      const I18NString& value, const I18NString& locale) {
    element.isNull() ? task.AddParameter(kind, value, locale) : task.AddParameter(kind, element);
  };
  const auto read = [](RequestTask& task) {
    Ordered out = Ordered::array();
    for (const int kind : requestParameters().values) {
      const auto e = static_cast<RequestTask::EParameter>(kind);
      std::vector<RequestTask::ParamValue*> values;
      task.GetParameter(e, values);
      for (const RequestTask::ParamValue* v : values) {
        Ordered p{{"name", RequestTask::ToString(e).str()}};
        if (v->element.isNull()) {
          p["locale"] = v->locale.str();
          p["value"] = v->value.str();
        } else {
          p["element"] = ORVIDOM_Writer::toString(v->element);
        }
        out.push_back(p);
      }
    }
    return out;
  };
  return listOf("parameters", shape({choice("name", requestParameters()).require().arg(),
                                     xml("element").notWith({"value", "locale"}).arg(),
                                     text("value").require().arg(), text("locale").arg()}))
      .mergedBy({"name", false, true})
      .on(add, read);
}

std::vector<Field> updateRequestFields() {
  return {listOf("tasks", shape({choice("task", updateTasks()).require().arg(&RequestTask::GetTask),
                                 requestParameterList()}))
              .on(&Request::AddTask, &Request::GetTasks)};
}

// --- update-object-response ---

// Where a feedback entry goes: the helper and the entry it nests in (null at the top).
struct FeedbackNode {
  Feedback* feedback;
  ZoFeedbackEntry* parent;
};

// The "entries" of a feedback or of a feedback entry, each added below the node that holds them.
Field feedbackEntries(std::shared_ptr<const Shape> entry) {
  const auto add = [](FeedbackNode& node, Feedback::EEntryClass entryClass, const I18NString& text,
                      const I18NString& name) {
    return FeedbackNode{node.feedback,
                        node.feedback->AddEntry(node.parent, entryClass, text, name)};
  };
  return listOf("entries", std::move(entry)).on(add);
}

// A feedback entry, with entries of its own below it.
std::shared_ptr<const Shape> feedbackEntryShape() {
  static const std::shared_ptr<const Shape> entry =
      nestingShape("feedbackEntry", [](std::shared_ptr<const Shape> self) {
        return std::vector<Field>{
            choice("entryClass",
                   namesOf<Feedback::EEntryClass>(Feedback::kClassInfo, Feedback::kClassTrace,
                                                  &Feedback::ToString))
                .require()
                .arg(),
            text("text").arg(), text("name").arg(), feedbackEntries(self)};
      });
  return entry;
}

// The result's feedback as the feedback helper renders it; nothing when it has none.
std::optional<std::string> renderedFeedback(const ResultTask& result) {
  ORVIDOM_Element element = result.GetFeedback();
  if (element.isNull()) return std::nullopt;
  Feedback feedback;
  feedback.Take(element);
  I18NString out;
  feedback.Render(out);
  return out.str();
}

// The result takes its feedback as a whole helper, filled first; `read` gives the feedback as
// the feedback helper renders it, as text.
Field feedbackField() {
  static const std::shared_ptr<const Shape> entries =
      shape({feedbackEntries(feedbackEntryShape())});
  const auto set = [](ResultTask& result, const Json& given, Fill& fill) {
    Feedback feedback;
    const FeedbackNode top{&feedback, nullptr};
    setFields(entries->fields, binding::targetOf(top), given, fill);
    result.SetFeedback(feedback);
  };
  return object("feedback", entries)
      .comesBack(RoundTrip::Dropped)
      .on(set, [](const ResultTask& result) {
        const std::optional<std::string> text = renderedFeedback(result);
        return text ? Ordered(*text) : Ordered();
      });
}

Names resultParameters() {
  return namesOf<ResultTask::EParameter>(
      ResultTask::kParamProperty, ResultTask::kParamObject,
      [](ResultTask::EParameter p) -> const I18NString& { return ToString(p); });
}

std::vector<Field> resultFields() {
  using Parameter = std::pair<ResultTask::EParameter, I18NString>;
  using Error = ResultTask::ErrorInfo;
  const auto parameters = [](ResultTask& result) {
    return perName<ResultTask::EParameter, I18NString>(
        resultParameters(), [&](ResultTask::EParameter p, std::vector<I18NString>& values) {
          result.GetParameter(p, values);
        });
  };
  return {
      choice("task", updateTasks()).require().arg(&ResultTask::GetTask),
      choice("status", namesOf<ResultTask::EStatus>(
                           ResultTask::kStatusSuccess, ResultTask::kStatusFailure,
                           [](ResultTask::EStatus s) -> const I18NString& { return ToString(s); }))
          .on(&ResultTask::SetStatus, &ResultTask::GetStatus),
      listOf("parameters",
             shape({choice("name", resultParameters()).require().arg(&Parameter::first),
                    text("value").require().arg(&Parameter::second)}))
          .mergedBy({"name", false, true})
          .on(&ResultTask::AddParameter, parameters),
      object("error", shape({text("code").require().arg(&Error::code),
                             text("message").arg(&Error::message)}))
          .on(&ResultTask::SetError, &ResultTask::GetError),
      feedbackField()};
}

// Each result as "name: value" lines, its feedback as rendered, one line per entry and one tab
// deeper per level of nesting.
void writeResultText(ResultTask& result, const std::vector<Field>& fields, std::ostream& out) {
  Ordered task = readFields(fields, binding::targetOf(result));
  task.erase("feedback");
  out << layOutJson(task);
  if (const std::optional<std::string> feedback = renderedFeedback(result)) {
    out << "feedback:";
    for (const char c : *feedback) out << c << (c == '\n' ? "  " : "");
    out << "\n";
  }
}

// Each task read from a tree of its own, made when the reader reaches it, so that memory stays
// that of one task: the response's reader finds in it every task it finds there in the whole
// document, the task itself and any nested in it.
void streamUpdateObjectResponse(ORVIDOM_PullReader& reader,
                                const std::function<ORVIDOM_PullReader&()>&, bool text,
                                std::ostream& out) {
  static const std::vector<Field> fields = resultFields();
  JsonObjectWriter writer(out);
  if (!text) writer.beginArray("tasks");
  const char* separator = "";
  const std::string rootName = "updateObjectResponse";
  // Up to the document's end, or the end of the input pushed so far.
  for (auto event = reader.next(); event < ORVIDOM_PullReader::kEndDocument;
       event = reader.next()) {
    if (event != ORVIDOM_PullReader::kStartElement || reader.getName() != "task") continue;
    ORVIDOM_Element part = pulledPart(reader, rootName);
    Response response;
    response.Take(part);
    for (ResultTask* result : response.GetTasks()) {
      if (!text) {
        writer.item(readFields(fields, binding::targetOf(*result)));
        continue;
      }
      out << separator;
      writeResultText(*result, fields, out);
      separator = "\n";
    }
  }
  if (text) return;
  writer.endArray();
  writer.end();
}

// --- materialize-request, materialize-response ---

Names materializeTasks() {
  return namesOf<Materialize::ETasks>(Materialize::kTaskGenLoadDataFromFile,
                                      Materialize::kTaskMaterializeResultSet,
                                      &Materialize::GetTaskName);
}

// The values given replace the helper's; those left out keep theirs. The reserved value has no
// meaning and is always null, so it is neither taken nor reported.
Field targetDataSource() {
  using Source = Materialize::TargetDataSource;
  const auto set = [](Materialize& helper, const I18NString* type, const I18NString* database,
                      const I18NString* connectionString, const I18NString* username,
                      const I18NString* password, const I18NString* ssoTicket) {
    Source source;
    source.type = type, source.database = database, source.connectionString = connectionString;
    source.username = username, source.password = password, source.SSOTicket = ssoTicket;
    helper.SetTargetDataSource(source);
  };
  return object("targetDataSource",
                shape({text("type").arg(&Source::type), text("database").arg(&Source::database),
                       text("connectionString").arg(&Source::connectionString),
                       text("username").arg(&Source::username),
                       text("password").arg(&Source::password),
                       text("ssoTicket").arg(&Source::SSOTicket)}))
      .on(set, &Materialize::GetTargetDataSourceInfo);
}

std::vector<Field> materializeRequestFields() {
  using Parameter = std::pair<Materialize::EParameters, I18NString>;
  const Names parameterNames = namesOf<Materialize::EParameters>(
      Materialize::kParamDataFilePath, Materialize::kParamObjectID, &Materialize::GetParameterName);
  const auto parameters = [parameterNames](const Materialize& helper) {
    return perName<Materialize::EParameters, I18NString>(
        parameterNames, [&](Materialize::EParameters p, std::vector<I18NString>& values) {
          if (helper.GetParameter(p, values.emplace_back()) == 0) values.clear();
        });
  };
  return {list("tasks", choice("", materializeTasks()))
              .comesBack(RoundTrip::Unique)
              .on(&Materialize::AddTask, &Materialize::GetTasks),
          targetDataSource(),
          listOf("parameters",
                 shape({choice("name", parameterNames).require().arg(&Parameter::first),
                        text("value").require().combines(Combine::Last).arg(&Parameter::second)}))
              .mergedBy({"name", true, true})
              .on(&Materialize::AddParameter, parameters),
          xml("resultSet").on(&Materialize::SetResultSet, &Materialize::GetResultSet)};
}

// The answer text of every task; null for a task without one.
Ordered materializeResponses(const ZoMaterializeResponseHelper& helper) {
  Ordered responses = Ordered::object();
  const Names tasks = materializeTasks();
  for (std::size_t i = 0; i < tasks.values.size(); ++i) {
    I18NString response;
    const auto task = static_cast<Materialize::ETasks>(tasks.values[i]);
    responses[tasks.names[i]] =
        helper.GetResponse(task, response) ? Ordered(response.str()) : Ordered();
  }
  return responses;
}

// --- analyze-model-request, analyze-model-response ---

// Only one task kind has a name.
Names analysisTasks() {
  return namesOf<AnalysisTask::ETask>(
      AnalysisTask::kTaskDoSpecifiedChecks, AnalysisTask::kTaskDoSpecifiedChecks,
      [](AnalysisTask::ETask t) -> const I18NString& { return AnalysisTask::ToString(t); });
}

std::vector<Field> analyzeRequestFields() {
  const Names checks = namesOf<AnalysisTask::ECheck>(
      AnalysisTask::kCheckUseOfCardinalityInFacts, AnalysisTask::kCheckCachingConflict,
      [](AnalysisTask::ECheck c) -> const I18NString& { return AnalysisTask::ToString(c); });
  return {
      listOf("tasks", shape({choice("task", analysisTasks()).require().arg(&AnalysisTask::GetTask),
                             list("checks", choice("", checks))
                                 .on(&AnalysisTask::AddCheck, &AnalysisTask::GetChecks),
                             list("objects", text(""))
                                 .on(&AnalysisTask::AddObject, &AnalysisTask::GetObjects)}))
          .on(&AnalysisRequest::AddTask, &AnalysisRequest::GetTasks)};
}

// A task's success is written as its status, so it is not read back from the made response.
std::vector<Field> analyzeResponseFields() {
  const auto related =
      shape({text("name").at("@name").arg(), text("id").at("@id").arg(),
             text("objectClass").at("@class").arg(), text("path").at("@path").arg()});
  // The subtype written as an empty value has no name to give: leaving the field out gives it.
  const Names subTypes = namesOf<AnalysisObject::ESubType>(
      AnalysisObject::kSubTypeMeasure, AnalysisObject::kSubTypeMeasure, &AnalysisObject::ToString);
  const auto object = shape({text("name").at("@name").arg(), text("id").at("@id").arg(),
                             text("objectClass").at("@class").arg(), text("path").at("@path").arg(),
                             text("refClass").at("@refclass").arg(),
                             choice("subType", subTypes).at("@subtype").arg(),
                             list("messages", text("")).at("messages/message").arg(),
                             listOf("relatedObjects", related)
                                 .at("relatedObjects/relatedObject")
                                 .on(&AnalysisObject::AddRelatedObject)});
  const auto issue =
      shape({text("name").require().at("@name").arg(),
             listOf("objects", object).at("object").on(&ZoAnalyzeResponseIssueHelper::AddObject)});
  return {
      listOf(
          "tasks",
          shape({choice("task", analysisTasks()).require().at("@name").arg(),
                 boolean("success").on(&ZoAnalyzeResponseTaskHelper::SetSuccess),
                 listOf("issues", issue).at("issue").on(&ZoAnalyzeResponseTaskHelper::AddIssue)}))
          .at("tasks/task")
          .on(&AnalysisResponse::AddTask)};
}

// --- externalize-report, packages-report ---

std::vector<Field> externalizeFields() {
  using Entry = Externalize::Entry;
  const auto add = [](Externalize& helper, const I18NString& objectID, const I18NString& method,
                      const I18NString& path, const I18NString& error) {
    helper.AddEntry(std::make_unique<Entry>(objectID, method, path, error).release());
  };
  // A received entry's error is not read, and its path is read from its "file" child, which a
  // made entry does not have.
  return {listOf("entries",
                 shape({text("objectID").arg(&Entry::objectID), text("method").arg(&Entry::method),
                        text("path").comesBack(RoundTrip::Dropped).arg(&Entry::path),
                        text("error").comesBack(RoundTrip::Dropped).arg(&Entry::error)}))
              .on(add, &Externalize::GetEntries)};
}

std::vector<Field> packagesFields() {
  using Package = Packages::Package;
  return {listOf("packages", shape({text("defaultName").arg(&Package::defaultName),
                                    text("cmSearchPath").arg(&Package::cmSearchPath)}))
              .on(&Packages::AddPackage, &Packages::GetPackages)};
}

}  // namespace

void addModelTaskKinds(std::vector<Kind>& kinds) {
  kinds.push_back(bound<Request>(
      {"update-object-request",
       {"updateObjectRequest"},
       "ZoUpdateObjectRequestHelper",
       "Asks the modelling engine to change a model through an ordered list of tasks.",
       updateRequestFields()}));
  Kind response = bound<Response>(
      {"update-object-response",
       {"updateObjectResponse"},
       "ZoUpdateObjectResponseHelper",
       "The modelling engine's result of each task of an update-object request.",
       {listOf("tasks", shape(resultFields())).on(&Response::AddTask, &Response::GetTasks)}});
  response.stream = streamUpdateObjectResponse;
  kinds.push_back(response);
  kinds.push_back(bound<Materialize>({"materialize-request",
                                      {"materializeRequest"},
                                      "ZoMaterializeRequestHelper",
                                      "Asks the modelling engine to load data into, or materialise "
                                      "objects in, a target data source.",
                                      materializeRequestFields()}));
  Kind materializeResponse = bound<ZoMaterializeResponseHelper>(
      {"materialize-response",
       {"materializeResponse"},
       "ZoMaterializeResponseHelper",
       "The modelling engine's answer text for each task of a materialize request.",
       {mapOf("responses", text(""))
            .keys(materializeTasks())
            .readsOnly()
            .on(nullptr, materializeResponses)}});
  // The helper takes no description: its document is the empty answer element.
  materializeResponse.make = [](JsonObject&) { return makeWith(ZoMaterializeResponseHelper()); };
  kinds.push_back(materializeResponse);
  kinds.push_back(bound<AnalysisRequest>(
      {"analyze-model-request",
       {"analyzeModelRequest"},
       "ZoModelAnalysisRequestHelper",
       "Asks the modelling engine to check model objects for known modelling problems.",
       analyzeRequestFields()}));
  kinds.push_back(bound<AnalysisResponse>(
      {"analyze-model-response",
       {"analyzeModelResponse"},
       "ZoModelAnalysisResponseHelper",
       "The issues a model analysis found, with the objects involved in each.",
       analyzeResponseFields()}));
  kinds.push_back(bound<Externalize>({"externalize-report",
                                      {"externalizeReport"},
                                      "ZoExternalizeReportHelper",
                                      "The file each model object was externalised to, and how.",
                                      externalizeFields()}));
  kinds.push_back(bound<Packages>({"packages-report",
                                   {"packages"},
                                   "ZoPackagesReportHelper",
                                   "A list of packages with their default names and search paths.",
                                   packagesFields()}));
}
