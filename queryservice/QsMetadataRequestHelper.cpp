#include "queryservice/QsMetadataRequestHelper.h"

#include "core/Resources.h"
#include "orvcore/ORVUtConvert.h"
#include "orvidom/ORVIDOM_Document.h"

namespace {

const I18NString kElemMetadata("metadata");
const I18NString kAttrClass("class");
const I18NString kAttrDepth("depth");
const I18NString kAttrResultCount("resultCount");
const I18NString kAttrResultStart("resultStart");
const I18NString kAttrReturnSchema("returnSchema");
const I18NString kClassMembers("Members");
const I18NString kElemIncludeCalculatedMembers("includeCalculatedMembers");
const I18NString kElemProperties("properties");
const I18NString kElemConstraints("constraints");
const I18NString kElemConstraint("constraint");
const I18NString kElemContext("context");
const I18NString kLanguage("language");

// Appends to `parent` a list element named `listName` holding one `itemName` element per value,
// with the value in attribute `attribute`; nothing when there are no values.
void appendList(const ORVIDOM_Element& parent, const I18NString& listName,
                const I18NString& itemName, const I18NString& attribute,
                const std::vector<I18NString>& values) {
  if (values.empty()) return;
  ORVIDOM_Element list = parent.appendElement(listName);
  for (const I18NString& value : values) {
    list.appendElement(itemName).setAttribute(attribute, value);
  }
}

}  // namespace

QsMetadataRequestHelper::QsMetadataRequestHelper() = default;

QsMetadataRequestHelper::~QsMetadataRequestHelper() = default;

void QsMetadataRequestHelper::SetMetadataClass(const I18NString& metadataClass) {
  m_metadataClass = metadataClass;
}

void QsMetadataRequestHelper::SetContext(const I18NString& context) { m_context = context; }

void QsMetadataRequestHelper::SetDepth(unsigned long depth) { m_depth = depth; }

void QsMetadataRequestHelper::SetResultStart(unsigned long resultStart) {
  m_resultStart = resultStart;
}

void QsMetadataRequestHelper::SetResultCount(unsigned long resultCount) {
  m_resultCount = resultCount;
}

void QsMetadataRequestHelper::SetResultSchema(int resultSchema) { m_resultSchema = resultSchema; }

void QsMetadataRequestHelper::AddConstraint(const I18NString& condition) {
  m_constraints.push_back(condition);
}

void QsMetadataRequestHelper::AddProperty(const I18NString& property) {
  m_properties.push_back(property);
}

void QsMetadataRequestHelper::AddRetrieveProperty(const I18NString& property) {
  m_retrieveProperties.push_back(property);
}

void QsMetadataRequestHelper::SetAliasTablesMap(
    const std::map<I18NString, I18NString>& aliasTables) {
  m_aliasTables = aliasTables;
}

void QsMetadataRequestHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(korvath_actionhelper_resources_command_str);
  if (!m_metadataClass.empty()) makeMetadata(elem);
  if (!m_retrieveProperties.empty()) makeRetrievePropertyValues(elem);
  if (!m_aliasTables.empty()) makeAliasTableMap(elem);
}

void QsMetadataRequestHelper::makeMetadata(const ORVIDOM_Element& command) const {
  ORVIDOM_Element metadata = command.appendElement(kElemMetadata);
  metadata.setAttribute(kAttrClass, m_metadataClass);
  metadata.setAttribute(kAttrDepth, ORVUtConvert::ulongCvt(m_depth));
  metadata.setAttribute(kAttrResultCount, ORVUtConvert::ulongCvt(m_resultCount));
  metadata.setAttribute(kAttrResultStart, ORVUtConvert::ulongCvt(m_resultStart));
  metadata.setAttribute(kAttrReturnSchema, m_resultSchema != 0
                                               ? korvath_actionhelper_resources_true_str
                                               : korvath_actionhelper_resources_false_str);
  if (m_metadataClass == kClassMembers) {
    metadata.appendElement(kElemIncludeCalculatedMembers)
        .setAttribute(korvath_actionhelper_resources_value_str,
                      korvath_actionhelper_resources_true_str);
  }
  appendList(metadata, kElemProperties, korvath_actionhelper_resources_property_str,
             korvath_actionhelper_resources_name_str, m_properties);
  appendList(metadata, kElemConstraints, kElemConstraint,
             korvath_actionhelper_resources_condition_str, m_constraints);
  if (!m_context.empty()) {
    metadata.appendElement(kElemContext)
        .setAttribute(korvath_actionhelper_resources_value_str, m_context);
  }
}

void QsMetadataRequestHelper::makeRetrievePropertyValues(const ORVIDOM_Element& command) const {
  ORVIDOM_Element retrieve =
      command.appendElement(korvath_actionhelper_resources_retrievePropertyValues_str);
  for (const I18NString& property : m_retrieveProperties) {
    if (property == kLanguage) {
      retrieve.appendElement(kLanguage);
    } else {
      retrieve.appendElement(korvath_actionhelper_resources_property_str)
          .setAttribute(korvath_actionhelper_resources_name_str, property);
    }
  }
}

void QsMetadataRequestHelper::makeAliasTableMap(const ORVIDOM_Element& command) const {
  ORVIDOM_Element map = command.appendElement(korvath_actionhelper_resources_aliasTableMap_str);
  for (const auto& [lang, table] : m_aliasTables) {
    ORVIDOM_Element aliasTable = map.appendElement(korvath_actionhelper_resources_aliasTable_str);
    aliasTable.setAttribute(korvath_actionhelper_resources_lang_str, lang);
    if (!table.empty()) aliasTable.setAttribute(korvath_actionhelper_resources_name_str, table);
  }
}
