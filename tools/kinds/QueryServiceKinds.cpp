// Kinds of the query service interface documents.
#include "Kinds.h"

#include <map>
#include <memory>
#include <optional>

namespace {

using json = nlohmann::ordered_json;

unsigned long toUnsignedLong(unsigned long long v) { return static_cast<unsigned long>(v); }

// ---- connect request

// A model to connect to, as `AddModel` takes it.
void addModel(QsApiConnectHelper& helper, JsonObject in) {
  const I18NString name = in.requiredString("name");
  const bool engineModel = in.boolean("engineModel").value_or(false);
  in.finish();
  helper.AddModel(name, engineModel);
}

// A setting named by the caller, as `AddProperty` takes it.
void addProperty(QsApiConnectHelper& helper, JsonObject in) {
  const I18NString name = in.requiredString("name");
  const I18NString value = in.string("value").value_or(I18NString());
  in.finish();
  helper.AddProperty(name, value);
}

// Brings the made request up to date as `RefreshRequest` does for a request already sent.
void refreshRequest(ORVIDOM_Element& request, JsonObject in) {
  const I18NString passport = in.string("passport").value_or(I18NString());
  const std::optional<I18NString> product = in.string("productLocale");
  const std::optional<I18NString> run = in.string("runLocale");
  in.finish();
  const I18NLocale productLocale(product.value_or(I18NString()));
  const I18NLocale runLocale(run.value_or(I18NString()));
  QsApiConnectHelper::RefreshRequest(request, passport, product ? &productLocale : nullptr,
                                     run ? &runLocale : nullptr);
}

ORVIDOM_Element makeConnectRequest(JsonObject& in) {
  QsApiConnectHelper helper;
  if (auto v = in.string("providerType")) helper.SetProviderType(*v);
  if (auto v = in.string("namespace")) helper.SetNamespace(*v);
  if (auto v = in.string("userName")) helper.SetUserName(*v);
  if (auto v = in.string("password")) helper.SetPassword(*v);
  if (auto v = in.string("passport")) helper.SetPassport(*v);
  if (auto v = in.string("contentManagerURI")) helper.SetContentManagerURI(*v);
  if (auto v = in.string("runLocale")) helper.SetRunLocale(I18NLocale(*v));
  if (auto v = in.string("productLocale")) helper.SetProductLocale(I18NLocale(*v));
  if (auto v = in.unsignedInteger("sessionID")) helper.SetSessionID(toUnsignedLong(*v));
  for (JsonObject& p : in.objects("properties")) addProperty(helper, p);
  if (auto v = in.boolean("retainConnection")) helper.SetRetainConnection(*v);
  if (auto v = in.boolean("disableAuthentication")) helper.SetDisableAuthentication(*v);
  for (JsonObject& m : in.objects("models")) addModel(helper, m);
  std::optional<JsonObject> refresh = in.object("refreshRequest");
  in.finish();
  ORVIDOM_Element request = makeWith(helper);
  if (refresh) refreshRequest(request, *refresh);
  return request;
}

// ---- data source fault

json signonJson(const QsDataSourceFaultHelper::SignonInfo* s) {
  if (!s) return nullptr;
  return {{"name", toJson(s->m_name)}, {"searchPath", toJson(s->m_searchPath)}};
}

json connectionJson(const QsDataSourceFaultHelper::ConnectionInfo* c) {
  if (!c) return nullptr;
  json signons = json::array();
  for (const auto* s : c->m_signons) signons.push_back(signonJson(s));
  return {{"name", toJson(c->m_name)},
          {"searchPath", toJson(c->m_searchPath)},
          {"connectionString", toJson(c->m_connectionString)},
          {"signons", signons}};
}

// The data source the fault names, with the faulting connection looked up in it; null when the
// fault does not list that data source. Only the named data source is reported: the helper
// finds data sources by name, and the fault's own name is the one every fault gives.
json dataSourceJson(QsDataSourceFaultHelper& helper) {
  QsDataSourceFaultHelper::DataSourceInfo info;
  if (!helper.GetDataSourceInfo(helper.GetFaultDataSourceName(), info)) return nullptr;
  json connections = json::array();
  for (const auto* c : info.m_connections) connections.push_back(connectionJson(c));
  const QsDataSourceFaultHelper::ConnectionInfo* faulting = helper.GetFaultConnection();
  return {{"name", toJson(info.m_name)},
          {"type", toJson(info.m_type)},
          {"connections", connections},
          {"connectionInfo",
           faulting ? connectionJson(info.GetConnectionInfo(faulting->m_name)) : nullptr}};
}

json readDataSourceFault(ORVIDOM_Element& elem) {
  QsDataSourceFaultHelper helper;
  helper.Take(elem);
  json out{{"faultCode", toJson(helper.GetFaultCode())},
           {"faultSubCode", toJson(helper.GetFaultSubCode())},
           {"faultString", toJson(helper.GetFaultString())},
           {"faultSubString", toJson(helper.GetFaultSubString())},
           {"faultDataSourceName", toJson(helper.GetFaultDataSourceName())},
           {"faultSignon", signonJson(helper.GetFaultSignon())},
           {"faultConnection", connectionJson(helper.GetFaultConnection())}};
  out["dataSourceInfo"] = dataSourceJson(helper);
  return out;
}

// ---- metadata request and response

ORVIDOM_Element makeMetadataRequest(JsonObject& in) {
  QsMetadataRequestHelper helper;
  if (auto v = in.string("metadataClass")) helper.SetMetadataClass(*v);
  if (auto v = in.string("context")) helper.SetContext(*v);
  if (auto v = in.unsignedInteger("depth")) helper.SetDepth(toUnsignedLong(*v));
  if (auto v = in.unsignedInteger("resultStart")) helper.SetResultStart(toUnsignedLong(*v));
  if (auto v = in.unsignedInteger("resultCount")) helper.SetResultCount(toUnsignedLong(*v));
  if (auto v = in.boolean("resultSchema")) helper.SetResultSchema(*v ? 1 : 0);
  for (const I18NString& c : in.strings("constraints")) helper.AddConstraint(c);
  for (const I18NString& p : in.strings("properties")) helper.AddProperty(p);
  for (const I18NString& p : in.strings("retrieveProperties")) helper.AddRetrieveProperty(p);
  helper.SetAliasTablesMap(in.stringMap("aliasTablesMap"));
  in.finish();
  return makeWith(helper);
}

// One entry: its properties in attribute order and, for those that "alias" children carry in
// other locales, the value of each locale.
json entryJson(QsMetadataResponseHelper& helper, ORVIDOM_Element& entry) {
  std::vector<I18NString> names, values;
  helper.GetPropertyNameValues(entry, names, values);
  json properties = json::object();
  json localized = json::object();
  for (std::size_t i = 0; i < names.size(); ++i) {
    properties[names[i].str()] = values[i].str();
    I18NString value;
    std::map<I18NString, I18NString> byLocale;
    QsMetadataResponseHelper::GetPropertyValue(entry, names[i], value, byLocale);
    if (byLocale.empty()) continue;
    json& property = localized[names[i].str()] = json::object();
    for (const auto& [locale, text] : byLocale) property[locale.str()] = text.str();
  }
  return {{"entry", entry.getNodeName().str()},
          {"properties", properties},
          {"localizedValues", localized}};
}

// Every entry of the response in order, with its properties.
json readMetadataResponse(ORVIDOM_Element& elem) {
  QsMetadataResponseHelper helper;
  helper.Take(elem);
  json entries = json::array();
  for (ORVIDOM_Node n = elem.getFirstChild(); !n.isNull(); n = n.getNextSibling()) {
    if (n.getNodeType() != ORVIDOM_Node::ELEMENT_NODE) continue;
    ORVIDOM_Element entry(n);
    entries.push_back(entryJson(helper, entry));
  }
  return {{"entries", entries}};
}

// ---- parameter value items
//
// One kind, "param-value-item", covers the four item classes, told apart by a "type" field:
// they share the root element "item", a received item is read through the one factory that
// picks the class from its "xsi:type", and a parameter lists items of every class side by side,
// so the same description serves an item alone and an item among a parameter's values.

using ItemType = QsParamValueItemHelper::EItemType;

// The item classes by their names.
const NameTable<ItemType>& itemTypes() {
  static const auto table = namesOf<ItemType>(
      QsParamValueItemHelper::kValueItemSimple, QsParamValueItemHelper::kValueItemNull,
      [](ItemType t) -> const I18NString& { return QsParamValueItemHelper::ToString(t); });
  return table;
}

// The inclusive flag of a description; items are inclusive unless told otherwise.
int inclusiveOf(JsonObject& in) { return in.boolean("inclusive").value_or(true) ? 1 : 0; }

// A simple value given as its use value and inclusive flag, the two parts an item writes of it.
// `set` is the operation that creates the value (`SetStart`, `SetEnd`, `SetValue`).
template <class Set>
void setSimple(std::optional<JsonObject> in, Set set) {
  if (!in) return;
  const I18NString use = in->string("use").value_or(I18NString());
  const int inclusive = inclusiveOf(*in);
  in->finish();
  set(use, inclusive);
}

void fillRange(QsParamValueItemRangeHelper& range, JsonObject& in) {
  setSimple(in.object("start"), [&](auto& use, int inc) { range.SetStart(use, inc); });
  setSimple(in.object("end"), [&](auto& use, int inc) { range.SetEnd(use, inc); });
}

// A hierarchy node: its value and its sub nodes, which are nodes described the same way.
// Recursive as JSON nests: the tool refuses descriptions nested deeper than kMaxInputDepth.
void fillHierarchy(QsParamValueItemHierarchyHelper& node, JsonObject& in) {
  setSimple(in.object("value"), [&](auto& use, int inc) { node.SetValue(use, inc); });
  for (JsonObject& sub : in.objects("subNodes")) {
    fillHierarchy(*node.AddSubNode(), sub);
    sub.finish();
  }
}

// Adds the described item to whatever `add` names: the item classes' own operations, so an
// item alone and a parameter's current value are filled by the same code.
template <class Add>
void fillItem(JsonObject& in, Add&& add) {
  const std::string typePath = in.pathOf("type");
  switch (lookUp(itemTypes(), in.requiredString("type"), typePath)) {
    case QsParamValueItemHelper::kValueItemSimple: {
      const I18NString use = in.string("use").value_or(I18NString());
      add.simple(use, inclusiveOf(in));
      break;
    }
    case QsParamValueItemHelper::kValueItemRange:
      fillRange(add.range(), in);
      break;
    case QsParamValueItemHelper::kValueItemHierarchy:
      fillHierarchy(add.hierarchy(), in);
      break;
    case QsParamValueItemHelper::kValueItemNull:
      add.null();
      break;
  }
  in.finish();
}

// Makes one free-standing item of the class described.
struct ItemMaker {
  std::unique_ptr<QsParamValueItemHelper> item;

