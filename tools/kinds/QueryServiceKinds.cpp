// Kinds of the query service interface documents.
#include <map>

#include "Kinds.h"

namespace {

using Connect = QsApiConnectHelper;
using Metadata = QsMetadataRequestHelper;
using Fault = QsDataSourceFaultHelper;
using Parameter = QsParameterHelper;
using Item = QsParamValueItemHelper;
using Simple = QsParamValueItemSimpleHelper;
using Range = QsParamValueItemRangeHelper;
using Hierarchy = QsParamValueItemHierarchyHelper;

// ---- connect request

// A property is written as an element of its name, and a model's kind as a type name, so neither
// is read back from the made request.
std::vector<Field> connectFields() {
  // A refresh request replaces the passport and locales set.
  return {
      text("providerType").at("dataSourceType@value").on(&Connect::SetProviderType),
      text("namespace").at("namespace@value").on(&Connect::SetNamespace),
      text("userName").at("username@value").on(&Connect::SetUserName),
      text("password").at("password@value").on(&Connect::SetPassword),
      text("passport").comesBack(RoundTrip::Dropped).on(&Connect::SetPassport),
      text("contentManagerURI").at("contentManagerURI@value").on(&Connect::SetContentManagerURI),
      text("runLocale").comesBack(RoundTrip::Dropped).on(&Connect::SetRunLocale),
      text("productLocale").comesBack(RoundTrip::Dropped).on(&Connect::SetProductLocale),
      integer("sessionID").at("sessionID@value").on(&Connect::SetSessionID),
      listOf("properties", shape({xmlName("name").require().arg(), text("value").arg()}))
          .on(&Connect::AddProperty),
      boolean("retainConnection")
          .at("property[@name=RETAINCONNECTION]@value")
          .on(&Connect::SetRetainConnection),
      boolean("disableAuthentication")
          .at("property[@name=disableAuthentication]@value")
          .on(&Connect::SetDisableAuthentication),
      listOf("models",
             shape({text("name").require().at("name@value").arg(), boolean("engineModel").arg()}))
          .at("connection")
          .on(&Connect::AddModel),
      // Brings the made request up to date as RefreshRequest does for a request already sent.
      object("refreshRequest", shape({text("passport").at("WexPassport@value").arg(),
                                      text("productLocale").at("productLocale@value").arg(),
                                      text("runLocale").at("runLocale@value").arg()}))
          .afterMaking()
          .at(".")
          .on(&Connect::RefreshRequest)};
}

// ---- data source fault

// The data source the fault names, with the faulting connection looked up in it. Only the named
// data source is reported: the helper finds data sources by name, and the fault's own name is the
// one every fault gives.
struct FaultSource {
  Fault::DataSourceInfo info;
  const Fault::ConnectionInfo* faulting = nullptr;
};

std::shared_ptr<FaultSource> faultSource(Fault& helper) {
  auto source = std::make_shared<FaultSource>();
  if (!helper.GetDataSourceInfo(helper.GetFaultDataSourceName(), source->info)) return nullptr;
  if (const Fault::ConnectionInfo* faulting = helper.GetFaultConnection()) {
    source->faulting = source->info.GetConnectionInfo(faulting->m_name);
  }
  return source;
}

std::vector<Field> dataSourceFaultFields() {
  using Signon = Fault::SignonInfo;
  using Connection = Fault::ConnectionInfo;
  const auto signon = shape({text("name").on(nullptr, &Signon::m_name),
                             text("searchPath").on(nullptr, &Signon::m_searchPath)});
  const auto connection =
      shape({text("name").on(nullptr, &Connection::m_name),
             text("searchPath").on(nullptr, &Connection::m_searchPath),
             text("connectionString").on(nullptr, &Connection::m_connectionString),
             listOf("signons", signon).on(nullptr, &Connection::m_signons)});
  return {
      text("faultCode").on(nullptr, &Fault::GetFaultCode),
      text("faultSubCode").on(nullptr, &Fault::GetFaultSubCode),
      text("faultString").on(nullptr, &Fault::GetFaultString),
      text("faultSubString").on(nullptr, &Fault::GetFaultSubString),
      text("faultDataSourceName").on(nullptr, &Fault::GetFaultDataSourceName),
      object("faultSignon", signon).on(nullptr, &Fault::GetFaultSignon),
      object("faultConnection", connection).on(nullptr, &Fault::GetFaultConnection),
      object("dataSourceInfo",
             shape({text("name").on(nullptr, [](const FaultSource& s) { return s.info.m_name; }),
                    text("type").on(nullptr, [](const FaultSource& s) { return s.info.m_type; }),
                    listOf("connections", connection)
                        .on(nullptr, [](const FaultSource& s) { return s.info.m_connections; }),
                    object("connectionInfo", connection).on(nullptr, &FaultSource::faulting)}))
          .on(nullptr, faultSource)};
}

// ---- metadata response

using TakenResponse = Taken<QsMetadataResponseHelper>;

// One entry of a response, read through the helper that took it.
struct Entry {
  TakenResponse* helper;
  ORVIDOM_Element element;
};

// Every entry of the response in order.
std::vector<Entry> entries(TakenResponse& helper) {
  std::vector<Entry> out;
  for (ORVIDOM_Node n = helper.taken.getFirstChild(); !n.isNull(); n = n.getNextSibling()) {
    if (n.getNodeType() == ORVIDOM_Node::ELEMENT_NODE) out.push_back({&helper, ORVIDOM_Element(n)});
  }
  return out;
}

// The entry's properties in attribute order, with their values or, with `byLocale`, for those
// that "alias" children carry in other locales, the value of each locale.
Ordered properties(const Entry& entry, bool byLocale) {
  std::vector<I18NString> names, values;
  ORVIDOM_Element element = entry.element;
  entry.helper->GetPropertyNameValues(element, names, values);
  Ordered out = Ordered::object();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!byLocale) {
      out[names[i].str()] = values[i].str();
      continue;
    }
    I18NString value;
    std::map<I18NString, I18NString> locales;
    QsMetadataResponseHelper::GetPropertyValue(element, names[i], value, locales);
    if (locales.empty()) continue;
    Ordered& property = out[names[i].str()] = Ordered::object();
    for (const auto& [locale, text] : locales) property[locale.str()] = text.str();
  }
  return out;
}

