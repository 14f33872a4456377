#include "modeltasks/ZoUpdateObjectRequestHelper.h"

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

#include "core/Blocks.h"
#include "core/Resources.h"
#include "modeltasks/TaskDom.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Builder.h"
#include "orvidom/ORVIDOM_Document.h"

namespace {

using modeltasks::indexOf;
using modeltasks::nameAt;
using Task = ZoUpdateRequestTaskHelper;

// Task names, indexed by ETask - 1.
const I18NString kTaskNames[] = {"addProperty",     "removeProperty", "updateProperty",
                                 "reorderProperty", "addObject",      "removeObject"};

// Parameter names, indexed by EParameter - 1.
const I18NString kParamNames[] = {"propertyType",
                                  "propertyValue",
                                  "forceUpdate",
                                  "createIfNeeded",
                                  "propertyIndex",
                                  "propertyBeforeIndex",
                                  "objectName",
                                  "objectType",
                                  "makeNameUnique",
                                  "objectID",
                                  "objectBeforeID",
                                  "basedOn",
                                  "caption",
                                  "filterApplyType",
                                  "queryType",
                                  "definitionType",
                                  "subType",
                                  "cmDisplayPath",
                                  "cmSearchPath",
                                  "functionSetID",
                                  "overrideFuncID",
                                  "overrideQOSLevel",
                                  "overrideDescription",
                                  "querySubjectRefs",
                                  "setOperation",
                                  "duplicates",
                                  "convergenceLevel",
                                  "key",
                                  "attributes",
                                  "canGroup",
                                  "identifiesRow",
                                  "applyAggregate",
                                  "dimensionRef"};

const I18NString kElemUpdateObjectRequest("updateObjectRequest");
const I18NString kElemTasks("tasks");
const I18NString kElemTask("task");
const I18NString kElemParameters("parameters");
const I18NString kElemParam("param");
const I18NString kElemRefObj("refobj");

// The lists of the index a request or a task reads from, by position in kIndexedNames.
enum IndexedList : std::size_t { kTasks, kParams };
const std::initializer_list<std::reference_wrapper<const I18NString>> kIndexedNames = {kElemTask,
                                                                                       kElemParam};
const I18NString kAttrName("name");
const I18NString kAttrLocale("locale");
const I18NString kAttrValue("value");
const I18NString kPropertyTypeSecurityFilter("securityFilter");
const I18NString kPropertyTypePreviewFilter("previewFilter");

// The fragment of a "param" without a "value" attribute: its first child, which must be an
// element.
ORVIDOM_Element FragmentOf(const ORVIDOM_Element& param) {
  ORVIDOM_Node nodeValue = param.getFirstChild();
  ORV_ASSERT(!nodeValue.isNull() && nodeValue.getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  return nodeValue;
}

// The text node that holds a "refobj" identifier; null when the first child is no text.
ORVIDOM_Node IdTextOf(const ORVIDOM_Node& refObj) {
  ORVIDOM_Node first = refObj.getFirstChild();
  return first.getNodeType() == ORVIDOM_Node::TEXT_NODE ? first : ORVIDOM_Node();
}

bool IsIdKind(Task::EParameter kind) {
  switch (kind) {
    case Task::kParamObjectID:
    case Task::kParamObjectBeforeID:
    case Task::kParamBasedOn:
    case Task::kParamKey:
    case Task::kParamAttributes:
    case Task::kParamDimensionRef:
      return true;
    default:
      return false;
  }
}

// Property types whose "propertyValue" holds object references.
bool IsIdPropertyType(const I18NString& type) {
  return type == korvath_actionhelper_resources_filter_str || type == kPropertyTypeSecurityFilter ||
         type == kPropertyTypePreviewFilter ||
         type == korvath_actionhelper_resources_dataSource_str ||
         type == nameAt(kParamNames, Task::kParamQuerySubjectRefs);
}

// Orders a task's parameter list by kind, keeping the order of each kind's values.
template <class Params>
void SortByKind(Params& params) {
  using Param = typename Params::value_type;
  std::stable_sort(params.begin(), params.end(),
                   [](const Param& a, const Param& b) { return a.kind < b.kind; });
}

// The first entry of that kind in a list sorted by kind, or where it would be.
template <class Params>
auto FirstOfKind(Params& params, Task::EParameter kind) {
  using Param = typename Params::value_type;
  return std::lower_bound(params.begin(), params.end(), kind,
                          [](const Param& p, Task::EParameter k) { return p.kind < k; });
}

}  // namespace

struct ZoUpdateRequestTaskHelper::Records {
  // Declared first, so that they go after the tasks that point into them: the tasks' lists of
  // parameters, which are freed all at once, and the values.
  std::pmr::monotonic_buffer_resource lists;
  core::Blocks<ParamValue> values;
  core::Blocks<ZoUpdateRequestTaskHelper> tasks;
};

// ZoUpdateRequestTaskHelper

ZoUpdateRequestTaskHelper::ZoUpdateRequestTaskHelper(ETask kind, Records& store)
    : task(kind), store(store), params(&store.lists) {}

ZoUpdateRequestTaskHelper::~ZoUpdateRequestTaskHelper() = default;

void ZoUpdateRequestTaskHelper::AddValue(EParameter kind, ParamValue& value) {
  // Room for the parameters of a usual task at once, where growing one by one takes four steps.
  constexpr std::size_t kUsualParameters = 8;
  if (params.empty()) params.reserve(kUsualParameters);
  if (!params.empty() && kind < params.back().kind) paramsSorted = false;
  // Field by field: a pair made first and copied whole waits for its own halves to be written.
  Param& param = params.emplace_back();
  param.kind = kind;
  param.value = &value;
}

void ZoUpdateRequestTaskHelper::SortParams() {
  if (paramsSorted) return;
  SortByKind(params);
  paramsSorted = true;
}

void ZoUpdateRequestTaskHelper::AddParameter(EParameter kind, const I18NString& value,
                                             const I18NString& locale) {
  AddValue(kind, core::Emplace(store.values, value, locale));
}

void ZoUpdateRequestTaskHelper::AddParameter(EParameter kind, I18NString&& value,
                                             I18NString&& locale) {
  AddValue(kind, core::Emplace(store.values, std::move(value), std::move(locale)));
}

void ZoUpdateRequestTaskHelper::AddParameter(EParameter kind, ORVIDOM_Element& element) {
  AddValue(kind, core::Emplace(store.values, element));
}

void ZoUpdateRequestTaskHelper::ParseParameters() {
  if (taskElement.isNull() || !params.empty()) return;
  for (std::size_t i = paramRange.first; i < paramRange.last; ++i) {
    const ORVIDOM_Element param = index->element(kParams, i);
    const EParameter eParam = ToParameter(param.getAttribute(kAttrName));
    ORV_ASSERT(eParam != kParamUnknown);
    if (param.hasAttribute(kAttrValue)) {
      AddValue(eParam, core::Emplace(store.values, param.getAttribute(kAttrValue),
                                     param.getAttribute(kAttrLocale)));
    } else {
      AddValue(eParam, core::Emplace(store.values, FragmentOf(param)));
    }
  }
}

int ZoUpdateRequestTaskHelper::GetParameter(EParameter kind, std::vector<ParamValue*>& values) {
  ParseParameters();
  SortParams();
  auto it = FirstOfKind(params, kind);
  if (it == params.end() || it->kind != kind) return 0;
  for (; it != params.end() && it->kind == kind; ++it) values.push_back(it->value);
  return 1;
}

int ZoUpdateRequestTaskHelper::GetParameter(EParameter kind, ParamValue*& value) {
  ParseParameters();
  SortParams();
  const auto it = FirstOfKind(params, kind);
  if (it == params.end() || it->kind != kind) return 0;
  value = it->value;
  return 1;
}

const I18NString& ZoUpdateRequestTaskHelper::ToString(ETask kind) {
  return nameAt(kTaskNames, kind);
}

const I18NString& ZoUpdateRequestTaskHelper::ToString(EParameter kind) {
  return nameAt(kParamNames, kind);
}

ZoUpdateRequestTaskHelper::ETask ZoUpdateRequestTaskHelper::ToTask(const I18NString& name) {
  return static_cast<ETask>(indexOf(kTaskNames, name));
}

ZoUpdateRequestTaskHelper::ETask modeltasks::taskNamed(const char* name) {
  return static_cast<Task::ETask>(indexOf(kTaskNames, name));
}

ZoUpdateRequestTaskHelper::EParameter ZoUpdateRequestTaskHelper::ToParameter(
    const I18NString& name) {
  return static_cast<EParameter>(indexOf(kParamNames, name));
}

void ZoUpdateRequestTaskHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(kElemTask);
  MakeInto(doc, elem);
}

