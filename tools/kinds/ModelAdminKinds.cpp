// Kinds of the model administration documents.
#include "Kinds.h"

namespace {

using DB = ZoActionHelperDBConnection;
using DBs = ZoActionHelperDBConnections;
using WvfFile = ZoActionHelperWvfFile;
using ObjectAccess = ZoActionHelperObjectAccess;
using Access = ObjectAccess::SecurityObjectAccess;
using SecurityObject = ZoActionHelperSecurityObject;
using SecurityObjectSpec = ZoActionHelperSecurityObjectSpec;
using ViewInfo = SecurityObjectSpec::ViewInfo;
using ImportConfig = ZoActionHelperImportConfig;
using Retarget = ZoActionHelperRetargetObjectReferences;

// The helper writes a connection without a type, but reads none: the tool asks for it.
std::vector<Field> dbConnectionFields() {
  return {text("database").require().atLeastOne().on(&DB::setDatabase, &DB::getDatabase),
          text("catalog").on(&DB::setCatalog, &DB::getCatalog),
          text("schema").on(&DB::setSchema, &DB::getSchema),
          text("dbType").require().on(&DB::setDbType, &DB::getDbType),
          text("connectionString")
              .require()
              .atLeastOne()
              .on(&DB::setConnectionString, &DB::getConnectionString),
          text("userName").on(&DB::setUserName, &DB::getUserName),
          text("password").on(&DB::setPassword, &DB::getPassword)};
}

// Each connection is made by its own helper and handed over as its element, as callers of the
// collection do, so the list is filled and read by hand.
Field dbConnectionList() {
  static const std::vector<Field> fields = dbConnectionFields();
  return listOf("dbConnections", shape(fields))
      .atLeastOne()
      .on(
          [](DBs& helper, const Json& connections, Fill& fill) {
            for (const Json& c : connections) {
              DB connection;
              setFields(fields, binding::targetOf(connection), c, fill);
              helper.addDom(makeWith(connection));
            }
          },
          [](const DBs& helper) {
            Ordered out = Ordered::array();
            for (ORVIDOM_Element c : helper.getDomVector()) {
              DB connection;
              connection.Take(c);
              out.push_back(readFields(fields, binding::targetOf(connection)));
            }
            return out;
          });
}

// The kinds of principal by their names, so that a misspelt kind is an error rather than a
// principal of an unknown type.
Names accessTypes() {
  return namesOf<SecurityObject::EAccessType>(SecurityObject::kUser, SecurityObject::kGroup,
                                              &SecurityObject::getAccessTypeStr);
}

// The fields that name a principal, arguments of the call that adds its entry, then `own`; read
// from an entry that holds the principal as `m_securityObject`.
template <class Entry>
std::vector<Field> principalFields(Field own) {
  // Entries are kept by search path: one without is not written.
  return {text("cmSearchPath").require().atLeastOne().arg([](const Entry& e) {
            return e.m_securityObject->m_cmSearchPath;
          }),
          text("displayPath").arg([](const Entry& e) { return e.m_securityObject->m_displayPath; }),
          choice("type", accessTypes()).require().arg([](const Entry& e) {
            return e.m_securityObject->m_type;
          }),
          own};
}

// The rules by their names; the helper's own reading turns any unknown name into
// "unspecified", which would hide a misspelt rule.
Names accessRules() {
  return namesOf<ObjectAccess::EObjectAccessRule>(ObjectAccess::kUnspecified, ObjectAccess::kDeny,
                                                  &ObjectAccess::getObjectAccessRuleStr);
}

// Entries are added after Make, so that they reach the document, merged per search path: the
// first entry's texts stay, with the strongest rule given.
std::vector<Field> objectAccessFields() {
  const auto add = [](ObjectAccess& helper, const I18NString& searchPath,
                      const I18NString& displayPath, SecurityObject::EAccessType type,
                      ObjectAccess::EObjectAccessRule rule) {
    helper.addEntry(SecurityObject(searchPath, displayPath, type), rule);
  };
  const Field rule =
      choice("rule", accessRules()).require().combines(Combine::Strongest).arg(&Access::m_rule);
  return {listOf("entries", shape(principalFields<Access>(rule)))
              .mergedBy({"cmSearchPath"})
              .afterMaking()
              .on(add, filled(&ObjectAccess::getEntries)),
          boolean("unspecifiedForAllEntries")
              .readsOnly()
              .on(nullptr, &ObjectAccess::isUnspecifiedForAllEntries)};
}

// A received security object with its views, as the helper hands them out one by one.
struct SpecEntry {
  ORVSmartPointer<SecurityObject> m_securityObject;
  std::vector<ViewInfo> views;
};

// Entries are added after Make: the helper writes each one straight into the element made.
std::vector<Field> securityObjectsFields() {
  const auto views =
      valueShape({text("viewRef").require().atLeastOne().arg(&ViewInfo::getViewRef),
                  // A view's package is written once however often it is given.
                  list("packageRefs", text("").atLeastOne())
                      .comesBack(RoundTrip::Unique)
                      .on(&ViewInfo::addPackageRef, filled(&ViewInfo::getPackageRefs))},
                 [](const I18NString& viewRef) { return ViewInfo(viewRef); });
  const auto add = [](SecurityObjectSpec& helper, const I18NString& searchPath,
                      const I18NString& displayPath, SecurityObject::EAccessType type,
                      const std::vector<ViewInfo>& views) {
    helper.addEntry(SecurityObject(searchPath, displayPath, type), views);
  };
  const auto entries = [](SecurityObjectSpec& helper) {
    std::vector<SpecEntry> out;
    for (SpecEntry e; (e.m_securityObject = helper.getEntry(e.views)); e.views.clear()) {
      out.push_back(e);
    }
    return out;
  };
  return {listOf("entries",
                 shape(principalFields<SpecEntry>(listOf("views", views).arg(&SpecEntry::views))))
              .afterMaking()
              .on(add, entries)};
}

std::vector<Field> importConfigFields() {
  using Item = ImportConfig::ConnectionItem;
  using Capability = ImportConfig::ConfigItem;
  return {
      text("queryType").on(nullptr, filled(&ImportConfig::getQueryType)),
      text("pluginName").on(nullptr, filled(&ImportConfig::getPluginName)),
      text("interfaceType").on(nullptr, filled(&ImportConfig::getInterfaceType)),
      text("connectionProvider").on(nullptr, filled(&ImportConfig::getConnectionProvider)),
      listOf("connectionItems", shape({text("name").on(nullptr, &Item::m_name),
                                       text("nameInRequest").on(nullptr, &Item::m_nameInRequest)}))
          .on(nullptr, filled(&ImportConfig::getConnectionItems)),
      listOf("capabilities", shape({text("name").on(nullptr, &Capability::m_name),
                                    text("value").on(nullptr, &Capability::m_value)}))
          .on(nullptr, filled(&ImportConfig::getCapabilities))};
}

// Entries are added after Make: the helper writes and merges them in the element made, per
// current value, new value and item, an item taking the latest option given.
std::vector<Field> retargetFields() {
  using Item = Retarget::ItemToUpdate;
  using Update = Retarget::UpdateInfo;
  const auto item =
      valueShape({text("itemID").require().atLeastOne().arg(&Item::m_itemID),
                  boolean("processDescendants")
                      .require()
                      .combines(Combine::Last)
                      .arg(&Item::m_processDescendants)},
                 [](const I18NString& id, Retarget::EProcessDescendantsOption descend) {
                   return Item(id, descend);
                 });
  const auto update =
      valueShape({text("newRefValue").require().atLeastOne().arg(&Update::m_newRefValue),
                  listOf("itemsToUpdate", item)
                      .atLeastOne()
                      .mergedBy({"itemID"})
                      .arg(&Update::m_itemsToUpdate)},
                 [](const I18NString& value, const std::vector<Item>& items) {
                   return Update{value, items};
                 });
  const auto add = [](Retarget& helper, const I18NString& current,
                      const std::vector<Update>& updates) {
    for (const Update& u : updates) helper.addEntry(current, u);
  };
  return {listOf("entries",
                 shape({text("currentRefValue").require().arg(&Retarget::Entry::m_currentRefValue),
                        listOf("updateInfoList", update)
                            .atLeastOne()
                            .mergedBy({"newRefValue"})
                            .arg(&Retarget::Entry::m_updateInfoList)}))
              .atLeastOne()
              .mergedBy({"currentRefValue"})
              .afterMaking()
              .on(add, &Retarget::getEntries)};
}

using Dimension = Taken<DimensionInfoHelper>;

// Made from levels and hierarchies; the helper only locates the two parts of a received
// "dimInfo", each given as its XML.
std::vector<Field> dimensionInfoFields() {
  return {
      listOf("levels", shape({text("name").arg(), text("keyName").arg(),
                              list("keyQueryItems", text("")).arg(), boolean("isUniqueKey").arg(),
                              list("attributes", text("")).arg()}))
          .madeOnly()
          .on(&DimensionInfoHelper::AddLevel),
      listOf("hierarchies",
             shape({text("name").arg(), list("functionalDependency", text("")).arg()}))
          .madeOnly()
          .on(&DimensionInfoHelper::AddHierarchy),
      xml("levelsElement")
          .readsOnly()
          .on(nullptr, [](Dimension& d) { return d.getLevelsElement(d.taken); }),
      xml("hierarchiesElement").readsOnly().on(nullptr, [](Dimension& d) {
        return d.getHierarchiesElement(d.taken);
      })};
}

}  // namespace

