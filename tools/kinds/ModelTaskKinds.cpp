// Kinds of the model task documents: update-object, materialize and model analysis requests and
// responses, and the externalize and packages reports.
#include <memory>
#include <optional>
#include <string>

#include "Kinds.h"
#include "TextLayout.h"

namespace {

using RequestTask = ZoUpdateRequestTaskHelper;
using ResultTask = ZoUpdateResponseTaskHelper;
using AnalysisTask = ZoAnalyzeRequestTaskHelper;
using AnalysisObject = ZoAnalyzeResponseIssueObjectHelper;

// The enumeration value named by the required field `key`.
template <class E>
E requiredValue(JsonObject& in, const char* key, const NameTable<E>& table) {
  return lookUp(table, in.requiredString(key), in.pathOf(key));
}

// The enumeration values named by the strings of the array field `key`, in order.
template <class E>
std::vector<E> requiredValues(JsonObject& in, const char* key, const NameTable<E>& table) {
  const std::vector<I18NString> names = in.strings(key);
  std::vector<E> values;
  for (std::size_t i = 0; i < names.size(); ++i) {
    values.push_back(lookUp(table, names[i], in.pathOf(key) + "[" + std::to_string(i) + "]"));
  }
  return values;
}

I18NString optionalText(JsonObject& in, const char* key) { return in.string(key).value_or(""); }

const NameTable<RequestTask::ETask>& updateTaskNames() {
  static const auto table = namesOf<RequestTask::ETask>(
      RequestTask::kTaskAddProperty, RequestTask::kTaskRemoveObject,
      [](RequestTask::ETask t) -> const I18NString& { return RequestTask::ToString(t); });
  return table;
}

const NameTable<RequestTask::EParameter>& updateParameterNames() {
  static const auto table = namesOf<RequestTask::EParameter>(
      RequestTask::kParamPropertyType, RequestTask::kParamDimensionRef,
      [](RequestTask::EParameter p) -> const I18NString& { return RequestTask::ToString(p); });
  return table;
}

const NameTable<ResultTask::EStatus>& statusNames() {
  static const auto table = namesOf<ResultTask::EStatus>(
      ResultTask::kStatusSuccess, ResultTask::kStatusFailure,
      [](ResultTask::EStatus s) -> const I18NString& { return ToString(s); });
  return table;
}

const NameTable<ResultTask::EParameter>& resultParameterNames() {
  static const auto table = namesOf<ResultTask::EParameter>(
      ResultTask::kParamProperty, ResultTask::kParamObject,
      [](ResultTask::EParameter p) -> const I18NString& { return ToString(p); });
  return table;
}

const NameTable<ZoActionFeedbackHelper::EEntryClass>& entryClasses() {
  static const auto table = namesOf<ZoActionFeedbackHelper::EEntryClass>(
      ZoActionFeedbackHelper::kClassInfo, ZoActionFeedbackHelper::kClassTrace,
      &ZoActionFeedbackHelper::ToString);
  return table;
}

const NameTable<ZoMaterializeRequestHelper::ETasks>& materializeTaskNames() {
  static const auto table = namesOf<ZoMaterializeRequestHelper::ETasks>(
      ZoMaterializeRequestHelper::kTaskGenLoadDataFromFile,
      ZoMaterializeRequestHelper::kTaskMaterializeResultSet,
      ZoMaterializeRequestHelper::GetTaskName);
  return table;
}

const NameTable<ZoMaterializeRequestHelper::EParameters>& materializeParameterNames() {
  static const auto table = namesOf<ZoMaterializeRequestHelper::EParameters>(
      ZoMaterializeRequestHelper::kParamDataFilePath, ZoMaterializeRequestHelper::kParamObjectID,
      ZoMaterializeRequestHelper::GetParameterName);
  return table;
}

// Only one task kind has a name.
const NameTable<AnalysisTask::ETask>& analysisTaskNames() {
  static const auto table = namesOf<AnalysisTask::ETask>(
      AnalysisTask::kTaskDoSpecifiedChecks, AnalysisTask::kTaskDoSpecifiedChecks,
      [](AnalysisTask::ETask t) -> const I18NString& { return AnalysisTask::ToString(t); });
  return table;
}

const NameTable<AnalysisTask::ECheck>& checkNames() {
  static const auto table = namesOf<AnalysisTask::ECheck>(
      AnalysisTask::kCheckUseOfCardinalityInFacts, AnalysisTask::kCheckCachingConflict,
      [](AnalysisTask::ECheck c) -> const I18NString& { return AnalysisTask::ToString(c); });
  return table;
}

// The subtype written as an empty value has no name to give: leaving the field out gives it.
const NameTable<AnalysisObject::ESubType>& subTypeNames() {
  static const auto table = namesOf<AnalysisObject::ESubType>(
      AnalysisObject::kSubTypeMeasure, AnalysisObject::kSubTypeMeasure, &AnalysisObject::ToString);
  return table;
}

// An XML fragment given as text in the field `key`; null when the field is absent. The document
// that holds it lives as long as the returned handle.
ORVIDOM_Element fragment(JsonObject& in, const char* key) {
  const std::optional<I18NString> text = in.string(key);
  if (!text) return ORVIDOM_Element();
  try {
    return ORVIDOM_Parser::parseString(text->str()).getDocumentElement();
  } catch (const ORVIDOM_ParseError& e) {
    throw InputError(in.pathOf(key) + ": not an XML element: " + e.what());
  }
}

nlohmann::ordered_json fragmentJson(const ORVIDOM_Element& elem) {
  if (elem.isNull()) return nullptr;
  return ORVIDOM_Writer::toString(elem);
}

nlohmann::ordered_json textOrNull(const I18NString* s) { return s ? toJson(*s) : nullptr; }

// --- update-object-request ---

// A parameter value: a text with an optional locale, or an XML fragment given in "element".
void addRequestParameter(RequestTask& task, JsonObject& in) {
  const RequestTask::EParameter kind = requiredValue(in, "name", updateParameterNames());
  ORVIDOM_Element element = fragment(in, "element");
  if (element.isNull()) {
    task.AddParameter(kind, in.requiredString("value"), optionalText(in, "locale"));
  } else {
    task.AddParameter(kind, element);
  }
  in.finish();
}

ORVIDOM_Element makeUpdateObjectRequest(JsonObject& in) {
  ZoUpdateObjectRequestHelper helper;
  for (JsonObject& t : in.objects("tasks")) {
    RequestTask* task = helper.AddTask(requiredValue(t, "task", updateTaskNames()));
    for (JsonObject& p : t.objects("parameters")) addRequestParameter(*task, p);
    t.finish();
  }
  in.finish();
  return makeWith(helper);
}

nlohmann::ordered_json paramValueJson(RequestTask::EParameter kind,
                                      const RequestTask::ParamValue& v) {
  nlohmann::ordered_json out{{"name", toJson(RequestTask::ToString(kind))}};
  if (v.element.isNull()) {
    out["locale"] = toJson(v.locale);
    out["value"] = toJson(v.value);
  } else {
    out["element"] = fragmentJson(v.element);
  }
  return out;
}

// Every parameter of every task, in the order the parameter kinds are numbered.
nlohmann::ordered_json readUpdateObjectRequest(ORVIDOM_Element& elem) {
  ZoUpdateObjectRequestHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json tasks = nlohmann::ordered_json::array();
  for (RequestTask* task : helper.GetTasks()) {
    nlohmann::ordered_json parameters = nlohmann::ordered_json::array();
    for (const auto& [name, kind] : updateParameterNames()) {
      std::vector<RequestTask::ParamValue*> values;
      if (!task->GetParameter(kind, values)) continue;
      for (const RequestTask::ParamValue* v : values)
        parameters.push_back(paramValueJson(kind, *v));
    }
    tasks.push_back(
        {{"task", toJson(RequestTask::ToString(task->GetTask()))}, {"parameters", parameters}});
  }
  return {{"tasks", tasks}};
}

// --- update-object-response ---

// The entries of `in`'s "entries" array, each with its own nested "entries", under `parent`
// (top level when null).
void addFeedbackEntries(ZoActionFeedbackHelper& feedback, ZoFeedbackEntry* parent, JsonObject& in) {
  for (JsonObject& e : in.objects("entries")) {
    const ZoActionFeedbackHelper::EEntryClass entryClass =
        requiredValue(e, "entryClass", entryClasses());
    ZoFeedbackEntry* entry =
        feedback.AddEntry(parent, entryClass, optionalText(e, "text"), optionalText(e, "name"));
    addFeedbackEntries(feedback, entry, e);
    e.finish();
  }
}

void fillResult(ResultTask& result, JsonObject& in) {
  if (in.string("status")) result.SetStatus(requiredValue(in, "status", statusNames()));
  for (JsonObject& p : in.objects("parameters")) {
    result.AddParameter(requiredValue(p, "name", resultParameterNames()),
                        p.requiredString("value"));
    p.finish();
  }
  if (std::optional<JsonObject> error = in.object("error")) {
    result.SetError(error->requiredString("code"), optionalText(*error, "message"));
    error->finish();
  }
  if (std::optional<JsonObject> f = in.object("feedback")) {
    ZoActionFeedbackHelper feedback;
    addFeedbackEntries(feedback, nullptr, *f);
    f->finish();
    result.SetFeedback(feedback);
  }
  in.finish();
}

ORVIDOM_Element makeUpdateObjectResponse(JsonObject& in) {
  ZoUpdateObjectResponseHelper helper;
  for (JsonObject& t : in.objects("tasks")) {
    fillResult(*helper.AddTask(requiredValue(t, "task", updateTaskNames())), t);
  }
  in.finish();
  return makeWith(helper);
}

// What the result's getters give, its feedback aside.
nlohmann::ordered_json resultJson(ResultTask& result) {
  nlohmann::ordered_json parameters = nlohmann::ordered_json::array();
  for (const auto& [name, kind] : resultParameterNames()) {
    std::vector<I18NString> values;
    if (!result.GetParameter(kind, values)) continue;
    for (const I18NString& v : values) parameters.push_back({{"name", name}, {"value", toJson(v)}});
  }
  nlohmann::ordered_json error = nullptr;
  if (const ResultTask::ErrorInfo* e = result.GetError()) {
    error = {{"code", toJson(e->code)}, {"message", toJson(e->message)}};
  }
  return {{"task", toJson(RequestTask::ToString(result.GetTask()))},
          {"status", toJson(ToString(result.GetStatus()))},
          {"parameters", parameters},
          {"error", error}};
}

// The result's feedback as the feedback helper renders it; nothing when it has none.
std::optional<std::string> renderedFeedback(const ResultTask& result) {
  ORVIDOM_Element element = result.GetFeedback();
  if (element.isNull()) return std::nullopt;
  ZoActionFeedbackHelper feedback;
  feedback.Take(element);
  I18NString out;
  feedback.Render(out);
  return out.str();
}

nlohmann::ordered_json readUpdateObjectResponse(ORVIDOM_Element& elem) {
  ZoUpdateObjectResponseHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json tasks = nlohmann::ordered_json::array();
  for (ResultTask* result : helper.GetTasks()) {
    nlohmann::ordered_json task = resultJson(*result);
    const std::optional<std::string> feedback = renderedFeedback(*result);
    task["feedback"] = feedback ? nlohmann::ordered_json(*feedback) : nullptr;
    tasks.push_back(task);
  }
  return {{"tasks", tasks}};
}

// Each result as "name: value" lines, its feedback as rendered, one line per entry and one tab
// deeper per level of nesting.
void readUpdateObjectResponseText(ORVIDOM_Element& elem, std::ostream& out) {
  ZoUpdateObjectResponseHelper helper;
  helper.Take(elem);
  const char* separator = "";
  for (ResultTask* result : helper.GetTasks()) {
    out << separator << layOutJson(resultJson(*result));
    if (const std::optional<std::string> feedback = renderedFeedback(*result)) {
      out << "feedback:";
      for (const char c : *feedback) out << c << (c == '\n' ? "  " : "");
      out << "\n";
    }
    separator = "\n";
  }
}

// --- materialize-request, materialize-response ---

const I18NString* pointerTo(const std::optional<I18NString>& value) {
  return value ? &*value : nullptr;
}

// The values given replace the helper's; those left out keep theirs.
void setTargetDataSource(ZoMaterializeRequestHelper& helper, JsonObject& in) {
  const std::optional<I18NString> type = in.string("type"), database = in.string("database"),
                                  connectionString = in.string("connectionString"),
                                  username = in.string("username"),
                                  password = in.string("password"),
                                  ssoTicket = in.string("ssoTicket");
  in.finish();
  ZoMaterializeRequestHelper::TargetDataSource source;
  source.type = pointerTo(type);
  source.database = pointerTo(database);
  source.connectionString = pointerTo(connectionString);
  source.username = pointerTo(username);
  source.password = pointerTo(password);
  source.SSOTicket = pointerTo(ssoTicket);
  helper.SetTargetDataSource(source);
}

ORVIDOM_Element makeMaterializeRequest(JsonObject& in) {
  ZoMaterializeRequestHelper helper;
  for (ZoMaterializeRequestHelper::ETasks t : requiredValues(in, "tasks", materializeTaskNames())) {
    helper.AddTask(t);
  }
  if (std::optional<JsonObject> source = in.object("targetDataSource")) {
    setTargetDataSource(helper, *source);
  }
  for (JsonObject& p : in.objects("parameters")) {
    helper.AddParameter(requiredValue(p, "name", materializeParameterNames()),
                        p.requiredString("value"));
    p.finish();
  }
  const ORVIDOM_Element resultSet = fragment(in, "resultSet");
  if (!resultSet.isNull()) helper.SetResultSet(resultSet);
  in.finish();
  return makeWith(helper);
}

// The reserved value has no meaning and is always null, so it is not reported.
nlohmann::ordered_json targetDataSourceJson(const ZoMaterializeRequestHelper::TargetDataSource& s) {
  return {{"type", textOrNull(s.type)},
          {"database", textOrNull(s.database)},
          {"connectionString", textOrNull(s.connectionString)},
          {"username", textOrNull(s.username)},
          {"password", textOrNull(s.password)},
          {"ssoTicket", textOrNull(s.SSOTicket)}};
}

nlohmann::ordered_json readMaterializeRequest(ORVIDOM_Element& elem) {
  ZoMaterializeRequestHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json tasks = nlohmann::ordered_json::array();
  for (ZoMaterializeRequestHelper::ETasks t : helper.GetTasks()) {
    tasks.push_back(toJson(ZoMaterializeRequestHelper::GetTaskName(t)));
  }
  nlohmann::ordered_json parameters = nlohmann::ordered_json::array();
  for (const auto& [name, kind] : materializeParameterNames()) {
    I18NString value;
    if (helper.GetParameter(kind, value))
      parameters.push_back({{"name", name}, {"value", toJson(value)}});
  }
  return {{"tasks", tasks},
          {"targetDataSource", targetDataSourceJson(helper.GetTargetDataSourceInfo())},
          {"parameters", parameters},
          {"resultSet", fragmentJson(helper.GetResultSet())}};
}

// The helper takes no description: its document is the empty answer element.
ORVIDOM_Element makeMaterializeResponse(JsonObject& in) {
  in.finish();
  return makeWith(ZoMaterializeResponseHelper());
}

// The answer text of every task; null for a task without one.
nlohmann::ordered_json readMaterializeResponse(ORVIDOM_Element& elem) {
  ZoMaterializeResponseHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json responses = nlohmann::ordered_json::object();
  for (const auto& [name, task] : materializeTaskNames()) {
    I18NString response;
    responses[name] = helper.GetResponse(task, response) ? toJson(response) : nullptr;
  }
  return {{"responses", responses}};
}

// --- analyze-model-request, analyze-model-response ---

ORVIDOM_Element makeAnalyzeModelRequest(JsonObject& in) {
  ZoModelAnalysisRequestHelper helper;
  for (JsonObject& t : in.objects("tasks")) {
    AnalysisTask* task = helper.AddTask(requiredValue(t, "task", analysisTaskNames()));
    for (AnalysisTask::ECheck c : requiredValues(t, "checks", checkNames())) task->AddCheck(c);
    for (const I18NString& id : t.strings("objects")) task->AddObject(id);
    t.finish();
  }
  in.finish();
  return makeWith(helper);
}

nlohmann::ordered_json readAnalyzeModelRequest(ORVIDOM_Element& elem) {
  ZoModelAnalysisRequestHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json tasks = nlohmann::ordered_json::array();
  for (const AnalysisTask* task : helper.GetTasks()) {
    nlohmann::ordered_json checks = nlohmann::ordered_json::array();
    for (AnalysisTask::ECheck c : task->GetChecks())
      checks.push_back(toJson(AnalysisTask::ToString(c)));
    tasks.push_back({{"task", toJson(AnalysisTask::ToString(task->GetTask()))},
                     {"checks", checks},
                     {"objects", toJsonArray(task->GetObjects())}});
  }
  return {{"tasks", tasks}};
}

void addIssueObject(ZoAnalyzeResponseIssueHelper& issue, JsonObject& in) {
  const AnalysisObject::ESubType subType = in.string("subType")
                                               ? requiredValue(in, "subType", subTypeNames())
                                               : AnalysisObject::kSubTypeNone;
  AnalysisObject* object = issue.AddObject(
      optionalText(in, "name"), optionalText(in, "id"), optionalText(in, "objectClass"),
      optionalText(in, "path"), optionalText(in, "refClass"), subType, in.strings("messages"));
  for (JsonObject& r : in.objects("relatedObjects")) {
    object->AddRelatedObject(optionalText(r, "name"), optionalText(r, "id"),
                             optionalText(r, "objectClass"), optionalText(r, "path"));
    r.finish();
  }
  in.finish();
}

ORVIDOM_Element makeAnalyzeModelResponse(JsonObject& in) {
  ZoModelAnalysisResponseHelper helper;
  for (JsonObject& t : in.objects("tasks")) {
    ZoAnalyzeResponseTaskHelper* result =
        helper.AddTask(requiredValue(t, "task", analysisTaskNames()));
    if (std::optional<bool> success = t.boolean("success")) result->SetSuccess(*success ? 1 : 0);
    for (JsonObject& i : t.objects("issues")) {
      ZoAnalyzeResponseIssueHelper* issue = result->AddIssue(i.requiredString("name"));
      for (JsonObject& o : i.objects("objects")) addIssueObject(*issue, o);
      i.finish();
    }
    t.finish();
  }
  in.finish();
  return makeWith(helper);
}

// --- externalize-report, packages-report ---

ORVIDOM_Element makeExternalizeReport(JsonObject& in) {
  ZoExternalizeReportHelper helper;
  for (JsonObject& e : in.objects("entries")) {
    auto entry = std::make_unique<ZoExternalizeReportHelper::Entry>(
        optionalText(e, "objectID"), optionalText(e, "method"), optionalText(e, "path"),
        optionalText(e, "error"));
    e.finish();
    helper.AddEntry(entry.release());
  }
  in.finish();
  return makeWith(helper);
}

nlohmann::ordered_json readExternalizeReport(ORVIDOM_Element& elem) {
  ZoExternalizeReportHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  for (const ZoExternalizeReportHelper::Entry* e : helper.GetEntries()) {
    entries.push_back({{"objectID", toJson(e->objectID)},
                       {"method", toJson(e->method)},
                       {"path", toJson(e->path)},
                       {"error", toJson(e->error)}});
  }
  return {{"entries", entries}};
}

ORVIDOM_Element makePackagesReport(JsonObject& in) {
  ZoPackagesReportHelper helper;
  for (JsonObject& p : in.objects("packages")) {
    helper.AddPackage(optionalText(p, "defaultName"), optionalText(p, "cmSearchPath"));
    p.finish();
  }
  in.finish();
  return makeWith(helper);
}

nlohmann::ordered_json readPackagesReport(ORVIDOM_Element& elem) {
  ZoPackagesReportHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json packages = nlohmann::ordered_json::array();
  for (const ZoPackagesReportHelper::Package* p : helper.GetPackages()) {
    packages.push_back(
        {{"defaultName", toJson(p->defaultName)}, {"cmSearchPath", toJson(p->cmSearchPath)}});
  }
  return {{"packages", packages}};
}

// ---- fields

std::vector<Field> updateRequestFields() {
  const auto parameter =
      shape({choice("name", namesIn(updateParameterNames())).require(),
             xml("element").notWith({"value", "locale"}), text("value").require(), text("locale")});
  return {listOf("tasks", shape({choice("task", namesIn(updateTaskNames())).require(),
                                 listOf("parameters", parameter).comesBack(RoundTrip::Merged)}))};
}

// A feedback entry, with entries of its own below it.
std::shared_ptr<const Shape> feedbackEntryShape() {
  static const std::shared_ptr<const Shape> entry =
      nestingShape("feedbackEntry", [](std::shared_ptr<const Shape> self) {
        return std::vector<Field>{choice("entryClass", namesIn(entryClasses())).require(),
                                  text("text"), text("name"), listOf("entries", self)};
      });
  return entry;
}

std::vector<Field> updateResponseFields() {
  const auto parameter =
      shape({choice("name", namesIn(resultParameterNames())).require(), text("value").require()});
  return {listOf("tasks",
                 shape({choice("task", namesIn(updateTaskNames())).require(),
                        choice("status", namesIn(statusNames())),
                        listOf("parameters", parameter).comesBack(RoundTrip::Merged),
                        object("error", shape({text("code").require(), text("message")})),
                        // `read` gives the feedback as the feedback helper renders it, as text.
                        object("feedback", shape({listOf("entries", feedbackEntryShape())}))
                            .comesBack(RoundTrip::Dropped)}))};
}

std::vector<Field> materializeRequestFields() {
  return {
      list("tasks", choice("", namesIn(materializeTaskNames()))).comesBack(RoundTrip::Unique),
      object("targetDataSource", shape({text("type"), text("database"), text("connectionString"),
                                        text("username"), text("password"), text("ssoTicket")})),
      listOf("parameters", shape({choice("name", namesIn(materializeParameterNames())).require(),
                                  text("value").require()}))
          .comesBack(RoundTrip::Merged),
      xml("resultSet")};
}

std::vector<Field> analyzeResponseFields() {
  const auto related = shape({text("name"), text("id"), text("objectClass"), text("path")});
  const auto object = shape({text("name"), text("id"), text("objectClass"), text("path"),
                             text("refClass"), choice("subType", namesIn(subTypeNames())),
                             list("messages", text("")), listOf("relatedObjects", related)});
  const auto issue = shape({text("name").require(), listOf("objects", object)});
  return {listOf("tasks", shape({choice("task", namesIn(analysisTaskNames())).require(),
                                 boolean("success"), listOf("issues", issue)}))};
}

}  // namespace

