// The execute command: an "execute" body with its query set (model path, query definitions,
// result definitions, request hints), execute properties and requested query feedback, inside
// the command envelope. Also the text conversions of its enumerations, which other commands use.
#pragma once

#include "queryframework/QFCommandHelper.h"

class KORVATH_API QFExecuteCommandHelper : public QFCommandHelper {
 public:
  // Query feedback a command asks the service for.
  enum EQueryFeedback {
    kQueryFeedbackUnknown = 0,
    kQueryFeedbackNativeCommandText = 1,
    kQueryFeedbackTarvinCommandText = 2,
    kQueryFeedbackConnections = 3,
    kQueryFeedbackColumnList = 4,
    kQueryFeedbackExecutionPlan = 5,
    kQueryFeedbackTableType = 6,
  };

  // The least severity of the query feedback to return.
  enum EQOSSeverity {
    kQOSSeverityUnknown = 0,
    kQOSSeverityError = 1,
    kQOSSeverityWarning = 2,
    kQOSSeverityKeyTransformation = 3,
    kQOSSeverityInformation = 4,
  };

  // The values of the execution optimization request hint.
  enum EQueryOptimization {
    kQueryOptimizationUnknown = 0,
    kQueryOptimizationFirstRow = 1,
    kQueryOptimizationAllRows = 2,
    kQueryOptimizationIncremental = 3,
  };

  enum ERequestHint {
    kRequestHintUnknown = 0,
    kRequestHintNoDataMode = 1,
    kRequestHintDesignMode = 2,
    kRequestHintExecutionOptimization = 3,
    kRequestHintQueryProcessing = 4,
  };

  // The XML names of the enumerations; "unknown" for a value outside them.
  static const I18NString& ToString(EQueryOptimization optimization);
  static const I18NString& ToString(EQueryFeedback feedback);
  static const I18NString& ToString(EQOSSeverity severity);
  // Nag levels 0 and 1 are errors, 2 warnings, 3 key transformations, 4 and above information.
  static EQOSSeverity ConvertNagLevel2SeverityLevel(unsigned long nagLevel);
};
