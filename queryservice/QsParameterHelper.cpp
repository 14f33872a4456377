#include "queryservice/QsParameterHelper.h"

#include <memory>
#include <utility>

#include "core/NameTable.h"
#include "core/OwnedList.h"
#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"
#include "queryservice/QsParamValueItemNullHelper.h"

namespace {

// The bus schema, version 3, that binds the "bus:" prefix of the value item types.
const I18NString kTesselBusNamespace("http://korvath.dev/schemas/tessel/3/");
const I18NString kXmlSchemaInstanceNamespace("http://www.w3.org/2001/XMLSchema-instance");
const I18NString kSoapEncodingNamespace("http://schemas.xmlsoap.org/soap/encoding/");

const I18NString kAttrXmlnsBus("xmlns:bus");
const I18NString kAttrXmlnsXsi("xmlns:xsi");
const I18NString kAttrXmlnsSoapEnc("xmlns:SOAP-ENC");
const I18NString kElemModelDisplayItem("modelDisplayItem");
const I18NString kElemModelFilterItem("modelFilterItem");
const I18NString kElemModelUseItem("modelUseItem");

// The texts of the capabilities, indexed by EParameterCapability - 1.
const I18NString kCapabilityNames[] = {"boundRange",    "defaultValueNotAcceptable",
                                       "discreteValue", "excludeValues",
                                       "multivalued",   "optional",
                                       "unboundedRange"};

// The capability `text` selects; kCapabilityUnknown for any other text.
QsParameterHelper::EParameterCapability toCapability(const I18NString& text) {
  return static_cast<QsParameterHelper::EParameterCapability>(
      nametable::indexOf(kCapabilityNames, text));
}

bool isElementNamed(const ORVIDOM_Node& node, const I18NString& name) {
  return node.getNodeType() == ORVIDOM_Node::ELEMENT_NODE && node.getNodeName() == name;
}

// Creates the value item that `item` describes by its "xsi:type"; null for nil or no type.
std::unique_ptr<QsParamValueItemHelper> createItem(const ORVIDOM_Node& node) {
  ORVIDOM_Element item(node);
  return std::unique_ptr<QsParamValueItemHelper>(QsParamValueItemHelper::Create(
      item.getAttribute(korvath_actionhelper_resources_xsi_type_str), item));
}

}  // namespace

const I18NString& QsParameterHelper::ToString(EParameterCapability capability) {
  return nametable::nameAt(kCapabilityNames, capability);
}

QsParameterHelper::~QsParameterHelper() {
  DeleteAll(m_possibleValues);
  delete m_defaultValue;
  DeleteAll(m_captions);
  DeleteAll(m_values);
}

void QsParameterHelper::doTake(ORVIDOM_Element& elem) {
  m_element = elem;
  if (elem.isNull()) return;
  ReadChildText(elem, korvath_actionhelper_resources_name_str, m_name);
  ReadChildText(elem, korvath_actionhelper_resources_type_str, m_type);
  ReadChildText(elem, kElemModelDisplayItem, m_modelDisplayItem);
  ReadChildText(elem, kElemModelFilterItem, m_modelFilterItem);
  ReadChildText(elem, kElemModelUseItem, m_modelUseItem);
}