void ZoUpdateRequestTaskHelper::MakeInto(ORVIDOM_Document& doc, ORVIDOM_Element& taskElem) const {
  const orvidom::Builder taskNode(taskElem);
  taskNode.vocabularyAttribute(kAttrName, ToString(task));
  const orvidom::Builder parameters = taskNode.element(kElemParameters);
  std::pmr::vector<Param> sorted;
  if (!paramsSorted) {
    sorted = params;
    SortByKind(sorted);
  }
  // The vocabulary's names, looked up once rather than once per parameter.
  const orvidom::Builder::Name paramName = parameters.name(kElemParam);
  const orvidom::Builder::Name nameName = parameters.name(kAttrName);
  const orvidom::Builder::Name valueName = parameters.name(kAttrValue);
  for (const Param& entry : paramsSorted ? params : sorted) {
    const ParamValue& value = *entry.value;
    const orvidom::Builder param = parameters.element(paramName);
    param.vocabularyAttribute(nameName, ToString(entry.kind));
    if (!value.locale.empty()) param.attribute(kAttrLocale, value.locale);
    if (value.element.isNull()) {
      param.attribute(valueName, value.value);
    } else {
      param.handle(doc).appendChild(doc.importNode(value.element, true));
    }
  }
}

void ZoUpdateRequestTaskHelper::doTake(ORVIDOM_Element& elem) {
  auto found = std::make_shared<const ORVIDOM_ElementIndex>(elem, kIndexedNames);
  TakeIndexed(elem, found, found->all(kParams));
}

