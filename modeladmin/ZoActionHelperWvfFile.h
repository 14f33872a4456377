// Makes and reads the "file" document: a query definition file held as its lines, with its path,
// the database connection its queries use and the data source it belongs to.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class KORVATH_API ZoActionHelperWvfFile : public ActionHandlerBase {
 public:
  ZoActionHelperWvfFile() = default;
  ~ZoActionHelperWvfFile() override = default;

  void setFilePath(const I18NString& filePath) { m_filePath = filePath; }
  I18NString getFilePath() const { return m_filePath; }
  void setDbConnectionName(const I18NString& name) { m_dbConnectionName = name; }
  I18NString getDbConnectionName() const { return m_dbConnectionName; }
  void setCmDataSource(const I18NString& dataSource) { m_cmDataSource = dataSource; }
  I18NString getCmDataSource() const { return m_cmDataSource; }

  // Replaces the lines; each is held without its line end.
  void setContents(const std::vector<I18NString>& lines) { m_contents = lines; }
  void addContentLine(const I18NString& line) { m_contents.push_back(line); }
  const std::vector<I18NString>& getContents() const { return m_contents; }

 protected:
  // Refuses a file without lines.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& domRequest) const override;
  // Appends the lines read to those already held; absent parts leave their fields unchanged.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  I18NString m_filePath;
  std::vector<I18NString> m_contents;
  I18NString m_dbConnectionName;
  I18NString m_cmDataSource;
};
