// Kinds of the query framework commands and of the service's answers to them.
#include <ostream>

#include "Kinds.h"
#include "TextLayout.h"

namespace {

using Execute = QFExecuteCommandHelper;
using Query = QFQueryHelper;
using Filter = QFQueryDetailFilter;
using Response = QFResponseDomHelper;

// The names of an enumeration numbered from 1 to `last`, named by the helper's own conversion.
template <class E>
Names namesUpTo(int last, const I18NString& (*toString)(E)) {
  return namesOf<E>(1, last, toString);
}

Names feedbackNames() {
  return namesUpTo<Execute::EQueryFeedback>(Execute::kQueryFeedbackTableType, &Execute::ToString);
}

// The fields of the envelope every query framework command shares, then `own`.
std::vector<Field> commandFields(std::vector<Field> own) {
  const auto property = [](QFCommandHelper::EProperty p) {
    return [p](QFCommandHelper& helper, const I18NString& v) { helper.SetProperty(p, v); };
  };
  std::vector<Field> fields{
      text("commandID").at("commandID@value").on(property(QFCommandHelper::kPropertyCommandID)),
      text("requestID").at("requestID@value").on(property(QFCommandHelper::kPropertyRequestID)),
      xml("connection").at("*").on(&QFCommandHelper::SetConnection)};
  fields.insert(fields.end(), own.begin(), own.end());
  return fields;
}

// The fields of a command addressing a model, whose path the helper is made with, then `own`.
// The helper does not own its query locale, which the fill keeps until after Make.
std::vector<Field> zoCommandFields(std::vector<Field> own) {
  std::vector<Field> fields = commandFields(
      {text("modelPath").require().at("zoCommand/source/model").arg(),
       text("queryLocale").at("zoCommand@queryLocale").on(&QFZoCommandHelper::SetQueryLocale),
       list("queryFeedback", choice("", feedbackNames()))
           .at("zoCommand/queryFeedback/property@name")
           .on(&QFZoCommandHelper::AddQueryFeedback)});
  fields.insert(fields.end(), own.begin(), own.end());
  return fields;
}

// The helper H made with the model path.
template <class H>
auto withModelPath() {
  return [](const I18NString& modelPath) { return std::make_unique<H>(modelPath); };
}

// ---- execute command

// The operands of a join query and of a set query, as their Add… calls take them.
struct Join {
  I18NString leftQuery, leftCardinality, rightQuery, rightCardinality, filterExpression;
};
struct SetOperation {
  std::vector<I18NString> projectionItems;
  I18NString setOperation, duplicates;
};

// A query is a join when it has a "join" object, a set when it has a "set" object (never both),
// otherwise plain; only a plain query takes "queryRef", as the others do not use it.
QFQueryHelper* addQuery(Execute& command, const I18NString& name, const I18NString* queryRef,
                        const Join* join, const SetOperation* set) {
  if (join) {
    return command.AddJoinQuery(name, join->leftQuery, join->leftCardinality, join->rightQuery,
                                join->rightCardinality, join->filterExpression);
  }
  if (set)
    return command.AddModelSetQuery(name, set->projectionItems, set->setOperation, set->duplicates);
  QFQueryHelper* query = command.AddQuery(name);
  if (queryRef) query->SetQueryRef(*queryRef);
  return query;
}

// A data item's name is numbered when it repeats, and a set's projection items are written once
// each, so neither is read back from the made command.
std::shared_ptr<const Shape> queryShape() {
  const Names aggregates =
      namesUpTo<Query::EAggregate>(Query::kAggregateCalculated, &Query::ToString);
  const auto dataItem =
      shape({text("name").require().arg(), text("expression").require().at("expression").arg(),
             text("tag").at("tag").on(&QFQueryDataItem::m_tag),
             choice("sort", namesUpTo<Query::ESort>(Query::kSortDescending, &Query::ToString))
                 .at("@sort")
                 .on(&QFQueryDataItem::m_sort),
             choice("aggregate", aggregates).at("@aggregate").on(&QFQueryDataItem::m_aggregate),
             choice("rollupAggregate", aggregates)
                 .at("@rollupAggregate")
                 .on(&QFQueryDataItem::m_rollupAggregate)});
  const auto join = valueShape(
      {text("leftQuery").require().at("joinOperands/joinOperand/queryRef@refQuery").arg(),
       text("leftCardinality").require().at("joinOperands/joinOperand@cardinality").arg(),
       text("rightQuery").require().at("joinOperands/joinOperand[2]/queryRef@refQuery").arg(),
       text("rightCardinality").require().at("joinOperands/joinOperand[2]@cardinality").arg(),
       text("filterExpression").require().at("joinFilter/filterExpression").arg()},
      [](const I18NString& leftQuery, const I18NString& leftCardinality,
         const I18NString& rightQuery, const I18NString& rightCardinality,
         const I18NString& filter) {
        return Join{leftQuery, leftCardinality, rightQuery, rightCardinality, filter};
      });
  const auto set = valueShape({list("projectionItems", text("")).arg(),
                               text("setOperation").require().at("@setOperation").arg(),
                               text("duplicates").require().at("@duplicates").arg()},
                              [](const std::vector<I18NString>& items, const I18NString& operation,
                                 const I18NString& duplicates) {
                                return SetOperation{items, operation, duplicates};
                              });
  const auto addDataItem = [](Query& query, const I18NString& name, const I18NString& expression) {
    return query.AddDataItem(name, expression);
  };
  const auto addFilter = [](Query& query, const I18NString& expression, Filter::EUse use) {
    return query.AddDetailFilter(expression, use);
  };
  return shape(
      {text("name").require().at("@name").arg(),
       text("queryRef").notWith({"join", "set"}).at("source/queryRef@refQuery").arg(),
       object("join", join).notWith({"set"}).at("source/joinOperation").arg(),
       object("set", set).at("source/queryOperation").arg(),
       boolean("autoSummary").at("selection@autoSummary").on(&Query::SetAutoSummary),
       listOf("dataItems", dataItem).at("selection/dataItem").on(addDataItem),
       listOf("detailFilters", shape({text("expression").require().at("filterExpression").arg(),
                                      choice("use", namesUpTo<Filter::EUse>(Filter::kUseProhibited,
                                                                            &Filter::ToString))
                                          .require()
                                          .at("@use")
                                          .arg()}))
           .at("detailFilter/filter")
           .on(addFilter),
       stringMap("hints")
           .keys(namesUpTo<Query::EQueryHint>(Query::kQueryHintMaxRowsRetrieved, &Query::ToString))
           .at("queryHints/*@value")
           .on(&Query::AddHint)});
}

std::vector<Field> executeFields() {
  return commandFields(
      {text("modelPath").require().at("execute/querySet/modelPath").arg(),
       text("expressionLocale").at("execute/querySet@expressionLocale").arg(),
       listOf("queries", queryShape())
           .require()
           .atLeastOne()
           .at("execute/querySet/queries/query")
           .on(addQuery),
       stringMap("executeProperties")
           .at("execute/property@name=@value")
           .on(&Execute::AddExecuteProperty),
       stringMap("requestHints")
           .keys(namesUpTo<Execute::ERequestHint>(Execute::kRequestHintQueryProcessing,
                                                  &Execute::ToString))
           .at("execute/querySet/requestHints/*@value|enabled")
           .on(&Execute::AddRequestHint),
       list("queryFeedback", choice("", feedbackNames()))
           .at("execute/queryFeedback/property@name")
           .on(&Execute::AddQueryFeedback),
       choice("qosSeverityLevel", namesUpTo<Execute::EQOSSeverity>(Execute::kQOSSeverityInformation,
                                                                   &Execute::ToString))
           .at("execute/queryFeedback@severityLevel")
           .on(&Execute::SetQOSSeverityLevel)});
}

// ---- validate command and response

// The helper makes the command in the element it is given, the one whose first child's content
// is to be validated, such as a made execute command.
struct ValidateCommand : QFValidateCommandHelper {
  ORVIDOM_Element element;

