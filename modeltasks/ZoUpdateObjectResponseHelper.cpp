#include "modeltasks/ZoUpdateObjectResponseHelper.h"

#include <algorithm>
#include <forward_list>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "core/Blocks.h"
#include "core/Resources.h"
#include "modeltasks/TaskDom.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ElementView.h"
#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

using Result = ZoUpdateResponseTaskHelper;

const I18NString kElemUpdateObjectResponse("updateObjectResponse");
const I18NString kElemTasks("tasks");
const I18NString kElemTask("task");
const I18NString kElemParam("param");
const I18NString kElemError("error");
const I18NString kElemFeedback("feedback");
const I18NString kAttrName("name");
const I18NString kAttrStatus("status");
const I18NString kAttrValue("value");
const I18NString kAttrCode("code");
// Status names, indexed by EStatus - 1.
const I18NString kStatusNames[] = {"success", "failure"};

// Result parameter names, indexed by EParameter.
const I18NString* const kParamNames[] = {nullptr, &korvath_actionhelper_resources_property_str,
                                         &korvath_actionhelper_resources_object_str};
constexpr int kParamCount = sizeof(kParamNames) / sizeof(kParamNames[0]);

// The lists of the index a response or a task reads from, by position in kIndexedNames.
enum IndexedList : std::size_t { kTasks, kParams, kErrors, kFeedbacks };
const std::initializer_list<std::reference_wrapper<const I18NString>> kIndexedNames = {
    kElemTask, kElemParam, kElemError, kElemFeedback};

// The parameter kind and status of that XML name, compared in place; 0 when none matches.
Result::EParameter ParameterNamed(const char* name) {
  for (int kind = 1; kind < kParamCount; ++kind) {
    if (orvidom::sameName(kParamNames[kind]->c_str(), name)) {
      return static_cast<Result::EParameter>(kind);
    }
  }
  return Result::kParamUnknown;
}
Result::EStatus StatusNamed(const char* name) {
  for (int status = 1; status <= Result::kStatusFailure; ++status) {
    if (orvidom::sameName(kStatusNames[status - 1].c_str(), name)) {
      return static_cast<Result::EStatus>(status);
    }
  }
  return Result::kStatusUnknown;
}

// Calls `visit(kind, param)` for each "param" element in `found` of the index, in document order;
// the kind is 0 where the name matches none.
template <class Visit>
void forEachParameter(const ORVIDOM_ElementIndex& index, ORVIDOM_ElementIndex::Range found,
                      Visit visit) {
  for (std::size_t i = found.first; i < found.last; ++i) {
    const orvidom::ElementView param(index, kParams, i);
    visit(ParameterNamed(param.attribute(kAttrName.c_str())), param);
  }
}
// The value of a "param" element; "" when it has none.
const char* valueOf(const orvidom::ElementView& param) {
  return param.attribute(kAttrValue.c_str());
}

}  // namespace

const I18NString& ToString(ZoUpdateResponseTaskHelper::EStatus status) {
  return modeltasks::nameAt(kStatusNames, status);
}

const I18NString& ToString(ZoUpdateResponseTaskHelper::EParameter kind) {
  return modeltasks::nameAt(kParamNames, kParamCount, kind);
}

ZoUpdateResponseTaskHelper::EStatus ToStatus(const I18NString& name) {
  return static_cast<Result::EStatus>(modeltasks::indexOf(kStatusNames, name));
}

ZoUpdateResponseTaskHelper::EParameter ToParameter(const I18NString& name) {
  return static_cast<Result::EParameter>(modeltasks::indexOf(kParamNames, kParamCount, name));
}

// ZoUpdateResponseTaskHelper

ZoUpdateResponseTaskHelper::~ZoUpdateResponseTaskHelper() = default;

void ZoUpdateResponseTaskHelper::AddParameter(EParameter kind, const I18NString& value) {
  KeepReadParameters();
  params.emplace_back(kind, value);
}

void ZoUpdateResponseTaskHelper::ParseParameters() {
  if (!index || !params.empty()) return;
  const ORVIDOM_ElementIndex::Range found = Below(kParams);
  params.reserve(found.last - found.first);
  forEachParameter(*index, found, [this](EParameter eParam, const orvidom::ElementView& param) {
    ORV_ASSERT(eParam != kParamUnknown);
    params.emplace_back(eParam, valueOf(param));
  });
}

void ZoUpdateResponseTaskHelper::KeepReadParameters() {
  if (!(taskAt & kReadInPlace)) return;
  taskAt &= ~kReadInPlace;
  ParseParameters();
}

