#include "core/ActionHandlerBase.h"

#include "core/Resources.h"
#include "orvidom/ORVIDOM_DOMImplementation.h"

void ActionHandlerBase::Make(ORVIDOM_Element& elem) const {
  // Handles release what they hold on every path, so a throwing doMake leaks nothing; the
  // elements doMake made stay alive through the handles that refer to them.
  ORVIDOM_Document doc;
  {
    ORVIDOM_DocumentType doctype;
    doc = ORVIDOM_DOMImplementation::getInstance().createDocument(
        korvath_actionhelper_resources_empty_str, korvath_actionhelper_resources_requestDoc_str,
        doctype);
  }
  doMake(doc, elem);
}

void ActionHandlerBase::Take(ORVIDOM_Element& elem) { doTake(elem); }

void ActionHandlerBase::doMake(ORVIDOM_Document&, ORVIDOM_Element&) const {}

void ActionHandlerBase::doTake(ORVIDOM_Element&) {}
