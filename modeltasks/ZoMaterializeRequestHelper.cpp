#include "modeltasks/ZoMaterializeRequestHelper.h"

#include <array>
#include <utility>

#include "core/Resources.h"
#include "modeltasks/TaskDom.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

using modeltasks::appendTextElement;
using modeltasks::indexOf;
using modeltasks::nameAt;

const I18NString kElemMaterializeRequest("materializeRequest");
const I18NString kElemTasks("tasks");
const I18NString kElemTargetDataSource("targetDataSource");
const I18NString kElemConnectionString("connectionString");
const I18NString kElemDatabase("database");
const I18NString kElemParam("param");
const I18NString kElemResultSet("resultSet");
const I18NString kElemTask("task");

const I18NString kNameGenLoadDataFromFile("genLoadDataFromFile");
const I18NString kNameLoadDataFromFile("loadDataFromFile");
const I18NString kNameMaterializeQuerySubject("materializeQuerySubject");
const I18NString kNameMaterializeResultSet("materializeResultSet");

const I18NString kNameDataFilePath("dataFilePath");
const I18NString kNameTableName("tableName");
const I18NString kNameColumnDelimiter("columnDelimiter");
const I18NString kNameRowDelimiter("rowDelimiter");
const I18NString kNameDataEncoding("dataEncoding");
const I18NString kNameObjectID("objectID");

// Indexed by ETasks and EParameters; entry 0 stands for the unknown value.
const I18NString* const kTaskNames[] = {nullptr, &kNameGenLoadDataFromFile, &kNameLoadDataFromFile,
                                        &kNameMaterializeQuerySubject, &kNameMaterializeResultSet};
const I18NString* const kParameterNames[] = {nullptr,
                                             &kNameDataFilePath,
                                             &kNameTableName,
                                             &kNameColumnDelimiter,
                                             &kNameRowDelimiter,
                                             &kNameDataEncoding,
                                             &kNameObjectID};

constexpr int kTaskCount = sizeof(kTaskNames) / sizeof(kTaskNames[0]);
constexpr int kParameterCount = sizeof(kParameterNames) / sizeof(kParameterNames[0]);

using Source = ZoMaterializeRequestHelper::TargetDataSource;

// Positions of the helper's data source values.
enum SourceValue { kType, kDatabase, kConnectionString, kUsername, kPassword, kSSOTicket };

// The TargetDataSource field of each value, in the order of SourceValue.
constexpr const I18NString* Source::*kSourceFields[] = {
    &Source::type,     &Source::database, &Source::connectionString,
    &Source::username, &Source::password, &Source::SSOTicket};

// The values written as child elements of "targetDataSource", in the order they are written.
std::array<std::pair<SourceValue, const I18NString*>, 5> sourceElements() {
  return {{{kConnectionString, &kElemConnectionString},
           {kDatabase, &kElemDatabase},
           {kUsername, &korvath_actionhelper_resources_username_str},
           {kPassword, &korvath_actionhelper_resources_password_str},
           {kSSOTicket, &korvath_actionhelper_resources_SSOTicket_str}}};
}

}  // namespace

ZoMaterializeRequestHelper::TargetDataSource::TargetDataSource() = default;

ZoMaterializeRequestHelper::ZoMaterializeRequestHelper() = default;
ZoMaterializeRequestHelper::~ZoMaterializeRequestHelper() = default;

void ZoMaterializeRequestHelper::AddTask(ETasks task) {
  if (m_taskSet.count(task) == 0) appendTask(task);
}

void ZoMaterializeRequestHelper::appendTask(ETasks task) {
  m_tasks.push_back(task);
  m_taskSet.insert(task);
}

const std::vector<ZoMaterializeRequestHelper::ETasks>& ZoMaterializeRequestHelper::GetTasks() {
  if (m_tasks.empty() && !m_requestElement.isNull()) {
    const ORVIDOM_NodeList found = m_requestElement.getElementsByTagName(kElemTask);
    for (unsigned long i = 0; i < found.getLength(); ++i) {
      const ORVIDOM_Node first = found.item(i).getFirstChild();
      if (first.isNull()) continue;
      // A received name may repeat: the list shows the request as it came.
      appendTask(static_cast<ETasks>(indexOf(kTaskNames, kTaskCount, first.getNodeValue())));
    }
  }
  return m_tasks;
}

void ZoMaterializeRequestHelper::AddParameter(EParameters param, const I18NString& value) {
  m_params[param] = value;
}

