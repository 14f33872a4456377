// Makes and reads "packages": a list of packages, each with its default name and search path.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class KORVATH_API ZoPackagesReportHelper : public ActionHandlerBase {
 public:
  struct KORVATH_API Package {
    Package(const I18NString& defaultName, const I18NString& cmSearchPath);

    I18NString defaultName;
    I18NString cmSearchPath;
  };

  ZoPackagesReportHelper() = default;
  ~ZoPackagesReportHelper() override;
  ZoPackagesReportHelper(const ZoPackagesReportHelper&) = delete;
  ZoPackagesReportHelper& operator=(const ZoPackagesReportHelper&) = delete;

  // A new package, appended and owned by the report.
  Package* AddPackage(const I18NString& defaultName, const I18NString& cmSearchPath);
  const std::vector<Package*>& GetPackages() const { return m_packages; }

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Appends the received packages to those already held.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  std::vector<Package*> m_packages;
};