// ---- parameter value items
//
// One kind, "param-value-item", covers the four item classes, told apart by a "type" field:
// they share the root element "item", a received item is read through the one factory that
// picks the class from its "xsi:type", and a parameter lists items of every class side by side,
// so the same description serves an item alone and an item among a parameter's values.

// The item classes by their names.
Names itemTypes() {
  return namesOf<Item::EItemType>(
      Item::kValueItemSimple, Item::kValueItemNull,
      [](Item::EItemType t) -> const I18NString& { return Item::ToString(t); });
}

// Items are inclusive unless told otherwise.
int inclusive(const bool* given) { return !given || *given ? 1 : 0; }

// A simple value as a range bound or hierarchy node gives it: the use value and inclusive flag
// are the two parts an item writes of it. Read gives the flag first, so it is read by hand.
std::shared_ptr<const Shape> simpleShape() {
  return shape({text("use").arg(), boolean("inclusive").arg(), text("display").readsOnly()});
}

Ordered simpleJson(const Simple* simple) {
  if (!simple) return nullptr;
  return {{"inclusive", simple->IsInclusive() != 0},
          {"use", simple->GetUse().str()},
          {"display", simple->GetDisplay().str()}};
}

// A hierarchy node, with nodes of its own below it.
std::shared_ptr<const Shape> nodeShape() {
  static const std::shared_ptr<const Shape> node =
      nestingShape("hierarchyNode", [](std::shared_ptr<const Shape> self) {
        const auto setValue = [](Hierarchy& node, const I18NString& use, const bool* given) {
          node.SetValue(use, inclusive(given));
        };
        return std::vector<Field>{
            boolean("inclusive")
                .readsOnly()
                .on(nullptr, [](const Hierarchy& h) { return h.IsInclusive(); }),
            object("value", simpleShape())
                .on(setValue, [](Hierarchy& h) { return simpleJson(h.GetValue()); }),
            listOf("subNodes", self).on(&Hierarchy::AddSubNode, &Hierarchy::GetSubNodes)};
      });
  return node;
}

// Where the parts of an item just added go: the range or the hierarchy node it is, if any.
struct ItemParts {
  Range* range = nullptr;
  Hierarchy* hierarchy = nullptr;
};

