// The execute command: an "execute" body with its query set (model path, query definitions,
// result definitions, request hints), execute properties and requested query feedback, inside
// the command envelope. Also the text conversions of its enumerations, which other commands use.
#pragma once

#include <map>
#include <vector>

#include <Korvath_ActionHelper/orvcore/I18NLocale.h>
#include <Korvath_ActionHelper/queryframework/QFCommandHelper.h>
#include <Korvath_ActionHelper/queryframework/QFQueryHelper.h>

class KORVATH_API QFExecuteCommandHelper : public QFCommandHelper {
 public:
  // The enumerations hold any int: a value outside them is kept and written as "unknown".
  // Query feedback a command asks the service for.
  enum EQueryFeedback : int {
    kQueryFeedbackUnknown = 0,
    kQueryFeedbackNativeCommandText = 1,
    kQueryFeedbackTarvinCommandText = 2,
    kQueryFeedbackConnections = 3,
    kQueryFeedbackColumnList = 4,
    kQueryFeedbackExecutionPlan = 5,
    kQueryFeedbackTableType = 6,
  };

  // The least severity of the query feedback to return.
  enum EQOSSeverity : int {
    kQOSSeverityUnknown = 0,
    kQOSSeverityError = 1,
    kQOSSeverityWarning = 2,
    kQOSSeverityKeyTransformation = 3,
    kQOSSeverityInformation = 4,
  };

  // The values of the execution optimization request hint.
  enum EQueryOptimization : int {
    kQueryOptimizationUnknown = 0,
    kQueryOptimizationFirstRow = 1,
    kQueryOptimizationAllRows = 2,
    kQueryOptimizationIncremental = 3,
  };

  enum ERequestHint : int {
    kRequestHintUnknown = 0,
    kRequestHintNoDataMode = 1,
    kRequestHintDesignMode = 2,
    kRequestHintExecutionOptimization = 3,
    kRequestHintQueryProcessing = 4,
  };

  // The locale is not owned and must outlive the last Make; null writes no expression locale.
  QFExecuteCommandHelper(const I18NString& modelPath, const I18NLocale* expressionLocale);
  ~QFExecuteCommandHelper() override;
  QFExecuteCommandHelper(const QFExecuteCommandHelper&) = delete;
  QFExecuteCommandHelper& operator=(const QFExecuteCommandHelper&) = delete;

  // The Add...Query operations create a query definition, append it to the command and return
  // it for filling; the command keeps ownership.
  QFQueryHelper* AddQuery(const I18NString& name);
  QFQueryHelper* AddJoinQuery(const I18NString& name, const I18NString& leftQuery,
                              const I18NString& leftCardinality, const I18NString& rightQuery,
                              const I18NString& rightCardinality,
                              const I18NString& filterExpression);
  // The set operation combines the command's queries "leftQuery" and "rightQuery".
  QFQueryHelper* AddModelSetQuery(const I18NString& name, std::vector<I18NString> projectionItems,
                                  const I18NString& setOperation, const I18NString& duplicates);
  // Sets an execute property, replacing an earlier value.
  void AddExecuteProperty(const I18NString& name, const I18NString& value);
  // Sets a request hint, replacing an earlier value. The execution optimization hint normally
  // takes one of the EQueryOptimization texts.
  void AddRequestHint(ERequestHint hint, const I18NString& value);
  // Appends to the feedback asked for; a feedback added twice is asked for twice.
  void AddQueryFeedback(EQueryFeedback feedback);
  void SetQOSSeverityLevel(EQOSSeverity level);

  // The XML names of the enumerations; "unknown" for a value outside them.
  static const I18NString& ToString(EQueryOptimization optimization);
  static const I18NString& ToString(EQueryFeedback feedback);
  static const I18NString& ToString(EQOSSeverity severity);
  // The element a request hint is written as; "unknown" for a value outside the enumeration.
  static const I18NString& ToString(ERequestHint hint);
  // Nag levels 0 and 1 are errors, 2 warnings, 3 key transformations, 4 and above information.
  static EQOSSeverity ConvertNagLevel2SeverityLevel(unsigned long nagLevel);

 protected:
  // ORVAssertError when the command holds no query definition.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;

 private:
  QFQueryHelper* Append(QFQueryHelper* query);
  void MakeQueries(const orvidom::Builder& querySet) const;
  // The result definition that refers to the processed queries' data items.
  void MakeResultDefinitions(const orvidom::Builder& querySet) const;
  void MakeRequestHints(const orvidom::Builder& querySet) const;
  void MakeExecuteProperties(const orvidom::Builder& execute) const;
  void MakeQueryFeedback(const orvidom::Builder& execute) const;

  const I18NLocale* m_expressionLocale;
  std::vector<QFQueryHelper*> m_queries;
  std::map<ERequestHint, I18NString> m_requestHints;
  std::vector<EQueryFeedback> m_queryFeedback;
  std::map<I18NString, I18NString> m_executeProperties;
  EQOSSeverity m_severityLevel = kQOSSeverityUnknown;
};
