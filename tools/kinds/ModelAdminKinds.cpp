// Kinds of the model administration documents.
#include "Kinds.h"

namespace {

using ObjectAccess = ZoActionHelperObjectAccess;
using SecurityObject = ZoActionHelperSecurityObject;
using SecurityObjectSpec = ZoActionHelperSecurityObjectSpec;
using Retarget = ZoActionHelperRetargetObjectReferences;

// ---- Database connections

void fillDbConnection(JsonObject& in, ZoActionHelperDBConnection& helper) {
  if (auto v = in.string("database")) helper.setDatabase(*v);
  if (auto v = in.string("catalog")) helper.setCatalog(*v);
  if (auto v = in.string("schema")) helper.setSchema(*v);
  if (auto v = in.string("dbType")) helper.setDbType(*v);
  if (auto v = in.string("connectionString")) helper.setConnectionString(*v);
  if (auto v = in.string("userName")) helper.setUserName(*v);
  if (auto v = in.string("password")) helper.setPassword(*v);
  in.finish();
}

ORVIDOM_Element makeDbConnection(JsonObject& in) {
  ZoActionHelperDBConnection helper;
  fillDbConnection(in, helper);
  return makeWith(helper);
}

nlohmann::ordered_json readDbConnection(ORVIDOM_Element& elem) {
  ZoActionHelperDBConnection helper;
  helper.Take(elem);
  return {{"database", toJson(helper.getDatabase())},
          {"catalog", toJson(helper.getCatalog())},
          {"schema", toJson(helper.getSchema())},
          {"dbType", toJson(helper.getDbType())},
          {"connectionString", toJson(helper.getConnectionString())},
          {"userName", toJson(helper.getUserName())},
          {"password", toJson(helper.getPassword())}};
}

// Each connection is made by its own helper and handed over as its element, as callers of the
// collection do.
ORVIDOM_Element makeDbConnections(JsonObject& in) {
  ZoActionHelperDBConnections helper;
  for (JsonObject& c : in.objects("dbConnections")) helper.addDom(makeDbConnection(c));
  in.finish();
  return makeWith(helper);
}

nlohmann::ordered_json readDbConnections(ORVIDOM_Element& elem) {
  ZoActionHelperDBConnections helper;
  helper.Take(elem);
  nlohmann::ordered_json connections = nlohmann::ordered_json::array();
  for (ORVIDOM_Element c : helper.getDomVector()) connections.push_back(readDbConnection(c));
  return {{"dbConnections", connections}};
}

// ---- Query definition file

ORVIDOM_Element makeQueryDefinitionFile(JsonObject& in) {
  ZoActionHelperWvfFile helper;
  if (auto v = in.string("filePath")) helper.setFilePath(*v);
  helper.setContents(in.strings("contents"));
  if (auto v = in.string("dbConnectionName")) helper.setDbConnectionName(*v);
  if (auto v = in.string("cmDataSource")) helper.setCmDataSource(*v);
  in.finish();
  return makeWith(helper);
}

nlohmann::ordered_json readQueryDefinitionFile(ORVIDOM_Element& elem) {
  ZoActionHelperWvfFile helper;
  helper.Take(elem);
  return {{"filePath", toJson(helper.getFilePath())},
          {"contents", toJsonArray(helper.getContents())},
          {"dbConnectionName", toJson(helper.getDbConnectionName())},
          {"cmDataSource", toJson(helper.getCmDataSource())}};
}

// ---- Security objects, shared by the object access and security object documents

// The kinds of principal by their names, so that a misspelt kind is an error rather than a
// principal of an unknown type.
const NameTable<SecurityObject::EAccessType>& accessTypes() {
  static const auto table = namesOf<SecurityObject::EAccessType>(
      SecurityObject::kUser, SecurityObject::kGroup, &SecurityObject::getAccessTypeStr);
  return table;
}

// Reads "cmSearchPath", "displayPath" and "type"; the caller reads its own fields and finishes.
SecurityObject securityObjectFrom(JsonObject& in) {
  const I18NString searchPath = in.string("cmSearchPath").value_or(I18NString());
  const I18NString displayPath = in.string("displayPath").value_or(I18NString());
  return SecurityObject(searchPath, displayPath,
                        lookUp(accessTypes(), in.requiredString("type"), in.pathOf("type")));
}

nlohmann::ordered_json securityObjectJson(const SecurityObject& s) {
  return {{"cmSearchPath", toJson(s.m_cmSearchPath)},
          {"displayPath", toJson(s.m_displayPath)},
          {"type", toJson(s.m_type)}};
}

// ---- Object access

// The rules by their names; the helper's own reading turns any unknown name into
// "unspecified", which would hide a misspelt rule.
const NameTable<ObjectAccess::EObjectAccessRule>& accessRules() {
  static const auto table = namesOf<ObjectAccess::EObjectAccessRule>(
      ObjectAccess::kUnspecified, ObjectAccess::kDeny, &ObjectAccess::getObjectAccessRuleStr);
  return table;
}

// Entries are added after Make, so that they reach the document, merged per search path.
ORVIDOM_Element makeObjectAccess(JsonObject& in) {
  ObjectAccess helper;
  ORVIDOM_Element elem = makeWith(helper);
  for (JsonObject& e : in.objects("entries")) {
    const SecurityObject securityObject = securityObjectFrom(e);
    const ObjectAccess::EObjectAccessRule rule =
        lookUp(accessRules(), e.requiredString("rule"), e.pathOf("rule"));
    e.finish();
    helper.addEntry(securityObject, rule);
  }
  in.finish();
  return elem;
}

nlohmann::ordered_json readObjectAccess(ORVIDOM_Element& elem) {
  ObjectAccess helper;
  helper.Take(elem);
  std::vector<ObjectAccess::SecurityObjectAccess> entries;
  helper.getEntries(entries);
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  for (const auto& e : entries) {
    nlohmann::ordered_json entry = securityObjectJson(*e.m_securityObject);
    entry["rule"] = toJson(ObjectAccess::getObjectAccessRuleStr(e.m_rule));
    out.push_back(entry);
  }
  return {{"entries", out}, {"unspecifiedForAllEntries", helper.isUnspecifiedForAllEntries()}};
}

// ---- Security object specification

SecurityObjectSpec::ViewInfo viewFrom(JsonObject& in) {
  SecurityObjectSpec::ViewInfo view(in.requiredString("viewRef"));
  for (const I18NString& p : in.strings("packageRefs")) view.addPackageRef(p);
  in.finish();
  return view;
}

// Entries are added after Make: the helper writes each one straight into the element made.
ORVIDOM_Element makeSecurityObjects(JsonObject& in) {
  SecurityObjectSpec helper;
  ORVIDOM_Element elem = makeWith(helper);
  for (JsonObject& e : in.objects("entries")) {
    const SecurityObject securityObject = securityObjectFrom(e);
    std::vector<SecurityObjectSpec::ViewInfo> views;
    for (JsonObject& v : e.objects("views")) views.push_back(viewFrom(v));
    e.finish();
    helper.addEntry(securityObject, views);
  }
  in.finish();
  return elem;
}

nlohmann::ordered_json readSecurityObjects(ORVIDOM_Element& elem) {
  SecurityObjectSpec helper;
  helper.Take(elem);
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  std::vector<SecurityObjectSpec::ViewInfo> views;
  while (ORVSmartPointer<SecurityObject> s = helper.getEntry(views)) {
    nlohmann::ordered_json viewsJson = nlohmann::ordered_json::array();
    for (const auto& v : views) {
      std::vector<I18NString> packageRefs;
      v.getPackageRefs(packageRefs);
      viewsJson.push_back(
          {{"viewRef", toJson(v.getViewRef())}, {"packageRefs", toJsonArray(packageRefs)}});
    }
    nlohmann::ordered_json entry = securityObjectJson(*s);
    entry["views"] = viewsJson;
    entries.push_back(entry);
    views.clear();
  }
  return {{"entries", entries}};
}

// ---- Import configuration

nlohmann::ordered_json readImportConfig(ORVIDOM_Element& elem) {
  ZoActionHelperImportConfig helper;
  helper.Take(elem);
  I18NString queryType, pluginName, interfaceType, provider;
  helper.getQueryType(queryType);
  helper.getPluginName(pluginName);
  helper.getInterfaceType(interfaceType);
  helper.getConnectionProvider(provider);
  std::vector<ZoActionHelperImportConfig::ConnectionItem> connectionItems;
  helper.getConnectionItems(connectionItems);
  std::vector<ZoActionHelperImportConfig::ConfigItem> capabilities;
  helper.getCapabilities(capabilities);

  nlohmann::ordered_json items = nlohmann::ordered_json::array();
  for (const auto& i : connectionItems) {
    items.push_back({{"name", toJson(i.m_name)}, {"nameInRequest", toJson(i.m_nameInRequest)}});
  }
  nlohmann::ordered_json configItems = nlohmann::ordered_json::array();
  for (const auto& i : capabilities) {
    configItems.push_back({{"name", toJson(i.m_name)}, {"value", toJson(i.m_value)}});
  }
  return {{"queryType", toJson(queryType)},
          {"pluginName", toJson(pluginName)},
          {"interfaceType", toJson(interfaceType)},
          {"connectionProvider", toJson(provider)},
          {"connectionItems", items},
          {"capabilities", configItems}};
}

// ---- Retarget object references

Retarget::UpdateInfo updateInfoFrom(JsonObject& in) {
  Retarget::UpdateInfo update;
  update.m_newRefValue = in.requiredString("newRefValue");
  for (JsonObject& i : in.objects("itemsToUpdate")) {
    const I18NString itemID = i.requiredString("itemID");
    const std::optional<bool> descend = i.boolean("processDescendants");
    if (!descend) throw InputError(i.pathOf("processDescendants") + ": missing");
    update.m_itemsToUpdate.emplace_back(
        itemID, *descend ? Retarget::kProcessDescendants : Retarget::kDoNotProcessDescendants);
    i.finish();
  }
  in.finish();
  return update;
}

// Entries are added after Make: the helper writes and merges them in the element made.
ORVIDOM_Element makeRetargetObjectReferences(JsonObject& in) {
  Retarget helper;
  ORVIDOM_Element elem = makeWith(helper);
  for (JsonObject& e : in.objects("entries")) {
    const I18NString current = e.requiredString("currentRefValue");
    for (JsonObject& u : e.objects("updateInfoList")) helper.addEntry(current, updateInfoFrom(u));
    e.finish();
  }
  in.finish();
  return elem;
}

nlohmann::ordered_json readRetargetObjectReferences(ORVIDOM_Element& elem) {
  Retarget helper;
  helper.Take(elem);
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  for (const Retarget::Entry& e : helper.getEntries()) {
    nlohmann::ordered_json updates = nlohmann::ordered_json::array();
    for (const Retarget::UpdateInfo& u : e.m_updateInfoList) {
      nlohmann::ordered_json items = nlohmann::ordered_json::array();
      for (const Retarget::ItemToUpdate& i : u.m_itemsToUpdate) {
        items.push_back(
            {{"itemID", toJson(i.m_itemID)},
             {"processDescendants", i.m_processDescendants == Retarget::kProcessDescendants}});
      }
      updates.push_back({{"newRefValue", toJson(u.m_newRefValue)}, {"itemsToUpdate", items}});
    }
    entries.push_back(
        {{"currentRefValue", toJson(e.m_currentRefValue)}, {"updateInfoList", updates}});
  }
  return {{"entries", entries}};
}

// ---- Dimension information

ORVIDOM_Element makeDimensionInfo(JsonObject& in) {
  DimensionInfoHelper helper;
  for (JsonObject& l : in.objects("levels")) {
    const I18NString name = l.string("name").value_or(I18NString());
    const I18NString keyName = l.string("keyName").value_or(I18NString());
    const std::vector<I18NString> keyQueryItems = l.strings("keyQueryItems");
    const bool isUniqueKey = l.boolean("isUniqueKey").value_or(false);
    helper.AddLevel(name, keyName, keyQueryItems, isUniqueKey ? 1 : 0, l.strings("attributes"));
    l.finish();
  }
  for (JsonObject& h : in.objects("hierarchies")) {
    helper.AddHierarchy(h.string("name").value_or(I18NString()), h.strings("functionalDependency"));
    h.finish();
  }
  in.finish();
  return makeWith(helper);
}

// The helper only locates the two parts of a received "dimInfo"; each is given as its XML.
nlohmann::ordered_json readDimensionInfo(ORVIDOM_Element& elem) {
  DimensionInfoHelper helper;
  helper.Take(elem);
  auto part = [](const ORVIDOM_Element& e) -> nlohmann::ordered_json {
    if (e.isNull()) return nullptr;
    return ORVIDOM_Writer::toString(e);
  };
  return {{"levelsElement", part(helper.getLevelsElement(elem))},
          {"hierarchiesElement", part(helper.getHierarchiesElement(elem))}};
}

// ---- fields

// The helper writes a connection without a type, but reads none: the tool asks for it.
std::vector<Field> dbConnectionFields() {
  return {text("database").require().atLeastOne(),
          text("catalog"),
          text("schema"),
          text("dbType").require(),
          text("connectionString").require().atLeastOne(),
          text("userName"),
          text("password")};
}

// The fields that name a principal, then `own`.
std::vector<Field> securityObjectFields(std::vector<Field> own) {
  // Entries are kept by search path: one without is not written.
  std::vector<Field> fields{text("cmSearchPath").require().atLeastOne(), text("displayPath"),
                            choice("type", namesIn(accessTypes())).require()};
  fields.insert(fields.end(), own.begin(), own.end());
  return fields;
}

std::vector<Field> retargetFields() {
  const auto item =
      shape({text("itemID").require().atLeastOne(), boolean("processDescendants").require()});
  const auto update = shape(
      {text("newRefValue").require().atLeastOne(), listOf("itemsToUpdate", item).atLeastOne()});
  return {listOf("entries", shape({text("currentRefValue").require(),
                                   listOf("updateInfoList", update).atLeastOne()}))
              .atLeastOne()
              .comesBack(RoundTrip::Merged)};
}

std::vector<Field> dimensionInfoFields() {
  return {listOf("levels", shape({text("name"), text("keyName"), list("keyQueryItems", text("")),
                                  boolean("isUniqueKey"), list("attributes", text(""))}))
              .madeOnly(),
          listOf("hierarchies", shape({text("name"), list("functionalDependency", text(""))}))
              .madeOnly(),
          xml("levelsElement").readsOnly(), xml("hierarchiesElement").readsOnly()};
}

}  // namespace

