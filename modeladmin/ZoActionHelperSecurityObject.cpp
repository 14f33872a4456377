#include "modeladmin/ZoActionHelperSecurityObject.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <set>

#include "core/Resources.h"
#include "modeladmin/ZoActionHelperSecurityObjectSpec.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kElemNameRoot("securityObjects");
const I18NString kElemView("view");
const I18NString kElemViewRef("viewref");
const I18NString kElemPackageRef("packageref");
// The lists of the index views are read from, by position in kViewNames.
enum ViewList : std::size_t { kViews, kViewRefs, kPackageRefs };
const std::initializer_list<std::reference_wrapper<const I18NString>> kViewNames = {
    kElemView, kElemViewRef, kElemPackageRef};

// The first element at or after `node` among its siblings. Received documents may hold text
// (indentation) or comments between the elements; they carry nothing for us and are passed over.
ORVIDOM_Element elementFrom(ORVIDOM_Node node) {
  while (!node.isNull() && node.getNodeType() != ORVIDOM_Node::ELEMENT_NODE) {
    node = node.getNextSibling();
  }
  return node;
}

// Appends a new element `name` with the text to `parent`. The text node is made first, so that
// text XML cannot carry leaves the parent unchanged.
void appendTextElement(const ORVIDOM_Element& parent, const I18NString& name,
                       const I18NString& text) {
  const ORVIDOM_Document doc = parent.getOwnerDocument();
  const ORVIDOM_Text textNode = doc.createTextNode(text);
  const ORVIDOM_Element elem = doc.createElement(name);
  elem.appendChild(textNode);
  parent.appendChild(elem);
}

}  // namespace

ZoActionHelperSecurityObject::ZoActionHelperSecurityObject(const I18NString& cmSearchPath,
                                                           const I18NString& displayPath,
                                                           const EAccessType& eAccessType)
    : m_cmSearchPath(cmSearchPath),
      m_displayPath(displayPath),
      m_type(getAccessTypeStr(eAccessType)) {}

ZoActionHelperSecurityObject::ZoActionHelperSecurityObject(const I18NString& cmSearchPath,
                                                           const I18NString& displayPath,
                                                           const I18NString& type)
    : m_cmSearchPath(cmSearchPath), m_displayPath(displayPath), m_type(type) {}

ZoActionHelperSecurityObject::ZoActionHelperSecurityObject(
    const ORVIDOM_Element& securityObjectElem) {
  const I18NString securityObjectElemName = securityObjectElem.getNodeName();
  m_type = securityObjectElem.getAttribute(korvath_actionhelper_resources_type_str);
  // An "access" element names its principal by attributes only.
  ORVIDOM_Element cmSearchPathElem;
  if (securityObjectElemName != korvath_actionhelper_resources_access_str) {
    ORV_ASSERT(securityObjectElemName == korvath_actionhelper_resources_securityObject_str);
    cmSearchPathElem = ORVIDOM_Helper::findFirstElement(
        securityObjectElem, korvath_actionhelper_resources_cmSearchPath_str);
  }
  if (cmSearchPathElem.isNull()) {
    m_cmSearchPath =
        securityObjectElem.getAttribute(korvath_actionhelper_resources_cmSearchPath_str);
    m_displayPath = securityObjectElem.getAttribute(korvath_actionhelper_resources_displayPath_str);
    return;
  }
  ORVIDOM_Helper::getElementText(cmSearchPathElem, m_cmSearchPath);
  const ORVIDOM_Element displayPathElem = ORVIDOM_Helper::findFirstElement(
      securityObjectElem, korvath_actionhelper_resources_displayPath_str);
  if (!displayPathElem.isNull()) ORVIDOM_Helper::getElementText(displayPathElem, m_displayPath);
}

// The reference count is the base's own: a copy starts unshared.
// NOLINTNEXTLINE(bugprone-copy-constructor-init)
ZoActionHelperSecurityObject::ZoActionHelperSecurityObject(
    const ZoActionHelperSecurityObject& other)
    : ORVReferenceCount(),
      m_cmSearchPath(other.m_cmSearchPath),
      m_displayPath(other.m_displayPath),
      m_type(other.m_type) {}

I18NString ZoActionHelperSecurityObject::getAccessTypeStr(const EAccessType& eAccessType) {
  switch (eAccessType) {
    case kRole:
      return korvath_actionhelper_resources_role_str;
    case kGroup:
      return korvath_actionhelper_resources_group_str;
    default:
      ORV_ASSERT(eAccessType == ZoActionHelperSecurityObject::kUser);
      return korvath_actionhelper_resources_account_str;
  }
}

// ViewInfo

ZoActionHelperSecurityObjectSpec::ViewInfo::ViewInfo(const I18NString& viewRef)
    : m_viewRef(viewRef) {
  ORV_ASSERT(!m_viewRef.empty());
}

ZoActionHelperSecurityObjectSpec::ViewInfo::ViewInfo(const ORVIDOM_Element& viewElem) {
  ORV_ASSERT(!viewElem.isNull());
  const ORVIDOM_ElementIndex found(viewElem, kViewNames);
  readFrom(found, found.all(kViewRefs), found.all(kPackageRefs));
}

