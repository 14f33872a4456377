// Kinds of the query framework commands and of the service's answers to them.
#include <memory>
#include <ostream>

#include "Kinds.h"
#include "TextLayout.h"

namespace {

using Feedback = QFExecuteCommandHelper::EQueryFeedback;

// The names and values of an enumeration numbered from 1 to `last`, named by the helper's own
// conversion.
template <class E>
NameTable<E> tableUpTo(int last, const I18NString& (*toString)(E)) {
  return namesOf<E>(1, last, toString);
}

// The enumeration value named by the field `key`, if present.
template <class E>
std::optional<E> enumField(JsonObject& in, const char* key, int last,
                           const I18NString& (*toString)(E)) {
  auto name = in.string(key);
  if (!name) return std::nullopt;
  return lookUp(tableUpTo(last, toString), *name, in.pathOf(key));
}

// The enumeration value named by the field `key`, which must be present.
template <class E>
E requiredEnumField(JsonObject& in, const char* key, int last, const I18NString& (*toString)(E)) {
  return lookUp(tableUpTo(last, toString), in.requiredString(key), in.pathOf(key));
}

Feedback feedbackNamed(const I18NString& name, const std::string& path) {
  return lookUp(tableUpTo<Feedback>(QFExecuteCommandHelper::kQueryFeedbackTableType,
                                    &QFExecuteCommandHelper::ToString),
                name, path);
}

// An element the caller hands to a helper, given as the XML text of the field `key`. The
// element's handle keeps its parsed document alive.
ORVIDOM_Element parseElement(JsonObject& in, const char* key, const I18NString& text) {
  try {
    return ORVIDOM_Parser::parseString(text.str()).getDocumentElement();
  } catch (const ORVIDOM_ParseError& e) {
    throw InputError(in.pathOf(key) + ": line " + std::to_string(e.getLine()) + ", column " +
                     std::to_string(e.getColumn()) + " of the XML: " + e.what());
  }
}

ORVIDOM_Element requiredElement(JsonObject& in, const char* key) {
  return parseElement(in, key, in.requiredString(key));
}

// The envelope fields every query framework command shares.
void fillCommand(QFCommandHelper& helper, JsonObject& in) {
  if (auto v = in.string("commandID")) helper.SetProperty(QFCommandHelper::kPropertyCommandID, *v);
  if (auto v = in.string("requestID")) helper.SetProperty(QFCommandHelper::kPropertyRequestID, *v);
  if (auto text = in.string("connection")) {
    ORVIDOM_Element connection = parseElement(in, "connection", *text);
    helper.SetConnection(connection);
  }
}

// The locale named by the optional field `key`; null when absent.
std::unique_ptr<I18NLocale> localeField(JsonObject& in, const char* key) {
  auto name = in.string(key);
  return name ? std::make_unique<I18NLocale>(*name) : nullptr;
}

// The fields of a command addressing a model of the modelling engine. The helper does not own
// its query locale, so the caller keeps the one returned until after Make.
std::unique_ptr<I18NLocale> fillZoCommand(QFZoCommandHelper& helper, JsonObject& in) {
  fillCommand(helper, in);
  std::unique_ptr<I18NLocale> queryLocale = localeField(in, "queryLocale");
  helper.SetQueryLocale(queryLocale.get());
  const std::string path = in.pathOf("queryFeedback");
  for (const I18NString& f : in.strings("queryFeedback")) {
    helper.AddQueryFeedback(feedbackNamed(f, path));
  }
  return queryLocale;
}

ORVIDOM_Element makeCloseConnections(JsonObject& in) {
  QFCloseConnectionsCommandHelper helper;
  fillCommand(helper, in);
  in.finish();
  return makeWith(helper);
}

ORVIDOM_Element makeCancelQuery(JsonObject& in) {
  XelCancelQueryHelper helper;
  fillCommand(helper, in);
  in.finish();
  return makeWith(helper);
}

// ---- execute command

void fillDataItem(QFQueryHelper& query, JsonObject& in) {
  using Q = QFQueryHelper;
  QFQueryDataItem* item =
      query.AddDataItem(in.requiredString("name"), in.requiredString("expression"));
  if (auto v = in.string("tag")) item->m_tag = *v;
  if (auto v = enumField<Q::ESort>(in, "sort", Q::kSortDescending, &Q::ToString)) {
    item->m_sort = *v;
  }
  if (auto v = enumField<Q::EAggregate>(in, "aggregate", Q::kAggregateCalculated, &Q::ToString)) {
    item->m_aggregate = *v;
  }
  if (auto v =
          enumField<Q::EAggregate>(in, "rollupAggregate", Q::kAggregateCalculated, &Q::ToString)) {
    item->m_rollupAggregate = *v;
  }
  in.finish();
}

void fillDetailFilter(QFQueryHelper& query, JsonObject& in) {
  using F = QFQueryDetailFilter;
  query.AddDetailFilter(in.requiredString("expression"),
                        requiredEnumField<F::EUse>(in, "use", F::kUseProhibited, &F::ToString));
  in.finish();
}

// The query definition of the kind the description names: a join, a set or a plain query.
QFQueryHelper* addQuery(QFExecuteCommandHelper& command, JsonObject& in) {
  const I18NString name = in.requiredString("name");
  auto join = in.object("join");
  auto set = in.object("set");
  if (join && set) throw InputError(in.pathOf("join") + ": a query is a join or a set, not both");
  if (join) {
    QFQueryHelper* query = command.AddJoinQuery(
        name, join->requiredString("leftQuery"), join->requiredString("leftCardinality"),
        join->requiredString("rightQuery"), join->requiredString("rightCardinality"),
        join->requiredString("filterExpression"));
    join->finish();
    return query;
  }
  if (set) {
    QFQueryHelper* query = command.AddModelSetQuery(name, set->strings("projectionItems"),
                                                    set->requiredString("setOperation"),
                                                    set->requiredString("duplicates"));
    set->finish();
    return query;
  }
  QFQueryHelper* query = command.AddQuery(name);
  if (auto v = in.string("queryRef")) query->SetQueryRef(*v);
  return query;
}

void fillQuery(QFExecuteCommandHelper& command, JsonObject& in) {
  QFQueryHelper* query = addQuery(command, in);
  if (auto v = in.boolean("autoSummary")) query->SetAutoSummary(*v ? 1 : 0);
  for (JsonObject& item : in.objects("dataItems")) fillDataItem(*query, item);
  for (JsonObject& filter : in.objects("detailFilters")) fillDetailFilter(*query, filter);
  const auto hintNames = tableUpTo<QFQueryHelper::EQueryHint>(
      QFQueryHelper::kQueryHintMaxRowsRetrieved, &QFQueryHelper::ToString);
  const std::string hintsPath = in.pathOf("hints");
  for (const auto& [hint, value] : in.stringMap("hints")) {
    query->AddHint(lookUp(hintNames, hint, hintsPath), value);
  }
  in.finish();
}

// The request hints by the names of the elements they are written as.
NameTable<QFExecuteCommandHelper::ERequestHint> requestHintNames() {
  return tableUpTo<QFExecuteCommandHelper::ERequestHint>(
      QFExecuteCommandHelper::kRequestHintQueryProcessing, &QFExecuteCommandHelper::ToString);
}

ORVIDOM_Element makeExecuteCommand(JsonObject& in) {
  const std::unique_ptr<I18NLocale> locale = localeField(in, "expressionLocale");
  QFExecuteCommandHelper helper(in.requiredString("modelPath"), locale.get());
  fillCommand(helper, in);
  for (JsonObject& query : in.objects("queries")) fillQuery(helper, query);
  for (const auto& [name, value] : in.stringMap("executeProperties")) {
    helper.AddExecuteProperty(name, value);
  }
  const std::string hintsPath = in.pathOf("requestHints");
  for (const auto& [hint, value] : in.stringMap("requestHints")) {
    helper.AddRequestHint(lookUp(requestHintNames(), hint, hintsPath), value);
  }
  const std::string feedbackPath = in.pathOf("queryFeedback");
  for (const I18NString& f : in.strings("queryFeedback")) {
    helper.AddQueryFeedback(feedbackNamed(f, feedbackPath));
  }
  if (auto v = enumField<QFExecuteCommandHelper::EQOSSeverity>(
          in, "qosSeverityLevel", QFExecuteCommandHelper::kQOSSeverityInformation,
          &QFExecuteCommandHelper::ToString)) {
    helper.SetQOSSeverityLevel(*v);
  }
  in.finish();
  return makeWith(helper);
}

// ---- validate command

// The element whose first child's content is to be validated, such as a made execute command.
ORVIDOM_Element makeValidateCommand(JsonObject& in) {
  QFValidateCommandHelper helper;
  fillCommand(helper, in);
  ORVIDOM_Element elem = requiredElement(in, "element");
  in.finish();
  helper.Make(elem);
  return elem;
}

// The severities a message may set, by their names.
NameTable<ORVSeverity> severityNames() {
  return namesOf<ORVSeverity>(kORVSeverityFatal, kORVSeverityInformation,
                              &QFValidateCommandHelper::ToString);
}

// What `read` calls the level no message set (the helper's 5).
const char* const kNoSeverity = "none";

// The severity name of the messages; "none" when no message set a level.
std::string severityName(ORVSeverity severity) {
  if (severity < kORVSeverityFatal || severity > kORVSeverityInformation) return kNoSeverity;
  return QFValidateCommandHelper::ToString(severity).str();
}

nlohmann::ordered_json readValidateResponse(ORVIDOM_Element& elem) {
  QFValidateCommandHelper helper;
  ORVSeverity severity = kORVSeverityFatal;
  I18NString messages;
  helper.CheckReponse(elem, severity, messages);
  return {{"severity", severityName(severity)}, {"messages", toJson(messages)}};
}

// ---- update command

ORVIDOM_Element makeUpdateCommand(JsonObject& in) {
  QFUpdateCommandHelper helper(in.requiredString("modelPath"));
  fillCommand(helper, in);
  for (JsonObject& subject : in.objects("updateSubjects")) {
    helper.AddUpdateSubject(subject.requiredString("name"), subject.requiredString("value"));
    subject.finish();
  }
  in.finish();
  return makeWith(helper);
}

// ---- engine model commands

ORVIDOM_Element makeExpandParameter(JsonObject& in) {
  XelExpandParameterHelper helper(in.requiredString("modelPath"));
  const auto queryLocale = fillZoCommand(helper, in);
  if (auto v = in.string("parameterisedValue")) helper.SetParameterisedValue(*v);
  in.finish();
  return makeWith(helper);
}

nlohmann::ordered_json readExpandParameter(ORVIDOM_Element& elem) {
  XelExpandParameterHelper helper("");
  helper.Take(elem);
  return {{"expandedQuery", toJson(helper.GetExpandedQuery())}};
}

ORVIDOM_Element makeQuerySubject(JsonObject& in) {
  const I18NString modelPath = in.requiredString("modelPath");
  ORVIDOM_Element definition = requiredElement(in, "definition");
  XelQuerySubjectHelper helper(modelPath, definition);
  const auto queryLocale = fillZoCommand(helper, in);
  in.finish();
  return makeWith(helper);
}

ORVIDOM_Element makeGetJoinPaths(JsonObject& in) {
  XelGetJoinPathsHelper helper(in.requiredString("modelPath"));
  const auto queryLocale = fillZoCommand(helper, in);
  for (const I18NString& item : in.strings("items")) helper.AddItem(item);
  in.finish();
  return makeWith(helper);
}

nlohmann::ordered_json readGetJoinPaths(ORVIDOM_Element& elem) {
  XelGetJoinPathsHelper helper("");
  helper.Take(elem);
  std::set<I18NString> joins;
  helper.GetJoins(joins);
  return {{"pathExists", helper.PathExists() != 0}, {"joins", toJsonArray(joins)}};
}

// The objects go straight into the document Make wrote, so they are added after it.
ORVIDOM_Element makeRefineObjects(JsonObject& in) {
  XelRefineObjectsHelper helper(in.requiredString("modelPath"));
  const auto queryLocale = fillZoCommand(helper, in);
  const std::vector<I18NString> objects = in.strings("requestObjects");
  in.finish();
  ORVIDOM_Element elem = makeWith(helper);
  for (const I18NString& id : objects) helper.addRequestObject(id);
  return elem;
}

nlohmann::ordered_json readRefineObjects(ORVIDOM_Element& elem) {
  XelRefineObjectsHelper helper("");
  helper.Take(elem);
  nlohmann::ordered_json objects = nlohmann::ordered_json::array();
  I18NString id;
  while (helper.getResponseObject(id) == XelRefineObjectsHelper::kResponseObjectReturned) {
    objects.push_back(toJson(id));
  }
  return {{"responseObjects", objects}};
}

// ---- parameters and connection test

ORVIDOM_Element makeParameters(JsonObject& in) {
  std::vector<std::pair<I18NString, I18NString>> parameters;
  for (JsonObject& p : in.objects("parameters")) {
    parameters.emplace_back(p.requiredString("name"), p.requiredString("value"));
    p.finish();
  }
  in.finish();
  XelGetParametersHelper helper;
  helper.SetParameters(parameters);
  return makeWith(helper);
}

nlohmann::ordered_json readParameters(ORVIDOM_Element& elem) {
  XelGetParametersHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json parameters = nlohmann::ordered_json::array();
  for (const auto& [name, value] : helper.GetParameters()) {
    parameters.push_back({{"name", toJson(name)}, {"value", toJson(value)}});
  }
  return {{"parameters", parameters}};
}

ORVIDOM_Element makeTestConnection(JsonObject& in) {
  const auto field = [&in](const char* key) { return in.string(key).value_or(I18NString()); };
  XelTestConnectionHelper helper(in.requiredString("dataSource"), field("connectionName"),
                                 field("signon"), field("userName"), field("password"));
  in.finish();
  return makeWith(helper);
}

// ---- query response

using ColumnProp = QFResponseDomHelper::EColumnProp;

// The column properties by the attributes they are read from, in property order.
const NameTable<ColumnProp>& columnProps() {
  static const auto table = tableUpTo<ColumnProp>(QFResponseDomHelper::kColumnOriginalEncodingName,
                                                  &QFResponseDomHelper::ToString);
  return table;
}

std::vector<std::vector<I18NString>> resultRows(QFResponseDomHelper& helper) {
  std::vector<std::vector<I18NString>> rows;
  for (ORVIDOM_Element row = helper.GetFirstResultSetRow(); !row.isNull();
       row = helper.GetNextResultSetRow(row)) {
    helper.GetResultSetRowValues(row, rows.emplace_back());
  }
  return rows;
}

// Everything readQueryResponse gives but the rows.
nlohmann::ordered_json readQueryResponseHead(ORVIDOM_Element& elem) {
  QFResponseDomHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json feedback = nlohmann::ordered_json::object();
  for (int f = 1; f <= QFExecuteCommandHelper::kQueryFeedbackTableType; ++f) {
    I18NString value;
    if (helper.GetQueryFeedback(static_cast<Feedback>(f), value)) {
      feedback[QFExecuteCommandHelper::ToString(static_cast<Feedback>(f)).str()] = value.str();
    }
  }
  std::vector<QFResponseDomHelper::DataSource> sources;
  helper.GetResponseDataSources(sources);
  nlohmann::ordered_json dataSources = nlohmann::ordered_json::array();
  for (const auto& s : sources) {
    dataSources.push_back(
        {{"value", toJson(s.value)}, {"catalog", toJson(s.catalog)}, {"schema", toJson(s.schema)}});
  }
  std::vector<std::map<ColumnProp, I18NString>> columnList;
  helper.GetColumnList(columnList);
  nlohmann::ordered_json columns = nlohmann::ordered_json::array();
  for (const auto& column : columnList) {
    nlohmann::ordered_json c = nlohmann::ordered_json::object();
    for (const auto& [name, prop] : columnProps()) c[name] = column.at(prop).str();
    columns.push_back(c);
  }
  return {
      {"queryFeedback", feedback}, {"responseDataSources", dataSources}, {"columnList", columns}};
}

nlohmann::ordered_json readQueryResponse(ORVIDOM_Element& elem) {
  nlohmann::ordered_json out = readQueryResponseHead(elem);
  QFResponseDomHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json& rows = out["resultSetRows"] = nlohmann::ordered_json::array();
  for (const auto& row : resultRows(helper)) rows.push_back(toJsonArray(row));
  return out;
}

// `value` dumped as `dump(2)` would, as a member `depth` levels deep.
std::string nested(const nlohmann::ordered_json& value, int depth) {
  std::string out = value.dump(2);
  const std::string indent = "\n" + std::string(2 * depth, ' ');
  for (std::size_t at = out.find('\n'); at != std::string::npos; at = out.find('\n', at + 1)) {
    out.replace(at, 1, indent);
    at += indent.size() - 1;
  }
  return out;
}

// What readQueryResponse gives, written row by row as the rows are read, so that a big answer is
// never held twice. The parts before the rows are read first: a fault in them prints nothing.
void writeQueryResponseJson(ORVIDOM_Element& elem, std::ostream& out) {
  nlohmann::ordered_json head = readQueryResponseHead(elem);
  QFResponseDomHelper helper;
  helper.Take(elem);
  out << "{";
  for (const auto& [key, value] : head.items()) {
    out << "\n  \"" << key << "\": " << nested(value, 1) << ",";
  }
  out << "\n  \"resultSetRows\": [";
  const char* separator = "\n    ";
  std::vector<I18NString> values;
  for (ORVIDOM_Element row = helper.GetFirstResultSetRow(); !row.isNull();
       row = helper.GetNextResultSetRow(row)) {
    values.clear();
    helper.GetResultSetRowValues(row, values);
    out << separator << nested(toJsonArray(values), 2);
    separator = ",\n    ";
  }
  out << (*separator == ',' ? "\n  ]\n}" : "]\n}");
}

// The result rows under the column names. The rows are read twice, once for the widths of the
// columns and once to write them, so that a big answer is never held whole.
void readQueryResponseText(ORVIDOM_Element& elem, std::ostream& out) {
  QFResponseDomHelper helper;
  helper.Take(elem);
  std::vector<std::map<ColumnProp, I18NString>> columnList;
  helper.GetColumnList(columnList);
  std::vector<std::string> heading;
  for (const auto& column : columnList) {
    heading.push_back(column.at(QFResponseDomHelper::kColumnName).str());
  }
  std::vector<std::size_t> widths;
  fitWidths(heading, widths);
  std::vector<I18NString> values;
  std::vector<std::string> line;
  const auto forEachRow = [&](auto&& use) {
    for (ORVIDOM_Element row = helper.GetFirstResultSetRow(); !row.isNull();
         row = helper.GetNextResultSetRow(row)) {
      values.clear();
      helper.GetResultSetRowValues(row, values);
      line.assign(values.size(), std::string());
      for (std::size_t i = 0; i < values.size(); ++i) line[i] = values[i].str();
      use(line);
    }
  };
  forEachRow([&](const std::vector<std::string>& row) { fitWidths(row, widths); });
  out << layOutRow(heading, widths);
  forEachRow([&](const std::vector<std::string>& row) { out << layOutRow(row, widths); });
}

// ---- fields

// The names of an enumeration numbered from 1 to `last`.
template <class E>
std::vector<std::string> namesUpTo(int last, const I18NString& (*toString)(E)) {
  return namesIn(tableUpTo(last, toString));
}

// The names of the validate response's severity: those of the helper, and "none".
std::vector<std::string> severityChoices() {
  std::vector<std::string> names = namesIn(severityNames());
  names.emplace_back(kNoSeverity);
  return names;
}

std::vector<std::string> feedbackNames() {
  return namesUpTo<Feedback>(QFExecuteCommandHelper::kQueryFeedbackTableType,
                             &QFExecuteCommandHelper::ToString);
}

// The fields of the envelope every command shares, then `own`.
std::vector<Field> commandFields(std::vector<Field> own) {
  std::vector<Field> fields{text("commandID"), text("requestID"), xml("connection")};
  fields.insert(fields.end(), own.begin(), own.end());
  return fields;
}

// The fields of a command addressing a model, then `own`.
std::vector<Field> zoCommandFields(std::vector<Field> own) {
  std::vector<Field> fields = commandFields({text("modelPath").require(), text("queryLocale"),
                                             list("queryFeedback", choice("", feedbackNames()))});
  fields.insert(fields.end(), own.begin(), own.end());
  return fields;
}

std::vector<Field> executeFields() {
  using Q = QFQueryHelper;
  using F = QFQueryDetailFilter;
  const auto aggregates = namesUpTo<Q::EAggregate>(Q::kAggregateCalculated, &Q::ToString);
  const auto dataItem =
      shape({text("name").require(), text("expression").require(), text("tag"),
             choice("sort", namesUpTo<Q::ESort>(Q::kSortDescending, &Q::ToString)),
             choice("aggregate", aggregates), choice("rollupAggregate", aggregates)});
  const auto join = shape({text("leftQuery").require(), text("leftCardinality").require(),
                           text("rightQuery").require(), text("rightCardinality").require(),
                           text("filterExpression").require()});
  const auto set = shape({list("projectionItems", text("")), text("setOperation").require(),
                          text("duplicates").require()});
  const auto query = shape(
      {text("name").require(), text("queryRef").notWith({"join", "set"}),
       object("join", join).notWith({"set"}), object("set", set), boolean("autoSummary"),
       listOf("dataItems", dataItem),
       listOf(
           "detailFilters",
           shape({text("expression").require(),
                  choice("use", namesUpTo<F::EUse>(F::kUseProhibited, &F::ToString)).require()})),
       stringMap("hints").keys(
           namesUpTo<Q::EQueryHint>(Q::kQueryHintMaxRowsRetrieved, &Q::ToString))});
  return commandFields(
      {text("modelPath").require(), text("expressionLocale"),
       listOf("queries", query).require().atLeastOne(), stringMap("executeProperties"),
       stringMap("requestHints").keys(namesIn(requestHintNames())),
       list("queryFeedback", choice("", feedbackNames())),
       choice("qosSeverityLevel", namesUpTo<QFExecuteCommandHelper::EQOSSeverity>(
                                      QFExecuteCommandHelper::kQOSSeverityInformation,
                                      &QFExecuteCommandHelper::ToString))});
}

std::vector<Field> queryResponseFields() {
  std::vector<Field> columns;
  for (const auto& [name, prop] : columnProps()) columns.push_back(text(name));
  return {stringMap("queryFeedback").keys(feedbackNames()),
          listOf("responseDataSources", shape({text("value"), text("catalog"), text("schema")})),
          listOf("columnList", shape(columns)), list("resultSetRows", list("", text("")))};
}

}  // namespace