void ZoUpdateRequestTaskHelper::TakeIndexed(const ORVIDOM_Element& elem,
                                            std::shared_ptr<const ORVIDOM_ElementIndex> found,
                                            ORVIDOM_ElementIndex::Range params) {
  taskElement = elem;
  index = std::move(found);
  paramRange = params;
}

int ZoUpdateRequestTaskHelper::ContainsIDs(ORVIDOM_Element& param) {
  const EParameter eParam = ToParameter(param.getAttribute(kAttrName));
  ORV_ASSERT(eParam != kParamUnknown);
  if (eParam == kParamPropertyType) {
    // Only these two tasks name the property whose value the "propertyValue" param holds.
    if (task == kTaskAddProperty || task == kTaskUpdateProperty) {
      propertyType = param.getAttribute(kAttrValue);
    }
    return 0;
  }
  if (eParam == kParamPropertyValue) return IsIdPropertyType(propertyType) ? 1 : 0;
  return IsIdKind(eParam) ? 1 : 0;
}

int ZoUpdateRequestTaskHelper::GetNextIDParameters(std::vector<I18NString>& vIDs) {
  vIDs.clear();
  // A task that was never taken has no index and no params to walk.
  ORVIDOM_Node node;
  if (!idCrap_elmCurrIDParam.isNull()) {
    node = idCrap_elmCurrIDParam.getNextSibling();
  } else if (index) {
    node = index->first(kParams, paramRange);
  }
  for (; !node.isNull(); node = node.getNextSibling()) {
    ORVIDOM_Element candidate(node);
    if (candidate.getNodeType() == ORVIDOM_Node::ELEMENT_NODE &&
        candidate.getTagName() == kElemParam && ContainsIDs(candidate)) {
      break;
    }
  }
  if (node.isNull()) return 0;
  idCrap_elmCurrIDParam = node;
  if (idCrap_elmCurrIDParam.hasAttribute(kAttrValue)) {
    vIDs.push_back(idCrap_elmCurrIDParam.getAttribute(kAttrValue));
    return 1;
  }
  const ORVIDOM_NodeList refs = FragmentOf(idCrap_elmCurrIDParam).getElementsByTagName(kElemRefObj);
  for (unsigned long i = 0; i < refs.getLength(); ++i) {
    const ORVIDOM_Node text = IdTextOf(refs.item(i));
    if (!text.isNull()) vIDs.push_back(text.getNodeValue());
  }
  return 1;
}