int ZoUpdateResponseTaskHelper::GetParameter(EParameter kind, std::vector<I18NString>& values) {
  int found = 0;
  if (index && params.empty()) {
    const std::size_t before = values.size();
    const auto take = [&](EParameter eParam, const orvidom::ElementView& param) {
      if (eParam == kParamUnknown) {
        // Fails as the copy into `params` does, which keeps the parameters before this one.
        values.resize(before);
        ParseParameters();
      }
      if (eParam == kind) {
        values.emplace_back(valueOf(param));
        found = 1;
      }
    };
    forEachParameter(*index, Below(kParams), take);
    taskAt |= kReadInPlace;
    return found;
  }
  for (const auto& param : params) {
    if (param.first != kind) continue;
    values.push_back(param.second);
    found = 1;
  }
  return found;
}

void ZoUpdateResponseTaskHelper::SetError(const I18NString& code, const I18NString& message) {
  if (error) {
    error->code = code;
    error->message = message;
  } else {
    error.emplace(code, message);
  }
}

ZoUpdateResponseTaskHelper::ErrorInfo* ZoUpdateResponseTaskHelper::GetError() {
  const ORVIDOM_ElementIndex::Range errors = error ? ORVIDOM_ElementIndex::Range() : Below(kErrors);
  if (!errors.empty()) {
    const orvidom::ElementView found(*index, kErrors, errors.first);
    const char* message = found.leadingText();
    // Each field is made once, in place, where SetError would copy it.
    error.emplace(I18NString(), I18NString());
    error->code = I18NString(found.attribute(kAttrCode.c_str()));
    error->message = I18NString(message ? message : "");
  }
  return error ? &*error : nullptr;
}

void ZoUpdateResponseTaskHelper::SetFeedback(ZoActionFeedbackHelper& feedback) {
  if (!feedback.IsEmpty()) feedback.Make(feedbackElement);
}

void ZoUpdateResponseTaskHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  const ORVIDOM_Element taskElem = doc.createElement(kElemTask);
  elem = taskElem;
  taskElem.setAttribute(kAttrName, ZoUpdateRequestTaskHelper::ToString(task));
  taskElem.setAttribute(kAttrStatus, ToString(status));
  // Grouped by kind in ascending order, each kind's values in the order they were added.
  std::vector<std::pair<EParameter, I18NString>> read;
  if (taskAt & kReadInPlace) {
    forEachParameter(*index, Below(kParams),
                     [&read](EParameter kind, const orvidom::ElementView& param) {
                       read.emplace_back(kind, valueOf(param));
                     });
  }
  const auto& written = read.empty() ? params : read;
  std::vector<const std::pair<EParameter, I18NString>*> ordered;
  ordered.reserve(written.size());
  for (const auto& param : written) ordered.push_back(&param);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const auto* a, const auto* b) { return a->first < b->first; });
  for (const auto* entry : ordered) {
    const ORVIDOM_Element param = doc.createElement(kElemParam);
    param.setAttribute(kAttrName, ToString(entry->first));
    param.setAttribute(kAttrValue, entry->second);
    taskElem.appendChild(param);
  }
  if (error) {
    const ORVIDOM_Element errorElem = ORVIDOM_Helper::findOrCreateElement(taskElem, kElemError);
    // An empty message leaves the element without text, which reads back as an empty message.
    if (!error->message.empty()) errorElem.appendChild(doc.createTextNode(error->message));
    errorElem.setAttribute(kAttrCode, error->code);
  }
  const ORVIDOM_Element feedback = GetFeedback();
  if (!feedback.isNull()) taskElem.appendChild(doc.importNode(feedback, true));
}

ORVIDOM_Element ZoUpdateResponseTaskHelper::GetFeedback() const {
  if (!feedbackElement.isNull()) return feedbackElement;
  return index ? index->first(kFeedbacks, Below(kFeedbacks)) : ORVIDOM_Element();
}

ORVIDOM_ElementIndex::Range ZoUpdateResponseTaskHelper::Below(std::size_t list) const noexcept {
  if (!index) return {};
  const std::size_t at = taskAt & kWholeIndex;
  return at == kWholeIndex ? index->all(list) : index->below(kTasks, at, list);
}