void addModelAdminKinds(std::vector<Kind>& kinds) {
  kinds.push_back({"db-connection",
                   {"dbConnection"},
                   "ZoActionHelperDBConnection",
                   "One database connection of a model: database, schema, type and sign-on.",
                   dbConnectionFields(),
                   makeDbConnection,
                   readDbConnection});
  kinds.push_back({"db-connections",
                   {"dbConnections"},
                   "ZoActionHelperDBConnections",
                   "Several database connections sent together.",
                   {listOf("dbConnections", shape(dbConnectionFields())).atLeastOne()},
                   makeDbConnections,
                   readDbConnections});
  kinds.push_back({"query-definition-file",
                   {"file"},
                   "ZoActionHelperWvfFile",
                   "A query definition file, line by line, with its connection and data source.",
                   {text("filePath"), list("contents", text("")).atLeastOne(),
                    text("dbConnectionName"), text("cmDataSource")},
                   makeQueryDefinitionFile,
                   readQueryDefinitionFile});
  kinds.push_back({"object-access",
                   {"objectAccess"},
                   "ZoActionHelperObjectAccess",
                   "Which users, roles and groups are allowed or denied access to an object.",
                   {listOf("entries", shape(securityObjectFields(
                                          {choice("rule", namesIn(accessRules())).require()})))
                        .comesBack(RoundTrip::Merged),
                    boolean("unspecifiedForAllEntries").readsOnly()},
                   makeObjectAccess,
                   readObjectAccess});
  kinds.push_back(
      {"security-objects",
       {"securityObjects"},
       "ZoActionHelperSecurityObjectSpec",
       "Users, roles and groups with the views and packages each may use.",
       {listOf("entries", shape(securityObjectFields({listOf(
                              "views", shape({text("viewRef").require().atLeastOne(),
                                              list("packageRefs", text("").atLeastOne())}))})))},
       makeSecurityObjects,
       readSecurityObjects});
  kinds.push_back(
      {"import-config",
       {"source"},
       "ZoActionHelperImportConfig",
       "The configuration of a metadata import source: its plug-in, connection and "
       "capabilities.",
       {text("queryType"), text("pluginName"), text("interfaceType"), text("connectionProvider"),
        listOf("connectionItems", shape({text("name"), text("nameInRequest")})),
        listOf("capabilities", shape({text("name"), text("value")}))},
       nullptr,
       readImportConfig});
  kinds.push_back({"retarget-object-references",
                   {"retargetObjectReferences"},
                   "ZoActionHelperRetargetObjectReferences",
                   "Points the references to replaced objects at their new targets.",
                   retargetFields(),
                   makeRetargetObjectReferences,
                   readRetargetObjectReferences});
  kinds.push_back({"dimension-info",
                   {"dimInfo"},
                   "DimensionInfoHelper",
                   "A dimension's levels with their keys and attributes, and its hierarchies.",
                   dimensionInfoFields(),
                   makeDimensionInfo,
                   readDimensionInfo});
}
