// A range of parameter values: an "item" with a "bus:start" and/or "bus:end" bound, typed by
// the bounds it has (bounded, unbounded start or unbounded end).
#pragma once

#include <memory>

#include <Korvath_ActionHelper/queryservice/QsParamValueItemSimpleHelper.h>

class KORVATH_API QsParamValueItemRangeHelper : public QsParamValueItemHelper {
 public:
  QsParamValueItemRangeHelper() : QsParamValueItemHelper(1) {}
  ~QsParamValueItemRangeHelper() override;

  // Replaces the start with a new bound; the range keeps ownership.
  QsParamValueItemSimpleHelper* SetStart(const I18NString& use, int inclusive);
  // Replaces the end with a new bound; the range keeps ownership.
  QsParamValueItemSimpleHelper* SetEnd(const I18NString& use, int inclusive);
  // The start, read from the received element on first use; null when there is none.
  QsParamValueItemSimpleHelper* GetStart();
  // The end, read from the received element on first use; null when there is none.
  QsParamValueItemSimpleHelper* GetEnd();

  EItemType GetType() const override { return kValueItemRange; }
  // Decided by the bounds present now: both, only an end, or no end.
  const I18NString& GetTesselType() const override;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;

 private:
  // The bound found by either name below the received element, kept in `bound`.
  QsParamValueItemSimpleHelper* readBound(std::unique_ptr<QsParamValueItemSimpleHelper>& bound,
                                          const I18NString& prefixedName,
                                          const I18NString& plainName);
  // Writes `bound`, when there is one, as a child `name` of `item`.
  void makeBound(ORVIDOM_Document& doc, ORVIDOM_Element& item,
                 const std::unique_ptr<QsParamValueItemSimpleHelper>& bound,
                 const I18NString& name) const;

  std::unique_ptr<QsParamValueItemSimpleHelper> m_start;
  std::unique_ptr<QsParamValueItemSimpleHelper> m_end;
};