// An item of any class, added by the call of its object (which takes the class, and the use and
// inclusive flag of a simple item); the class chooses which fields apply. What an item gives
// back depends on its class, so items are read by hand.
template <class Parts>
std::vector<Field> itemFields() {
  return {choice("type", itemTypes()).require().arg(),
          text("use").forType("simple").arg(),
          boolean("inclusive").forType("simple").arg(),
          text("display").readsOnly(),
          object("start", simpleShape())
              .forType("range")
              .on([](Parts& p, const I18NString& use, const bool* given) {
                p.range->SetStart(use, inclusive(given));
              }),
          object("end", simpleShape())
              .forType("range")
              .on([](Parts& p, const I18NString& use, const bool* given) {
                p.range->SetEnd(use, inclusive(given));
              }),
          object("value", simpleShape())
              .forType("hierarchy")
              .on([](Parts& p, const I18NString& use, const bool* given) {
                p.hierarchy->SetValue(use, inclusive(given));
              }),
          list("subNodes", object("", nodeShape())).forType("hierarchy").on([](Parts& p) {
            return p.hierarchy->AddSubNode();
          }),
          text("tesselType").readsOnly()};
}

// What the item's getters give. The parts of a range or hierarchy are read before its wire type,
// which depends on the bounds read so far.
Ordered itemJson(Item* item) {
  if (!item) return nullptr;
  static const std::vector<Field> node = nodeShape()->fields;
  Ordered out{{"type", Item::ToString(item->GetType()).str()}};
  switch (item->GetType()) {
    case Item::kValueItemSimple:
      out.update(simpleJson(static_cast<Simple*>(item)));
      break;
    case Item::kValueItemRange: {
      auto* range = static_cast<Range*>(item);
      out["inclusive"] = range->IsInclusive() != 0;
      out["start"] = simpleJson(range->GetStart());
      out["end"] = simpleJson(range->GetEnd());
      break;
    }
    case Item::kValueItemHierarchy:
      out.update(readFields(node, binding::targetOf(*static_cast<Hierarchy*>(item))));
      break;
    case Item::kValueItemNull:
      break;
  }
  out["tesselType"] = item->GetTesselType().str();
  return out;
}

Ordered itemsJson(const std::vector<Item*>& items) {
  Ordered out = Ordered::array();
  for (Item* item : items) out.push_back(itemJson(item));
  return out;
}

// Makes one free-standing item of the class described.
struct MadeItem : ItemParts {
  std::unique_ptr<Item> item;

  void Make(ORVIDOM_Element& elem) const { item->Make(elem); }
};

std::unique_ptr<MadeItem> madeItem(Item::EItemType type, const I18NString& use, const bool* given) {
  auto made = std::make_unique<MadeItem>();
  switch (type) {
    case Item::kValueItemSimple:
      made->item = std::make_unique<Simple>(inclusive(given), use);
      break;
    case Item::kValueItemRange:
      made->item = std::make_unique<Range>();
      made->range = static_cast<Range*>(made->item.get());
      break;
    case Item::kValueItemHierarchy:
      made->item = std::make_unique<Hierarchy>();
      made->hierarchy = static_cast<Hierarchy*>(made->item.get());
      break;
    case Item::kValueItemNull:
      made->item = std::make_unique<QsParamValueItemNullHelper>();
      break;
  }
  return made;
}

// Adds a current value of the class described to a parameter.
ItemParts addValue(Parameter& parameter, Item::EItemType type, const I18NString& use,
                   const bool* given) {
  switch (type) {
    case Item::kValueItemSimple:
      parameter.AddSimpleValue(use, inclusive(given));
      break;
    case Item::kValueItemRange:
      return {parameter.AddRangeValue(), nullptr};
    case Item::kValueItemHierarchy:
      return {nullptr, parameter.AddHierarchicalValue()};
    case Item::kValueItemNull:
      parameter.AddNullValue();
      break;
  }
  return {};
}

// ---- parameter and prompt fault

// A parameter built by the client: name, type and current values. The model items are not
// taken, since the parameter element never carries them.
std::vector<Field> parameterFields() {
  using Caption = Parameter::Caption;
  const auto item = shape(itemFields<ItemParts>(), "item");
  return {text("name").arg(&Parameter::GetName), text("type").arg(&Parameter::GetType),
          text("modelDisplayItem").readsOnly().on(nullptr, &Parameter::GetModelDisplayItem),
          text("modelFilterItem").readsOnly().on(nullptr, &Parameter::GetModelFilterItem),
          text("modelUseItem").readsOnly().on(nullptr, &Parameter::GetModelUseItem),
          listOf("captions", shape({text("locale").on(nullptr, &Caption::m_locale),
                                    text("value").on(nullptr, &Caption::m_value)}))
              .readsOnly()
              .on(nullptr, &Parameter::GetCaptions),
          list("capabilities",
               choice("", namesOf<Parameter::EParameterCapability>(
                              Parameter::kCapabilityUnknown, Parameter::kCapabilityUnboundedRange,
                              &Parameter::ToString)))
              .readsOnly()
              .on(nullptr, &Parameter::GetCapabilities),
          // The default value is handed out const, yet a range or hierarchy reads its parts on
          // first use; the parameter owns it and lets nobody else see it here.
          object("defaultValue", item)
              .readsOnly()
              .on(nullptr,
                  [](Parameter& p) { return itemJson(const_cast<Item*>(p.GetDefaultValue())); }),
          listOf("possibleValues", item)
              .readsOnly()
              .on(nullptr, [](Parameter& p) { return itemsJson(p.GetPossibleValues()); }),
          // A received parameter leaves out its null values.
          listOf("values", item).comesBack(RoundTrip::Dropped).on(addValue, [](Parameter& p) {
            return itemsJson(p.GetValues());
          })};
}

}  // namespace

