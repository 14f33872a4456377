#include "queryframework/QFCloseConnectionsCommandHelper.h"

namespace {

const I18NString kElemCloseConnections("closeConnections");

}  // namespace

QFCloseConnectionsCommandHelper::QFCloseConnectionsCommandHelper() = default;

void QFCloseConnectionsCommandHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  ORVIDOM_Element closeConnections = doc.createElement(kElemCloseConnections);
  Incorporate(doc, elem, closeConnections);
}
