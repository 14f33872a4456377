#include "modeladmin/ZoActionHelperImportConfig.h"

#include <utility>

#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"
#include "orvidom/ORVIDOM_NodeList.h"

namespace {

const I18NString kAttrInterfaceType("interfaceType");

// Replaces `value` by the attribute of `elem` and tells whether it is not empty; an absent
// `elem` leaves `value` as it was.
int readAttribute(const ORVIDOM_Element& elem, const I18NString& name, I18NString& value) {
  if (elem.isNull()) return 0;
  value = elem.getAttribute(name);
  return value.empty() ? 0 : 1;
}

// The first element named `group` below the source element, or a null handle.
ORVIDOM_Element findGroup(const ORVIDOM_Element& sourceElem, const I18NString& group) {
  if (sourceElem.isNull()) return {};
  return ORVIDOM_Helper::findFirstElement(sourceElem, group);
}

// Appends to `items` a record for every "item" element at any depth below the first `group`
// element of the source, in document order.
template <class Item>
void getItems(const ORVIDOM_Element& sourceElem, const I18NString& group,
              std::vector<Item>& items) {
  ORVIDOM_Element groupElem = findGroup(sourceElem, group);
  if (groupElem.isNull()) return;
  ORVIDOM_NodeList found = groupElem.getElementsByTagName(korvath_actionhelper_resources_item_str);
  for (unsigned long i = 0; i < found.getLength(); ++i) {
    ORVIDOM_Element item = found.item(i);
    if (item.getNodeType() == ORVIDOM_Node::ELEMENT_NODE) items.push_back(Item::Make(item));
  }
}

}  // namespace

ZoActionHelperImportConfig::ConnectionItem::ConnectionItem(I18NString name,
                                                           I18NString nameInRequest)
    : m_name(std::move(name)), m_nameInRequest(std::move(nameInRequest)) {}

ZoActionHelperImportConfig::ConnectionItem ZoActionHelperImportConfig::ConnectionItem::Make(
    ORVIDOM_Element& item) {
  return ConnectionItem(item.getAttribute(korvath_actionhelper_resources_name_str),
                        item.getAttribute(korvath_actionhelper_resources_nameInRequest_str));
}

ZoActionHelperImportConfig::ConfigItem::ConfigItem(I18NString name, I18NString value)
    : m_name(std::move(name)), m_value(std::move(value)) {}

ZoActionHelperImportConfig::ConfigItem ZoActionHelperImportConfig::ConfigItem::Make(
    ORVIDOM_Element& item) {
  return ConfigItem(item.getAttribute(korvath_actionhelper_resources_name_str),
                    item.getAttribute(korvath_actionhelper_resources_value_str));
}

void ZoActionHelperImportConfig::doTake(ORVIDOM_Element& elmSourceConfig) {
  ORV_ASSERT(!elmSourceConfig.isNull() &&
             elmSourceConfig.getNodeName() == korvath_actionhelper_resources_source_str);
  m_sourceElem = elmSourceConfig;
}

int ZoActionHelperImportConfig::getQueryType(I18NString& queryType) const {
  return readAttribute(m_sourceElem, korvath_actionhelper_resources_queryType_str, queryType);
}

int ZoActionHelperImportConfig::getPluginName(I18NString& pluginName) const {
  return readAttribute(m_sourceElem, korvath_actionhelper_resources_pluginName_str, pluginName);
}

int ZoActionHelperImportConfig::getInterfaceType(I18NString& interfaceType) const {
  return readAttribute(m_sourceElem, kAttrInterfaceType, interfaceType);
}

int ZoActionHelperImportConfig::getConnectionProvider(I18NString& provider) const {
  return readAttribute(findGroup(m_sourceElem, korvath_actionhelper_resources_connection_str),
                       korvath_actionhelper_resources_provider_str, provider);
}

void ZoActionHelperImportConfig::getConnectionItems(std::vector<ConnectionItem>& items) const {
  getItems(m_sourceElem, korvath_actionhelper_resources_connection_str, items);
}

void ZoActionHelperImportConfig::getCapabilities(std::vector<ConfigItem>& items) const {
  getItems(m_sourceElem, korvath_actionhelper_resources_capabilities_str, items);
}