int ZoMaterializeRequestHelper::GetParameter(EParameters param, I18NString& value) const {
  if (!m_params.empty() || m_requestElement.isNull()) return 0;
  const ORVIDOM_NodeList found = m_requestElement.getElementsByTagName(kElemParam);
  for (unsigned long i = 0; i < found.getLength(); ++i) {
    const ORVIDOM_Element nodeTemp = found.item(i);
    ORV_ASSERT(nodeTemp.getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
    const I18NString name = nodeTemp.getAttribute(korvath_actionhelper_resources_name_str);
    if (indexOf(kParameterNames, kParameterCount, name) == param) {
      value = nodeTemp.getAttribute(korvath_actionhelper_resources_value_str);
      return 1;
    }
  }
  return 0;
}

void ZoMaterializeRequestHelper::SetTargetDataSource(const TargetDataSource& source) {
  for (int i = 0; i < kSourceValueCount; ++i) {
    const I18NString* given = source.*kSourceFields[i];
    if (given != nullptr) setSourceValue(i, *given);
  }
}

void ZoMaterializeRequestHelper::setSourceValue(int which, const I18NString& value) {
  if (m_source[which]) {
    *m_source[which] = value;
  } else {
    m_source[which] = std::make_unique<I18NString>(value);
  }
}

bool ZoMaterializeRequestHelper::hasSourceValue() const {
  for (const auto& value : m_source) {
    if (value) return true;
  }
  return false;
}

const ZoMaterializeRequestHelper::TargetDataSource
ZoMaterializeRequestHelper::GetTargetDataSourceInfo() {
  if (!hasSourceValue() && !m_requestElement.isNull()) {
    const ORVIDOM_Element found =
        ORVIDOM_Helper::findFirstElement(m_requestElement, kElemTargetDataSource);
    if (!found.isNull()) readTargetDataSource(found);
  }
  TargetDataSource info;
  for (int i = 0; i < kSourceValueCount; ++i) info.*kSourceFields[i] = m_source[i].get();
  return info;
}

void ZoMaterializeRequestHelper::readTargetDataSource(const ORVIDOM_Element& nodeTemp) {
  ORV_ASSERT(nodeTemp.getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  setSourceValue(kType, nodeTemp.getAttribute(korvath_actionhelper_resources_type_str));
  const auto elements = sourceElements();
  for (ORVIDOM_Node child = nodeTemp.getFirstChild(); !child.isNull();
       child = child.getNextSibling()) {
    const ORVIDOM_Node text = child.getFirstChild();
    if (child.getNodeType() != ORVIDOM_Node::ELEMENT_NODE ||
        text.getNodeType() != ORVIDOM_Node::TEXT_NODE) {
      continue;
    }
    const I18NString name = child.getNodeName();
    for (const auto& [which, elementName] : elements) {
      if (name == *elementName) setSourceValue(which, text.getNodeValue());
    }
  }
}

void ZoMaterializeRequestHelper::SetResultSet(const ORVIDOM_Element& resultSet) {
  m_resultSet = resultSet;
}

ORVIDOM_Element ZoMaterializeRequestHelper::GetResultSet() {
  if (m_resultSet.isNull() && !m_requestElement.isNull()) {
    const ORVIDOM_Node first =
        ORVIDOM_Helper::findFirstElement(m_requestElement, kElemResultSet).getFirstChild();
    if (first.getNodeType() == ORVIDOM_Node::ELEMENT_NODE) m_resultSet = first;
  }
  return m_resultSet;
}

const I18NString& ZoMaterializeRequestHelper::GetTaskName(ETasks task) {
  return nameAt(kTaskNames, kTaskCount, task);
}

const I18NString& ZoMaterializeRequestHelper::GetParameterName(EParameters param) {
  return nameAt(kParameterNames, kParameterCount, param);
}

void ZoMaterializeRequestHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(kElemMaterializeRequest);
  const ORVIDOM_Element tasks = elem.appendElement(kElemTasks);
  for (ETasks task : m_tasks) appendTextElement(doc, tasks, kElemTask, GetTaskName(task));

  makeTargetDataSource(doc, elem);

  if (!m_params.empty()) {
    const ORVIDOM_Element parameters =
        elem.appendElement(korvath_actionhelper_resources_parameters_str);
    for (const auto& [param, value] : m_params) {
      const ORVIDOM_Element paramElem = parameters.appendElement(kElemParam);
      paramElem.setAttribute(korvath_actionhelper_resources_name_str, GetParameterName(param));
      paramElem.setAttribute(korvath_actionhelper_resources_value_str, value);
    }
  }

  if (!m_resultSet.isNull()) {
    elem.appendElement(kElemResultSet).appendChild(doc.importNode(m_resultSet, true));
  }
}

void ZoMaterializeRequestHelper::makeTargetDataSource(ORVIDOM_Document& doc,
                                                      ORVIDOM_Element& request) const {
  const ORVIDOM_Element source = request.appendElement(kElemTargetDataSource);
  if (m_source[kType]) {
    source.setAttribute(korvath_actionhelper_resources_type_str, *m_source[kType]);
  }
  for (const auto& [which, name] : sourceElements()) {
    if (m_source[which]) appendTextElement(doc, source, *name, *m_source[which]);
  }
}

void ZoMaterializeRequestHelper::doTake(ORVIDOM_Element& elem) { m_requestElement = elem; }
