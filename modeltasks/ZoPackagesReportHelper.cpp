#include "modeltasks/ZoPackagesReportHelper.h"

#include <memory>

#include "core/OwnedList.h"
#include "core/Resources.h"

namespace {

const I18NString kElemPackages("packages");
const I18NString kElemPackage("package");
const I18NString kAttrDefaultName("defaultName");

}  // namespace

ZoPackagesReportHelper::Package::Package(const I18NString& defaultName,
                                         const I18NString& cmSearchPath)
    : defaultName(defaultName), cmSearchPath(cmSearchPath) {}

ZoPackagesReportHelper::~ZoPackagesReportHelper() { DeleteAll(m_packages); }

ZoPackagesReportHelper::Package* ZoPackagesReportHelper::AddPackage(
    const I18NString& defaultName, const I18NString& cmSearchPath) {
  auto package = std::make_unique<Package>(defaultName, cmSearchPath);
  m_packages.push_back(package.get());
  return package.release();
}

void ZoPackagesReportHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(kElemPackages);
  for (const Package* package : m_packages) {
    const ORVIDOM_Element packageElem = doc.createElement(kElemPackage);
    packageElem.setAttribute(kAttrDefaultName, package->defaultName);
    packageElem.setAttribute(korvath_actionhelper_resources_cmSearchPath_str,
                             package->cmSearchPath);
    elem.appendChild(packageElem);
  }
}

void ZoPackagesReportHelper::doTake(ORVIDOM_Element& elem) {
  const ORVIDOM_NodeList packages = elem.getElementsByTagName(kElemPackage);
  for (unsigned long i = 0; i < packages.getLength(); ++i) {
    const ORVIDOM_Element package = packages.item(i);
    AddPackage(package.getAttribute(kAttrDefaultName),
               package.getAttribute(korvath_actionhelper_resources_cmSearchPath_str));
  }
}
