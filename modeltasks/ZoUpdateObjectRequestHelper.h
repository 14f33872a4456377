// Makes and reads "updateObjectRequest": an ordered list of tasks that change a model, each task
// with named parameters whose values are short texts or XML fragments.
#pragma once

#include <memory>
#include <memory_resource>
#include <utility>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Element.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_ElementIndex.h>

class ZoUpdateObjectRequestHelper;
class ZoUpdateRequestTaskHelperTest;

// One "task" of the request, owner of its parameter values.
class KORVATH_API ZoUpdateRequestTaskHelper : public ActionHandlerBase {
 public:
  // A fixed underlying type, so that a value outside the table can be held and written as
  // "unknown".
  enum ETask : int {
    kTaskUnknown = 0,
    kTaskAddProperty = 1,
    kTaskRemoveProperty = 2,
    kTaskUpdateProperty = 3,
    kTaskReorderProperty = 4,
    kTaskAddObject = 5,
    kTaskRemoveObject = 6,
  };

  // Parameter kinds; parameters are written in ascending order of these values.
  enum EParameter : int {
    kParamUnknown = 0,
    kParamPropertyType = 1,
    kParamPropertyValue = 2,
    kParamForceUpdate = 3,
    kParamCreateIfNeeded = 4,
    kParamPropertyIndex = 5,
    kParamPropertyBeforeIndex = 6,
    kParamObjectName = 7,
    kParamObjectType = 8,
    kParamMakeNameUnique = 9,
    kParamObjectID = 10,
    kParamObjectBeforeID = 11,
    kParamBasedOn = 12,
    kParamCaption = 13,
    kParamFilterApplyType = 14,
    kParamQueryType = 15,
    kParamDefinitionType = 16,
    kParamSubType = 17,
    kParamCmDisplayPath = 18,
    kParamCmSearchPath = 19,
    kParamFunctionSetID = 20,
    kParamOverrideFuncID = 21,
    kParamOverrideQOSLevel = 22,
    kParamOverrideDescription = 23,
    kParamQuerySubjectRefs = 24,
    kParamSetOperation = 25,
    kParamDuplicates = 26,
    kParamConvergenceLevel = 27,
    kParamKey = 28,
    kParamAttributes = 29,
    kParamCanGroup = 30,
    kParamIdentifiesRow = 31,
    kParamApplyAggregate = 32,
    kParamDimensionRef = 33,
  };

  // One value of a parameter: a text with an optional locale, or an XML fragment.
  struct KORVATH_API ParamValue {
    ParamValue(const I18NString& value, const I18NString& locale) : locale(locale), value(value) {}
    ParamValue(I18NString&& value, I18NString&& locale)
        : locale(std::move(locale)), value(std::move(value)) {}
    explicit ParamValue(const ORVIDOM_Element& element) : element(element) {}

    // Empty means no locale.
    I18NString locale;
    // Empty when the value is a fragment.
    I18NString value;
    // Null when the value is a text.
    ORVIDOM_Element element;
  };

  ~ZoUpdateRequestTaskHelper() override;
  ZoUpdateRequestTaskHelper(const ZoUpdateRequestTaskHelper&) = delete;
  ZoUpdateRequestTaskHelper& operator=(const ZoUpdateRequestTaskHelper&) = delete;

  ETask GetTask() const { return task; }

  // Appends a text value to the parameter's values.
  void AddParameter(EParameter kind, const I18NString& value, const I18NString& locale);
  // The same, keeping the texts given instead of copying them.
  void AddParameter(EParameter kind, I18NString&& value, I18NString&& locale);
  // Appends a fragment value; the handle is kept and the fragment copied only when written.
  void AddParameter(EParameter kind, ORVIDOM_Element& element);

  // Appends the parameter's values (owned by the task) to `values`; nonzero when it has any.
  int GetParameter(EParameter kind, std::vector<ParamValue*>& values);
  // The parameter's first value; nonzero when it has one, `value` untouched otherwise.
  int GetParameter(EParameter kind, ParamValue*& value);

