// Makes "analyzeModelResponse": per analysis task, whether it ran and the issues it found, each
// issue with the model objects involved and their related objects.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/modeltasks/ZoModelAnalysisRequestHelper.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class ZoAnalyzeResponseIssueHelper;
class ZoAnalyzeResponseTaskHelper;

// A model object involved in an issue.
class KORVATH_API ZoAnalyzeResponseIssueObjectHelper {
 public:
  enum ESubType : int {
    kSubTypeNone = 0,
    kSubTypeMeasure = 1,
  };

  // A related object that takes part in the issue.
  struct KORVATH_API SObject {
    SObject(const I18NString& name, const I18NString& id, const I18NString& objectClass,
            const I18NString& path);

    I18NString name;
    I18NString id;
    I18NString objectClass;
    I18NString path;
  };

  // `messages` explain the problem; they are copied.
  ZoAnalyzeResponseIssueObjectHelper(const I18NString& name, const I18NString& id,
                                     const I18NString& objectClass, const I18NString& path,
                                     const I18NString& refClass, ESubType subType,
                                     const std::vector<I18NString>& messages);
  ~ZoAnalyzeResponseIssueObjectHelper();
  ZoAnalyzeResponseIssueObjectHelper(const ZoAnalyzeResponseIssueObjectHelper&) = delete;
  ZoAnalyzeResponseIssueObjectHelper& operator=(const ZoAnalyzeResponseIssueObjectHelper&) = delete;

  // The subtype `subType` is written as: "measure" for kSubTypeMeasure, empty for any other.
  static const I18NString& ToString(ESubType subType);

  // Appends a related object, owned by this object.
  void AddRelatedObject(const I18NString& name, const I18NString& id, const I18NString& objectClass,
                        const I18NString& path);

 private:
  friend class ZoAnalyzeResponseIssueHelper;

  // Appends "object" to the issue's element `issue`.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& issue) const;

  I18NString m_name;
  I18NString m_id;
  I18NString m_objectClass;
  I18NString m_path;
  I18NString m_refClass;
  ESubType m_subType;
  std::vector<I18NString> m_messages;
  std::vector<SObject*> m_relatedObjects;
};

// One issue found by an analysis task.
class KORVATH_API ZoAnalyzeResponseIssueHelper {
 public:
  ~ZoAnalyzeResponseIssueHelper();
  ZoAnalyzeResponseIssueHelper(const ZoAnalyzeResponseIssueHelper&) = delete;
  ZoAnalyzeResponseIssueHelper& operator=(const ZoAnalyzeResponseIssueHelper&) = delete;

  // A new object involved in the issue, appended and owned by the issue.
  ZoAnalyzeResponseIssueObjectHelper* AddObject(
      const I18NString& name, const I18NString& id, const I18NString& objectClass,
      const I18NString& path, const I18NString& refClass,
      ZoAnalyzeResponseIssueObjectHelper::ESubType subType,
      const std::vector<I18NString>& messages);
  const std::vector<ZoAnalyzeResponseIssueObjectHelper*>& GetObjects() const { return m_objects; }

 private:
  friend class ZoAnalyzeResponseTaskHelper;

  explicit ZoAnalyzeResponseIssueHelper(const I18NString& name);
  // Writes "issue" into `doc` and points `elem` at it.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const;

  I18NString m_name;
  std::vector<ZoAnalyzeResponseIssueObjectHelper*> m_objects;
};

// The result of one analysis task.
class KORVATH_API ZoAnalyzeResponseTaskHelper {
 public:
  ~ZoAnalyzeResponseTaskHelper();
  ZoAnalyzeResponseTaskHelper(const ZoAnalyzeResponseTaskHelper&) = delete;
  ZoAnalyzeResponseTaskHelper& operator=(const ZoAnalyzeResponseTaskHelper&) = delete;

  // Nonzero when the analysis ran; a new result has succeeded.
  void SetSuccess(int success);
  // A new issue, appended and owned by the result.
  ZoAnalyzeResponseIssueHelper* AddIssue(const I18NString& name);
  const std::vector<ZoAnalyzeResponseIssueHelper*>& GetIssues() const { return m_issues; }

 private:
  friend class ZoModelAnalysisResponseHelper;

  explicit ZoAnalyzeResponseTaskHelper(ZoAnalyzeRequestTaskHelper::ETask task);
  // Writes "task" into `doc` and points `elem` at it.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const;

  ZoAnalyzeRequestTaskHelper::ETask m_task;
  int m_success = 1;
  std::vector<ZoAnalyzeResponseIssueHelper*> m_issues;
};

// The response; it is only ever written, so it keeps the base class's reading.
class KORVATH_API ZoModelAnalysisResponseHelper : public ActionHandlerBase {
 public:
  ZoModelAnalysisResponseHelper() = default;
  ~ZoModelAnalysisResponseHelper() override;
  ZoModelAnalysisResponseHelper(const ZoModelAnalysisResponseHelper&) = delete;
  ZoModelAnalysisResponseHelper& operator=(const ZoModelAnalysisResponseHelper&) = delete;

  // A new, successful result, appended and owned by the response.
  ZoAnalyzeResponseTaskHelper* AddTask(ZoAnalyzeRequestTaskHelper::ETask task);

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;

 private:
  std::vector<ZoAnalyzeResponseTaskHelper*> m_tasks;
};
