#include "queryframework/XelCancelQueryHelper.h"

#include "core/Resources.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kZoCancelCommand("ZoCancelCommand");
const I18NString kZoCancelRequest("ZoCancelRequest");

}  // namespace

XelCancelQueryHelper::XelCancelQueryHelper() {
  SetProperty(kPropertyCommandID, kZoCancelCommand);
  SetProperty(kPropertyRequestID, kZoCancelRequest);
}

void XelCancelQueryHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  ORVIDOM_Element cancel = doc.createElement(korvath_actionhelper_resources_cancel_str);
  // Requests are issued under the default request ID, so that is the one to cancel.
  ORVIDOM_Helper::findOrCreateElementWithAttribute(
      cancel, korvath_actionhelper_resources_requestID_str,
      korvath_actionhelper_resources_value_str, GetDefaultZoRequestID());
  Incorporate(doc, elem, cancel);
}
