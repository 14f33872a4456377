#include "queryframework/QFExecuteCommandHelper.h"

#include <memory>
#include <utility>

#include "core/OwnedList.h"
#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Builder.h"

namespace {

const I18NString kError("error");
const I18NString kWarning("warning");
const I18NString kInformation("information");
const I18NString kAllRows("allRows");
const I18NString kFirstRow("firstRow");
const I18NString kIncremental("incremental");
const I18NString kTarvinCommandText("TarvinCommandText");
const I18NString kNativeCommandText("nativeCommandText");
const I18NString kExecutionPlan("executionPlan");
const I18NString kTableType("tableType");
const I18NString kConnections("connections");
const I18NString kKeyTransformation("keyTransformation");
const I18NString kColumnList("columnList");
const I18NString kElemRequestHints("requestHints");
const I18NString kElemDesignMode("designMode");
const I18NString kElemQueryFeedback("queryFeedback");
const I18NString kAttrEnabled("enabled");
const I18NString kAttrSeverityLevel("severityLevel");
const I18NString kElemValueSets("valueSets");
const I18NString kElemValueSet("valueSet");
const I18NString kElemGroupBody("groupBody");
const I18NString kElemExecutionOptimization("executionOptimization");
const I18NString kElemEdges("edges");
const I18NString kElemEdge("edge");
const I18NString kElemEdgeGroups("edgeGroups");
const I18NString kElemEdgeGroup("edgeGroup");
const I18NString kAttrRefQuery("refQuery");
const I18NString kElemQueryProcessing("queryProcessing");
const I18NString kElemNoDataMode("noDataMode");
const I18NString kElemQueryResultDefinitions("queryResultDefinitions");
const I18NString kElemQueryResultDefinition("queryResultDefinition");
const I18NString kElemQueries("queries");
const I18NString kElemQuery("query");
const I18NString kElemDataItemRef("dataItemRef");
const I18NString kAttrRefDataItem("refDataItem");
const I18NString kAttrExpressionLocale("expressionLocale");
// The fixed names of the one result definition and its parts.
const I18NString kResultDefinitionPrefix("rsd");
const I18NString kEdgeColumns("columns");
const I18NString kValueSet1("valueSet1");
const I18NString kGroupBody1("groupBody1");

// The element a request hint is written as, and the attribute that carries its value.
struct RequestHintShape {
  const I18NString* element;
  const I18NString* attribute;
};

// The shape of a request hint; null names for a hint outside ERequestHint.
RequestHintShape ShapeOf(QFExecuteCommandHelper::ERequestHint hint) {
  switch (hint) {
    case QFExecuteCommandHelper::kRequestHintNoDataMode:
      return {&kElemNoDataMode, &kAttrEnabled};
    case QFExecuteCommandHelper::kRequestHintDesignMode:
      return {&kElemDesignMode, &kAttrEnabled};
    case QFExecuteCommandHelper::kRequestHintExecutionOptimization:
      return {&kElemExecutionOptimization, &korvath_actionhelper_resources_value_str};
    case QFExecuteCommandHelper::kRequestHintQueryProcessing:
      return {&kElemQueryProcessing, &korvath_actionhelper_resources_value_str};
    default:
      return {nullptr, nullptr};
  }
}

}  // namespace

const I18NString& QFExecuteCommandHelper::ToString(ERequestHint hint) {
  const I18NString* element = ShapeOf(hint).element;
  return element ? *element : korvath_actionhelper_resources_unknown_str;
}

const I18NString& QFExecuteCommandHelper::ToString(EQueryOptimization optimization) {
  switch (optimization) {
    case kQueryOptimizationFirstRow:
      return kFirstRow;
    case kQueryOptimizationAllRows:
      return kAllRows;
    case kQueryOptimizationIncremental:
      return kIncremental;
    default:
      return korvath_actionhelper_resources_unknown_str;
  }
}

