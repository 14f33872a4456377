// The command that cancels the running request issued under the default request ID: a "cancel"
// body in the command envelope, sent under its own command and request IDs.
#pragma once

#include <Korvath_ActionHelper/queryframework/QFCommandHelper.h>

class KORVATH_API XelCancelQueryHelper : public QFCommandHelper {
 public:
  XelCancelQueryHelper();

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
};
