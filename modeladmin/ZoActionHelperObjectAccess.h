// Makes and reads an "objectAccess" element: security objects, each with an access rule. Once
// attached to an element by Make or Take, the helper keeps its entries in that element, one per
// search path with the strongest rule given.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperSecurityObject.h>

class KORVATH_API ZoActionHelperObjectAccess : public ActionHandlerBase {
 public:
  // Ordered by strength: merging keeps the greater. Any int may be stored, so that a value
  // outside the table reads as "unspecified" without undefined behaviour.
  enum EObjectAccessRule : int { kUnspecified = 0, kAllow = 1, kDeny = 2 };

  // One security object with its rule; copies share the security object.
  struct SecurityObjectAccess {
    ORVSmartPointer<ZoActionHelperSecurityObject> m_securityObject;
    EObjectAccessRule m_rule = kUnspecified;
  };

  ZoActionHelperObjectAccess() = default;

  // Ignores a security object without search path. Detached, the entry is only listed; attached,
  // it is also written into the element, merged with an entry of the same search path.
  void addEntry(const ZoActionHelperSecurityObject& securityObject, const EObjectAccessRule& rule);
  // Appends the entries to `entries`; attached, they are read afresh from the element.
  void getEntries(std::vector<SecurityObjectAccess>& entries) const;
  // True when no entry has a rule other than kUnspecified.
  bool isUnspecifiedForAllEntries() const;

  // "allow", "deny", or "unspecified" for every other value.
  static I18NString getObjectAccessRuleStr(const EObjectAccessRule& rule);
  // kAllow for exactly "allow", kDeny for exactly "deny", kUnspecified otherwise.
  static EObjectAccessRule getObjectAccessRule(const I18NString& rule);

 protected:
  // The rule of the element's first "rule" child; kUnspecified when it has none.
  static EObjectAccessRule getObjectAccessRule(const ORVIDOM_Element& securityObjectElem);
  // Replaces the listed entries by the "securityObject" children of the attached element.
  void buildAccessVector() const;

  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& domRequest) const override;
  // Attaches the helper to `elem` without reading it.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  mutable ORVIDOM_Element m_requestRoot;
  // Rebuilt from the element by the const readers while attached.
  mutable std::vector<SecurityObjectAccess> m_entries;
};
