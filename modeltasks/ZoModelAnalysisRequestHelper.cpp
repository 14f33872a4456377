#include "modeltasks/ZoModelAnalysisRequestHelper.h"

#include <utility>

#include "core/Resources.h"
#include "modeltasks/TaskDom.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_ElementIndex.h"

namespace {

using modeltasks::indexOf;
using modeltasks::nameAt;

const I18NString kElemAnalyzeModelRequest("analyzeModelRequest");
const I18NString kElemObjects("objects");
const I18NString kElemChecks("checks");
const I18NString kElemCheck("check");
const I18NString kAttrId("id");

// The lists of a request's index, by position in the names it is made with.
enum IndexedList : std::size_t { kTasks, kChecks, kObjects };

const I18NString kNameDoSpecifiedChecks("doSpecifiedChecks");

const I18NString kNameUseOfCardinalityInFacts("useOfCardinalityInFacts");
const I18NString kNameAmbiguousCardinality("ambiguousCardinality");
const I18NString kNameAmbiguousRelationships("ambiguousRelationships");
const I18NString kNameCircularDependency("circularDependency");
const I18NString kNameKeyIndexVsRelationships("keyIndexVsRelationships");
const I18NString kNameJoinAtDifferentLevels("joinAtDifferentLevels");
const I18NString kNameMinimizedSQLconflict("minimizedSQLconflict");
const I18NString kNameCalculatedMeasures("calculatedMeasures");
const I18NString kNameCachingConflict("cachingConflict");

// Indexed by ECheck; entry 0 stands for the unknown check.
const I18NString* const kCheckNames[] = {
    nullptr,
    &kNameUseOfCardinalityInFacts,
    &kNameAmbiguousCardinality,
    &kNameAmbiguousRelationships,
    &kNameCircularDependency,
    &kNameKeyIndexVsRelationships,
    &kNameJoinAtDifferentLevels,
    &kNameMinimizedSQLconflict,
    &kNameCalculatedMeasures,
    &kNameCachingConflict,
};
constexpr int kCheckCount = sizeof(kCheckNames) / sizeof(kCheckNames[0]);

}  // namespace

ZoAnalyzeRequestTaskHelper::ZoAnalyzeRequestTaskHelper(ETask task) : m_task(task) {}

void ZoAnalyzeRequestTaskHelper::AddCheck(ECheck check) { m_checks.push_back(check); }

void ZoAnalyzeRequestTaskHelper::AddObject(const I18NString& id) { m_objects.push_back(id); }

const I18NString& ZoAnalyzeRequestTaskHelper::ToString(ETask task) {
  if (task == kTaskDoSpecifiedChecks) return kNameDoSpecifiedChecks;
  return korvath_actionhelper_resources_unknown_str;
}

const I18NString& ZoAnalyzeRequestTaskHelper::ToString(ECheck check) {
  return nameAt(kCheckNames, kCheckCount, check);
}

ZoAnalyzeRequestTaskHelper::ETask ZoAnalyzeRequestTaskHelper::ToTask(const I18NString& name) {
  return name == kNameDoSpecifiedChecks ? kTaskDoSpecifiedChecks : kTaskUnknown;
}

ZoAnalyzeRequestTaskHelper::ECheck ZoAnalyzeRequestTaskHelper::ToCheck(const I18NString& name) {
  return static_cast<ECheck>(indexOf(kCheckNames, kCheckCount, name));
}

void ZoAnalyzeRequestTaskHelper::GetSupportedChecks(std::vector<ECheck>& checks) {
  // The engine does not run the check of joins at different levels.
  checks.insert(checks.end(), {kCheckUseOfCardinalityInFacts, kCheckAmbiguousCardinality,
                               kCheckAmbiguousRelationships, kCheckCircularDependency,
                               kCheckKeyIndexVsRelationships, kCheckMinimizedSQLconflict,
                               kCheckCalculatedMeasures, kCheckCachingConflict});
}

void ZoAnalyzeRequestTaskHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(korvath_actionhelper_resources_task_str);
  elem.setAttribute(korvath_actionhelper_resources_name_str, ToString(m_task));
  const ORVIDOM_Element objects = elem.appendElement(kElemObjects);
  for (const I18NString& id : m_objects) {
    objects.appendElement(korvath_actionhelper_resources_object_str).setAttribute(kAttrId, id);
  }
  const ORVIDOM_Element checks = elem.appendElement(kElemChecks);
  for (ECheck check : m_checks) {
    checks.appendElement(kElemCheck)
        .setAttribute(korvath_actionhelper_resources_name_str, ToString(check));
  }
}

void ZoAnalyzeRequestTaskHelper::doTake(const ORVIDOM_ElementIndex& found, std::size_t at) {
  const ORVIDOM_ElementIndex::Range checks = found.below(kTasks, at, kChecks);
  for (std::size_t i = checks.first; i < checks.last; ++i) {
    const ECheck eCheck =
        ToCheck(found.element(kChecks, i).getAttribute(korvath_actionhelper_resources_name_str));
    ORV_ASSERT(eCheck != kCheckUnknown);
    m_checks.push_back(eCheck);
  }
  const ORVIDOM_ElementIndex::Range objects = found.below(kTasks, at, kObjects);
  for (std::size_t i = objects.first; i < objects.last; ++i) {
    const I18NString idObj = found.element(kObjects, i).getAttribute(kAttrId);
    ORV_ASSERT_NAMED(!idObj.empty(), "Cannot be empty");
    m_objects.push_back(idObj);
  }
}

ZoModelAnalysisRequestHelper::~ZoModelAnalysisRequestHelper() {
  for (ZoAnalyzeRequestTaskHelper* task : m_tasks) delete task;
}

ZoAnalyzeRequestTaskHelper* ZoModelAnalysisRequestHelper::AddTask(
    ZoAnalyzeRequestTaskHelper::ETask task) {
  return appendTask(
      std::unique_ptr<ZoAnalyzeRequestTaskHelper>(new ZoAnalyzeRequestTaskHelper(task)));
}

ZoAnalyzeRequestTaskHelper* ZoModelAnalysisRequestHelper::appendTask(
    std::unique_ptr<ZoAnalyzeRequestTaskHelper> task) {
  m_tasks.push_back(task.get());
  return task.release();
}

void ZoModelAnalysisRequestHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(kElemAnalyzeModelRequest);
  const ORVIDOM_Element tasks = elem.appendElement(korvath_actionhelper_resources_tasks_str);
  for (const ZoAnalyzeRequestTaskHelper* task : m_tasks) {
    ORVIDOM_Element taskElem;
    task->doMake(doc, taskElem);
    tasks.appendChild(taskElem);
  }
}

void ZoModelAnalysisRequestHelper::doTake(ORVIDOM_Element& elem) {
  m_requestElement = elem;
  if (elem.isNull()) return;
  // One walk finds every task and the checks and objects below each, however the tasks nest.
  const ORVIDOM_ElementIndex found(elem, {korvath_actionhelper_resources_task_str, kElemCheck,
                                          korvath_actionhelper_resources_object_str});
  const ORVIDOM_ElementIndex::Range tasks = found.all(kTasks);
  for (std::size_t i = tasks.first; i < tasks.last; ++i) {
    const ZoAnalyzeRequestTaskHelper::ETask eTask = ZoAnalyzeRequestTaskHelper::ToTask(
        found.element(kTasks, i).getAttribute(korvath_actionhelper_resources_name_str));
    ORV_ASSERT(eTask != ZoAnalyzeRequestTaskHelper::kTaskUnknown);
    std::unique_ptr<ZoAnalyzeRequestTaskHelper> task(new ZoAnalyzeRequestTaskHelper(eTask));
    task->doTake(found, i);
    appendTask(std::move(task));
  }
}
