#include "queryframework/QFValidateCommandHelper.h"

#include "core/NameTable.h"
#include "core/Resources.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kElemValidate("validate");
const I18NString kAttrSeverity("severity");
// The severity texts, indexed by ORVSeverity.
const I18NString kSeverityNames[] = {"fatal", "error", "warning", "information"};

// The level that no message has set.
const ORVSeverity kSeverityNotSet = static_cast<ORVSeverity>(5);

// The severity after a message of level `text`; an unknown text changes nothing.
ORVSeverity NextSeverity(ORVSeverity severity, const I18NString& text) {
  if (text == kSeverityNames[kORVSeverityFatal]) return kORVSeverityFatal;
  if (text == kSeverityNames[kORVSeverityError]) {
    return severity != kORVSeverityFatal ? kORVSeverityError : severity;
  }
  if (text == kSeverityNames[kORVSeverityWarning]) {
    return severity != kORVSeverityError ? kORVSeverityWarning : severity;
  }
  if (text == kSeverityNames[kORVSeverityInformation]) return kORVSeverityInformation;
  return severity;
}

}  // namespace

QFValidateCommandHelper::~QFValidateCommandHelper() = default;

const I18NString& QFValidateCommandHelper::ToString(ORVSeverity severity) {
  return nametable::nameAt(kSeverityNames, severity, kORVSeverityFatal);
}

void QFValidateCommandHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  ORVIDOM_Element validate = doc.createElement(kElemValidate);
  // An input without a first child (or a null input) has nothing to validate: the body is
  // written empty rather than failing, so the service gives its own answer to an empty request.
  const ORVIDOM_Node content = elem.getFirstChild();
  for (ORVIDOM_Node child = content.getFirstChild(); !child.isNull();
       child = child.getNextSibling()) {
    validate.appendChild(doc.importNode(child, true));
  }
  QFCommandHelper::Incorporate(doc, elem, validate);
}

void QFValidateCommandHelper::CheckReponse(const ORVIDOM_Element& response, ORVSeverity& severity,
                                           I18NString& messages) {
  severity = kSeverityNotSet;
  const ORVIDOM_NodeList list =
      response.getElementsByTagName(korvath_actionhelper_resources_message_str);
  for (unsigned long idx = 0; idx < list.getLength(); ++idx) {
    const ORVIDOM_Element message = list.item(idx);
    severity = NextSeverity(severity, message.getAttribute(kAttrSeverity));
    messages += ORVIDOM_Helper::getElementText(message);
    messages += 10u;
  }
}