  void Make(ORVIDOM_Element& made) const {
    made = element;
    QFValidateCommandHelper::Make(made);
  }
};

// What the helper condenses a response to, read as its getters would give it.
struct ValidateAnswer {
  std::string severity;
  I18NString messages;

  // The level no message set (the helper's 5) is "none".
  void Take(ORVIDOM_Element& response) {
    ORVSeverity level = kORVSeverityFatal;
    QFValidateCommandHelper().CheckReponse(response, level, messages);
    severity = level < kORVSeverityFatal || level > kORVSeverityInformation
                   ? "none"
                   : QFValidateCommandHelper::ToString(level).str();
  }
};

// The names of the validate response's severity: those of the helper, and "none".
Names severityNames() {
  Names names = namesOf<ORVSeverity>(kORVSeverityFatal, kORVSeverityInformation,
                                     &QFValidateCommandHelper::ToString);
  names.names.emplace_back("none");
  return names;
}

// ---- responses of the engine model commands

std::vector<I18NString> refinedObjects(XelRefineObjectsHelper& helper) {
  std::vector<I18NString> objects;
  I18NString id;
  while (helper.getResponseObject(id) == XelRefineObjectsHelper::kResponseObjectReturned) {
    objects.push_back(id);
  }
  return objects;
}

// ---- query response

using ColumnProp = Response::EColumnProp;
using Column = std::map<ColumnProp, I18NString>;
using Streamed = QFResponseStreamReader;

// The query feedback the answer carries, by name, from the tree's reader or the stream's.
template <class Reader>
Ordered queryFeedback(const Reader& reader) {
  Ordered feedback = Ordered::object();
  for (const int f : feedbackNames().values) {
    I18NString value;
    const auto e = static_cast<Execute::EQueryFeedback>(f);
    if (reader.GetQueryFeedback(e, value)) feedback[Execute::ToString(e).str()] = value.str();
  }
  return feedback;
}

// Everything read gives but the rows, which come last, from either reader.
template <class Reader>
std::vector<Field> queryResponseHead() {
  std::vector<Field> columns;
  const Names props =
      namesUpTo<ColumnProp>(Response::kColumnOriginalEncodingName, &Response::ToString);
  for (std::size_t i = 0; i < props.names.size(); ++i) {
    const auto prop = static_cast<ColumnProp>(props.values[i]);
    columns.push_back(
        text(props.names[i]).on(nullptr, [prop](const Column& c) { return c.at(prop); }));
  }
  using Source = Response::DataSource;
  return {stringMap("queryFeedback").keys(feedbackNames()).on(nullptr, queryFeedback<Reader>),
          listOf("responseDataSources", shape({text("value").on(nullptr, &Source::value),
                                               text("catalog").on(nullptr, &Source::catalog),
                                               text("schema").on(nullptr, &Source::schema)}))
              .on(nullptr, filled(&Reader::GetResponseDataSources)),
          listOf("columnList", shape(columns)).on(nullptr, filled(&Reader::GetColumnList))};
}

const Field& rowField() {
  static const Field row = list("", text(""));
  return row;
}

std::vector<Field> queryResponseFields() {
  std::vector<Field> fields = queryResponseHead<Response>();
  // The rows are read straight into JSON: a response may hold very many.
  fields.push_back(list("resultSetRows", rowField()).on(nullptr, [](Response& helper) {
    Ordered rows = Ordered::array();
    std::vector<I18NString> values;
    for (ORVIDOM_Element row = helper.GetFirstResultSetRow(); !row.isNull();
         row = helper.GetNextResultSetRow(row)) {
      values.clear();
      helper.GetResultSetRowValues(row, values);
      Ordered::array_t& json = rows.emplace_back(Ordered::array()).get_ref<Ordered::array_t&>();
      json.reserve(values.size());
      for (const I18NString& value : values) json.emplace_back(value.str());
    }
    return rows;
  }));
  return fields;
}

// The next row's values as the tree's reader gives them, a missing value as empty text; false
// after the last row.
bool nextRow(Streamed& response, std::vector<Streamed::Value>& row,
             std::vector<std::string>& values) {
  if (!response.GetNextRow(row)) return false;
  values.resize(row.size());
  for (std::size_t i = 0; i < row.size(); ++i) values[i] = row[i].text.str();
  return true;
}

// What read gives, written as the rows are read. A part of the response that is empty when its
// rows begin is written after them, as a response may put it there.
void streamQueryResponseJson(Streamed& response, std::ostream& out) {
  static const std::vector<Field> head = queryResponseHead<Streamed>();
  response.ReadToRows();
  const Target target = binding::targetOf(response);
  const Ordered before = readFields(head, target);
  JsonObjectWriter writer(out);
  for (const auto& [key, value] : before.items()) {
    if (!value.empty()) writer.member(key, value);
  }
  writer.beginArray("resultSetRows");
  std::vector<Streamed::Value> row;
  std::vector<std::string> values;
  while (nextRow(response, row, values)) writer.item(values);
  writer.endArray();
  response.ReadToEnd();
  const Ordered after = readFields(head, target);
  for (const auto& [key, value] : after.items()) {
    if (before.at(key).empty()) {
      writer.member(key, value);
    } else if (value != before.at(key)) {
      throw InputError("the response's \"" + key +
                       "\" goes on after its rows begin, which a read as it comes cannot write "
                       "in order");
    }
  }
  writer.end();
}

// The result rows under the column names. The rows are read twice, once for the widths of the
// columns and once to write them, so that a big answer is never held whole.
void streamQueryResponseText(Streamed& response, const std::function<ORVIDOM_PullReader&()>& again,
                             std::ostream& out) {
  std::vector<Streamed::Value> row;
  std::vector<std::string> values;
  std::vector<std::size_t> widths;
  while (nextRow(response, row, values)) fitWidths(values, widths);
  std::vector<Column> columns;
  response.GetColumnList(columns);
  std::vector<std::string> heading;
  for (const Column& column : columns) heading.push_back(column.at(Response::kColumnName).str());
  fitWidths(heading, widths);
  out << layOutRow(heading, widths);
  Streamed second(again());
  while (nextRow(second, row, values)) out << layOutRow(values, widths);
}

void streamQueryResponse(ORVIDOM_PullReader& reader,
                         const std::function<ORVIDOM_PullReader&()>& again, bool text,
                         std::ostream& out) {
  Streamed response(reader);
  if (text) return streamQueryResponseText(response, again, out);
  streamQueryResponseJson(response, out);
}

}  // namespace