void ZoUpdateResponseTaskHelper::doTake(ORVIDOM_Element& elem) {
  // The feedback of the task taken before stays unless the new one has its own.
  feedbackElement = GetFeedback();
  KeepReadParameters();
  index = nullptr;
  if (elem.isNull()) return;
  index = std::make_shared<const ORVIDOM_ElementIndex>(elem, kIndexedNames);
  taskAt = kWholeIndex;
  if (!index->all(kFeedbacks).empty()) feedbackElement = ORVIDOM_Element();
}

// ZoUpdateObjectResponseHelper

struct ZoUpdateObjectResponseHelper::Results {
  // The index of each response taken, which its results read through; declared first, so that
  // they outlive them. The first is kept in place: most responses are taken once.
  std::optional<ORVIDOM_ElementIndex> first;
  std::forward_list<ORVIDOM_ElementIndex> more;
  core::Blocks<ZoUpdateResponseTaskHelper> blocks;

  // A new index of `response`, which the results read through.
  const ORVIDOM_ElementIndex& index(const ORVIDOM_Element& response) {
    return first ? more.emplace_front(response, kIndexedNames)
                 : first.emplace(response, kIndexedNames);
  }
};

ZoUpdateObjectResponseHelper::ZoUpdateObjectResponseHelper() = default;

ZoUpdateObjectResponseHelper::ZoUpdateObjectResponseHelper(ORVIDOM_Element& elem) { doTake(elem); }

ZoUpdateObjectResponseHelper::~ZoUpdateObjectResponseHelper() = default;

ZoUpdateResponseTaskHelper* ZoUpdateObjectResponseHelper::Append(
    ZoUpdateRequestTaskHelper::ETask kind, ZoUpdateResponseTaskHelper::EStatus status) {
  if (!results) results = std::make_unique<Results>();
  return core::AddListed(results->blocks, tasks, [&](void* at) {
    return new (at) ZoUpdateResponseTaskHelper(kind, status);
  });
}

ZoUpdateResponseTaskHelper* ZoUpdateObjectResponseHelper::AddTask(
    ZoUpdateRequestTaskHelper::ETask kind) {
  return Append(kind, ZoUpdateResponseTaskHelper::kStatusSuccess);
}

ZoUpdateResponseTaskHelper* ZoUpdateObjectResponseHelper::GetTask(
    ZoUpdateRequestTaskHelper::ETask kind) const {
  for (ZoUpdateResponseTaskHelper* t : tasks) {
    if (t->GetTask() == kind) return t;
  }
  return nullptr;
}

void ZoUpdateObjectResponseHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  const ORVIDOM_Element response = doc.createElement(kElemUpdateObjectResponse);
  elem = response;
  const ORVIDOM_Element tasksElem = doc.createElement(kElemTasks);
  response.appendChild(tasksElem);
  for (const ZoUpdateResponseTaskHelper* t : tasks) {
    ORVIDOM_Element taskElem;
    t->doMake(doc, taskElem);
    tasksElem.appendChild(taskElem);
  }
}

void ZoUpdateObjectResponseHelper::doTake(ORVIDOM_Element& elem) {
  responseElement = elem;
  if (responseElement.isNull()) return;
  // One walk finds every task and what each task reads below it, however the tasks nest.
  if (!results) results = std::make_unique<Results>();
  const ORVIDOM_ElementIndex& found = results->index(responseElement);
  // The results read through the index without counting references to it: the response that
  // keeps it outlives them, and a count changed twice per result costs more than the reading.
  const std::shared_ptr<const ORVIDOM_ElementIndex> uncounted(
      std::shared_ptr<const ORVIDOM_ElementIndex>(), &found);
  const ORVIDOM_ElementIndex::Range all = found.all(kTasks);
  tasks.reserve(tasks.size() + all.last);
  // How many tasks ahead of the one read the records of the next are asked for; the text of their
  // attributes, found through the record, is asked for half as far ahead.
  constexpr std::size_t kAhead = 16;
  for (std::size_t i = all.first; i < all.last; ++i) {
    orvidom::ElementView(found, kTasks, i + kAhead).prefetch();
    orvidom::ElementView(found, kTasks, i + kAhead / 2).prefetchText();
    const orvidom::ElementView taskElem(found, kTasks, i);
    const ZoUpdateRequestTaskHelper::ETask eTask =
        modeltasks::taskNamed(taskElem.attribute(kAttrName.c_str()));
    ORV_ASSERT(eTask != ZoUpdateRequestTaskHelper::kTaskUnknown);
    ZoUpdateResponseTaskHelper* result =
        Append(eTask, StatusNamed(taskElem.attribute(kAttrStatus.c_str())));
    result->index = uncounted;
    result->taskAt = i;
  }
}
