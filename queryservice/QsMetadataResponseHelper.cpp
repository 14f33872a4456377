#include "queryservice/QsMetadataResponseHelper.h"

#include "orvidom/ORVIDOM_NamedNodeMap.h"
#include "orvidom/ORVIDOM_NodeList.h"

namespace {

const I18NString kElemAlias("alias");
const I18NString kAttrLocale("locale");

using Step = ORVIDOM_Node (ORVIDOM_Node::*)() const noexcept;

// The first element named `name` among `node` and the siblings that `step` reaches from it.
ORVIDOM_Element firstNamed(ORVIDOM_Node node, const I18NString& name, Step step) {
  while (!node.isNull() &&
         (node.getNodeType() != ORVIDOM_Node::ELEMENT_NODE || node.getNodeName() != name)) {
    node = (node.*step)();
  }
  return node;
}

// Calls `onMatch` with each child of `response` whose attribute `attribute` equals `value`, in
// order, until it returns false. The walk ends at the first child that is not an element.
template <class OnMatch>
void forEachEntryFor(const ORVIDOM_Element& response, const I18NString& attribute,
                     const I18NString& value, OnMatch onMatch) {
  for (ORVIDOM_Node child = response.getFirstChild();
       child.getNodeType() == ORVIDOM_Node::ELEMENT_NODE; child = child.getNextSibling()) {
    const ORVIDOM_Element entry(child);
    if (entry.getAttribute(attribute) == value && !onMatch(entry)) return;
  }
}

}  // namespace

QsMetadataResponseHelper::QsMetadataResponseHelper() = default;

QsMetadataResponseHelper::~QsMetadataResponseHelper() = default;

ORVIDOM_Element QsMetadataResponseHelper::GetFirstEntry(const I18NString& name) {
  return firstNamed(m_response.getFirstChild(), name, &ORVIDOM_Node::getNextSibling);
}

ORVIDOM_Element QsMetadataResponseHelper::GetLastEntry(const I18NString& name) {
  return firstNamed(m_response.getLastChild(), name, &ORVIDOM_Node::getPreviousSibling);
}

ORVIDOM_Element QsMetadataResponseHelper::GetNextEntry(ORVIDOM_Element& entry,
                                                       const I18NString& name) {
  return firstNamed(entry.getNextSibling(), name, &ORVIDOM_Node::getNextSibling);
}

unsigned long QsMetadataResponseHelper::EntriesSize(const I18NString& name) {
  return m_response.getElementsByTagName(name).getLength();
}

// Both searches take the value by value, as their documented signature has it.
ORVIDOM_Element QsMetadataResponseHelper::FindEntryFor(
    const I18NString& attribute, I18NString value,  // NOLINT(performance-unnecessary-value-param)
    const I18NString& /*name*/) {
  ORVIDOM_Element found;
  forEachEntryFor(m_response, attribute, value, [&found](const ORVIDOM_Element& entry) {
    found = entry;
    return false;
  });
  return found;
}

std::vector<ORVIDOM_Element> QsMetadataResponseHelper::FindAllEntriesFor(
    const I18NString& attribute, I18NString value,  // NOLINT(performance-unnecessary-value-param)
    const I18NString& /*name*/) {
  std::vector<ORVIDOM_Element> found;
  forEachEntryFor(m_response, attribute, value, [&found](const ORVIDOM_Element& entry) {
    found.push_back(entry);
    return true;
  });
  return found;
}

int QsMetadataResponseHelper::GetPropertyValue(const ORVIDOM_Element& entry,
                                               const I18NString& property, I18NString& value) {
  // A null entry has no attributes, so it reads as an entry without the property.
  const ORVIDOM_Node attribute = entry.getAttributes().getNamedItem(property);
  value = attribute.getNodeValue();
  return attribute.isNull() ? 0 : 1;
}

int QsMetadataResponseHelper::GetPropertyValue(const ORVIDOM_Element& entry,
                                               const I18NString& property, I18NString& value,
                                               std::map<I18NString, I18NString>& localizedValues) {
  if (GetPropertyValue(entry, property, value) == 0) return 0;
  ORVIDOM_NodeList aliases = entry.getElementsByTagName(kElemAlias);
  for (unsigned long i = 0; i < aliases.getLength(); ++i) {
    const ORVIDOM_Element alias = aliases.item(i);
    I18NString locale = alias.getAttribute(kAttrLocale);
    I18NString localized = alias.getAttribute(property);
    if (!locale.empty() && !localized.empty()) localizedValues[locale] = localized;
  }
  return 1;
}

void QsMetadataResponseHelper::GetPropertyNameValues(ORVIDOM_Element& entry,
                                                     std::vector<I18NString>& names,
                                                     std::vector<I18NString>& values) const {
  ORVIDOM_NamedNodeMap attributes = entry.getAttributes();
  for (unsigned long i = 0; i < attributes.getLength(); ++i) {
    const ORVIDOM_Node attribute = attributes.item(i);
    names.push_back(attribute.getNodeName());
    values.push_back(attribute.getNodeValue());
  }
}

void QsMetadataResponseHelper::doTake(ORVIDOM_Element& elem) { m_response = elem; }
