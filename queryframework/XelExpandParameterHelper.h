// Asks the modelling engine to expand a parameterised expression ("expand" in "zoCommand") and
// reads the expanded query from the answer.
#pragma once

#include <Korvath_ActionHelper/queryframework/QFZoCommandHelper.h>

class KORVATH_API XelExpandParameterHelper : public QFZoCommandHelper {
 public:
  explicit XelExpandParameterHelper(const I18NString& modelPath);
  ~XelExpandParameterHelper() override;

  void SetParameterisedValue(const I18NString& value);
  // The text of the answer's one "expansionResult"; empty before Take.
  I18NString GetExpandedQuery() const;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Keeps `elem` as the answer.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  I18NString m_parameterisedValue;
  ORVIDOM_Element m_response;
};
