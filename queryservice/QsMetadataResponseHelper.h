// Reads the answer to a metadata request: an element whose children are metadata entries, each
// an element whose attributes are its properties, with "alias" children carrying the same
// properties in other locales. Every operation works on the received element directly.
#pragma once

#include <map>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Element.h>

class KORVATH_API QsMetadataResponseHelper : public ActionHandlerBase {
 public:
  QsMetadataResponseHelper();
  ~QsMetadataResponseHelper() override;

  // The first entry named `name`; null when there is none.
  ORVIDOM_Element GetFirstEntry(const I18NString& name);
  // The last entry named `name`; null when there is none.
  ORVIDOM_Element GetLastEntry(const I18NString& name);
  // The entry named `name` that follows `entry`; null when there is none or `entry` is null.
  ORVIDOM_Element GetNextEntry(ORVIDOM_Element& entry, const I18NString& name);
  // The number of elements named `name` at any depth below the response.
  unsigned long EntriesSize(const I18NString& name);

  // The first entry whose attribute `attribute` equals `value` (an absent attribute reads as
  // empty). The search stops at the first child that is not an element; `name` is not used.
  ORVIDOM_Element FindEntryFor(const I18NString& attribute, I18NString value,
                               const I18NString& name);
  // Every entry that FindEntryFor would consider a match, in document order.
  std::vector<ORVIDOM_Element> FindAllEntriesFor(const I18NString& attribute, I18NString value,
                                                 const I18NString& name);

  // Puts the entry's property into `value` (empty when absent); 1 when the entry has it.
  static int GetPropertyValue(const ORVIDOM_Element& entry, const I18NString& property,
                              I18NString& value);
  // As above and, when the entry has the property, also sets `localizedValues` from each
  // "alias" below the entry that carries a locale and the property, locale to value.
  static int GetPropertyValue(const ORVIDOM_Element& entry, const I18NString& property,
                              I18NString& value, std::map<I18NString, I18NString>& localizedValues);

  // Appends the name and value of each attribute of the entry, in attribute order.
  void GetPropertyNameValues(ORVIDOM_Element& entry, std::vector<I18NString>& names,
                             std::vector<I18NString>& values) const;

 protected:
  void doTake(ORVIDOM_Element& elem) override;

 private:
  // The response last taken; null until Take.
  ORVIDOM_Element m_response;
};
