// Kinds of the query service interface documents.
#include "Kinds.h"

namespace {

ORVIDOM_Element makeMetadataRequest(JsonObject& in) {
  QsMetadataRequestHelper helper;
  if (auto v = in.string("metadataClass")) helper.SetMetadataClass(*v);
  if (auto v = in.string("context")) helper.SetContext(*v);
  if (auto v = in.unsignedInteger("depth")) helper.SetDepth(static_cast<unsigned long>(*v));
  if (auto v = in.unsignedInteger("resultStart"))
    helper.SetResultStart(static_cast<unsigned long>(*v));
  if (auto v = in.unsignedInteger("resultCount"))
    helper.SetResultCount(static_cast<unsigned long>(*v));
  if (auto v = in.boolean("resultSchema")) helper.SetResultSchema(*v ? 1 : 0);
  for (const I18NString& c : in.strings("constraints")) helper.AddConstraint(c);
  for (const I18NString& p : in.strings("properties")) helper.AddProperty(p);
  for (const I18NString& p : in.strings("retrieveProperties")) helper.AddRetrieveProperty(p);
  helper.SetAliasTablesMap(in.stringMap("aliasTables"));
  in.finish();
  return makeWith(helper);
}

nlohmann::ordered_json signonJson(const QsDataSourceFaultHelper::SignonInfo* s) {
  if (!s) return nullptr;
  return {{"name", toJson(s->m_name)}, {"searchPath", toJson(s->m_searchPath)}};
}

nlohmann::ordered_json connectionJson(const QsDataSourceFaultHelper::ConnectionInfo* c) {
  if (!c) return nullptr;
  nlohmann::ordered_json signons = nlohmann::ordered_json::array();
  for (const auto* s : c->m_signons) signons.push_back(signonJson(s));
  return {{"name", toJson(c->m_name)},
          {"searchPath", toJson(c->m_searchPath)},
          {"connectionString", toJson(c->m_connectionString)},
          {"signons", signons}};
}

nlohmann::ordered_json readDataSourceFault(ORVIDOM_Element& elem) {
  QsDataSourceFaultHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json out{{"faultCode", toJson(helper.GetFaultCode())},
                             {"faultSubCode", toJson(helper.GetFaultSubCode())},
                             {"faultString", toJson(helper.GetFaultString())},
                             {"faultSubString", toJson(helper.GetFaultSubString())},
                             {"faultDataSourceName", toJson(helper.GetFaultDataSourceName())},
                             {"faultSignon", signonJson(helper.GetFaultSignon())},
                             {"faultConnection", connectionJson(helper.GetFaultConnection())}};
  QsDataSourceFaultHelper::DataSourceInfo info;
  if (helper.GetDataSourceInfo(helper.GetFaultDataSourceName(), info)) {
    nlohmann::ordered_json connections = nlohmann::ordered_json::array();
    for (const auto* c : info.m_connections) connections.push_back(connectionJson(c));
    out["dataSource"] = {
        {"name", toJson(info.m_name)}, {"type", toJson(info.m_type)}, {"connections", connections}};
  }
  return out;
}

// Every entry of the response in order, with its properties.
nlohmann::ordered_json readMetadataResponse(ORVIDOM_Element& elem) {
  QsMetadataResponseHelper helper;
  helper.Take(elem);
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  for (ORVIDOM_Node n = elem.getFirstChild(); !n.isNull(); n = n.getNextSibling()) {
    if (n.getNodeType() != ORVIDOM_Node::ELEMENT_NODE) continue;
    ORVIDOM_Element entry(n);
    std::vector<I18NString> names, values;
    helper.GetPropertyNameValues(entry, names, values);
    nlohmann::ordered_json properties = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < names.size(); ++i) properties[names[i].str()] = values[i].str();
    entries.push_back({{"entry", n.getNodeName().str()}, {"properties", properties}});
  }
  return {{"entries", entries}};
}

}  // namespace

void addQueryServiceKinds(std::vector<Kind>& kinds) {
  kinds.push_back({"metadata-request", "command", "QsMetadataRequestHelper",
                   "Asks the query service for the metadata of a class of objects.",
                   makeMetadataRequest, nullptr, nullptr});
  kinds.push_back({"data-source-fault", "", "QsDataSourceFaultHelper",
                   "The fault the query service sends when it cannot reach a data source.", nullptr,
                   readDataSourceFault, nullptr});
  kinds.push_back({"metadata-response", "", "QsMetadataResponseHelper",
                   "The query service's answer to a metadata request.", nullptr,
                   readMetadataResponse, nullptr});
}
