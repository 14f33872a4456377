// Makes and reads "updateObjectResponse": one result per task of an update-object request, with
// its status, result parameters, an optional error and optional feedback.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/modeltasks/ZoActionFeedbackHelper.h>
#include <Korvath_ActionHelper/modeltasks/ZoUpdateObjectRequestHelper.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Element.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_ElementIndex.h>

class ZoUpdateObjectResponseHelper;

// One "task" result of the response.
class KORVATH_API ZoUpdateResponseTaskHelper : public ActionHandlerBase {
 public:
  enum EStatus : int {
    kStatusUnknown = 0,
    kStatusSuccess = 1,
    kStatusFailure = 2,
  };

  // Result parameter kinds; written in ascending order of these values.
  enum EParameter : int {
    kParamUnknown = 0,
    kParamProperty = 1,
    kParamObject = 2,
  };

  struct KORVATH_API ErrorInfo {
    ErrorInfo(const I18NString& code, const I18NString& message) : code(code), message(message) {}

    I18NString code;
    I18NString message;
  };

  ~ZoUpdateResponseTaskHelper() override;
  ZoUpdateResponseTaskHelper(const ZoUpdateResponseTaskHelper&) = delete;
  ZoUpdateResponseTaskHelper& operator=(const ZoUpdateResponseTaskHelper&) = delete;

  ZoUpdateRequestTaskHelper::ETask GetTask() const { return task; }
  EStatus GetStatus() const { return status; }
  void SetStatus(EStatus newStatus) { status = newStatus; }

  // Appends a value to the parameter's values.
  void AddParameter(EParameter kind, const I18NString& value);
  // Appends the parameter's values to `values`; 1 when it has any, 0 otherwise.
  int GetParameter(EParameter kind, std::vector<I18NString>& values);

  // Sets the error, overwriting both fields of an existing one.
  void SetError(const I18NString& code, const I18NString& message);
  // The error, owned by the task; null when there is none.
  ErrorInfo* GetError();

  // Writes a non-empty feedback into the result; an empty one changes nothing.
  void SetFeedback(ZoActionFeedbackHelper& feedback);
  // The "feedback" element; null when there is none.
  ORVIDOM_Element GetFeedback() const;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Keeps the "task" element; its feedback, parameters and error are found on demand. A result
  // made again writes the parameters and error read so far (GetParameter, GetError) and the
  // feedback.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  friend class ZoUpdateObjectResponseHelper;

  // A result of that kind and status; the response makes its results.
  ZoUpdateResponseTaskHelper(ZoUpdateRequestTaskHelper::ETask kind, EStatus status)
      : task(kind), status(status) {}

  // The positions in list `list` of the index of the elements below the taken task.
  ORVIDOM_ElementIndex::Range Below(std::size_t list) const noexcept;
  // Reads the "param" elements of the taken "task" element into `params`, once.
  void ParseParameters();
  // Copies the received parameters into `params` where GetParameter reads them in place.
  void KeepReadParameters();

  ZoUpdateRequestTaskHelper::ETask task = ZoUpdateRequestTaskHelper::kTaskUnknown;
  EStatus status = kStatusUnknown;
  // The "task", "param", "error" and "feedback" elements of the taken document; null until a
  // task is taken. A task taken alone has an index of its own, marked kWholeIndex in `taskAt`;
  // a result of a response shares the response's and keeps its place in the list of tasks.
  std::shared_ptr<const ORVIDOM_ElementIndex> index;
  static constexpr std::size_t kWholeIndex = ~std::size_t(0) >> 1;
  // Marks `taskAt` once GetParameter has read the received parameters: they count as read into
  // `params`, but stay where they are, read again on each call, until a change or another take
  // needs the copy. A copy per result would be an allocation per result of a response.
  static constexpr std::size_t kReadInPlace = ~kWholeIndex;
  std::size_t taskAt = kWholeIndex;
  // Every value with its kind, in the order added.
  std::vector<std::pair<EParameter, I18NString>> params;
  // The error, kept in the task rather than allocated apart.
  std::optional<ErrorInfo> error;
  // The feedback set, or kept from a task taken before; one below the taken task comes first.
  ORVIDOM_Element feedbackElement;
};

// XML names of the result enumerations; "unknown" for a value outside the table.
KORVATH_API const I18NString& ToString(ZoUpdateResponseTaskHelper::EStatus status);
KORVATH_API const I18NString& ToString(ZoUpdateResponseTaskHelper::EParameter kind);
// Exact-match lookups of XML names; 0 when nothing matches.
KORVATH_API ZoUpdateResponseTaskHelper::EStatus ToStatus(const I18NString& name);
KORVATH_API ZoUpdateResponseTaskHelper::EParameter ToParameter(const I18NString& name);

// The response: the owner of its task results.
class KORVATH_API ZoUpdateObjectResponseHelper : public ActionHandlerBase {
 public:
  ZoUpdateObjectResponseHelper();
  // Reads `elem` as a received response.
  explicit ZoUpdateObjectResponseHelper(ORVIDOM_Element& elem);
  ~ZoUpdateObjectResponseHelper() override;
  ZoUpdateObjectResponseHelper(const ZoUpdateObjectResponseHelper&) = delete;
  ZoUpdateObjectResponseHelper& operator=(const ZoUpdateObjectResponseHelper&) = delete;

  // A new successful result of that kind at the end of the list; the response keeps ownership.
  ZoUpdateResponseTaskHelper* AddTask(ZoUpdateRequestTaskHelper::ETask kind);
  const std::vector<ZoUpdateResponseTaskHelper*>& GetTasks() const { return tasks; }
  // The first result of that kind; null when there is none.
  ZoUpdateResponseTaskHelper* GetTask(ZoUpdateRequestTaskHelper::ETask kind) const;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Appends one result per received "task" element to those already there.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  // Where the results live, at addresses that never move; made with the first result.
  struct Results;

  // A new result at the end of the list.
  ZoUpdateResponseTaskHelper* Append(ZoUpdateRequestTaskHelper::ETask kind,
                                     ZoUpdateResponseTaskHelper::EStatus status);

  std::unique_ptr<Results> results;
  std::vector<ZoUpdateResponseTaskHelper*> tasks;
  ORVIDOM_Element responseElement;
};
