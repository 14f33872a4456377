// Makes and reads "externalizeReport": per externalised model object, its id, the method used,
// the path of the file written and an error text.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class KORVATH_API ZoExternalizeReportHelper : public ActionHandlerBase {
 public:
  // One externalised object.
  struct KORVATH_API Entry {
    Entry(const I18NString& objectID, const I18NString& method, const I18NString& path,
          const I18NString& error);

    I18NString objectID;
    I18NString method;
    I18NString path;
    I18NString error;
  };

  ZoExternalizeReportHelper() = default;
  ~ZoExternalizeReportHelper() override;
  ZoExternalizeReportHelper(const ZoExternalizeReportHelper&) = delete;
  ZoExternalizeReportHelper& operator=(const ZoExternalizeReportHelper&) = delete;

  // Takes ownership of `pEntry`, which must not be null, and appends it.
  void AddEntry(Entry* pEntry);
  const std::vector<Entry*>& GetEntries() const { return m_entries; }

 protected:
  // Writes each entry's objectID, method, error and path as attributes.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Appends the received entries; a received entry names its file in a "file" child and has no
  // error text.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  std::vector<Entry*> m_entries;
};