  void simple(const I18NString& use, int inclusive) {
    item = std::make_unique<QsParamValueItemSimpleHelper>(inclusive, use);
  }
  QsParamValueItemRangeHelper& range() { return created<QsParamValueItemRangeHelper>(); }
  QsParamValueItemHierarchyHelper& hierarchy() {
    return created<QsParamValueItemHierarchyHelper>();
  }
  void null() { item = std::make_unique<QsParamValueItemNullHelper>(); }

  template <class Item>
  Item& created() {
    auto made = std::make_unique<Item>();
    Item& ref = *made;
    item = std::move(made);
    return ref;
  }
};

ORVIDOM_Element makeParamValueItem(JsonObject& in) {
  ItemMaker maker;
  fillItem(in, maker);
  return makeWith(*maker.item);
}

json simpleJson(const QsParamValueItemSimpleHelper* simple) {
  if (!simple) return nullptr;
  return {{"inclusive", simple->IsInclusive() != 0},
          {"use", toJson(simple->GetUse())},
          {"display", toJson(simple->GetDisplay())}};
}

// Recursive as the document nests: the tool refuses documents nested deeper than
// kMaxInputDepth.
json hierarchyJson(QsParamValueItemHierarchyHelper& node) {
  json subNodes = json::array();
  for (QsParamValueItemHierarchyHelper* sub : node.GetSubNodes()) {
    subNodes.push_back(hierarchyJson(*sub));
  }
  return {{"inclusive", node.IsInclusive() != 0},
          {"value", simpleJson(node.GetValue())},
          {"subNodes", subNodes}};
}

// What the item's getters give. The parts of a range or hierarchy are read before its wire type,
// which depends on the bounds read so far.
json itemJson(QsParamValueItemHelper* item) {
  if (!item) return nullptr;
  json out{{"type", QsParamValueItemHelper::ToString(item->GetType()).str()}};
  switch (item->GetType()) {
    case QsParamValueItemHelper::kValueItemSimple:
      out.update(simpleJson(static_cast<QsParamValueItemSimpleHelper*>(item)));
      break;
    case QsParamValueItemHelper::kValueItemRange: {
      auto* range = static_cast<QsParamValueItemRangeHelper*>(item);
      out["inclusive"] = range->IsInclusive() != 0;
      out["start"] = simpleJson(range->GetStart());
      out["end"] = simpleJson(range->GetEnd());
      break;
    }
    case QsParamValueItemHelper::kValueItemHierarchy:
      out.update(hierarchyJson(*static_cast<QsParamValueItemHierarchyHelper*>(item)));
      break;
    case QsParamValueItemHelper::kValueItemNull:
      break;
  }
  out["tesselType"] = toJson(item->GetTesselType());
  return out;
}

// The item made by the factory from the element's "xsi:type"; a nil item, which the factory
// turns into no item at all, is reported as the null item it was made from.
json readParamValueItem(ORVIDOM_Element& elem) {
  std::unique_ptr<QsParamValueItemHelper> item(
      QsParamValueItemHelper::Create(elem.getAttribute("xsi:type"), elem));
  return item ? itemJson(item.get()) : json{{"type", "null"}};
}

// ---- parameter and prompt fault

// Adds current values to a parameter.
struct ValueAdder {
  QsParameterHelper& parameter;

