// Makes and reads "analyzeModelRequest": tasks that name the checks to run on a model and the
// objects to check.
#pragma once

#include <memory>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class ZoModelAnalysisRequestHelper;
class ORVIDOM_ElementIndex;

// One task of a model analysis request; created, written, read and deleted by the request.
class KORVATH_API ZoAnalyzeRequestTaskHelper {
 public:
  enum ETask : int {
    kTaskUnknown = 0,
    kTaskDoSpecifiedChecks = 3,
  };

  enum ECheck : int {
    kCheckUnknown = 0,
    kCheckUseOfCardinalityInFacts = 1,
    kCheckAmbiguousCardinality = 2,
    kCheckAmbiguousRelationships = 3,
    kCheckCircularDependency = 4,
    kCheckKeyIndexVsRelationships = 5,
    kCheckJoinAtDifferentLevels = 6,
    kCheckMinimizedSQLconflict = 7,
    kCheckCalculatedMeasures = 8,
    kCheckCachingConflict = 9,
  };

  ZoAnalyzeRequestTaskHelper(const ZoAnalyzeRequestTaskHelper&) = delete;
  ZoAnalyzeRequestTaskHelper& operator=(const ZoAnalyzeRequestTaskHelper&) = delete;

  ETask GetTask() const { return m_task; }
  const std::vector<ECheck>& GetChecks() const { return m_checks; }
  // The identifiers of the objects to check.
  const std::vector<I18NString>& GetObjects() const { return m_objects; }

  // Appends the check; a check may be named more than once.
  void AddCheck(ECheck check);
  // Appends the identifier of an object to check.
  void AddObject(const I18NString& id);

  // The XML names; "unknown" outside the tables.
  static const I18NString& ToString(ETask task);
  static const I18NString& ToString(ECheck check);
  // The value named `name`; the unknown value when none is.
  static ETask ToTask(const I18NString& name);
  static ECheck ToCheck(const I18NString& name);

  // Appends the checks the engine supports, keeping what `checks` holds.
  static void GetSupportedChecks(std::vector<ECheck>& checks);

 private:
  friend class ZoModelAnalysisRequestHelper;
  friend struct std::default_delete<ZoAnalyzeRequestTaskHelper>;

  explicit ZoAnalyzeRequestTaskHelper(ETask task);
  ~ZoAnalyzeRequestTaskHelper() = default;

  // Writes "task" into `doc` and points `elem` at it.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const;
  // Appends the checks and objects below task `at` of a received request's index.
  void doTake(const ORVIDOM_ElementIndex& found, std::size_t at);

  ETask m_task;
  std::vector<ECheck> m_checks;
  std::vector<I18NString> m_objects;
};

class KORVATH_API ZoModelAnalysisRequestHelper : public ActionHandlerBase {
 public:
  ZoModelAnalysisRequestHelper() = default;
  ~ZoModelAnalysisRequestHelper() override;
  ZoModelAnalysisRequestHelper(const ZoModelAnalysisRequestHelper&) = delete;
  ZoModelAnalysisRequestHelper& operator=(const ZoModelAnalysisRequestHelper&) = delete;

  // A new task, appended and owned by the request.
  ZoAnalyzeRequestTaskHelper* AddTask(ZoAnalyzeRequestTaskHelper::ETask task);
  const std::vector<ZoAnalyzeRequestTaskHelper*>& GetTasks() const { return m_tasks; }

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Appends the received tasks to those already held.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  // Takes ownership of `task` and appends it.
  ZoAnalyzeRequestTaskHelper* appendTask(std::unique_ptr<ZoAnalyzeRequestTaskHelper> task);

  std::vector<ZoAnalyzeRequestTaskHelper*> m_tasks;
  ORVIDOM_Element m_requestElement;
};
