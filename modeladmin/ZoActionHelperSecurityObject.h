// A security principal (user account, role or group) named by its search path; shared through
// ORVSmartPointer by the object access and security object documents.
#pragma once

#include <Korvath_ActionHelper/orvcore/I18NString.h>
#include <Korvath_ActionHelper/orvcore/ORVReferenceCount.h>
#include <Korvath_ActionHelper/orvcore/ORVSmartPointer.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Element.h>

class KORVATH_API ZoActionHelperSecurityObject : public ORVReferenceCount {
 public:
  // Any int may be stored, so that a value outside the table is refused cleanly.
  enum EAccessType : int { kUser = 0, kRole = 1, kGroup = 2 };

  // The type text is the name of the kind ("account", "role" or "group").
  ZoActionHelperSecurityObject(const I18NString& cmSearchPath, const I18NString& displayPath,
                               const EAccessType& eAccessType);
  // All three texts are taken unchanged.
  ZoActionHelperSecurityObject(const I18NString& cmSearchPath, const I18NString& displayPath,
                               const I18NString& type);
  // Reads an "access" element (from its attributes) or a "securityObject" element (from its
  // "cmSearchPath" and "displayPath" descendants, or from attributes when it has no
  // "cmSearchPath" element); refuses an element of another name.
  explicit ZoActionHelperSecurityObject(const ORVIDOM_Element& securityObjectElem);
  // A new, unshared object with the same texts.
  ZoActionHelperSecurityObject(const ZoActionHelperSecurityObject& other);
  ZoActionHelperSecurityObject& operator=(const ZoActionHelperSecurityObject&) = default;

  // "account", "role" or "group"; refuses any other value.
  static I18NString getAccessTypeStr(const EAccessType& eAccessType);

  // The identity of the principal.
  I18NString m_cmSearchPath;
  I18NString m_displayPath;
  // "account", "role", "group", or any text set directly.
  I18NString m_type;
};
