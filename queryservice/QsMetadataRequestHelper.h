// Writes the "command" element that asks the query service interface for metadata: the class of
// objects to list, depth and page of results, schema, properties, constraints, context, property
// values to retrieve and the alias table of each language. It reads nothing.
#pragma once

#include <map>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class KORVATH_API QsMetadataRequestHelper : public ActionHandlerBase {
 public:
  QsMetadataRequestHelper();
  ~QsMetadataRequestHelper() override;

  // The class of metadata objects to list; without one no "metadata" element is written.
  void SetMetadataClass(const I18NString& metadataClass);
  void SetContext(const I18NString& context);
  void SetDepth(unsigned long depth);
  // The first result to return.
  void SetResultStart(unsigned long resultStart);
  // The number of results to return.
  void SetResultCount(unsigned long resultCount);
  // Non-zero asks for the schema too.
  void SetResultSchema(int resultSchema);

  void AddConstraint(const I18NString& condition);
  // A property to report.
  void AddProperty(const I18NString& property);
  // A property whose values are to be retrieved; "language" asks for the languages.
  void AddRetrieveProperty(const I18NString& property);
  // Replaces the map of language to alias table name.
  void SetAliasTablesMap(const std::map<I18NString, I18NString>& aliasTables);

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;

 private:
  void makeMetadata(const ORVIDOM_Element& command) const;
  void makeRetrievePropertyValues(const ORVIDOM_Element& command) const;
  void makeAliasTableMap(const ORVIDOM_Element& command) const;

  I18NString m_metadataClass;
  // The numbers keep the full width of unsigned long, so no value set is cut when written.
  unsigned long m_depth = 0;
  unsigned long m_resultStart = 0;
  unsigned long m_resultCount = 0;
  int m_resultSchema = 0;
  I18NString m_context;
  std::vector<I18NString> m_constraints;
  std::vector<I18NString> m_properties;
  std::vector<I18NString> m_retrieveProperties;
  std::map<I18NString, I18NString> m_aliasTables;
};