  void simple(const I18NString& use, int inclusive) { parameter.AddSimpleValue(use, inclusive); }
  QsParamValueItemRangeHelper& range() { return *parameter.AddRangeValue(); }
  QsParamValueItemHierarchyHelper& hierarchy() { return *parameter.AddHierarchicalValue(); }
  void null() { parameter.AddNullValue(); }
};

// A parameter built by the client: name, type and current values. The model items are not
// taken, since the parameter element never carries them.
ORVIDOM_Element makeParameter(JsonObject& in) {
  QsParameterHelper parameter(in.string("name").value_or(I18NString()),
                              in.string("type").value_or(I18NString()));
  ValueAdder adder{parameter};
  for (JsonObject& v : in.objects("values")) fillItem(v, adder);
  in.finish();
  return makeWith(parameter);
}

json capabilitiesJson(const std::vector<QsParameterHelper::EParameterCapability>& capabilities) {
  json out = json::array();
  for (QsParameterHelper::EParameterCapability c : capabilities) {
    out.push_back(QsParameterHelper::ToString(c).str());
  }
  return out;
}

json itemsJson(const std::vector<QsParamValueItemHelper*>& items) {
  json out = json::array();
  for (QsParamValueItemHelper* item : items) out.push_back(itemJson(item));
  return out;
}

// Every getter and reader of a taken parameter.
json parameterJson(QsParameterHelper& parameter) {
  json captions = json::array();
  for (const QsParameterHelper::Caption* c : parameter.GetCaptions()) {
    captions.push_back({{"locale", toJson(c->m_locale)}, {"value", toJson(c->m_value)}});
  }
  return {
      {"name", toJson(parameter.GetName())},
      {"type", toJson(parameter.GetType())},
      {"modelDisplayItem", toJson(parameter.GetModelDisplayItem())},
      {"modelFilterItem", toJson(parameter.GetModelFilterItem())},
      {"modelUseItem", toJson(parameter.GetModelUseItem())},
      {"captions", captions},
      {"capabilities", capabilitiesJson(parameter.GetCapabilities())},
      // The default value is handed out const, yet a range or hierarchy reads its parts on
      // first use; the parameter owns it and lets nobody else see it here.
      {"defaultValue", itemJson(const_cast<QsParamValueItemHelper*>(parameter.GetDefaultValue()))},
      {"possibleValues", itemsJson(parameter.GetPossibleValues())},
      {"values", itemsJson(parameter.GetValues())}};
}

json readParameter(ORVIDOM_Element& elem) {
  QsParameterHelper parameter;
  parameter.Take(elem);
  return parameterJson(parameter);
}

json readPromptFault(ORVIDOM_Element& elem) {
  QsPromptFaultHelper helper;
  helper.Take(elem);
  json parameters = json::array();
  for (QsParameterHelper* p : helper.GetParameters()) parameters.push_back(parameterJson(*p));
  return {{"parameters", parameters}};
}

// ---- fields

// A simple value as a range bound or hierarchy node gives it.
std::shared_ptr<const Shape> simpleShape() {
  return shape({text("use"), boolean("inclusive"), text("display").readsOnly()});
}

// A hierarchy node, with nodes of its own below it.
std::shared_ptr<const Shape> nodeShape() {
  static const std::shared_ptr<const Shape> node =
      nestingShape("hierarchyNode", [](std::shared_ptr<const Shape> self) {
        return std::vector<Field>{boolean("inclusive").readsOnly(), object("value", simpleShape()),
                                  listOf("subNodes", self)};
      });
  return node;
}

// An item of any class; the class chooses which fields apply.
std::vector<Field> itemFields() {
  const std::shared_ptr<const Shape> node = nodeShape();
  return {choice("type", namesIn(itemTypes())).require(),
          text("use").forType("simple"),
          boolean("inclusive").forType("simple"),
          text("display").readsOnly(),
          object("start", simpleShape()).forType("range"),
          object("end", simpleShape()).forType("range"),
          object("value", simpleShape()).forType("hierarchy"),
          list("subNodes", object("", node)).forType("hierarchy"),
          text("tesselType").readsOnly()};
}

std::vector<Field> parameterFields() {
  const auto item = shape(itemFields(), "item");
  return {text("name"), text("type"), text("modelDisplayItem").readsOnly(),
          text("modelFilterItem").readsOnly(), text("modelUseItem").readsOnly(),
          listOf("captions", shape({text("locale"), text("value")})).readsOnly(),
          list("capabilities", choice("", namesIn(namesOf<QsParameterHelper::EParameterCapability>(
                                              QsParameterHelper::kCapabilityUnknown,
                                              QsParameterHelper::kCapabilityUnboundedRange,
                                              &QsParameterHelper::ToString))))
              .readsOnly(),
          object("defaultValue", item).readsOnly(), listOf("possibleValues", item).readsOnly(),
          // A received parameter leaves out its null values.
          listOf("values", item).comesBack(RoundTrip::Dropped)};
}

std::vector<Field> connectFields() {
  // A refresh request replaces the passport and locales set.
  return {text("providerType"),
          text("namespace"),
          text("userName"),
          text("password"),
          text("passport").comesBack(RoundTrip::Dropped),
          text("contentManagerURI"),
          text("runLocale").comesBack(RoundTrip::Dropped),
          text("productLocale").comesBack(RoundTrip::Dropped),
          integer("sessionID"),
          listOf("properties", shape({xmlName("name").require(), text("value")})),
          boolean("retainConnection"),
          boolean("disableAuthentication"),
          listOf("models", shape({text("name").require(), boolean("engineModel")})),
          object("refreshRequest",
                 shape({text("passport"), text("productLocale"), text("runLocale")}))};
}

std::vector<Field> dataSourceFaultFields() {
  const auto signon = shape({text("name"), text("searchPath")});
  const auto connection = shape(
      {text("name"), text("searchPath"), text("connectionString"), listOf("signons", signon)});
  return {
      text("faultCode"),
      text("faultSubCode"),
      text("faultString"),
      text("faultSubString"),
      text("faultDataSourceName"),
      object("faultSignon", signon),
      object("faultConnection", connection),
      object("dataSourceInfo", shape({text("name"), text("type"), listOf("connections", connection),
                                      object("connectionInfo", connection)}))};
}

}  // namespace

