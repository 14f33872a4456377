// Makes and reads a "securityObjects" element: security objects, each with the views it may
// use and the packages of each view. Writing goes straight into the element made; reading walks
// the received security objects one at a time.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperSecurityObject.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_ElementIndex.h>

class KORVATH_API ZoActionHelperSecurityObjectSpec : public ActionHandlerBase {
 public:
  // A view reference with the references of its packages.
  class KORVATH_API ViewInfo {
   public:
    // Refuses an empty reference.
    explicit ViewInfo(const I18NString& viewRef);
    // Reads a "view" element: its first "viewref" and every "packageref" below it.
    explicit ViewInfo(const ORVIDOM_Element& viewElem);

    I18NString getViewRef() const { return m_viewRef; }
    // Refuses an empty reference; a repeated one is kept.
    void addPackageRef(const I18NString& packageRef);
    // Appends the package references to `packageRefs`.
    void getPackageRefs(std::vector<I18NString>& packageRefs) const;

    I18NString m_viewRef;
    std::vector<I18NString> m_packageRefs;

   private:
    friend class ZoActionHelperSecurityObjectSpec;

    ViewInfo() = default;
    // Reads the first of `viewRefs` and every one of `packageRefs`, positions in `found`.
    void readFrom(const ORVIDOM_ElementIndex& found, ORVIDOM_ElementIndex::Range viewRefs,
                  ORVIDOM_ElementIndex::Range packageRefs);
  };

  ZoActionHelperSecurityObjectSpec() = default;

  // Writes one "securityObject" with its views into the element made; a security object
  // without search path is ignored. Refused before Make.
  void addEntry(const ZoActionHelperSecurityObject& securityObject,
                const std::vector<ViewInfo>& views);
  // The next received security object, its views appended to `views`; null after the last.
  ORVSmartPointer<ZoActionHelperSecurityObject> getEntry(std::vector<ViewInfo>& views);

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& domRequest) const override;
  // Starts the walk at the first "securityObject" below `elem`.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  mutable ORVIDOM_Element m_requestRoot;
  // The element the next getEntry returns; null when the walk is over.
  ORVIDOM_Element m_currentSecurityObjectElem;
};
