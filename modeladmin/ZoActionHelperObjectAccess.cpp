#include "modeladmin/ZoActionHelperObjectAccess.h"

#include <algorithm>

#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kElemObjectAccess("objectAccess");
const I18NString kElemRule("rule");
const I18NString kRuleAllow("allow");
const I18NString kRuleDeny("deny");
const I18NString kRuleUnspecified("unspecified");

}  // namespace

void ZoActionHelperObjectAccess::addEntry(const ZoActionHelperSecurityObject& securityObject,
                                          const EObjectAccessRule& rule) {
  if (securityObject.m_cmSearchPath.empty()) return;
  if (!m_requestRoot.isNull()) {
    EObjectAccessRule ruleToWrite = rule;
    ORVIDOM_Element securityObjectElem = ORVIDOM_Helper::findElementWithAttribute(
        m_requestRoot, korvath_actionhelper_resources_securityObject_str,
        korvath_actionhelper_resources_cmSearchPath_str, securityObject.m_cmSearchPath);
    if (!securityObjectElem.isNull()) {
      // The stronger rule wins: a denial is never weakened by a later allowance.
      ruleToWrite = std::max(getObjectAccessRule(securityObjectElem), rule);
    } else {
      securityObjectElem = ORVIDOM_Helper::findOrCreateElementWithAttribute(
          m_requestRoot, korvath_actionhelper_resources_securityObject_str,
          korvath_actionhelper_resources_cmSearchPath_str, securityObject.m_cmSearchPath);
      securityObjectElem.setAttribute(korvath_actionhelper_resources_displayPath_str,
                                      securityObject.m_displayPath);
      securityObjectElem.setAttribute(korvath_actionhelper_resources_type_str,
                                      securityObject.m_type);
    }
    ORV_ASSERT(!securityObjectElem.isNull());

    const ORVIDOM_Element oldRuleElem =
        ORVIDOM_Helper::findChildElement(securityObjectElem, kElemRule);
    if (!oldRuleElem.isNull()) securityObjectElem.removeChild(oldRuleElem);
    const ORVIDOM_Element ruleElem = ORVIDOM_Helper::findOrCreateElementWithText(
        securityObjectElem, kElemRule, getObjectAccessRuleStr(ruleToWrite));
    ORV_ASSERT(!ruleElem.isNull());
  }
  m_entries.push_back({new ZoActionHelperSecurityObject(securityObject), rule});
}

void ZoActionHelperObjectAccess::getEntries(std::vector<SecurityObjectAccess>& entries) const {
  if (!m_requestRoot.isNull()) buildAccessVector();
  entries.insert(entries.end(), m_entries.begin(), m_entries.end());
}

bool ZoActionHelperObjectAccess::isUnspecifiedForAllEntries() const {
  if (!m_requestRoot.isNull()) buildAccessVector();
  return std::none_of(m_entries.begin(), m_entries.end(), [](const SecurityObjectAccess& entry) {
    return entry.m_rule != kUnspecified;
  });
}

I18NString ZoActionHelperObjectAccess::getObjectAccessRuleStr(const EObjectAccessRule& rule) {
  switch (rule) {
    case kAllow:
      return kRuleAllow;
    case kDeny:
      return kRuleDeny;
    default:
      return kRuleUnspecified;
  }
}

ZoActionHelperObjectAccess::EObjectAccessRule ZoActionHelperObjectAccess::getObjectAccessRule(
    const I18NString& rule) {
  if (rule == kRuleAllow) return kAllow;
  if (rule == kRuleDeny) return kDeny;
  return kUnspecified;
}

ZoActionHelperObjectAccess::EObjectAccessRule ZoActionHelperObjectAccess::getObjectAccessRule(
    const ORVIDOM_Element& securityObjectElem) {
  const ORVIDOM_Element ruleElem = ORVIDOM_Helper::findChildElement(securityObjectElem, kElemRule);
  if (ruleElem.isNull()) return kUnspecified;
  return getObjectAccessRule(ORVIDOM_Helper::getElementText(ruleElem));
}

void ZoActionHelperObjectAccess::buildAccessVector() const {
  ORV_ASSERT(!m_requestRoot.isNull());
  m_entries.clear();
  for (ORVIDOM_Node node = ORVIDOM_Helper::findChildElement(
           m_requestRoot, korvath_actionhelper_resources_securityObject_str);
       !node.isNull(); node = node.getNextSibling()) {
    // A received document may hold text (indentation) or comments between the security
    // objects; they carry no entry and are passed over. Any other element is refused by the
    // security object's reader.
    if (node.getNodeType() != ORVIDOM_Node::ELEMENT_NODE) continue;
    const ORVIDOM_Element securityObjectElem = node;
    m_entries.push_back({new ZoActionHelperSecurityObject(securityObjectElem),
                         getObjectAccessRule(securityObjectElem)});
  }
}

void ZoActionHelperObjectAccess::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& domRequest) const {
  domRequest = doc.createElement(kElemObjectAccess);
  ORV_ASSERT(!domRequest.isNull());
  doc.appendChild(domRequest);
  m_requestRoot = domRequest;
}

void ZoActionHelperObjectAccess::doTake(ORVIDOM_Element& elem) {
  m_requestRoot = elem;
  ORV_ASSERT(!m_requestRoot.isNull());
}