void addQueryServiceKinds(std::vector<Kind>& kinds) {
  kinds.push_back({"connect-request",
                   {"connection"},
                   "QsApiConnectHelper",
                   "Opens a session on the query service with the sign-on, locales and models.",
                   connectFields(),
                   makeConnectRequest});
  kinds.push_back({"metadata-request",
                   {"command"},
                   "QsMetadataRequestHelper",
                   "Asks the query service for the metadata of a class of objects.",
                   // Without a class nothing of the metadata asked for is written.
                   {text("metadataClass").require(), text("context"), integer("depth"),
                    integer("resultStart"), integer("resultCount"), boolean("resultSchema"),
                    list("constraints", text("")), list("properties", text("")),
                    list("retrieveProperties", text("")), stringMap("aliasTablesMap")},
                   makeMetadataRequest});
  kinds.push_back({"data-source-fault",
                   {},
                   "QsDataSourceFaultHelper",
                   "The fault the query service sends when it cannot reach a data source.",
                   dataSourceFaultFields(),
                   nullptr,
                   readDataSourceFault});
  kinds.push_back({"metadata-response",
                   {},
                   "QsMetadataResponseHelper",
                   "The query service's answer to a metadata request.",
                   {listOf("entries", shape({text("entry"), stringMap("properties"),
                                             mapOf("localizedValues", stringMap(""))}))},
                   nullptr,
                   readMetadataResponse});
  kinds.push_back({"parameter",
                   {"item"},
                   "QsParameterHelper",
                   "A query parameter with its captions, capabilities and values.",
                   parameterFields(),
                   makeParameter,
                   readParameter});
  kinds.push_back({"param-value-item",
                   {"item"},
                   "QsParamValueItemHelper",
                   "One value of a query parameter: simple, range, hierarchy node or null.",
                   itemFields(),
                   makeParamValueItem,
                   readParamValueItem});
  kinds.push_back({"prompt-fault",
                   {},
                   "QsPromptFaultHelper",
                   "The fault listing the parameters a query needs values for before it runs.",
                   {listOf("parameters", shape(parameterFields())).readsOnly()},
                   nullptr,
                   readPromptFault});
}
