// Makes and reads "materializeRequest": the tasks that load data into, or materialise objects in,
// a target data source, with that data source, single-valued parameters and an optional
// result-set fragment.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class KORVATH_API ZoMaterializeRequestHelper : public ActionHandlerBase {
 public:
  // The enumerations have a fixed underlying type so that any number a caller passes is a
  // value of them, named "unknown" when outside the table.
  enum ETasks : int {
    kTaskUnknown = 0,
    kTaskGenLoadDataFromFile = 1,
    kTaskLoadDataFromFile = 2,
    kTaskMaterializeQuerySubject = 3,
    kTaskMaterializeResultSet = 4,
  };

  enum EParameters : int {
    kParamUnknown = 0,
    kParamDataFilePath = 1,
    kParamTableName = 2,
    kParamColumnDelimiter = 3,
    kParamRowDelimiter = 4,
    kParamDataEncoding = 5,
    kParamObjectID = 6,
  };

  // The target data source; a null pointer means "not given".
  struct KORVATH_API TargetDataSource {
    TargetDataSource();

    const I18NString* type = nullptr;
    const I18NString* database = nullptr;
    const I18NString* connectionString = nullptr;
    // Has no meaning in this library: never read, and always null when handed out.
    const I18NString* reserved = nullptr;
    const I18NString* username = nullptr;
    const I18NString* password = nullptr;
    const I18NString* SSOTicket = nullptr;
  };

  ZoMaterializeRequestHelper();
  ~ZoMaterializeRequestHelper() override;
  ZoMaterializeRequestHelper(const ZoMaterializeRequestHelper&) = delete;
  ZoMaterializeRequestHelper& operator=(const ZoMaterializeRequestHelper&) = delete;

  // Appends the task unless it is already there.
  void AddTask(ETasks task);
  // The tasks added, or, when none were, those of the taken request.
  const std::vector<ETasks>& GetTasks();

  // Sets the parameter, replacing an earlier value.
  void AddParameter(EParameters param, const I18NString& value);
  // The parameter of the taken request only; 1 and `value` filled when found, else 0. Nothing is
  // read once parameters have been added.
  int GetParameter(EParameters param, I18NString& value) const;

  // Replaces the values whose pointers are not null; the others keep their values.
  void SetTargetDataSource(const TargetDataSource& source);
  // The helper's own values (owned by the helper, valid while it lives), or, when none is set,
  // those of the taken request.
  const TargetDataSource GetTargetDataSourceInfo();

  // Keeps the handle; the fragment is copied when the request is made.
  void SetResultSet(const ORVIDOM_Element& resultSet);
  // The fragment set, or the one of the taken request.
  ORVIDOM_Element GetResultSet();

  // The XML names; "unknown" outside the tables.
  static const I18NString& GetTaskName(ETasks task);
  static const I18NString& GetParameterName(EParameters param);

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Only keeps the element; the getters read it when first asked.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  // The data source values held by the helper: type, database, connectionString, username,
  // password, SSOTicket.
  static constexpr int kSourceValueCount = 6;

  void appendTask(ETasks task);
  void setSourceValue(int which, const I18NString& value);
  bool hasSourceValue() const;
  void readTargetDataSource(const ORVIDOM_Element& source);
  void makeTargetDataSource(ORVIDOM_Document& doc, ORVIDOM_Element& request) const;

  std::vector<ETasks> m_tasks;
  std::set<ETasks> m_taskSet;
  ORVIDOM_Element m_requestElement;
  ORVIDOM_Element m_resultSet;
  std::map<EParameters, I18NString> m_params;
  std::unique_ptr<I18NString> m_source[kSourceValueCount];
};
