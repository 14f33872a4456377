#include "queryservice/QsDataSourceFaultHelper.h"

#include "core/OwnedList.h"
#include "orvidom/ORVIDOM_Helper.h"
#include "orvidom/ORVIDOM_NodeList.h"

namespace {

const I18NString kElemFaultCode("faultcode");
const I18NString kElemFaultSubCode("faultSubcode");
const I18NString kElemFaultString("faultstring");
const I18NString kElemFaultSubString("faultSubstring");
const I18NString kElemFaultDataSource("faultDataSource");
const I18NString kElemFaultSignon("faultSignon");
const I18NString kElemFaultConnection("faultConnection");
const I18NString kElemDataSource("dataSource");
const I18NString kElemConnection("connection");
const I18NString kElemSignon("signon");
const I18NString kElemName("name");
const I18NString kElemType("type");
const I18NString kElemSearchPath("searchPath");
const I18NString kElemConnectionString("connectionString");
const I18NString kAttrValue("value");

using SignonInfo = QsDataSourceFaultHelper::SignonInfo;
using ConnectionInfo = QsDataSourceFaultHelper::ConnectionInfo;

// The first element named `name` at any depth below `parent`; null when there is none.
ORVIDOM_Element findElement(const ORVIDOM_Node& parent, const I18NString& name) {
  ORVIDOM_Element found = ORVIDOM_Helper::findFirstElement(parent, name);
  return found.getNodeType() == ORVIDOM_Node::ELEMENT_NODE ? found : ORVIDOM_Element();
}

// Puts the value of the first child of element `name` into `target`; a missing element or an
// element without children leaves `target` as it was.
void readText(const ORVIDOM_Node& parent, const I18NString& name, I18NString& target) {
  ORVIDOM_Node firstChild = findElement(parent, name).getFirstChild();
  if (!firstChild.isNull()) target = firstChild.getNodeValue();
}

// Puts the "value" attribute of element `name` into `target` when the element is present.
void readValue(const ORVIDOM_Node& parent, const I18NString& name, I18NString& target) {
  ORVIDOM_Element found = findElement(parent, name);
  if (!found.isNull()) target = found.getAttribute(kAttrValue);
}

void read(const ORVIDOM_Element& from, SignonInfo& signon);
void read(const ORVIDOM_Element& from, ConnectionInfo& connection);

// Appends to `list` a record read from each descendant of `parent` named `name`, in document order.
template <class Record>
void appendEachRead(std::vector<Record*>& list, const ORVIDOM_Element& parent,
                    const I18NString& name) {
  ORVIDOM_NodeList found = parent.getElementsByTagName(name);
  for (unsigned long i = 0; i < found.getLength(); ++i) {
    auto record = std::make_unique<Record>();
    read(found.item(i), *record);
    list.push_back(record.get());
    static_cast<void>(record.release());  // the list owns it now
  }
}

void read(const ORVIDOM_Element& from, SignonInfo& signon) {
  readValue(from, kElemName, signon.m_name);
  readValue(from, kElemSearchPath, signon.m_searchPath);
}

void read(const ORVIDOM_Element& from, ConnectionInfo& connection) {
  readValue(from, kElemName, connection.m_name);
  readValue(from, kElemSearchPath, connection.m_searchPath);
  readValue(from, kElemConnectionString, connection.m_connectionString);
  appendEachRead(connection.m_signons, from, kElemSignon);
}

// The record kept in `kept`, read from element `name` of the fault when not read yet.
template <class Record>
Record* readOnce(std::unique_ptr<Record>& kept, const ORVIDOM_Element& fault,
                 const I18NString& name) {
  if (kept || fault.isNull()) return kept.get();
  ORVIDOM_Element found = findElement(fault, name);
  if (!found.isNull()) {
    kept = std::make_unique<Record>();
    read(found, *kept);
  }
  return kept.get();
}

}  // namespace

QsDataSourceFaultHelper::ConnectionInfo::~ConnectionInfo() { DeleteAll(m_signons); }

QsDataSourceFaultHelper::DataSourceInfo::~DataSourceInfo() { DeleteAll(m_connections); }

QsDataSourceFaultHelper::ConnectionInfo* QsDataSourceFaultHelper::DataSourceInfo::GetConnectionInfo(
    const I18NString& name) {
  for (ConnectionInfo* connection : m_connections) {
    if (connection->m_name == name) return connection;
  }
  return nullptr;
}

QsDataSourceFaultHelper::QsDataSourceFaultHelper() = default;

QsDataSourceFaultHelper::~QsDataSourceFaultHelper() = default;

QsDataSourceFaultHelper::SignonInfo* QsDataSourceFaultHelper::GetFaultSignon() {
  return readOnce(m_faultSignon, m_element, kElemFaultSignon);
}

QsDataSourceFaultHelper::ConnectionInfo* QsDataSourceFaultHelper::GetFaultConnection() {
  return readOnce(m_faultConnection, m_element, kElemFaultConnection);
}

int QsDataSourceFaultHelper::GetDataSourceInfo(const I18NString& name, DataSourceInfo& info) {
  if (m_element.isNull()) return 0;
  int found = 0;
  ORVIDOM_NodeList dataSources = m_element.getElementsByTagName(kElemDataSource);
  for (unsigned long i = 0; i < dataSources.getLength(); ++i) {
    const ORVIDOM_Element dataSource = dataSources.item(i);
    ORVIDOM_Element nameElem = findElement(dataSource, kElemName);
    if (nameElem.isNull() || nameElem.getAttribute(kAttrValue) != name) continue;
    info.m_name = nameElem.getAttribute(kAttrValue);
    readValue(dataSource, kElemType, info.m_type);
    appendEachRead(info.m_connections, dataSource, kElemConnection);
    found = 1;
  }
  return found;
}

void QsDataSourceFaultHelper::doTake(ORVIDOM_Element& elem) {
  // Records of the earlier fault go; its strings stay unless the new fault carries them.
  m_faultConnection.reset();
  m_faultSignon.reset();
  m_element = elem;
  if (m_element.isNull()) return;
  readText(m_element, kElemFaultCode, m_faultCode);
  readText(m_element, kElemFaultSubCode, m_faultSubCode);
  readText(m_element, kElemFaultString, m_faultString);
  readText(m_element, kElemFaultSubString, m_faultSubString);
  readValue(m_element, kElemFaultDataSource, m_faultDataSourceName);
}