void addModelTaskKinds(std::vector<Kind>& kinds) {
  kinds.push_back({"update-object-request",
                   {"updateObjectRequest"},
                   "ZoUpdateObjectRequestHelper",
                   "Asks the modelling engine to change a model through an ordered list of tasks.",
                   updateRequestFields(),
                   makeUpdateObjectRequest,
                   readUpdateObjectRequest});
  kinds.push_back({"update-object-response",
                   {"updateObjectResponse"},
                   "ZoUpdateObjectResponseHelper",
                   "The modelling engine's result of each task of an update-object request.",
                   updateResponseFields(),
                   makeUpdateObjectResponse,
                   readUpdateObjectResponse,
                   readUpdateObjectResponseText});
  kinds.push_back({"materialize-request",
                   {"materializeRequest"},
                   "ZoMaterializeRequestHelper",
                   "Asks the modelling engine to load data into, or materialise objects in, a "
                   "target data source.",
                   materializeRequestFields(),
                   makeMaterializeRequest,
                   readMaterializeRequest});
  // The helper writes only the empty answer element; the read example is a received answer.
  kinds.push_back({"materialize-response",
                   {"materializeResponse"},
                   "ZoMaterializeResponseHelper",
                   "The modelling engine's answer text for each task of a materialize request.",
                   {mapOf("responses", text("")).keys(namesIn(materializeTaskNames())).readsOnly()},
                   makeMaterializeResponse,
                   readMaterializeResponse});
  kinds.push_back({"analyze-model-request",
                   {"analyzeModelRequest"},
                   "ZoModelAnalysisRequestHelper",
                   "Asks the modelling engine to check model objects for known modelling problems.",
                   {listOf("tasks", shape({choice("task", namesIn(analysisTaskNames())).require(),
                                           list("checks", choice("", namesIn(checkNames()))),
                                           list("objects", text(""))}))},
                   makeAnalyzeModelRequest,
                   readAnalyzeModelRequest});
  kinds.push_back({"analyze-model-response",
                   {"analyzeModelResponse"},
                   "ZoModelAnalysisResponseHelper",
                   "The issues a model analysis found, with the objects involved in each.",
                   analyzeResponseFields(),
                   makeAnalyzeModelResponse});
  kinds.push_back({"externalize-report",
                   {"externalizeReport"},
                   "ZoExternalizeReportHelper",
                   "The file each model object was externalised to, and how.",
                   // A received entry's error is not read, and its path is read from its
                   // "file" child, which a made entry does not have.
                   {listOf("entries", shape({text("objectID"), text("method"),
                                             text("path").comesBack(RoundTrip::Dropped),
                                             text("error").comesBack(RoundTrip::Dropped)}))},
                   makeExternalizeReport,
                   readExternalizeReport});
  kinds.push_back({"packages-report",
                   {"packages"},
                   "ZoPackagesReportHelper",
                   "A list of packages with their default names and search paths.",
                   {listOf("packages", shape({text("defaultName"), text("cmSearchPath")}))},
                   makePackagesReport,
                   readPackagesReport});
}