const std::vector<QsParameterHelper::Caption*>& QsParameterHelper::GetCaptions() {
  if (m_element.isNull() || !m_captions.empty()) return m_captions;
  ORVIDOM_NodeList listCaptions =
      m_element.getElementsByTagName(korvath_actionhelper_resources_caption_str);
  if (listCaptions.getLength() == 0) return m_captions;
  // clang-format off
  ORV_ASSERT(listCaptions.item( 0 ).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  // clang-format on
  ORVIDOM_NodeList items = ORVIDOM_Element(listCaptions.item(0))
                               .getElementsByTagName(korvath_actionhelper_resources_item_str);
  for (unsigned long i = 0; i < items.getLength(); ++i) {
    m_captions.push_back(new Caption());
    Caption& caption = *m_captions.back();
    ReadChildText(items.item(i), korvath_actionhelper_resources_locale_str, caption.m_locale);
    ReadChildText(items.item(i), korvath_actionhelper_resources_value_str, caption.m_value);
  }
  return m_captions;
}

const std::vector<QsParameterHelper::EParameterCapability>& QsParameterHelper::GetCapabilities() {
  if (m_element.isNull() || !m_capabilities.empty()) return m_capabilities;
  ORVIDOM_NodeList listCapabilities =
      m_element.getElementsByTagName(korvath_actionhelper_resources_capabilities_str);
  if (listCapabilities.getLength() == 0) return m_capabilities;
  ORV_ASSERT(listCapabilities.item(0).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  ORVIDOM_NodeList items = ORVIDOM_Element(listCapabilities.item(0))
                               .getElementsByTagName(korvath_actionhelper_resources_item_str);
  for (unsigned long i = 0; i < items.getLength(); ++i) {
    const ORVIDOM_Node text = items.item(i).getFirstChild();
    if (!text.isNull()) m_capabilities.push_back(toCapability(text.getNodeValue()));
  }
  return m_capabilities;
}

void QsParameterHelper::readItems(const ORVIDOM_Node& parent,
                                  std::vector<QsParamValueItemHelper*>& list) {
  for (ORVIDOM_Node child = parent.getFirstChild(); !child.isNull();
       child = child.getNextSibling()) {
    if (!isElementNamed(child, korvath_actionhelper_resources_item_str)) continue;
    std::unique_ptr<QsParamValueItemHelper> item = createItem(child);
    if (!item) continue;
    AppendOwned(list, std::move(item));
  }
}

const std::vector<QsParamValueItemHelper*>& QsParameterHelper::GetPossibleValues() {
  if (m_element.isNull() || !m_possibleValues.empty()) return m_possibleValues;
  ORVIDOM_NodeList listPossValues =
      m_element.getElementsByTagName(korvath_actionhelper_resources_values_str);
  if (listPossValues.getLength() == 0) return m_possibleValues;
  ORV_ASSERT(listPossValues.item(0).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  readItems(listPossValues.item(0), m_possibleValues);
  return m_possibleValues;
}

const std::vector<QsParamValueItemHelper*>& QsParameterHelper::GetValues() {
  if (m_element.isNull() || !m_values.empty()) return m_values;
  for (ORVIDOM_Node child = m_element.getFirstChild(); !child.isNull();
       child = child.getNextSibling()) {
    if (isElementNamed(child, korvath_actionhelper_resources_value_str)) readItems(child, m_values);
  }
  return m_values;
}

const QsParamValueItemHelper* QsParameterHelper::GetDefaultValue() {
  if (m_element.isNull() || m_defaultValue) return m_defaultValue;
  ORVIDOM_NodeList listDefValues =
      m_element.getElementsByTagName(korvath_actionhelper_resources_defaultValue_str);
  if (listDefValues.getLength() == 0) return m_defaultValue;
  ORV_ASSERT(listDefValues.item(0).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  ORVIDOM_NodeList listItems = ORVIDOM_Element(listDefValues.item(0))
                                   .getElementsByTagName(korvath_actionhelper_resources_item_str);
  if (listItems.getLength() == 0) return m_defaultValue;
  ORV_ASSERT(listItems.item(0).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  m_defaultValue = createItem(listItems.item(0)).release();
  return m_defaultValue;
}

template <class Item>
Item* QsParameterHelper::addValue(std::unique_ptr<Item> item) {
  return AppendOwned(m_values, std::move(item));
}

QsParamValueItemSimpleHelper* QsParameterHelper::AddSimpleValue(const I18NString& use,
                                                                int inclusive) {
  return addValue(std::make_unique<QsParamValueItemSimpleHelper>(inclusive, use));
}

QsParamValueItemRangeHelper* QsParameterHelper::AddRangeValue() {
  return addValue(std::make_unique<QsParamValueItemRangeHelper>());
}

QsParamValueItemHierarchyHelper* QsParameterHelper::AddHierarchicalValue() {
  return addValue(std::make_unique<QsParamValueItemHierarchyHelper>());
}

void QsParameterHelper::AddNullValue() { addValue(std::make_unique<QsParamValueItemNullHelper>()); }

void QsParameterHelper::RemoveValues() {
  DeleteAll(m_values);
  const ORVIDOM_Element first =
      ORVIDOM_Helper::findChildElement(m_element, korvath_actionhelper_resources_value_str);
  if (!first.isNull()) m_element.removeChild(first);
}

void QsParameterHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(korvath_actionhelper_resources_item_str);
  elem.setAttribute(kAttrXmlnsBus, kTesselBusNamespace);
  elem.setAttribute(kAttrXmlnsXsi, kXmlSchemaInstanceNamespace);
  ORVIDOM_Helper::findOrCreateElementWithText(elem, korvath_actionhelper_resources_name_str,
                                              m_name);
  ORVIDOM_Helper::findOrCreateElementWithText(elem, korvath_actionhelper_resources_type_str,
                                              m_type);
  if (!m_element.isNull()) {
    elem.setAttribute(kAttrXmlnsSoapEnc, kSoapEncodingNamespace);
    // The received parts are carried over unchanged, so the answer describes the parameter as
    // it was asked for.
    for (const I18NString* name : {&korvath_actionhelper_resources_capabilities_str,
                                   &korvath_actionhelper_resources_defaultValue_str,
                                   &korvath_actionhelper_resources_values_str}) {
      const ORVIDOM_Element part = ORVIDOM_Helper::findFirstElement(m_element, *name);
      if (!part.isNull()) elem.appendChild(doc.importNode(part, true));
    }
  }
  if (m_values.empty()) return;
  ORVIDOM_Element value = doc.createElement(korvath_actionhelper_resources_value_str);
  elem.appendChild(value);
  for (const QsParamValueItemHelper* item : m_values) {
    ORVIDOM_Element itemElem;
    item->doMake(doc, itemElem);
    value.appendChild(itemElem);
  }
}