void addModelAdminKinds(std::vector<Kind>& kinds) {
  kinds.push_back(
      bound<DB>({"db-connection",
                 {"dbConnection"},
                 "ZoActionHelperDBConnection",
                 "One database connection of a model: database, schema, type and sign-on.",
                 dbConnectionFields()}));
  kinds.push_back(bound<DBs>({"db-connections",
                              {"dbConnections"},
                              "ZoActionHelperDBConnections",
                              "Several database connections sent together.",
                              {dbConnectionList()}}));
  kinds.push_back(bound<WvfFile>(
      {"query-definition-file",
       {"file"},
       "ZoActionHelperWvfFile",
       "A query definition file, line by line, with its connection and data source.",
       {text("filePath").on(&WvfFile::setFilePath, &WvfFile::getFilePath),
        list("contents", text("")).atLeastOne().on(&WvfFile::setContents, &WvfFile::getContents),
        text("dbConnectionName").on(&WvfFile::setDbConnectionName, &WvfFile::getDbConnectionName),
        text("cmDataSource").on(&WvfFile::setCmDataSource, &WvfFile::getCmDataSource)}}));
  kinds.push_back(bound<ObjectAccess>(
      {"object-access",
       {"objectAccess"},
       "ZoActionHelperObjectAccess",
       "Which users, roles and groups are allowed or denied access to an object.",
       objectAccessFields()}));
  kinds.push_back(bound<SecurityObjectSpec>(
      {"security-objects",
       {"securityObjects"},
       "ZoActionHelperSecurityObjectSpec",
       "Users, roles and groups with the views and packages each may use.",
       securityObjectsFields()}));
  kinds.push_back(bound<ImportConfig>(
      {"import-config",
       {"source"},
       "ZoActionHelperImportConfig",
       "The configuration of a metadata import source: its plug-in, connection and capabilities.",
       importConfigFields()}));
  kinds.push_back(
      bound<Retarget>({"retarget-object-references",
                       {"retargetObjectReferences"},
                       "ZoActionHelperRetargetObjectReferences",
                       "Points the references to replaced objects at their new targets.",
                       retargetFields()}));
  kinds.push_back(
      bound<Dimension>({"dimension-info",
                        {"dimInfo"},
                        "DimensionInfoHelper",
                        "A dimension's levels with their keys and attributes, and its hierarchies.",
                        dimensionInfoFields()}));
}
