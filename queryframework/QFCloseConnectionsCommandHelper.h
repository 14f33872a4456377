// The command that asks the query framework service to close its connections: an empty
// "closeConnections" body in the command envelope.
#pragma once

#include <Korvath_ActionHelper/queryframework/QFCommandHelper.h>

class KORVATH_API QFCloseConnectionsCommandHelper : public QFCommandHelper {
 public:
  QFCloseConnectionsCommandHelper();

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
};
