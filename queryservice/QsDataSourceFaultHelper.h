// Reads the fault with which the query service interface answers when it cannot reach a data
// source: the fault texts, the faulting sign-on and connection, and the data sources the fault
// lists with their connections and sign-ons. It writes nothing.
#pragma once

#include <memory>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Element.h>

class KORVATH_API QsDataSourceFaultHelper : public ActionHandlerBase {
 public:
  struct SignonInfo {
    SignonInfo() = default;

    I18NString m_name;
    I18NString m_searchPath;
  };

  // Owns its sign-ons, so it is neither copied nor assigned.
  struct ConnectionInfo {
    ConnectionInfo() = default;
    ConnectionInfo(const ConnectionInfo&) = delete;
    ConnectionInfo& operator=(const ConnectionInfo&) = delete;
    ~ConnectionInfo();

    I18NString m_name;
    I18NString m_searchPath;
    I18NString m_connectionString;
    std::vector<SignonInfo*> m_signons;
  };

  // Owns its connections, so it is neither copied nor assigned.
  struct KORVATH_API DataSourceInfo {
    DataSourceInfo() = default;
    DataSourceInfo(const DataSourceInfo&) = delete;
    DataSourceInfo& operator=(const DataSourceInfo&) = delete;
    ~DataSourceInfo();

    // The first connection named exactly `name`; null when there is none.
    ConnectionInfo* GetConnectionInfo(const I18NString& name);

    I18NString m_name;
    I18NString m_type;
    std::vector<ConnectionInfo*> m_connections;
  };

  QsDataSourceFaultHelper();
  ~QsDataSourceFaultHelper() override;

  const I18NString& GetFaultCode() const { return m_faultCode; }
  const I18NString& GetFaultSubCode() const { return m_faultSubCode; }
  const I18NString& GetFaultString() const { return m_faultString; }
  const I18NString& GetFaultSubString() const { return m_faultSubString; }
  const I18NString& GetFaultDataSourceName() const { return m_faultDataSourceName; }

  // The faulting sign-on, read on the first call after Take; null when the fault names none.
  // The helper keeps it until the next Take.
  SignonInfo* GetFaultSignon();
  // The faulting connection, read and kept like the sign-on.
  ConnectionInfo* GetFaultConnection();

  // Adds the data source named `name` (every one of that name) to `info`, which the caller
  // owns; 1 when one was found, 0 otherwise.
  int GetDataSourceInfo(const I18NString& name, DataSourceInfo& info);

 protected:
  void doTake(ORVIDOM_Element& elem) override;

 private:
  I18NString m_faultCode;
  I18NString m_faultSubCode;
  I18NString m_faultString;
  I18NString m_faultSubString;
  I18NString m_faultDataSourceName;
  // The fault last taken; null until Take.
  ORVIDOM_Element m_element;
  std::unique_ptr<ConnectionInfo> m_faultConnection;
  std::unique_ptr<SignonInfo> m_faultSignon;
};