const I18NString& QFExecuteCommandHelper::ToString(EQueryFeedback feedback) {
  switch (feedback) {
    case kQueryFeedbackNativeCommandText:
      return kNativeCommandText;
    case kQueryFeedbackTarvinCommandText:
      return kTarvinCommandText;
    case kQueryFeedbackConnections:
      return kConnections;
    case kQueryFeedbackColumnList:
      return kColumnList;
    case kQueryFeedbackExecutionPlan:
      return kExecutionPlan;
    case kQueryFeedbackTableType:
      return kTableType;
    default:
      return korvath_actionhelper_resources_unknown_str;
  }
}

const I18NString& QFExecuteCommandHelper::ToString(EQOSSeverity severity) {
  switch (severity) {
    case kQOSSeverityError:
      return kError;
    case kQOSSeverityWarning:
      return kWarning;
    case kQOSSeverityKeyTransformation:
      return kKeyTransformation;
    case kQOSSeverityInformation:
      return kInformation;
    default:
      return korvath_actionhelper_resources_unknown_str;
  }
}

QFExecuteCommandHelper::EQOSSeverity QFExecuteCommandHelper::ConvertNagLevel2SeverityLevel(
    unsigned long nagLevel) {
  switch (nagLevel) {
    case 0:
    case 1:
      return kQOSSeverityError;
    case 2:
      return kQOSSeverityWarning;
    case 3:
      return kQOSSeverityKeyTransformation;
    default:
      return kQOSSeverityInformation;
  }
}

QFExecuteCommandHelper::QFExecuteCommandHelper(const I18NString& modelPath,
                                               const I18NLocale* expressionLocale)
    : QFCommandHelper(modelPath), m_expressionLocale(expressionLocale) {}

QFExecuteCommandHelper::~QFExecuteCommandHelper() { DeleteAll(m_queries); }

QFQueryHelper* QFExecuteCommandHelper::Append(QFQueryHelper* query) {
  std::unique_ptr<QFQueryHelper> owned(query);
  m_queries.push_back(owned.get());
  return owned.release();
}

QFQueryHelper* QFExecuteCommandHelper::AddQuery(const I18NString& name) {
  return Append(new QFQueryHelper(name));
}

QFQueryHelper* QFExecuteCommandHelper::AddJoinQuery(const I18NString& name,
                                                    const I18NString& leftQuery,
                                                    const I18NString& leftCardinality,
                                                    const I18NString& rightQuery,
                                                    const I18NString& rightCardinality,
                                                    const I18NString& filterExpression) {
  return Append(new QFJoinQueryHelper(name, leftQuery, leftCardinality, rightQuery,
                                      rightCardinality, filterExpression));
}

QFQueryHelper* QFExecuteCommandHelper::AddModelSetQuery(const I18NString& name,
                                                        std::vector<I18NString> projectionItems,
                                                        const I18NString& setOperation,
                                                        const I18NString& duplicates) {
  return Append(new QFSetQueryHelper(name, std::move(projectionItems), setOperation, duplicates));
}

void QFExecuteCommandHelper::AddExecuteProperty(const I18NString& name, const I18NString& value) {
  m_executeProperties[name] = value;
}

void QFExecuteCommandHelper::AddRequestHint(ERequestHint hint, const I18NString& value) {
  m_requestHints[hint] = value;
}

void QFExecuteCommandHelper::AddQueryFeedback(EQueryFeedback feedback) {
  m_queryFeedback.push_back(feedback);
}

void QFExecuteCommandHelper::SetQOSSeverityLevel(EQOSSeverity level) { m_severityLevel = level; }

void QFExecuteCommandHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  // The result definitions are derived from the first query, so a command without one cannot be
  // written; failing before anything is written leaves the caller's handle as it was.
  ORV_ASSERT(!m_queries.empty());
  const orvidom::Builder execute =
      orvidom::Builder::detached(doc, korvath_actionhelper_resources_execute_str);
  const orvidom::Builder querySet = execute.element(korvath_actionhelper_resources_querySet_str);
  if (m_expressionLocale != nullptr) {
    querySet.attribute(kAttrExpressionLocale, m_expressionLocale->getName());
  }
  MakeModelPath(querySet);
  MakeQueries(querySet);
  MakeResultDefinitions(querySet);
  MakeRequestHints(querySet);
  MakeExecuteProperties(execute);
  MakeQueryFeedback(execute);
  ORVIDOM_Element body = execute.handle(doc);
  QFCommandHelper::Incorporate(doc, elem, body);
}

