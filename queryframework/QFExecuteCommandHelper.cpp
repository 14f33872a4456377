#include "queryframework/QFExecuteCommandHelper.h"

#include "core/Resources.h"

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

}  // namespace

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
