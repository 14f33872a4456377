// Reads the input with one reading helper, chosen by the first byte: parses the rest, runs Take
// and then every getter and on-demand reader the helper has, touching every string they give.
#include <vector>

#include "FuzzSupport.h"

namespace {

using fuzz::Touch;

void touchAll(const std::vector<I18NString>& texts) {
  for (const I18NString& t : texts) Touch(t);
}

void readUpdateRequest(ORVIDOM_Element& root) {
  using Task = ZoUpdateRequestTaskHelper;
  ZoUpdateObjectRequestHelper request;
  request.Take(root);
  for (Task* task : request.GetTasks()) {
    Touch(Task::ToString(task->GetTask()));
    for (int kind = Task::kParamUnknown; kind <= Task::kParamDimensionRef + 1; ++kind) {
      std::vector<Task::ParamValue*> values;
      task->GetParameter(static_cast<Task::EParameter>(kind), values);
      for (const Task::ParamValue* v : values) {
        Touch(v->value);
        Touch(v->locale);
        if (!v->element.isNull()) Touch(ORVIDOM_Writer::toString(v->element));
      }
      Task::ParamValue* first = nullptr;
      if (task->GetParameter(static_cast<Task::EParameter>(kind), first)) Touch(first->value);
    }
  }
}

void readUpdateResponse(ORVIDOM_Element& root) {
  using Task = ZoUpdateResponseTaskHelper;
  ZoUpdateObjectResponseHelper response;
  response.Take(root);
  for (Task* task : response.GetTasks()) {
    Touch(ToString(task->GetStatus()));
    for (int kind = Task::kParamUnknown; kind <= Task::kParamObject + 1; ++kind) {
      std::vector<I18NString> values;
      task->GetParameter(static_cast<Task::EParameter>(kind), values);
      touchAll(values);
    }
    if (Task::ErrorInfo* error = task->GetError()) {
      Touch(error->code);
      Touch(error->message);
    }
    ORVIDOM_Element feedbackElement = task->GetFeedback();
    if (feedbackElement.isNull()) continue;
    ZoActionFeedbackHelper feedback;
    feedback.Take(feedbackElement);
    I18NString rendered;
    feedback.Render(rendered);
    Touch(rendered);
  }
  response.GetTask(ZoUpdateRequestTaskHelper::kTaskAddObject);
}

void readQueryResponse(ORVIDOM_Element& root) {
  QFResponseDomHelper response;
  response.Take(root);
  for (int f = QFExecuteCommandHelper::kQueryFeedbackUnknown;
       f <= QFExecuteCommandHelper::kQueryFeedbackTableType + 1; ++f) {
    I18NString value;
    response.GetQueryFeedback(static_cast<QFExecuteCommandHelper::EQueryFeedback>(f), value);
    Touch(value);
  }
  std::vector<QFResponseDomHelper::DataSource> sources;
  response.GetResponseDataSources(sources);
  for (const auto& s : sources) touchAll({s.value, s.catalog, s.schema});
  std::vector<std::map<QFResponseDomHelper::EColumnProp, I18NString>> columns;
  response.GetColumnList(columns);
  for (const auto& column : columns) {
    for (const auto& [prop, value] : column) Touch(value);
  }
  for (ORVIDOM_Element row = response.GetFirstResultSetRow(); !row.isNull();
       row = response.GetNextResultSetRow(row)) {
    std::vector<I18NString> values;
    response.GetResultSetRowValues(row, values);
    touchAll(values);
  }
}

// Every item of a list of value items, hierarchies walked with a stack of their own.
void readValueItems(const std::vector<QsParamValueItemHelper*>& items) {
  std::vector<QsParamValueItemHelper*> work(items.begin(), items.end());
  const auto readSimple = [](QsParamValueItemSimpleHelper* simple) {
    if (!simple) return;
    Touch(simple->GetUse());
    Touch(simple->GetDisplay());
  };
  while (!work.empty()) {
    QsParamValueItemHelper* item = work.back();
    work.pop_back();
    Touch(item->GetTesselType());
    item->IsInclusive();
    switch (item->GetType()) {
      case QsParamValueItemHelper::kValueItemSimple:
        readSimple(static_cast<QsParamValueItemSimpleHelper*>(item));
        break;
      case QsParamValueItemHelper::kValueItemRange: {
        auto* range = static_cast<QsParamValueItemRangeHelper*>(item);
        readSimple(range->GetStart());
        readSimple(range->GetEnd());
        break;
      }
      case QsParamValueItemHelper::kValueItemHierarchy: {
        auto* node = static_cast<QsParamValueItemHierarchyHelper*>(item);
        readSimple(node->GetValue());
        for (QsParamValueItemHierarchyHelper* sub : node->GetSubNodes()) work.push_back(sub);
        break;
      }
      default:
        break;
    }
  }
}

void readPromptFault(ORVIDOM_Element& root) {
  QsPromptFaultHelper fault;
  fault.Take(root);
  for (QsParameterHelper* p : fault.GetParameters()) {
    touchAll({p->GetName(), p->GetType(), p->GetModelDisplayItem(), p->GetModelFilterItem(),
              p->GetModelUseItem()});
    for (const QsParameterHelper::Caption* c : p->GetCaptions())
      touchAll({c->m_locale, c->m_value});
    p->GetCapabilities();
    readValueItems(p->GetPossibleValues());
    readValueItems(p->GetValues());
    if (const QsParamValueItemHelper* d = p->GetDefaultValue()) Touch(d->GetTesselType());
  }
}

void readConnection(const QsDataSourceFaultHelper::ConnectionInfo* c) {
  if (!c) return;
  touchAll({c->m_name, c->m_searchPath, c->m_connectionString});
  for (const auto* s : c->m_signons) touchAll({s->m_name, s->m_searchPath});
}

void readDataSourceFault(ORVIDOM_Element& root) {
  QsDataSourceFaultHelper fault;
  fault.Take(root);
  touchAll({fault.GetFaultCode(), fault.GetFaultSubCode(), fault.GetFaultString(),
            fault.GetFaultSubString(), fault.GetFaultDataSourceName()});
  if (auto* s = fault.GetFaultSignon()) touchAll({s->m_name, s->m_searchPath});
  readConnection(fault.GetFaultConnection());
  QsDataSourceFaultHelper::DataSourceInfo info;
  if (fault.GetDataSourceInfo(fault.GetFaultDataSourceName(), info)) {
    for (const auto* c : info.m_connections) readConnection(c);
    if (!info.m_connections.empty())
      readConnection(info.GetConnectionInfo(info.m_connections[0]->m_name));
  }
}

void readMetadataResponse(ORVIDOM_Element& root) {
  QsMetadataResponseHelper response;
  response.Take(root);
  std::vector<I18NString> entryNames;
  for (ORVIDOM_Node n = root.getFirstChild(); !n.isNull(); n = n.getNextSibling()) {
    entryNames.push_back(n.getNodeName());
  }
  entryNames.push_back("");
  for (const I18NString& name : entryNames) {
    response.EntriesSize(name);
    response.GetLastEntry(name);
    for (ORVIDOM_Element e = response.GetFirstEntry(name); !e.isNull();
         e = response.GetNextEntry(e, name)) {
      std::vector<I18NString> names, values;
      response.GetPropertyNameValues(e, names, values);
      touchAll(names);
      touchAll(values);
    }
  }
}

void readSecurityObject(const ORVSmartPointer<ZoActionHelperSecurityObject>& object) {
  if (!object) return;
  touchAll({object->m_cmSearchPath, object->m_displayPath, object->m_type});
}

void readObjectAccess(ORVIDOM_Element& root) {
  ZoActionHelperObjectAccess access;
  access.Take(root);
  std::vector<ZoActionHelperObjectAccess::SecurityObjectAccess> entries;
  access.getEntries(entries);
  for (const auto& e : entries) {
    readSecurityObject(e.m_securityObject);
    Touch(ZoActionHelperObjectAccess::getObjectAccessRuleStr(e.m_rule));
  }
  access.isUnspecifiedForAllEntries();
}

void readSecuritySpec(ORVIDOM_Element& root) {
  ZoActionHelperSecurityObjectSpec spec;
  spec.Take(root);
  for (;;) {
    std::vector<ZoActionHelperSecurityObjectSpec::ViewInfo> views;
    ORVSmartPointer<ZoActionHelperSecurityObject> object = spec.getEntry(views);
    if (!object) break;
    readSecurityObject(object);
    for (const auto& view : views) {
      Touch(view.getViewRef());
      std::vector<I18NString> packages;
      view.getPackageRefs(packages);
      touchAll(packages);
    }
  }
}

void readRetarget(ORVIDOM_Element& root) {
  ZoActionHelperRetargetObjectReferences retarget;
  retarget.Take(root);
  for (const auto& entry : retarget.getEntries()) {
    Touch(entry.m_currentRefValue);
    for (const auto& info : entry.m_updateInfoList) {
      Touch(info.m_newRefValue);
      for (const auto& item : info.m_itemsToUpdate) Touch(item.m_itemID);
    }
  }
}

void readImportConfig(ORVIDOM_Element& root) {
  ZoActionHelperImportConfig config;
  config.Take(root);
  I18NString text;
  config.getQueryType(text);
  config.getPluginName(text);
  config.getInterfaceType(text);
  config.getConnectionProvider(text);
  Touch(text);
  std::vector<ZoActionHelperImportConfig::ConnectionItem> connections;
  config.getConnectionItems(connections);
  for (const auto& c : connections) touchAll({c.m_name, c.m_nameInRequest});
  std::vector<ZoActionHelperImportConfig::ConfigItem> capabilities;
  config.getCapabilities(capabilities);
  for (const auto& c : capabilities) touchAll({c.m_name, c.m_value});
}

void readMaterializeRequest(ORVIDOM_Element& root) {
  ZoMaterializeRequestHelper request;
  request.Take(root);
  request.GetTasks();
  for (int p = ZoMaterializeRequestHelper::kParamUnknown;
       p <= ZoMaterializeRequestHelper::kParamObjectID + 1; ++p) {
    I18NString value;
    request.GetParameter(static_cast<ZoMaterializeRequestHelper::EParameters>(p), value);
    Touch(value);
  }
  const ZoMaterializeRequestHelper::TargetDataSource source = request.GetTargetDataSourceInfo();
  for (const I18NString* s : {source.type, source.database, source.connectionString,
                              source.username, source.password, source.SSOTicket}) {
    if (s) Touch(*s);
  }
  ORVIDOM_Element resultSet = request.GetResultSet();
  if (!resultSet.isNull()) Touch(ORVIDOM_Writer::toString(resultSet));
}

void readMaterializeResponse(ORVIDOM_Element& root) {
  ZoMaterializeResponseHelper response;
  response.Take(root);
  for (int t = ZoMaterializeRequestHelper::kTaskUnknown;
       t <= ZoMaterializeRequestHelper::kTaskMaterializeResultSet + 1; ++t) {
    I18NString value;
    response.GetResponse(static_cast<ZoMaterializeRequestHelper::ETasks>(t), value);
    Touch(value);
  }
}

void readModelAnalysisRequest(ORVIDOM_Element& root) {
  ZoModelAnalysisRequestHelper request;
  request.Take(root);
  for (const ZoAnalyzeRequestTaskHelper* task : request.GetTasks()) {
    Touch(ZoAnalyzeRequestTaskHelper::ToString(task->GetTask()));
    for (auto check : task->GetChecks()) Touch(ZoAnalyzeRequestTaskHelper::ToString(check));
    touchAll(task->GetObjects());
  }
}

void readPackagesReport(ORVIDOM_Element& root) {
  ZoPackagesReportHelper report;
  report.Take(root);
  for (const auto* p : report.GetPackages()) touchAll({p->defaultName, p->cmSearchPath});
}

void readExternalizeReport(ORVIDOM_Element& root) {
  ZoExternalizeReportHelper report;
  report.Take(root);
  for (const auto* e : report.GetEntries()) touchAll({e->objectID, e->method, e->path, e->error});
}

using Reader = void (*)(ORVIDOM_Element&);
const Reader kReaders[] = {
    readUpdateRequest,        readUpdateResponse,     readQueryResponse,
    readPromptFault,          readDataSourceFault,    readMetadataResponse,
    readObjectAccess,         readSecuritySpec,       readRetarget,
    readImportConfig,         readMaterializeRequest, readMaterializeResponse,
    readModelAnalysisRequest, readPackagesReport,     readExternalizeReport,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const Reader read = kReaders[data[0] % std::size(kReaders)];
  ORVIDOM_Element root = fuzz::ParseElement(data + 1, size - 1);
  if (root.isNull()) return 0;
  fuzz::Allowed([&] { read(root); });
  return 0;
}