void QFExecuteCommandHelper::MakeQueries(const orvidom::Builder& querySet) const {
  const orvidom::Builder queries = querySet.element(kElemQueries);
  for (const QFQueryHelper* query : m_queries) query->MakeQuery(queries.element(kElemQuery));
}

void QFExecuteCommandHelper::MakeResultDefinitions(const orvidom::Builder& querySet) const {
  const I18NString& firstName = m_queries.front()->GetName();
  const bool firstOnly = firstName == korvath_actionhelper_resources_SingleCount_str ||
                         firstName == korvath_actionhelper_resources_querySet_str;
  const size_t processed = firstOnly ? 1 : m_queries.size();
  // Every processed query writes into the one result definition, which the last one names. The
  // names were checked when the queries were written.
  const I18NString& lastName = m_queries[processed - 1]->GetName();
  const orvidom::Builder definition =
      querySet.element(kElemQueryResultDefinitions).element(kElemQueryResultDefinition);
  definition
      .vocabularyAttribute(korvath_actionhelper_resources_name_str,
                           kResultDefinitionPrefix + lastName)
      .vocabularyAttribute(kAttrRefQuery, lastName);
  const orvidom::Builder edge = definition.element(kElemEdges).element(kElemEdge);
  edge.vocabularyAttribute(korvath_actionhelper_resources_name_str, kEdgeColumns);
  const orvidom::Builder valueSet = edge.element(kElemEdgeGroups)
                                        .element(kElemEdgeGroup)
                                        .element(kElemValueSets)
                                        .element(kElemValueSet);
  valueSet.vocabularyAttribute(korvath_actionhelper_resources_name_str, kValueSet1);
  const orvidom::Builder groupBody = valueSet.element(kElemGroupBody);
  groupBody.vocabularyAttribute(korvath_actionhelper_resources_name_str, kGroupBody1);
  // A walk of its own rather than one with the selection's: the references then lie together in
  // the document's memory, which the writer reads faster than the two interleaved.
  const orvidom::Builder::Name refName = groupBody.name(kElemDataItemRef);
  const orvidom::Builder::Name refAttributeName = groupBody.name(kAttrRefDataItem);
  for (size_t i = 0; i < processed; ++i) {
    for (const QFQueryDataItem* item : m_queries[i]->GetDataItems()) {
      groupBody.element(refName).vocabularyAttribute(refAttributeName, item->m_name);
    }
  }
}

void QFExecuteCommandHelper::MakeRequestHints(const orvidom::Builder& querySet) const {
  if (m_requestHints.empty()) return;
  const orvidom::Builder requestHints = querySet.element(kElemRequestHints);
  for (const auto& [hint, value] : m_requestHints) {
    const RequestHintShape shape = ShapeOf(hint);
    if (shape.element == nullptr) continue;
    requestHints.element(*shape.element).attribute(*shape.attribute, value);
  }
}

void QFExecuteCommandHelper::MakeExecuteProperties(const orvidom::Builder& execute) const {
  for (const auto& [name, value] : m_executeProperties) {
    execute.element(korvath_actionhelper_resources_property_str)
        .attribute(korvath_actionhelper_resources_name_str, name)
        .attribute(korvath_actionhelper_resources_value_str, value);
  }
}

void QFExecuteCommandHelper::MakeQueryFeedback(const orvidom::Builder& execute) const {
  if (m_queryFeedback.empty() && m_severityLevel == kQOSSeverityUnknown) return;
  const orvidom::Builder queryFeedback = execute.element(kElemQueryFeedback);
  if (m_severityLevel != kQOSSeverityUnknown) {
    queryFeedback.vocabularyAttribute(kAttrSeverityLevel, ToString(m_severityLevel));
  }
  for (const EQueryFeedback feedback : m_queryFeedback) {
    queryFeedback.element(korvath_actionhelper_resources_property_str)
        .vocabularyAttribute(korvath_actionhelper_resources_name_str, ToString(feedback));
  }
}
