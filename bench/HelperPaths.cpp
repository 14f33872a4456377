// The cases made and read through the library's helpers, the way a caller of the library would.
#include "Cases.h"
#include "orvidom/ORVIDOM_Writer.h"
#include "queryframework/QFExecuteCommandHelper.h"

namespace bench {
namespace {

std::string Write(const ActionHandlerBase& helper) {
  ORVIDOM_Element element;
  helper.Make(element);
  return ORVIDOM_Writer::toString(element);
}

Result MakeExecute(const ExecuteInput& input) {
  QFExecuteCommandHelper command(input.modelPath, nullptr);
  QFQueryHelper* query = command.AddQuery(input.queryName);
  for (const QueryDataItem& item : input.dataItems) {
    query->AddDataItem(item.name, item.expression);
  }
  for (const QueryDetailFilter& filter : input.detailFilters) {
    query->AddDetailFilter(filter.expression, static_cast<QFQueryDetailFilter::EUse>(filter.use));
  }
  return Write(command);
}

const bool kRegistered = [] {
  ExecuteCase().AddPath("helper", MakeExecute);
  return true;
}();

}  // namespace
}  // namespace bench