void addQueryServiceKinds(std::vector<Kind>& kinds) {
  kinds.push_back(
      bound<Connect>({"connect-request",
                      {"connection"},
                      "QsApiConnectHelper",
                      "Opens a session on the query service with the sign-on, locales and models.",
                      connectFields()}));
  kinds.push_back(bound<Metadata>(
      {"metadata-request",
       {"command"},
       "QsMetadataRequestHelper",
       "Asks the query service for the metadata of a class of objects.",
       // Without a class nothing of the metadata asked for is written.
       {text("metadataClass").require().at("metadata@class").on(&Metadata::SetMetadataClass),
        text("context").at("metadata/context@value").on(&Metadata::SetContext),
        integer("depth").at("metadata@depth").on(&Metadata::SetDepth),
        integer("resultStart").at("metadata@resultStart").on(&Metadata::SetResultStart),
        integer("resultCount").at("metadata@resultCount").on(&Metadata::SetResultCount),
        boolean("resultSchema").at("metadata@returnSchema").on(&Metadata::SetResultSchema),
        list("constraints", text(""))
            .at("metadata/constraints/constraint@condition")
            .on(&Metadata::AddConstraint),
        list("properties", text(""))
            .at("metadata/properties/property@name")
            .on(&Metadata::AddProperty),
        // Except "language", which is written as an element of its own.
        list("retrieveProperties", text(""))
            .at("retrievePropertyValues/property@name")
            .on(&Metadata::AddRetrieveProperty),
        stringMap("aliasTablesMap")
            .at("aliasTableMap/aliasTable@lang=@name")
            .on(&Metadata::SetAliasTablesMap)}}));
  kinds.push_back(
      bound<Fault>({"data-source-fault",
                    {},
                    "QsDataSourceFaultHelper",
                    "The fault the query service sends when it cannot reach a data source.",
                    dataSourceFaultFields()}));
  kinds.push_back(bound<TakenResponse>(
      {"metadata-response",
       {},
       "QsMetadataResponseHelper",
       "The query service's answer to a metadata request.",
       {listOf("entries",
               shape({text("entry").on(nullptr,
                                       [](const Entry& e) { return e.element.getNodeName(); }),
                      stringMap("properties")
                          .on(nullptr, [](const Entry& e) { return properties(e, false); }),
                      mapOf("localizedValues", stringMap(""))
                          .on(nullptr, [](const Entry& e) { return properties(e, true); })}))
            .on(nullptr, entries)}}));
  kinds.push_back(bound<Parameter>({"parameter",
                                    {"item"},
                                    "QsParameterHelper",
                                    "A query parameter with its captions, capabilities and values.",
                                    parameterFields()},
                                   [](const I18NString& name, const I18NString& type) {
                                     return std::make_unique<Parameter>(name, type);
                                   }));
  Kind item =
      bound<MadeItem>({"param-value-item",
                       {"item"},
                       "QsParamValueItemHelper",
                       "One value of a query parameter: simple, range, hierarchy node or null.",
                       itemFields<MadeItem>()},
                      madeItem);
  // The item is made by the factory from the element's "xsi:type"; a nil item, which the factory
  // turns into no item at all, is reported as the null item it was made from.
  item.read = [](ORVIDOM_Element& elem) {
    std::unique_ptr<Item> read(Item::Create(elem.getAttribute("xsi:type"), elem));
    return read ? itemJson(read.get()) : Ordered{{"type", "null"}};
  };
  kinds.push_back(item);
  kinds.push_back(bound<QsPromptFaultHelper>(
      {"prompt-fault",
       {},
       "QsPromptFaultHelper",
       "The fault listing the parameters a query needs values for before it runs.",
       {listOf("parameters", shape(parameterFields()))
            .readsOnly()
            .on(nullptr, &QsPromptFaultHelper::GetParameters)}}));
}
