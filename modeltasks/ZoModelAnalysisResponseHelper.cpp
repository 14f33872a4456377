#include "modeltasks/ZoModelAnalysisResponseHelper.h"

#include <memory>

#include "core/OwnedList.h"
#include "core/Resources.h"
#include "modeltasks/TaskDom.h"

namespace {

using modeltasks::appendTextElement;

const I18NString kElemAnalyzeModelResponse("analyzeModelResponse");
const I18NString kElemIssue("issue");
const I18NString kElemMessages("messages");
const I18NString kElemMessage("message");
const I18NString kElemRelatedObjects("relatedObjects");
const I18NString kElemRelatedObject("relatedObject");
const I18NString kAttrStatus("status");
const I18NString kAttrId("id");
const I18NString kAttrClass("class");
const I18NString kAttrPath("path");
const I18NString kAttrRefClass("refclass");
const I18NString kAttrSubType("subtype");
const I18NString kStatusSuccess("success");
const I18NString kStatusFailure("failure");
const I18NString kValueMeasure("measure");

// Sets "name", "id", "class" and "path", in this order.
void setIdentity(const ORVIDOM_Element& elem, const I18NString& name, const I18NString& id,
                 const I18NString& objectClass, const I18NString& path) {
  elem.setAttribute(korvath_actionhelper_resources_name_str, name);
  elem.setAttribute(kAttrId, id);
  elem.setAttribute(kAttrClass, objectClass);
  elem.setAttribute(kAttrPath, path);
}

}  // namespace

ZoAnalyzeResponseIssueObjectHelper::SObject::SObject(const I18NString& name, const I18NString& id,
                                                     const I18NString& objectClass,
                                                     const I18NString& path)
    : name(name), id(id), objectClass(objectClass), path(path) {}

ZoAnalyzeResponseIssueObjectHelper::ZoAnalyzeResponseIssueObjectHelper(
    const I18NString& name, const I18NString& id, const I18NString& objectClass,
    const I18NString& path, const I18NString& refClass, ESubType subType,
    const std::vector<I18NString>& messages)
    : m_name(name),
      m_id(id),
      m_objectClass(objectClass),
      m_path(path),
      m_refClass(refClass),
      m_subType(subType),
      m_messages(messages) {}

const I18NString& ZoAnalyzeResponseIssueObjectHelper::ToString(ESubType subType) {
  return subType == kSubTypeMeasure ? kValueMeasure : korvath_actionhelper_resources_empty_str;
}

ZoAnalyzeResponseIssueObjectHelper::~ZoAnalyzeResponseIssueObjectHelper() {
  DeleteAll(m_relatedObjects);
}

void ZoAnalyzeResponseIssueObjectHelper::AddRelatedObject(const I18NString& name,
                                                          const I18NString& id,
                                                          const I18NString& objectClass,
                                                          const I18NString& path) {
  AppendOwned(m_relatedObjects, std::make_unique<SObject>(name, id, objectClass, path));
}

void ZoAnalyzeResponseIssueObjectHelper::doMake(ORVIDOM_Document& doc,
                                                ORVIDOM_Element& issue) const {
  const ORVIDOM_Element object = doc.createElement(korvath_actionhelper_resources_object_str);
  setIdentity(object, m_name, m_id, m_objectClass, m_path);
  object.setAttribute(kAttrRefClass, m_refClass);
  object.setAttribute(kAttrSubType, ToString(m_subType));
  issue.appendChild(object);

  const ORVIDOM_Element messages = doc.createElement(kElemMessages);
  for (const I18NString& message : m_messages) {
    appendTextElement(doc, messages, kElemMessage, message);
  }
  object.appendChild(messages);

  const ORVIDOM_Element related = object.appendElement(kElemRelatedObjects);
  for (const SObject* other : m_relatedObjects) {
    setIdentity(related.appendElement(kElemRelatedObject), other->name, other->id,
                other->objectClass, other->path);
  }
}

ZoAnalyzeResponseIssueHelper::ZoAnalyzeResponseIssueHelper(const I18NString& name) : m_name(name) {}

ZoAnalyzeResponseIssueHelper::~ZoAnalyzeResponseIssueHelper() { DeleteAll(m_objects); }

ZoAnalyzeResponseIssueObjectHelper* ZoAnalyzeResponseIssueHelper::AddObject(
    const I18NString& name, const I18NString& id, const I18NString& objectClass,
    const I18NString& path, const I18NString& refClass,
    ZoAnalyzeResponseIssueObjectHelper::ESubType subType, const std::vector<I18NString>& messages) {
  return AppendOwned(m_objects, std::make_unique<ZoAnalyzeResponseIssueObjectHelper>(
                                    name, id, objectClass, path, refClass, subType, messages));
}

void ZoAnalyzeResponseIssueHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(kElemIssue);
  elem.setAttribute(korvath_actionhelper_resources_name_str, m_name);
  for (const ZoAnalyzeResponseIssueObjectHelper* object : m_objects) object->doMake(doc, elem);
}

ZoAnalyzeResponseTaskHelper::ZoAnalyzeResponseTaskHelper(ZoAnalyzeRequestTaskHelper::ETask task)
    : m_task(task) {}

ZoAnalyzeResponseTaskHelper::~ZoAnalyzeResponseTaskHelper() { DeleteAll(m_issues); }

void ZoAnalyzeResponseTaskHelper::SetSuccess(int success) { m_success = success; }

ZoAnalyzeResponseIssueHelper* ZoAnalyzeResponseTaskHelper::AddIssue(const I18NString& name) {
  return AppendOwned(m_issues, std::unique_ptr<ZoAnalyzeResponseIssueHelper>(
                                   new ZoAnalyzeResponseIssueHelper(name)));
}

void ZoAnalyzeResponseTaskHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(korvath_actionhelper_resources_task_str);
  elem.setAttribute(korvath_actionhelper_resources_name_str,
                    ZoAnalyzeRequestTaskHelper::ToString(m_task));
  elem.setAttribute(kAttrStatus, m_success != 0 ? kStatusSuccess : kStatusFailure);
  for (const ZoAnalyzeResponseIssueHelper* issue : m_issues) {
    ORVIDOM_Element issueElem;
    issue->doMake(doc, issueElem);
    elem.appendChild(issueElem);
  }
}

ZoModelAnalysisResponseHelper::~ZoModelAnalysisResponseHelper() { DeleteAll(m_tasks); }

ZoAnalyzeResponseTaskHelper* ZoModelAnalysisResponseHelper::AddTask(
    ZoAnalyzeRequestTaskHelper::ETask task) {
  return AppendOwned(
      m_tasks, std::unique_ptr<ZoAnalyzeResponseTaskHelper>(new ZoAnalyzeResponseTaskHelper(task)));
}

void ZoModelAnalysisResponseHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(kElemAnalyzeModelResponse);
  const ORVIDOM_Element tasks = elem.appendElement(korvath_actionhelper_resources_tasks_str);
  for (const ZoAnalyzeResponseTaskHelper* task : m_tasks) {
    ORVIDOM_Element taskElem;
    task->doMake(doc, taskElem);
    tasks.appendChild(taskElem);
  }
}