void addQueryFrameworkKinds(std::vector<Kind>& kinds) {
  kinds.push_back({"close-connections-command",
                   {"command"},
                   "QFCloseConnectionsCommandHelper",
                   "Asks the query framework service to close its connections.",
                   commandFields({}),
                   makeCloseConnections});
  kinds.push_back({"cancel-query-command",
                   {"command"},
                   "XelCancelQueryHelper",
                   "Cancels the request running under the default request ID.",
                   commandFields({}),
                   makeCancelQuery});
  kinds.push_back(
      {"execute-command",
       {"command"},
       "QFExecuteCommandHelper",
       "Asks the query framework service to run plain, join and set queries on a model.",
       executeFields(),
       makeExecuteCommand});
  kinds.push_back({"validate-command",
                   {"command"},
                   "QFValidateCommandHelper",
                   "Asks the query framework service to validate a request instead of running it.",
                   commandFields({xml("element").require()}),
                   makeValidateCommand});
  kinds.push_back({"validate-response",
                   {},
                   "QFValidateCommandHelper",
                   "The service's answer to a validate command, condensed to a severity and its "
                   "messages.",
                   {choice("severity", severityChoices()), text("messages")},
                   nullptr,
                   readValidateResponse});
  kinds.push_back({"update-command",
                   {"command"},
                   "QFUpdateCommandHelper",
                   "Replaces the content of named subjects of a model.",
                   commandFields({text("modelPath").require(),
                                  listOf("updateSubjects", shape({text("name").require(),
                                                                  text("value").require()}))}),
                   makeUpdateCommand});
  kinds.push_back({"expand-parameter-command",
                   {"command"},
                   "XelExpandParameterHelper",
                   "Asks the modelling engine to expand a parameterised expression.",
                   zoCommandFields({text("parameterisedValue")}),
                   makeExpandParameter});
  kinds.push_back({"expand-parameter-response",
                   {},
                   "XelExpandParameterHelper",
                   "The modelling engine's expansion of a parameterised expression.",
                   {text("expandedQuery")},
                   nullptr,
                   readExpandParameter});
  kinds.push_back({"query-subject-command",
                   {"command"},
                   "XelQuerySubjectHelper",
                   "Submits a query subject built from a definition to the modelling engine.",
                   zoCommandFields({xml("definition").require()}),
                   makeQuerySubject});
  kinds.push_back({"get-join-paths-command",
                   {"command"},
                   "XelGetJoinPathsHelper",
                   "Asks the modelling engine for the join paths between query items.",
                   zoCommandFields({list("items", text(""))}),
                   makeGetJoinPaths});
  kinds.push_back({"get-join-paths-response",
                   {},
                   "XelGetJoinPathsHelper",
                   "The modelling engine's join paths between query items.",
                   {boolean("pathExists"), list("joins", text(""))},
                   nullptr,
                   readGetJoinPaths});
  kinds.push_back({"refine-objects-command",
                   {"command"},
                   "XelRefineObjectsHelper",
                   "Asks the modelling engine to refine published model objects by object ID.",
                   zoCommandFields({list("requestObjects", text(""))}),
                   makeRefineObjects});
  kinds.push_back({"refine-objects-response",
                   {},
                   "XelRefineObjectsHelper",
                   "The object IDs the modelling engine returns for a refine request.",
                   {list("responseObjects", text(""))},
                   nullptr,
                   readRefineObjects});
  kinds.push_back({"parameters",
                   {"parameters"},
                   "XelGetParametersHelper",
                   "A list of parameter names and values.",
                   {listOf("parameters", shape({text("name").require(), text("value").require()}))},
                   makeParameters,
                   readParameters});
  kinds.push_back({"test-connection-command",
                   {"command"},
                   "XelTestConnectionHelper",
                   "Asks the query framework service to test a database connection.",
                   {text("dataSource").require(), text("connectionName"), text("signon"),
                    text("userName"), text("password")},
                   makeTestConnection});
  kinds.push_back({"query-response",
                   {},
                   "QFResponseDomHelper",
                   "The query framework service's answer to an execute command: feedback, "
                   "columns and rows.",
                   queryResponseFields(),
                   nullptr,
                   readQueryResponse,
                   readQueryResponseText,
                   writeQueryResponseJson});
}
