// The "zoCommand" wrapper of the commands that address a model of the modelling engine: the
// model, the query locale and the requested query feedback around the body, inside the command
// envelope.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/orvcore/I18NLocale.h>
#include <Korvath_ActionHelper/queryframework/QFCommandHelper.h>
#include <Korvath_ActionHelper/queryframework/QFExecuteCommandHelper.h>

class KORVATH_API QFZoCommandHelper : public QFCommandHelper {
 public:
  ~QFZoCommandHelper() override;

  // Not owned: the locale must outlive the last Make. Null writes no query locale.
  void SetQueryLocale(const I18NLocale* locale);
  // Appends to the feedback asked for; a feedback added twice is asked for twice.
  void AddQueryFeedback(QFExecuteCommandHelper::EQueryFeedback feedback);

 protected:
  explicit QFZoCommandHelper(const I18NString& modelPath);

  // Wraps `body` in "zoCommand", then that in the envelope.
  void Incorporate(ORVIDOM_Document& doc, ORVIDOM_Element& elem,
                   ORVIDOM_Element& body) const override;

 private:
  const I18NLocale* m_queryLocale = nullptr;
  std::vector<QFExecuteCommandHelper::EQueryFeedback> m_queryFeedback;
};