  // XML names; "unknown" for a value outside the table.
  static const I18NString& ToString(ETask kind);
  static const I18NString& ToString(EParameter kind);
  // Exact-match lookups of XML names; kTaskUnknown / kParamUnknown when nothing matches.
  static ETask ToTask(const I18NString& name);
  static EParameter ToParameter(const I18NString& name);

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Keeps the "task" element; parameters are read on the first GetParameter, and a task made
  // again before that writes none.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  friend class ZoUpdateObjectRequestHelper;
  friend class ZoUpdateRequestTaskHelperTest;

  // Where a request keeps its tasks and their values.
  struct Records;

  // A task whose values are kept in `store`, which outlives it.
  ZoUpdateRequestTaskHelper(ETask kind, Records& store);

  // The identifier walk over a received task: it reads the object identifiers of each
  // identifier-bearing "param" in document order and writes replacements into the received DOM.

  // Nonzero when the "param" element carries object identifiers; remembers the property type.
  int ContainsIDs(ORVIDOM_Element& param);
  // Moves to the next identifier-bearing "param" and puts its identifiers into `vIDs`; 0 at the
  // end, leaving the cursor where it was.
  int GetNextIDParameters(std::vector<I18NString>& vIDs);
  // Replaces the identifiers of the "param" the walk stands on, in the received DOM.
  void UpdateCurrentIDParameters(const std::vector<I18NString>& vIDs);

  // Keeps the task element, the index of its document and the positions of its "param"
  // descendants in the index.
  void TakeIndexed(const ORVIDOM_Element& elem, std::shared_ptr<const ORVIDOM_ElementIndex> found,
                   ORVIDOM_ElementIndex::Range params);
  // Reads the parameters of the taken "task" element, once.
  void ParseParameters();
  // Appends `value`, just added to `store`, to the parameter's values.
  void AddValue(EParameter kind, ParamValue& value);

  // The "param" the identifier walk last returned.
  ORVIDOM_Element idCrap_elmCurrIDParam;
  // The property type the identifier walk remembered.
  I18NString propertyType;
  ETask task;
  ORVIDOM_Element taskElement;
  // The "task" and "param" elements of the taken document, and the positions of the params
  // below the task.
  std::shared_ptr<const ORVIDOM_ElementIndex> index;
  ORVIDOM_ElementIndex::Range paramRange;
  // A value and its kind.
  struct Param {
    EParameter kind;
    ParamValue* value;
  };
  // Writes the task's name and parameters into `taskElem`, a new "task" element of `doc`.
  void MakeInto(ORVIDOM_Document& doc, ORVIDOM_Element& taskElem) const;
  // Orders `params` by kind, keeping the order of each kind's values.
  void SortParams();

  // Where the task's values and its list of them are kept: the request's store for all its
  // tasks, which allocates them a block at a time and frees them with the request.
  Records& store;
  // The values in the order they were added, or, when `paramsSorted`, by kind in ascending order
  // and then in that order: one list without a node per kind, which values added kind by kind
  // keep sorted as they come.
  std::pmr::vector<Param> params;
  bool paramsSorted = true;
};

// The request: the owner of its tasks.
class KORVATH_API ZoUpdateObjectRequestHelper : public ActionHandlerBase {
 public:
  ZoUpdateObjectRequestHelper();
  // Reads `elem` as a received request.
  explicit ZoUpdateObjectRequestHelper(ORVIDOM_Element& elem);
  ~ZoUpdateObjectRequestHelper() override;
  ZoUpdateObjectRequestHelper(const ZoUpdateObjectRequestHelper&) = delete;
  ZoUpdateObjectRequestHelper& operator=(const ZoUpdateObjectRequestHelper&) = delete;

  // A new task of that kind at the end of the list; the request keeps ownership.
  ZoUpdateRequestTaskHelper* AddTask(ZoUpdateRequestTaskHelper::ETask kind);
  const std::vector<ZoUpdateRequestTaskHelper*>& GetTasks() const { return tasks; }

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Appends one task per received "task" element to those already there.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  // The tasks and their values, each allocated a block at a time.
  std::unique_ptr<ZoUpdateRequestTaskHelper::Records> records;
  std::vector<ZoUpdateRequestTaskHelper*> tasks;
  ORVIDOM_Element requestElement;
};
