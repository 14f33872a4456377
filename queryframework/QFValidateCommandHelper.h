// The validate command: asks the query framework service to validate a request instead of
// running it ("validate" in the command envelope), and condenses the service's answer.
#pragma once

#include <Korvath_ActionHelper/orvcore/ORVSeverity.h>
#include <Korvath_ActionHelper/queryframework/QFCommandHelper.h>

class KORVATH_API QFValidateCommandHelper : public QFCommandHelper {
 public:
  QFValidateCommandHelper() = default;
  ~QFValidateCommandHelper() override;

  // Sets `severity` from the "severity" attributes of the response's "message" elements (5 when
  // none sets a level) and appends each message's text and a line feed to `messages`.
  void CheckReponse(const ORVIDOM_Element& response, ORVSeverity& severity, I18NString& messages);

  // The "severity" text of a message of that level; "unknown" for any other value, 5 included.
  static const I18NString& ToString(ORVSeverity severity);

 protected:
  // On entry `elem` refers to the element to validate: "validate" receives copies of the
  // children of its first child. On return `elem` refers to the command.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
};