void ZoUpdateRequestTaskHelper::UpdateCurrentIDParameters(const std::vector<I18NString>& vIDs) {
  ORV_ASSERT(!idCrap_elmCurrIDParam.isNull());
  if (idCrap_elmCurrIDParam.hasAttribute(kAttrValue)) {
    ORV_ASSERT(vIDs.size() == 1);
    idCrap_elmCurrIDParam.setAttribute(kAttrValue, vIDs.front());
    return;
  }
  const ORVIDOM_NodeList listRefs =
      FragmentOf(idCrap_elmCurrIDParam).getElementsByTagName(kElemRefObj);
  ORV_ASSERT(listRefs.getLength() == vIDs.size());
  for (unsigned long i = 0; i < listRefs.getLength(); ++i) {
    const ORVIDOM_Node text = IdTextOf(listRefs.item(i));
    if (!text.isNull()) text.setNodeValue(vIDs[i]);
  }
}

// ZoUpdateObjectRequestHelper

ZoUpdateObjectRequestHelper::ZoUpdateObjectRequestHelper()
    : records(std::make_unique<ZoUpdateRequestTaskHelper::Records>()) {}

ZoUpdateObjectRequestHelper::ZoUpdateObjectRequestHelper(ORVIDOM_Element& elem)
    : ZoUpdateObjectRequestHelper() {
  doTake(elem);
}

ZoUpdateObjectRequestHelper::~ZoUpdateObjectRequestHelper() = default;

ZoUpdateRequestTaskHelper* ZoUpdateObjectRequestHelper::AddTask(
    ZoUpdateRequestTaskHelper::ETask kind) {
  // Room for the tasks of a usual request at once, where growing one by one takes five steps.
  constexpr std::size_t kUsualTasks = 16;
  if (tasks.empty()) tasks.reserve(kUsualTasks);
  // The request's store owns the task, also when the list cannot grow.
  ZoUpdateRequestTaskHelper::Records& store = *records;
  ZoUpdateRequestTaskHelper& task =
      store.tasks.Add([&](void* at) { return new (at) ZoUpdateRequestTaskHelper(kind, store); });
  tasks.push_back(&task);
  return &task;
}

void ZoUpdateObjectRequestHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(kElemUpdateObjectRequest);
  const orvidom::Builder tasksElem = orvidom::Builder(elem).element(kElemTasks);
  const orvidom::Builder::Name taskName = tasksElem.name(kElemTask);
  for (const ZoUpdateRequestTaskHelper* t : tasks) {
    const orvidom::Builder taskElem = tasksElem.element(taskName);
    ORVIDOM_Element handle = taskElem.handle(doc);
    try {
      t->MakeInto(doc, handle);
    } catch (...) {
      // A task that cannot be written leaves the request with the tasks before it only.
      tasksElem.remove(taskElem);
      throw;
    }
  }
}

void ZoUpdateObjectRequestHelper::doTake(ORVIDOM_Element& elem) {
  requestElement = elem;
  if (requestElement.isNull()) return;
  // One walk finds every task and the params below each, however the tasks nest.
  const auto found = std::make_shared<const ORVIDOM_ElementIndex>(requestElement, kIndexedNames);
  const ORVIDOM_ElementIndex::Range all = found->all(kTasks);
  for (std::size_t i = all.first; i < all.last; ++i) {
    const ORVIDOM_Element taskElem = found->element(kTasks, i);
    const ZoUpdateRequestTaskHelper::ETask eTask =
        ZoUpdateRequestTaskHelper::ToTask(taskElem.getAttribute(kAttrName));
    ORV_ASSERT(eTask != ZoUpdateRequestTaskHelper::kTaskUnknown);
    AddTask(eTask)->TakeIndexed(taskElem, found, found->below(kTasks, i, kParams));
  }
}