void addQueryFrameworkKinds(std::vector<Kind>& kinds) {
  using Parameters = XelGetParametersHelper;
  using Parameter = std::pair<I18NString, I18NString>;
  kinds.push_back(bound<QFCloseConnectionsCommandHelper>(
      {"close-connections-command",
       {"command"},
       "QFCloseConnectionsCommandHelper",
       "Asks the query framework service to close its connections.",
       commandFields({})}));
  kinds.push_back(
      bound<XelCancelQueryHelper>({"cancel-query-command",
                                   {"command"},
                                   "XelCancelQueryHelper",
                                   "Cancels the request running under the default request ID.",
                                   commandFields({})}));
  kinds.push_back(bound<Execute>(
      {"execute-command",
       {"command"},
       "QFExecuteCommandHelper",
       "Asks the query framework service to run plain, join and set queries on a model.",
       executeFields()},
      [](const I18NString& modelPath, const I18NLocale* expressionLocale) {
        return std::make_unique<Execute>(modelPath, expressionLocale);
      }));
  kinds.push_back(bound<ValidateCommand>(
      {"validate-command",
       {"command"},
       "QFValidateCommandHelper",
       "Asks the query framework service to validate a request instead of running it.",
       commandFields({xml("element").require().on(&ValidateCommand::element)})}));
  kinds.push_back(bound<ValidateAnswer>(
      {"validate-response",
       {},
       "QFValidateCommandHelper",
       "The service's answer to a validate command, condensed to a severity and its messages.",
       {choice("severity", severityNames()).on(nullptr, &ValidateAnswer::severity),
        text("messages").on(nullptr, &ValidateAnswer::messages)}}));
  kinds.push_back(bound<QFUpdateCommandHelper>(
      {"update-command",
       {"command"},
       "QFUpdateCommandHelper",
       "Replaces the content of named subjects of a model.",
       commandFields({text("modelPath").require().at("update/updateSet/modelPath").arg(),
                      listOf("updateSubjects", shape({text("name").require().at("@name").arg(),
                                                      text("value").require().at(".").arg()}))
                          .at("update/updateSet/updateSubject")
                          .on(&QFUpdateCommandHelper::AddUpdateSubject)})},
      withModelPath<QFUpdateCommandHelper>()));
  kinds.push_back(bound<XelExpandParameterHelper>(
      {"expand-parameter-command",
       {"command"},
       "XelExpandParameterHelper",
       "Asks the modelling engine to expand a parameterised expression.",
       zoCommandFields({text("parameterisedValue")
                            .at("zoCommand/expand/expression")
                            .on(&XelExpandParameterHelper::SetParameterisedValue)})},
      withModelPath<XelExpandParameterHelper>()));
  kinds.push_back(bound<XelExpandParameterHelper>(
      {"expand-parameter-response",
       {},
       "XelExpandParameterHelper",
       "The modelling engine's expansion of a parameterised expression.",
       {text("expandedQuery").on(nullptr, &XelExpandParameterHelper::GetExpandedQuery)}},
      withModelPath<XelExpandParameterHelper>()));
  kinds.push_back(bound<XelQuerySubjectHelper>(
      {"query-subject-command",
       {"command"},
       "XelQuerySubjectHelper",
       "Submits a query subject built from a definition to the modelling engine.",
       zoCommandFields(
           {xml("definition").require().at("zoCommand/querySubject/definition/*").arg()})},
      [](const I18NString& modelPath, ORVIDOM_Element& definition) {
        return std::make_unique<XelQuerySubjectHelper>(modelPath, definition);
      }));
  kinds.push_back(bound<XelGetJoinPathsHelper>(
      {"get-join-paths-command",
       {"command"},
       "XelGetJoinPathsHelper",
       "Asks the modelling engine for the join paths between query items.",
       zoCommandFields({list("items", text(""))
                            .at("zoCommand/getJoinPaths/expression")
                            .on(&XelGetJoinPathsHelper::AddItem)})},
      withModelPath<XelGetJoinPathsHelper>()));
  kinds.push_back(bound<XelGetJoinPathsHelper>(
      {"get-join-paths-response",
       {},
       "XelGetJoinPathsHelper",
       "The modelling engine's join paths between query items.",
       {boolean("pathExists").on(nullptr, &XelGetJoinPathsHelper::PathExists),
        list("joins", text("")).on(nullptr, filled(&XelGetJoinPathsHelper::GetJoins))}},
      withModelPath<XelGetJoinPathsHelper>()));
  // The objects go straight into the document Make wrote, so they are added after it.
  kinds.push_back(bound<XelRefineObjectsHelper>(
      {"refine-objects-command",
       {"command"},
       "XelRefineObjectsHelper",
       "Asks the modelling engine to refine published model objects by object ID.",
       zoCommandFields({list("requestObjects", text(""))
                            .afterMaking()
                            .at("zoCommand/refinePublishedModel/expression")
                            .on(&XelRefineObjectsHelper::addRequestObject)})},
      withModelPath<XelRefineObjectsHelper>()));
  kinds.push_back(bound<XelRefineObjectsHelper>(
      {"refine-objects-response",
       {},
       "XelRefineObjectsHelper",
       "The object IDs the modelling engine returns for a refine request.",
       {list("responseObjects", text("")).on(nullptr, refinedObjects)}},
      withModelPath<XelRefineObjectsHelper>()));
  kinds.push_back(bound<Parameters>(
      {"parameters",
       {"parameters"},
       "XelGetParametersHelper",
       "A list of parameter names and values.",
       {listOf("parameters", valueShape({text("name").require().arg(&Parameter::first),
                                         text("value").require().arg(&Parameter::second)},
                                        [](const I18NString& name, const I18NString& value) {
                                          return Parameter(name, value);
                                        }))
            .on(&Parameters::SetParameters, &Parameters::GetParameters)}}));
  kinds.push_back(bound<XelTestConnectionHelper>(
      {"test-connection-command",
       {"command"},
       "XelTestConnectionHelper",
       "Asks the query framework service to test a database connection.",
       {text("dataSource").require().at("connection/connection/dataSource@value").arg(),
        text("connectionName").at("connection/connection/name@value").arg(),
        text("signon").at("connection/connection/signon/name@value").arg(),
        text("userName").at("connection/connection/username@value").arg(),
        text("password").at("connection/connection/password@value").arg()}},
      [](const I18NString& dataSource, const I18NString& connectionName, const I18NString& signon,
         const I18NString& userName, const I18NString& password) {
        return std::make_unique<XelTestConnectionHelper>(dataSource, connectionName, signon,
                                                         userName, password);
      }));
  Kind response = bound<Response>({"query-response",
                                   {},
                                   "QFResponseDomHelper",
                                   "The query framework service's answer to an execute command: "
                                   "feedback, columns and rows.",
                                   queryResponseFields()});
  response.stream = streamQueryResponse;
  kinds.push_back(response);
}