void ZoActionHelperSecurityObjectSpec::ViewInfo::readFrom(const ORVIDOM_ElementIndex& found,
                                                          ORVIDOM_ElementIndex::Range viewRefs,
                                                          ORVIDOM_ElementIndex::Range packageRefs) {
  const ORVIDOM_Element viewRefElem = found.first(kViewRefs, viewRefs);
  ORV_ASSERT(!viewRefElem.isNull());
  ORVIDOM_Helper::getElementText(viewRefElem, m_viewRef);
  ORV_ASSERT(!m_viewRef.empty());
  for (std::size_t i = packageRefs.first; i < packageRefs.last; ++i) {
    addPackageRef(ORVIDOM_Helper::getElementText(found.element(kPackageRefs, i)));
  }
}

void ZoActionHelperSecurityObjectSpec::ViewInfo::addPackageRef(const I18NString& packageRef) {
  ORV_ASSERT(!packageRef.empty());
  m_packageRefs.push_back(packageRef);
}

void ZoActionHelperSecurityObjectSpec::ViewInfo::getPackageRefs(
    std::vector<I18NString>& packageRefs) const {
  packageRefs.insert(packageRefs.end(), m_packageRefs.begin(), m_packageRefs.end());
}

// ZoActionHelperSecurityObjectSpec

void ZoActionHelperSecurityObjectSpec::doMake(ORVIDOM_Document& doc,
                                              ORVIDOM_Element& domRequest) const {
  domRequest = doc.createElement(kElemNameRoot);
  ORV_ASSERT(!domRequest.isNull());
  doc.appendChild(domRequest);
  m_requestRoot = domRequest;
}

void ZoActionHelperSecurityObjectSpec::doTake(ORVIDOM_Element& elem) {
  m_requestRoot = elem;
  if (m_requestRoot.isNull()) return;
  m_currentSecurityObjectElem = ORVIDOM_Helper::findFirstElement(
      m_requestRoot, korvath_actionhelper_resources_securityObject_str);
  // clang-format off
  ORV_ASSERT(m_currentSecurityObjectElem.isNull() || m_currentSecurityObjectElem.getParentNode().getNodeName() == kElemNameRoot);
  // clang-format on
}

void ZoActionHelperSecurityObjectSpec::addEntry(const ZoActionHelperSecurityObject& securityObject,
                                                const std::vector<ViewInfo>& views) {
  ORV_ASSERT(!m_requestRoot.isNull());
  const ORVIDOM_Document domDoc = m_requestRoot.getOwnerDocument();
  ORV_ASSERT(!domDoc.isNull());
  if (securityObject.m_cmSearchPath.empty()) return;

  const ORVIDOM_Element securityObjectElem =
      domDoc.createElement(korvath_actionhelper_resources_securityObject_str);
  ORV_ASSERT(!securityObjectElem.isNull());
  m_requestRoot.appendChild(securityObjectElem);
  if (!securityObject.m_displayPath.empty()) {
    ORVIDOM_Helper::findOrCreateElementWithText(securityObjectElem,
                                                korvath_actionhelper_resources_displayPath_str,
                                                securityObject.m_displayPath);
  }
  ORVIDOM_Helper::findOrCreateElementWithText(securityObjectElem,
                                              korvath_actionhelper_resources_cmSearchPath_str,
                                              securityObject.m_cmSearchPath);
  securityObjectElem.setAttribute(korvath_actionhelper_resources_type_str, securityObject.m_type);

  for (const ViewInfo& view : views) {
    const ORVIDOM_Element viewElem = domDoc.createElement(kElemView);
    ORV_ASSERT(!viewElem.isNull());
    securityObjectElem.appendChild(viewElem);
    const ORVIDOM_Element viewRefElem =
        ORVIDOM_Helper::findOrCreateElementWithText(viewElem, kElemViewRef, view.m_viewRef);
    ORV_ASSERT(!viewRefElem.isNull());
    // A package reference repeated within one view is written once; the set keeps this linear
    // where a find-or-create per reference would rescan the view.
    std::set<I18NString> written;
    for (const I18NString& packageRef : view.m_packageRefs) {
      if (written.insert(packageRef).second)
        appendTextElement(viewElem, kElemPackageRef, packageRef);
    }
  }
}

ORVSmartPointer<ZoActionHelperSecurityObject> ZoActionHelperSecurityObjectSpec::getEntry(
    std::vector<ViewInfo>& views) {
  if (m_currentSecurityObjectElem.isNull()) return {};
  ORVSmartPointer<ZoActionHelperSecurityObject> securityObject(
      new ZoActionHelperSecurityObject(m_currentSecurityObjectElem));
  // Read every view before handing any out, so that a refused view leaves the caller's list as
  // it was.
  // One walk finds every view and what each view reads below it, however the views nest.
  std::vector<ViewInfo> taken;
  const ORVIDOM_ElementIndex found(m_currentSecurityObjectElem, kViewNames);
  const ORVIDOM_ElementIndex::Range all = found.all(kViews);
  for (std::size_t i = all.first; i < all.last; ++i) {
    taken.push_back(ViewInfo());
    taken.back().readFrom(found, found.below(kViews, i, kViewRefs),
                          found.below(kViews, i, kPackageRefs));
  }
  views.insert(views.end(), taken.begin(), taken.end());

  m_currentSecurityObjectElem = elementFrom(m_currentSecurityObjectElem.getNextSibling());
  // clang-format off
  ORV_ASSERT(m_currentSecurityObjectElem.isNull() || m_currentSecurityObjectElem.getNodeName() == korvath_actionhelper_resources_securityObject_str);
  // clang-format on
  return securityObject;
}
