#include "queryservice/QsDataSourceFaultHelper.h"

#include "core/OwnedList.h"
#include "orvidom/ORVIDOM_ElementIndex.h"
#include "orvidom/ORVIDOM_Helper.h"

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

// The lists of the index the records are read from, by position in kIndexedNames.
enum IndexedList : std::size_t {
  kFaultSignons,
  kFaultConnections,
  kDataSources,
  kNames,
  kTypes,
  kConnections,
  kSearchPaths,
  kConnectionStrings,
  kSignons,
};
const std::initializer_list<std::reference_wrapper<const I18NString>> kIndexedNames = {
    kElemFaultSignon, kElemFaultConnection, kElemDataSource,       kElemName,  kElemType,
    kElemConnection,  kElemSearchPath,      kElemConnectionString, kElemSignon};

// What the records are read from: one walk over the fault finds every element a record reads,
// however the records nest in each other.
struct Source {
  explicit Source(const ORVIDOM_Element& fault) : found(fault, kIndexedNames) {}

  // Puts the "value" attribute of the first element of list `inner` below element `at` of list
  // `outer` into `target` when there is one.
  void readValue(std::size_t outer, std::size_t at, std::size_t inner, I18NString& target) const {
    const ORVIDOM_Element first = found.first(inner, found.below(outer, at, inner));
    if (!first.isNull()) target = first.getAttribute(kAttrValue);
  }

  ORVIDOM_ElementIndex found;
};

void read(const Source& from, std::size_t list, std::size_t at, SignonInfo& signon);
void read(const Source& from, std::size_t list, std::size_t at, ConnectionInfo& connection);

// Appends to `records` a record read from each element of list `inner` below element `at` of
// list `outer`, in document order.
template <class Record>
void appendEachRead(std::vector<Record*>& records, const Source& from, std::size_t outer,
                    std::size_t at, std::size_t inner) {
  const ORVIDOM_ElementIndex::Range range = from.found.below(outer, at, inner);
  for (std::size_t i = range.first; i < range.last; ++i) {
    auto record = std::make_unique<Record>();
    read(from, inner, i, *record);
    records.push_back(record.get());
    static_cast<void>(record.release());  // the list owns it now
  }
}

void read(const Source& from, std::size_t list, std::size_t at, SignonInfo& signon) {
  from.readValue(list, at, kNames, signon.m_name);
  from.readValue(list, at, kSearchPaths, signon.m_searchPath);
}

void read(const Source& from, std::size_t list, std::size_t at, ConnectionInfo& connection) {
  from.readValue(list, at, kNames, connection.m_name);
  from.readValue(list, at, kSearchPaths, connection.m_searchPath);
  from.readValue(list, at, kConnectionStrings, connection.m_connectionString);
  appendEachRead(connection.m_signons, from, list, at, kSignons);
}

// The record kept in `kept`, read from the first element of list `list` of the fault when not
// read yet.
template <class Record>
Record* readOnce(std::unique_ptr<Record>& kept, const ORVIDOM_Element& fault, std::size_t list) {
  if (kept || fault.isNull()) return kept.get();
  const Source from(fault);
  if (!from.found.all(list).empty()) {
    kept = std::make_unique<Record>();
    read(from, list, 0, *kept);
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
  return readOnce(m_faultSignon, m_element, kFaultSignons);
}

QsDataSourceFaultHelper::ConnectionInfo* QsDataSourceFaultHelper::GetFaultConnection() {
  return readOnce(m_faultConnection, m_element, kFaultConnections);
}

int QsDataSourceFaultHelper::GetDataSourceInfo(const I18NString& name, DataSourceInfo& info) {
  if (m_element.isNull()) return 0;
  int found = 0;
  const Source from(m_element);
  const ORVIDOM_ElementIndex::Range dataSources = from.found.all(kDataSources);
  for (std::size_t i = dataSources.first; i < dataSources.last; ++i) {
    const ORVIDOM_Element nameElem =
        from.found.first(kNames, from.found.below(kDataSources, i, kNames));
    if (nameElem.isNull() || nameElem.getAttribute(kAttrValue) != name) continue;
    info.m_name = nameElem.getAttribute(kAttrValue);
    from.readValue(kDataSources, i, kTypes, info.m_type);
    appendEachRead(info.m_connections, from, kDataSources, i, kConnections);
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
