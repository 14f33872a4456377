// Submits a query subject built from a definition element to the modelling engine
// ("querySubject" in "zoCommand").
#pragma once

#include <Korvath_ActionHelper/queryframework/QFZoCommandHelper.h>

class KORVATH_API XelQuerySubjectHelper : public QFZoCommandHelper {
 public:
  // Keeps a handle to `definition` (not a copy); each Make writes a copy of it.
  XelQuerySubjectHelper(const I18NString& modelPath, ORVIDOM_Element& definition);
  ~XelQuerySubjectHelper() override;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;

 private:
  ORVIDOM_Element m_definition;
};
