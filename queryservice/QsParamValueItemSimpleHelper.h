// A single parameter value: an "item" of type "bus:simpleParmValueItem" with the value as the
// query uses it and the value as a user sees it.
#pragma once

#include <Korvath_ActionHelper/queryservice/QsParamValueItemHelper.h>

class KORVATH_API QsParamValueItemSimpleHelper : public QsParamValueItemHelper {
 public:
  QsParamValueItemSimpleHelper() : QsParamValueItemHelper(1) {}
  QsParamValueItemSimpleHelper(int inclusive, const I18NString& use)
      : QsParamValueItemHelper(inclusive), m_use(use) {}

  void SetUse(const I18NString& use) { m_use = use; }
  // The value as the query uses it.
  const I18NString& GetUse() const { return m_use; }
  // The value as shown to a user; read, never written.
  void SetDisplay(const I18NString& display) { m_display = display; }
  const I18NString& GetDisplay() const { return m_display; }

  EItemType GetType() const override { return kValueItemSimple; }
  const I18NString& GetTesselType() const override;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  void doTake(ORVIDOM_Element& elem) override;
  // Writes "inclusive" and, when there is a use value, "use".
  void makeProperties(ORVIDOM_Element& elem) const override;

 private:
  I18NString m_use;
  I18NString m_display;
};
