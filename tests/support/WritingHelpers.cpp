#include "support/WritingHelpers.h"

#include <Korvath_ActionHelper.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>

namespace writing {

namespace {

// One run of a helper: hands out the strings and choices of the source, remembers every value
// the document must carry, and keeps the first value that does not come back.
class Run {
 public:
  Run(Source& in, Outcome& out) : m_in(in), m_out(out) {}

  unsigned below(unsigned bound) { return m_in.below(bound); }
  bool chance() { return below(2) == 1; }
  template <class E>
  E pick(int first, int last) {
    return static_cast<E>(first + static_cast<int>(below(static_cast<unsigned>(last - first + 1))));
  }

  // A value the document must carry.
  I18NString text() { return record(m_in.text(true)); }
  // A value the helper may drop or merge away.
  I18NString loose() { return I18NString(m_in.text(false)); }
  // Empty or a value the document must carry.
  I18NString maybeText() { return chance() ? text() : I18NString(); }
  // A value that is unique in the run: the key of a setting a later one with the same key would
  // replace.
  I18NString key() { return record(m_in.text(true) + "#" + std::to_string(m_keys++)); }
  // An element name, unique in the run; its prefix keeps it apart from the helpers' own names.
  I18NString name() { return record("p." + m_in.nameChars() + "." + std::to_string(m_keys++)); }
  // A number the document must carry in decimal.
  unsigned long number() {
    unsigned long n = 0;
    for (unsigned i = 1 + below(sizeof n); i-- > 0;) n = n << 8 | below(256);
    record(std::to_string(n));
    return n;
  }
  std::vector<I18NString> texts(unsigned most) {
    std::vector<I18NString> out;
    for (unsigned n = below(most + 1); n-- > 0;) out.push_back(text());
    return out;
  }

  ORVIDOM_Element made(const ActionHandlerBase& helper) {
    ORVIDOM_Element elem;
    helper.Make(elem);
    return elem;
  }
  // `made` written and parsed again; every value recorded must be in it.
  ORVIDOM_Element written(const ORVIDOM_Element& made);
  ORVIDOM_Element roundTrip(const ActionHandlerBase& helper) { return written(made(helper)); }

  void expect(bool ok, const std::string& what) {
    if (!ok && m_out.failure.empty()) m_out.failure = what;
  }
  // The lists are as long as each other and `same` holds for each pair.
  template <class Got, class Want, class Same>
  void expectSame(const Got& got, const Want& want, Same same, const std::string& what) {
    expect(std::equal(got.begin(), got.end(), want.begin(), want.end(), same), what);
  }

 private:
  I18NString record(std::string value) {
    m_values.push_back(value);
    return I18NString(std::move(value));
  }

  Source& m_in;
  Outcome& m_out;
  std::vector<std::string> m_values;
  unsigned m_keys = 0;
};

// Every element name, attribute value and element text (its direct text joined) below `root`.
std::set<std::string> stringsOf(const ORVIDOM_Element& root) {
  std::set<std::string> out;
  std::vector<ORVIDOM_Node> work{root};
  while (!work.empty()) {
    const ORVIDOM_Node node = work.back();
    work.pop_back();
    out.insert(node.getNodeName().str());
    out.insert(ORVIDOM_Helper::getElementText(node).str());
    const ORVIDOM_NamedNodeMap attributes = node.getAttributes();
    for (unsigned long i = 0; i < attributes.getLength(); ++i) {
      out.insert(attributes.item(i).getNodeValue().str());
    }
    for (ORVIDOM_Node c = node.getFirstChild(); !c.isNull(); c = c.getNextSibling()) {
      if (c.getNodeType() == ORVIDOM_Node::ELEMENT_NODE) work.push_back(c);
    }
  }
  return out;
}

ORVIDOM_Element Run::written(const ORVIDOM_Element& made) {
  m_out.xml = ORVIDOM_Writer::toString(made);
  ORVIDOM_Element back;
  try {
    back = ORVIDOM_Parser::parseString(m_out.xml).getDocumentElement();
  } catch (const ORVIDOM_ParseError& e) {
    expect(false, std::string("the written document does not parse: ") + e.what());
    return back;
  }
  const std::set<std::string> found = stringsOf(back);
  for (const std::string& value : m_values) {
    expect(found.count(value) == 1, "a value set is not in the document: " + value);
  }
  return back;
}

// A new helper of the same class that took the document `helper` writes.
template <class Helper>
std::unique_ptr<Helper> readBack(Run& run, const Helper& helper) {
  ORVIDOM_Element back = run.roundTrip(helper);
  auto taken = std::make_unique<Helper>();
  taken->Take(back);
  return taken;
}

std::string writtenForm(const ORVIDOM_Element& elem) {
  return elem.isNull() ? std::string("null") : ORVIDOM_Writer::toString(elem);
}

// A free-standing element carrying a value in an attribute and one in its text, as a caller
// builds the elements it hands to a helper (a connection, a definition, a fragment).
ORVIDOM_Element callerElement(Run& run, const I18NString& name) {
  const ORVIDOM_Element elem = ORVIDOM_DOMImplementation::getInstance()
                                   .createDocument("", name, ORVIDOM_DocumentType())
                                   .getDocumentElement();
  elem.setAttribute("value", run.text());
  elem.appendChild(elem.getOwnerDocument().createTextNode(run.text()));
  return elem;
}

// ---- Query framework commands

using Feedback = QFExecuteCommandHelper::EQueryFeedback;

void fillCommand(Run& run, QFCommandHelper& command) {
  if (run.chance()) command.SetProperty(QFCommandHelper::kPropertyCommandID, run.text());
  if (run.chance()) command.SetProperty(QFCommandHelper::kPropertyRequestID, run.text());
  if (run.chance()) {
    ORVIDOM_Element connection = callerElement(run, "connection");
    command.SetConnection(connection);
  }
}

// The helper does not own its query locale: `locale` keeps it until after Make.
void fillZoCommand(Run& run, QFZoCommandHelper& command, std::optional<I18NLocale>& locale) {
  fillCommand(run, command);
  if (run.chance()) command.SetQueryLocale(&locale.emplace(run.text()));
  for (unsigned n = run.below(3); n-- > 0;) command.AddQueryFeedback(run.pick<Feedback>(0, 7));
}

// A connection put into the made command stands where a connection set would: a command with
// one set is filled without, so that every value written stays.
void closeConnections(Run& run) {
  QFCloseConnectionsCommandHelper command;
  const bool addConnection = run.chance();
  if (addConnection) {
    if (run.chance()) command.SetProperty(QFCommandHelper::kPropertyCommandID, run.text());
  } else {
    fillCommand(run, command);
  }
  ORVIDOM_Element made = run.made(command);
  if (addConnection) {
    ORVIDOM_Element connection = callerElement(run, "connection");
    QFCommandHelper::AddConnection(made, connection);
  }
  run.written(made);
}

void cancelQuery(Run& run) {
  XelCancelQueryHelper command;
  fillCommand(run, command);
  run.roundTrip(command);
}

// A data item's requested name is written: it is either given to the item or already given to
// an earlier one.
void fillQuery(Run& run, QFQueryHelper& query) {
  using Q = QFQueryHelper;
  if (run.chance()) query.SetAutoSummary(static_cast<int>(run.below(3)));
  for (unsigned n = run.below(4); n-- > 0;) {
    const I18NString name = run.text();
    QFQueryDataItem* item = query.AddDataItem(name, run.text());
    if (run.chance()) item->m_tag = run.text();
    item->m_sort = run.pick<Q::ESort>(0, 4);
    item->m_aggregate = run.pick<Q::EAggregate>(0, 10);
    item->m_rollupAggregate = run.pick<Q::EAggregate>(0, 10);
  }
  for (unsigned n = run.below(3); n-- > 0;) {
    const I18NString expression = run.text();
    query.AddDetailFilter(expression, run.pick<QFQueryDetailFilter::EUse>(0, 4));
  }
  for (int hint = Q::kQueryHintUnknown; hint <= Q::kQueryHintMaxRowsRetrieved + 1; ++hint) {
    if (run.chance()) query.AddHint(static_cast<Q::EQueryHint>(hint), run.text());
  }
}

// A plain query (with or without a query reference), a join or a set query.
QFQueryHelper* addQuery(Run& run, QFExecuteCommandHelper& command) {
  const I18NString name = run.text();
  switch (run.below(3)) {
    case 0: {
      QFQueryHelper* query = command.AddQuery(name);
      if (run.chance()) query->SetQueryRef(run.text());
      return query;
    }
    case 1: {
      const I18NString leftQuery = run.text(), leftCardinality = run.text(),
                       rightQuery = run.text(), rightCardinality = run.text();
      return command.AddJoinQuery(name, leftQuery, leftCardinality, rightQuery, rightCardinality,
                                  run.text());
    }
    default: {
      const std::vector<I18NString> items = run.texts(3);
      const I18NString setOperation = run.text();
      return command.AddModelSetQuery(name, items, setOperation, run.text());
    }
  }
}

void executeCommand(Run& run) {
  using E = QFExecuteCommandHelper;
  std::optional<I18NLocale> locale;
  if (run.chance()) locale.emplace(run.text());
  E command(run.text(), locale ? &*locale : nullptr);
  fillCommand(run, command);
  for (unsigned n = 1 + run.below(3); n-- > 0;) fillQuery(run, *addQuery(run, command));
  for (unsigned n = run.below(3); n-- > 0;) {
    const I18NString name = run.key();
    command.AddExecuteProperty(name, run.text());
  }
  // A hint outside the table writes nothing.
  for (int hint = E::kRequestHintUnknown; hint <= E::kRequestHintQueryProcessing + 1; ++hint) {
    const bool known = hint >= E::kRequestHintNoDataMode && hint <= E::kRequestHintQueryProcessing;
    if (run.chance())
      command.AddRequestHint(static_cast<E::ERequestHint>(hint), known ? run.text() : run.loose());
  }
  for (unsigned n = run.below(3); n-- > 0;) command.AddQueryFeedback(run.pick<Feedback>(0, 7));
  if (run.chance()) command.SetQOSSeverityLevel(run.pick<E::EQOSSeverity>(0, 5));
  run.roundTrip(command);
}

// The element handed to Make: its first child's children are the content to validate.
void validateCommand(Run& run) {
  QFValidateCommandHelper command;
  fillCommand(run, command);
  ORVIDOM_Element request = ORVIDOM_DOMImplementation::getInstance()
                                .createDocument("", "request", ORVIDOM_DocumentType())
                                .getDocumentElement();
  const ORVIDOM_Document doc = request.getOwnerDocument();
  const ORVIDOM_Element body = doc.createElement("body");
  request.appendChild(body);
  for (unsigned n = run.below(4); n-- > 0;) {
    body.appendChild(doc.importNode(callerElement(run, "part"), true));
  }
  command.Make(request);
  run.written(request);
}

void updateCommand(Run& run) {
  QFUpdateCommandHelper command(run.text());
  fillCommand(run, command);
  for (unsigned n = run.below(4); n-- > 0;) {
    const I18NString name = run.text();
    command.AddUpdateSubject(name, run.text());
  }
  run.roundTrip(command);
}

void expandParameter(Run& run) {
  XelExpandParameterHelper command(run.text());
  std::optional<I18NLocale> locale;
  fillZoCommand(run, command, locale);
  if (run.chance()) command.SetParameterisedValue(run.text());
  run.roundTrip(command);
}

void querySubject(Run& run) {
  ORVIDOM_Element definition = callerElement(run, "definition");
  XelQuerySubjectHelper command(run.text(), definition);
  std::optional<I18NLocale> locale;
  fillZoCommand(run, command, locale);
  run.roundTrip(command);
}

void getJoinPaths(Run& run) {
  XelGetJoinPathsHelper command(run.text());
  std::optional<I18NLocale> locale;
  fillZoCommand(run, command, locale);
  for (const I18NString& item : run.texts(4)) command.AddItem(item);
  run.roundTrip(command);
}

// The objects go into the document the last Make wrote.
void refineObjects(Run& run) {
  XelRefineObjectsHelper command(run.text());
  std::optional<I18NLocale> locale;
  fillZoCommand(run, command, locale);
  const ORVIDOM_Element made = run.made(command);
  for (const I18NString& id : run.texts(4)) command.addRequestObject(id);
  run.written(made);
}

void getParameters(Run& run) {
  std::vector<std::pair<I18NString, I18NString>> parameters;
  for (unsigned n = run.below(4); n-- > 0;) {
    const I18NString name = run.text();
    parameters.emplace_back(name, run.text());
  }
  XelGetParametersHelper helper;
  helper.SetParameters(parameters);
  const auto taken = readBack(run, helper);
  run.expect(taken->GetParameters() == parameters, "parameters: pairs read back");
}

// A connection put into the made test replaces the outer connection but keeps the connection
// under test, which holds every value set.
void testConnection(Run& run) {
  const I18NString dataSource = run.text(), connection = run.text(), signon = run.text(),
                   user = run.text();
  ORVIDOM_Element made =
      run.made(XelTestConnectionHelper(dataSource, connection, signon, user, run.text()));
  if (run.chance()) {
    ORVIDOM_Element outer = callerElement(run, "connection");
    outer.appendChild(outer.getOwnerDocument().createElement("connection"));
    QFCommandHelper::AddConnection(made, outer);
  }
  run.written(made);
}

// ---- Query service interface

// A refreshed request carries the passport and locales of the refresh instead of those set.
void connectRequest(Run& run) {
  QsApiConnectHelper helper;
  const bool refresh = run.chance();
  const auto replaced = [&] { return refresh ? run.loose() : run.text(); };
  if (run.chance()) helper.SetProviderType(run.text());
  if (run.chance()) helper.SetNamespace(run.text());
  if (run.chance()) helper.SetUserName(run.text());
  if (run.chance()) helper.SetPassword(run.text());
  if (run.chance()) helper.SetContentManagerURI(run.text());
  if (run.chance()) helper.SetPassport(replaced());
  if (run.chance()) helper.SetRunLocale(I18NLocale(replaced()));
  if (run.chance()) helper.SetProductLocale(I18NLocale(replaced()));
  if (run.chance()) helper.SetSessionID(run.number());
  for (unsigned n = run.below(3); n-- > 0;) {
    const I18NString name = run.name();
    helper.AddProperty(name, run.text());
  }
  if (run.chance()) helper.SetRetainConnection(run.chance());
  if (run.chance()) helper.SetDisableAuthentication(run.chance());
  for (unsigned n = run.below(3); n-- > 0;) {
    const I18NString name = run.text();
    helper.AddModel(name, run.chance());
  }
  ORVIDOM_Element made = run.made(helper);
  if (refresh) {
    const I18NLocale product(run.text()), runLocale(run.text());
    QsApiConnectHelper::RefreshRequest(made, run.text(), &product, &runLocale);
  }
  run.written(made);
}

void metadataRequest(Run& run) {
  QsMetadataRequestHelper helper;
  // Without a class nothing of the metadata itself is written.
  helper.SetMetadataClass(run.text());
  if (run.chance()) helper.SetContext(run.text());
  if (run.chance()) helper.SetDepth(run.number());
  if (run.chance()) helper.SetResultStart(run.number());
  if (run.chance()) helper.SetResultCount(run.number());
  helper.SetResultSchema(static_cast<int>(run.below(3)));
  for (const I18NString& c : run.texts(3)) helper.AddConstraint(c);
  for (const I18NString& p : run.texts(3)) helper.AddProperty(p);
  for (const I18NString& p : run.texts(3)) helper.AddRetrieveProperty(p);
  std::map<I18NString, I18NString> aliasTables;
  for (unsigned n = run.below(3); n-- > 0;) {
    const I18NString language = run.key();
    aliasTables[language] = run.text();
  }
  helper.SetAliasTablesMap(aliasTables);
  run.roundTrip(helper);
}

// What a value item holds that its element carries: class, wire type, inclusive flag (written
// as "true" for any non-zero flag), use value, bounds, and a hierarchy node's value and sub
// nodes. The display value and the inclusive flag of ranges and hierarchy nodes are not written.
std::string describe(QsParamValueItemHelper* item) {
  if (!item) return "none";
  // A range's wire type depends on its bounds, which a received range reads on first use.
  std::string parts;
  switch (item->GetType()) {
    case QsParamValueItemHelper::kValueItemSimple: {
      auto* simple = static_cast<QsParamValueItemSimpleHelper*>(item);
      parts = (simple->IsInclusive() ? " in " : " ex ") + simple->GetUse().str();
      break;
    }
    case QsParamValueItemHelper::kValueItemRange: {
      auto* range = static_cast<QsParamValueItemRangeHelper*>(item);
      parts = " [" + describe(range->GetStart()) + " .. " + describe(range->GetEnd()) + "]";
      break;
    }
    case QsParamValueItemHelper::kValueItemHierarchy: {
      auto* node = static_cast<QsParamValueItemHierarchyHelper*>(item);
      parts = " (" + describe(node->GetValue());
      for (QsParamValueItemHierarchyHelper* sub : node->GetSubNodes())
        parts += ", " + describe(sub);
      parts += ")";
      break;
    }
    default:
      break;
  }
  return std::to_string(item->GetType()) + " " + item->GetTesselType().str() + parts;
}

// Every node has a value: a node's value is read as the first "value" below it, which for a node
// without one is the value of a sub node.
void fillHierarchy(Run& run, QsParamValueItemHierarchyHelper& node, unsigned depth) {
  node.SetValue(run.text(), static_cast<int>(run.below(3)));
  for (unsigned n = depth ? run.below(3) : 0; n-- > 0;) {
    fillHierarchy(run, *node.AddSubNode(), depth - 1);
  }
}

void addValue(Run& run, QsParameterHelper& parameter) {
  switch (run.below(4)) {
    case 0: {
      // The value set last is the one written; the display value is never written.
      const bool reset = run.chance();
      QsParamValueItemSimpleHelper* simple = parameter.AddSimpleValue(
          reset ? run.loose() : run.maybeText(), static_cast<int>(run.below(3)));
      if (reset) {
        simple->SetUse(run.maybeText());
        simple->SetInclusive(static_cast<int>(run.below(3)));
        simple->SetDisplay(run.loose());
      }
      break;
    }
    case 1: {
      QsParamValueItemRangeHelper* range = parameter.AddRangeValue();
      if (run.chance()) range->SetStart(run.text(), static_cast<int>(run.below(3)));
      if (run.chance()) range->SetEnd(run.text(), static_cast<int>(run.below(3)));
      break;
    }
    case 2:
      fillHierarchy(run, *parameter.AddHierarchicalValue(), 3);
      break;
    default:
      parameter.AddNullValue();
  }
}

// The null values a parameter writes are not read back: a nil item makes no value.
void parameter(Run& run) {
  const I18NString name = run.text();
  QsParameterHelper parameter(name, run.text());
  parameter.SetModelDisplayItem(run.loose());
  parameter.SetModelFilterItem(run.loose());
  parameter.SetModelUseItem(run.loose());
  for (unsigned n = run.below(4); n-- > 0;) addValue(run, parameter);
  std::vector<std::string> expected;
  for (QsParamValueItemHelper* v : parameter.GetValues()) {
    if (v->GetType() != QsParamValueItemHelper::kValueItemNull) expected.push_back(describe(v));
  }
  const auto taken = readBack(run, parameter);
  run.expect(taken->GetName() == parameter.GetName() && taken->GetType() == parameter.GetType(),
             "parameter: name and type");
  std::vector<std::string> got;
  for (QsParamValueItemHelper* v : taken->GetValues()) got.push_back(describe(v));
  run.expect(got == expected, "parameter: values");
}

// ---- Model administration actions

// The seven values of a database connection; database, type and connection string are always
// set, since a connection is read only with them.
struct DbConnection {
  I18NString values[7];

  void fill(Run& run) {
    for (int i = 0; i < 7; ++i) values[i] = i < 3 || run.chance() ? run.text() : I18NString();
  }
  ORVIDOM_Element make(Run& run) const {
    ZoActionHelperDBConnection helper;
    helper.setDatabase(values[0]);
    helper.setDbType(values[1]);
    helper.setConnectionString(values[2]);
    helper.setCatalog(values[3]);
    helper.setSchema(values[4]);
    helper.setUserName(values[5]);
    helper.setPassword(values[6]);
    return run.made(helper);
  }
  static DbConnection read(ORVIDOM_Element& elem) {
    ZoActionHelperDBConnection helper;
    helper.Take(elem);
    return {{helper.getDatabase(), helper.getDbType(), helper.getConnectionString(),
             helper.getCatalog(), helper.getSchema(), helper.getUserName(), helper.getPassword()}};
  }
  bool operator==(const DbConnection& other) const {
    return std::equal(std::begin(values), std::end(values), std::begin(other.values));
  }
};

void dbConnection(Run& run) {
  DbConnection connection;
  connection.fill(run);
  ORVIDOM_Element back = run.written(connection.make(run));
  run.expect(DbConnection::read(back) == connection, "database connection: values");
}

void dbConnections(Run& run) {
  ZoActionHelperDBConnections helper;
  std::vector<DbConnection> connections(1 + run.below(3));
  for (DbConnection& c : connections) {
    c.fill(run);
    helper.addDom(c.make(run));
  }
  const auto taken = readBack(run, helper);
  std::vector<DbConnection> got;
  for (ORVIDOM_Element c : taken->getDomVector()) got.push_back(DbConnection::read(c));
  run.expect(got == connections, "database connections: connections");
}

// Empty lines and repeated lines are lines of the file like any other.
void queryDefinitionFile(Run& run) {
  ZoActionHelperWvfFile file;
  file.setFilePath(run.text());
  std::vector<I18NString> lines;
  for (unsigned n = 1 + run.below(4); n-- > 0;) {
    const unsigned kind = run.below(4);
    lines.push_back(kind == 0                     ? I18NString()
                    : kind == 1 && !lines.empty() ? lines.front()
                                                  : run.text());
  }
  file.setContents(lines);
  if (run.chance()) file.addContentLine(lines.emplace_back(run.text()));
  const I18NString connectionName = run.maybeText(), dataSource = run.maybeText();
  file.setDbConnectionName(connectionName);
  file.setCmDataSource(dataSource);
  const auto taken = readBack(run, file);
  run.expect(taken->getFilePath() == file.getFilePath() && taken->getContents() == lines &&
                 taken->getDbConnectionName() == connectionName &&
                 taken->getCmDataSource() == dataSource,
             "query definition file: values");
}

using SecurityObject = ZoActionHelperSecurityObject;

// A principal of one of the three kinds, or of a type given as text; `written` tells whether
// the document must carry the type text.
SecurityObject securityObject(Run& run, const I18NString& path, const I18NString& display,
                              bool written) {
  if (run.chance()) return SecurityObject(path, display, written ? run.text() : run.loose());
  return SecurityObject(
      path, display,
      run.pick<SecurityObject::EAccessType>(SecurityObject::kUser, SecurityObject::kGroup));
}

// A key already in `list` or a new one.
template <class T, class KeyOf>
I18NString keyFor(Run& run, const std::vector<T>& list, KeyOf keyOf) {
  if (!list.empty() && run.below(3) == 0)
    return keyOf(list[run.below(static_cast<unsigned>(list.size()))]);
  return run.text();
}

// The element of `list` whose key is `key`, or `fresh` appended when there is none.
template <class T, class KeyOf>
T& findOrAdd(std::vector<T>& list, const I18NString& key, KeyOf keyOf, T fresh) {
  for (T& t : list) {
    if (keyOf(t) == key) return t;
  }
  return list.emplace_back(std::move(fresh));
}

// An entry for a search path already given merges into it: the stronger rule wins and the first
// display path and type stay.
void objectAccess(Run& run) {
  using Access = ZoActionHelperObjectAccess;
  using Expected = std::pair<SecurityObject, Access::EObjectAccessRule>;
  Access helper;
  const ORVIDOM_Element made = run.made(helper);
  std::vector<Expected> expected;
  const auto pathOf = [](const Expected& e) { return e.first.m_cmSearchPath; };
  for (unsigned n = run.below(5); n-- > 0;) {
    const I18NString path = keyFor(run, expected, pathOf);
    const auto rule = run.pick<Access::EObjectAccessRule>(Access::kUnspecified, Access::kDeny);
    const bool merged = std::any_of(expected.begin(), expected.end(),
                                    [&](const Expected& e) { return pathOf(e) == path; });
    const I18NString display = merged ? run.loose() : run.text();
    const SecurityObject object = securityObject(run, path, display, !merged);
    Expected& entry = findOrAdd(expected, path, pathOf, Expected(object, rule));
    entry.second = std::max(entry.second, rule);
    helper.addEntry(object, rule);
  }
  ORVIDOM_Element back = run.written(made);
  Access taken;
  taken.Take(back);
  std::vector<Access::SecurityObjectAccess> got;
  taken.getEntries(got);
  run.expect(got.size() == expected.size(), "object access: entry count");
  for (std::size_t i = 0; i < got.size() && i < expected.size(); ++i) {
    const SecurityObject& object = expected[i].first;
    run.expect(got[i].m_securityObject->m_cmSearchPath == object.m_cmSearchPath &&
                   got[i].m_securityObject->m_displayPath == object.m_displayPath &&
                   got[i].m_securityObject->m_type == object.m_type &&
                   got[i].m_rule == expected[i].second,
               "object access: entry");
  }
}

// A package reference repeated within a view is written once.
ZoActionHelperSecurityObjectSpec::ViewInfo viewOf(Run& run) {
  ZoActionHelperSecurityObjectSpec::ViewInfo view(run.text());
  for (unsigned n = run.below(4); n-- > 0;) {
    const bool repeat = !view.m_packageRefs.empty() && run.below(3) == 0;
    view.addPackageRef(repeat ? view.m_packageRefs.front() : run.text());
  }
  return view;
}

std::vector<I18NString> distinct(const std::vector<I18NString>& texts) {
  std::vector<I18NString> out;
  std::set<I18NString> seen;
  for (const I18NString& t : texts) {
    if (seen.insert(t).second) out.push_back(t);
  }
  return out;
}

void securityObjects(Run& run) {
  using Spec = ZoActionHelperSecurityObjectSpec;
  Spec helper;
  const ORVIDOM_Element made = run.made(helper);
  std::vector<std::pair<SecurityObject, std::vector<Spec::ViewInfo>>> expected;
  for (unsigned n = run.below(4); n-- > 0;) {
    const I18NString path = run.text(), display = run.maybeText();
    const SecurityObject object = securityObject(run, path, display, true);
    std::vector<Spec::ViewInfo> views;
    for (unsigned v = run.below(3); v-- > 0;) views.push_back(viewOf(run));
    helper.addEntry(object, views);
    expected.emplace_back(object, views);
  }
  ORVIDOM_Element back = run.written(made);
  Spec taken;
  taken.Take(back);
  for (const auto& [object, views] : expected) {
    std::vector<Spec::ViewInfo> gotViews;
    const ORVSmartPointer<SecurityObject> got = taken.getEntry(gotViews);
    run.expect(got && got->m_cmSearchPath == object.m_cmSearchPath &&
                   got->m_displayPath == object.m_displayPath && got->m_type == object.m_type,
               "security objects: security object");
    run.expect(gotViews.size() == views.size(), "security objects: view count");
    for (std::size_t i = 0; i < gotViews.size() && i < views.size(); ++i) {
      run.expect(gotViews[i].m_viewRef == views[i].m_viewRef &&
                     gotViews[i].m_packageRefs == distinct(views[i].m_packageRefs),
                 "security objects: view");
    }
  }
  std::vector<Spec::ViewInfo> rest;
  run.expect(!taken.getEntry(rest), "security objects: entry count");
}

using Retarget = ZoActionHelperRetargetObjectReferences;

// Entries merge per current value, updates per new value and items per ID, the latest option
// winning; each in the order first added.
void retargetObjectReferences(Run& run) {
  using Item = Retarget::ItemToUpdate;
  Retarget helper;
  const ORVIDOM_Element made = run.made(helper);
  std::vector<Retarget::Entry> expected;
  const auto currentOf = [](const Retarget::Entry& e) { return e.m_currentRefValue; };
  const auto newOf = [](const Retarget::UpdateInfo& u) { return u.m_newRefValue; };
  const auto idOf = [](const Item& i) { return i.m_itemID; };
  for (unsigned n = 1 + run.below(4); n-- > 0;) {
    const I18NString current = keyFor(run, expected, currentOf);
    Retarget::Entry& entry = findOrAdd(expected, current, currentOf, Retarget::Entry{current, {}});
    const I18NString newValue = keyFor(run, entry.m_updateInfoList, newOf);
    Retarget::UpdateInfo& update =
        findOrAdd(entry.m_updateInfoList, newValue, newOf, Retarget::UpdateInfo{newValue, {}});
    std::vector<Item> items;
    for (unsigned i = run.below(3); i-- > 0;) {
      const I18NString id = keyFor(run, update.m_itemsToUpdate, idOf);
      const auto option = run.pick<Retarget::EProcessDescendantsOption>(0, 1);
      findOrAdd(update.m_itemsToUpdate, id, idOf, Item(id, option)).m_processDescendants = option;
      items.emplace_back(id, option);
    }
    if (items.size() == 1 && run.chance()) {
      helper.addEntry(current, newValue, items.front());
    } else if (run.chance()) {
      helper.addEntry(current, newValue, items);
    } else {
      helper.addEntry(current, Retarget::UpdateInfo{newValue, items});
    }
  }
  ORVIDOM_Element back = run.written(made);
  Retarget taken;
  taken.Take(back);
  const std::vector<Retarget::Entry> got = taken.getEntries();
  const auto same = [](const Retarget::Entry& a, const Retarget::Entry& b) {
    if (a.m_currentRefValue != b.m_currentRefValue ||
        a.m_updateInfoList.size() != b.m_updateInfoList.size())
      return false;
    for (std::size_t u = 0; u < a.m_updateInfoList.size(); ++u) {
      const auto &ua = a.m_updateInfoList[u], &ub = b.m_updateInfoList[u];
      if (ua.m_newRefValue != ub.m_newRefValue ||
          ua.m_itemsToUpdate.size() != ub.m_itemsToUpdate.size())
        return false;
      for (std::size_t i = 0; i < ua.m_itemsToUpdate.size(); ++i) {
        if (ua.m_itemsToUpdate[i].m_itemID != ub.m_itemsToUpdate[i].m_itemID ||
            ua.m_itemsToUpdate[i].m_processDescendants !=
                ub.m_itemsToUpdate[i].m_processDescendants)
          return false;
      }
    }
    return true;
  };
  run.expectSame(got, expected, same, "retarget object references: entries");
}

void dimensionInfo(Run& run) {
  DimensionInfoHelper helper;
  for (unsigned n = run.below(3); n-- > 0;) {
    const I18NString name = run.text(), keyName = run.text();
    const std::vector<I18NString> keyItems = run.texts(3);
    const int unique = static_cast<int>(run.below(3));
    helper.AddLevel(name, keyName, keyItems, unique, run.texts(3));
  }
  for (unsigned n = run.below(3); n-- > 0;) {
    const I18NString name = run.text();
    helper.AddHierarchy(name, run.texts(3));
  }
  run.roundTrip(helper);
}

// ---- Model tasks

// A fragment value reads back as the same element.
void updateObjectRequest(Run& run) {
  using Task = ZoUpdateRequestTaskHelper;
  ZoUpdateObjectRequestHelper request;
  // Per task, per parameter kind, the written forms of its values.
  std::vector<std::map<Task::EParameter, std::vector<std::string>>> expected;
  for (unsigned t = run.below(4); t-- > 0;) {
    Task* task =
        request.AddTask(run.pick<Task::ETask>(Task::kTaskAddProperty, Task::kTaskRemoveObject));
    auto& params = expected.emplace_back();
    for (unsigned p = run.below(6); p-- > 0;) {
      const auto kind =
          run.pick<Task::EParameter>(Task::kParamPropertyType, Task::kParamDimensionRef);
      if (run.below(4) == 0) {
        ORVIDOM_Element fragment = callerElement(run, "fragment");
        task->AddParameter(kind, fragment);
        params[kind].push_back(writtenForm(fragment));
        continue;
      }
      const I18NString value = run.text(), locale = run.maybeText();
      task->AddParameter(kind, value, locale);
      params[kind].push_back(value.str() + "@" + locale.str());
    }
  }
  const auto taken = readBack(run, request);
  run.expect(taken->GetTasks().size() == expected.size(), "update request: task count");
  for (std::size_t t = 0; t < taken->GetTasks().size() && t < expected.size(); ++t) {
    for (const auto& [kind, want] : expected[t]) {
      std::vector<Task::ParamValue*> values;
      taken->GetTasks()[t]->GetParameter(kind, values);
      std::vector<std::string> got;
      for (const Task::ParamValue* v : values) {
        got.push_back(v->element.isNull() ? v->value.str() + "@" + v->locale.str()
                                          : writtenForm(v->element));
      }
      run.expect(got == want, "update request: values of " + Task::ToString(kind).str());
    }
  }
}

// Adds entries below `parent` down to `depth` levels, appending to `rendered` what rendering
// gives for them: a line feed, the indent, "*** Error:" for an error or "--- " otherwise, the
// text, then the children one tab deeper.
void addFeedback(Run& run, ZoActionFeedbackHelper& feedback, ZoFeedbackEntry* parent,
                 const std::string& indent, unsigned depth, std::string& rendered) {
  using F = ZoActionFeedbackHelper;
  for (unsigned n = depth ? run.below(3) : 0; n-- > 0;) {
    const auto entryClass = run.pick<F::EEntryClass>(F::kClassUnknown, F::kClassTrace + 1);
    const I18NString text = run.maybeText();
    const I18NString name = run.maybeText();
    ZoFeedbackEntry* entry = parent || run.chance()
                                 ? feedback.AddEntry(parent, entryClass, text, name)
                                 : feedback.AddEntry(entryClass, text, name);
    rendered += "\n" + indent + (entryClass == F::kClassError ? "*** Error:" : "--- ") + text.str();
    addFeedback(run, feedback, entry, "\t" + indent, depth - 1, rendered);
  }
}

// A status outside the table is written as "unknown" and reads as unknown.
void updateObjectResponse(Run& run) {
  using Result = ZoUpdateResponseTaskHelper;
  struct Expected {
    Result::EStatus status;
    std::map<Result::EParameter, std::vector<I18NString>> params;
    std::optional<std::pair<I18NString, I18NString>> error;
    std::string feedback;
  };
  ZoUpdateObjectResponseHelper response;
  std::vector<Expected> expected;
  for (unsigned t = run.below(4); t-- > 0;) {
    Result* result = response.AddTask(run.pick<ZoUpdateRequestTaskHelper::ETask>(
        ZoUpdateRequestTaskHelper::kTaskAddProperty, ZoUpdateRequestTaskHelper::kTaskRemoveObject));
    Expected& want = expected.emplace_back();
    const auto status =
        run.pick<Result::EStatus>(Result::kStatusUnknown, Result::kStatusFailure + 1);
    result->SetStatus(status);
    want.status = status > Result::kStatusFailure ? Result::kStatusUnknown : status;
    for (unsigned p = run.below(4); p-- > 0;) {
      const auto kind = run.pick<Result::EParameter>(Result::kParamProperty, Result::kParamObject);
      result->AddParameter(kind, want.params[kind].emplace_back(run.text()));
    }
    if (run.chance()) {
      const I18NString code = run.text();
      want.error.emplace(code, run.maybeText());
      result->SetError(code, want.error->second);
    }
    ZoActionFeedbackHelper feedback;
    addFeedback(run, feedback, nullptr, "", 3, want.feedback);
    result->SetFeedback(feedback);
  }
  const auto taken = readBack(run, response);
  run.expect(taken->GetTasks().size() == expected.size(), "update response: task count");
  for (std::size_t t = 0; t < taken->GetTasks().size() && t < expected.size(); ++t) {
    Result& result = *taken->GetTasks()[t];
    const Expected& want = expected[t];
    run.expect(
        result.GetTask() == response.GetTasks()[t]->GetTask() && result.GetStatus() == want.status,
        "update response: task and status");
    for (int kind = Result::kParamProperty; kind <= Result::kParamObject; ++kind) {
      std::vector<I18NString> values;
      result.GetParameter(static_cast<Result::EParameter>(kind), values);
      const auto it = want.params.find(static_cast<Result::EParameter>(kind));
      run.expect(values == (it == want.params.end() ? std::vector<I18NString>() : it->second),
                 "update response: parameter values");
    }
    const Result::ErrorInfo* error = result.GetError();
    run.expect(want.error ? error && error->code == want.error->first &&
                                error->message == want.error->second
                          : !error,
               "update response: error");
    I18NString rendered;
    if (!result.GetFeedback().isNull()) {
      ZoActionFeedbackHelper feedback;
      ORVIDOM_Element element = result.GetFeedback();
      feedback.Take(element);
      feedback.Render(rendered);
    }
    run.expect(rendered.str() == want.feedback, "update response: feedback rendered");
  }
}

// A task repeated is written once; a task or parameter outside the table is written as
// "unknown". Of the target data source, the type reads as empty when not set, the others as
// absent.
void materializeRequest(Run& run) {
  using Request = ZoMaterializeRequestHelper;
  Request request;
  std::vector<Request::ETasks> tasks;
  for (unsigned n = run.below(5); n-- > 0;) {
    const auto task =
        run.pick<Request::ETasks>(Request::kTaskUnknown, Request::kTaskMaterializeResultSet + 1);
    if (std::find(tasks.begin(), tasks.end(), task) == tasks.end()) tasks.push_back(task);
    request.AddTask(task);
  }
  std::map<Request::EParameters, I18NString> params;
  for (int kind = Request::kParamUnknown; kind <= Request::kParamObjectID + 1; ++kind) {
    if (run.chance())
      request.AddParameter(static_cast<Request::EParameters>(kind),
                           params[static_cast<Request::EParameters>(kind)] = run.text());
  }
  std::optional<I18NString> source[6];
  Request::TargetDataSource target;
  const I18NString** fields[6] = {&target.type,     &target.database, &target.connectionString,
                                  &target.username, &target.password, &target.SSOTicket};
  for (int i = 0; i < 6; ++i) {
    if (run.chance()) *fields[i] = &source[i].emplace(run.text());
  }
  request.SetTargetDataSource(target);
  ORVIDOM_Element resultSet;
  if (run.chance()) request.SetResultSet(resultSet = callerElement(run, "resultSet"));
  const auto taken = readBack(run, request);
  std::vector<Request::ETasks> gotTasks;
  for (Request::ETasks t : taken->GetTasks()) gotTasks.push_back(t);
  for (Request::ETasks& t : tasks) {
    if (t > Request::kTaskMaterializeResultSet) t = Request::kTaskUnknown;
  }
  run.expect(gotTasks == tasks, "materialize request: tasks");
  for (int kind = Request::kParamDataFilePath; kind <= Request::kParamObjectID; ++kind) {
    I18NString value;
    const auto it = params.find(static_cast<Request::EParameters>(kind));
    const bool found = taken->GetParameter(static_cast<Request::EParameters>(kind), value);
    run.expect(it == params.end() ? !found : found && value == it->second,
               "materialize request: parameter");
  }
  const Request::TargetDataSource got = taken->GetTargetDataSourceInfo();
  const I18NString* gotFields[6] = {got.type,     got.database, got.connectionString,
                                    got.username, got.password, got.SSOTicket};
  if (!source[0]) source[0].emplace();
  for (int i = 0; i < 6; ++i) {
    run.expect(source[i] ? gotFields[i] && *gotFields[i] == *source[i] : !gotFields[i],
               "materialize request: target data source");
  }
  run.expect(writtenForm(taken->GetResultSet()) == writtenForm(resultSet),
             "materialize request: result set");
}

// The helper writes an empty answer, which holds no answer for any task.
void materializeResponse(Run& run) {
  const auto taken = readBack(run, ZoMaterializeResponseHelper());
  for (int task = ZoMaterializeRequestHelper::kTaskGenLoadDataFromFile;
       task <= ZoMaterializeRequestHelper::kTaskMaterializeResultSet; ++task) {
    I18NString response;
    run.expect(!taken->GetResponse(static_cast<ZoMaterializeRequestHelper::ETasks>(task), response),
               "materialize response: answer");
  }
}

void modelAnalysisRequest(Run& run) {
  using Task = ZoAnalyzeRequestTaskHelper;
  ZoModelAnalysisRequestHelper request;
  for (unsigned t = run.below(3); t-- > 0;) {
    Task* task = request.AddTask(Task::kTaskDoSpecifiedChecks);
    for (unsigned n = run.below(4); n-- > 0;) {
      task->AddCheck(
          run.pick<Task::ECheck>(Task::kCheckUseOfCardinalityInFacts, Task::kCheckCachingConflict));
    }
    for (const I18NString& id : run.texts(4)) task->AddObject(id);
  }
  const auto taken = readBack(run, request);
  const auto same = [](const Task* a, const Task* b) {
    return a->GetTask() == b->GetTask() && a->GetChecks() == b->GetChecks() &&
           a->GetObjects() == b->GetObjects();
  };
  run.expectSame(taken->GetTasks(), request.GetTasks(), same, "model analysis request: tasks");
}

void modelAnalysisResponse(Run& run) {
  using Object = ZoAnalyzeResponseIssueObjectHelper;
  ZoModelAnalysisResponseHelper response;
  for (unsigned t = run.below(3); t-- > 0;) {
    ZoAnalyzeResponseTaskHelper* task =
        response.AddTask(run.pick<ZoAnalyzeRequestTaskHelper::ETask>(0, 4));
    if (run.chance()) task->SetSuccess(static_cast<int>(run.below(3)));
    for (unsigned i = run.below(3); i-- > 0;) {
      ZoAnalyzeResponseIssueHelper* issue = task->AddIssue(run.text());
      for (unsigned o = run.below(3); o-- > 0;) {
        const I18NString name = run.text(), id = run.text(), objectClass = run.text(),
                         path = run.text(), refClass = run.text();
        const auto subType =
            run.pick<Object::ESubType>(Object::kSubTypeNone, Object::kSubTypeMeasure);
        Object* object =
            issue->AddObject(name, id, objectClass, path, refClass, subType, run.texts(2));
        for (unsigned r = run.below(3); r-- > 0;) {
          const I18NString rName = run.text(), rId = run.text(), rClass = run.text();
          object->AddRelatedObject(rName, rId, rClass, run.text());
        }
      }
    }
  }
  run.roundTrip(response);
}

// A received report names the path in a "file" child and carries no error, so only the object
// and the method of a written entry come back through the helper.
void externalizeReport(Run& run) {
  using Entry = ZoExternalizeReportHelper::Entry;
  ZoExternalizeReportHelper report;
  for (unsigned n = run.below(5); n-- > 0;) {
    const I18NString objectID = run.text(), method = run.text(), path = run.text();
    report.AddEntry(new Entry(objectID, method, path, run.text()));
  }
  const auto taken = readBack(run, report);
  const auto same = [](const Entry* a, const Entry* b) {
    return a->objectID == b->objectID && a->method == b->method;
  };
  run.expectSame(taken->GetEntries(), report.GetEntries(), same, "externalize report: entries");
}

void packagesReport(Run& run) {
  using Package = ZoPackagesReportHelper::Package;
  ZoPackagesReportHelper report;
  for (unsigned n = run.below(5); n-- > 0;) {
    const I18NString name = run.text();
    report.AddPackage(name, run.text());
  }
  const auto taken = readBack(run, report);
  const auto same = [](const Package* a, const Package* b) {
    return a->defaultName == b->defaultName && a->cmSearchPath == b->cmSearchPath;
  };
  run.expectSame(taken->GetPackages(), report.GetPackages(), same, "packages report: packages");
}

template <void (*Fill)(Run&)>
void runOf(Source& in, Outcome& out) {
  Run run(in, out);
  Fill(run);
}

}  // namespace

const std::vector<Helper>& AllHelpers() {
  static const std::vector<Helper> helpers{
      {"QFCloseConnectionsCommandHelper", runOf<closeConnections>},
      {"XelCancelQueryHelper", runOf<cancelQuery>},
      {"QFExecuteCommandHelper", runOf<executeCommand>},
      {"QFValidateCommandHelper", runOf<validateCommand>},
      {"QFUpdateCommandHelper", runOf<updateCommand>},
      {"XelExpandParameterHelper", runOf<expandParameter>},
      {"XelQuerySubjectHelper", runOf<querySubject>},
      {"XelGetJoinPathsHelper", runOf<getJoinPaths>},
      {"XelRefineObjectsHelper", runOf<refineObjects>},
      {"XelGetParametersHelper", runOf<getParameters>},
      {"XelTestConnectionHelper", runOf<testConnection>},
      {"QsApiConnectHelper", runOf<connectRequest>},
      {"QsMetadataRequestHelper", runOf<metadataRequest>},
      {"QsParameterHelper", runOf<parameter>},
      {"ZoActionHelperDBConnection", runOf<dbConnection>},
      {"ZoActionHelperDBConnections", runOf<dbConnections>},
      {"ZoActionHelperWvfFile", runOf<queryDefinitionFile>},
      {"ZoActionHelperObjectAccess", runOf<objectAccess>},
      {"ZoActionHelperSecurityObjectSpec", runOf<securityObjects>},
      {"ZoActionHelperRetargetObjectReferences", runOf<retargetObjectReferences>},
      {"DimensionInfoHelper", runOf<dimensionInfo>},
      {"ZoUpdateObjectRequestHelper", runOf<updateObjectRequest>},
      {"ZoUpdateObjectResponseHelper", runOf<updateObjectResponse>},
      {"ZoMaterializeRequestHelper", runOf<materializeRequest>},
      {"ZoMaterializeResponseHelper", runOf<materializeResponse>},
      {"ZoModelAnalysisRequestHelper", runOf<modelAnalysisRequest>},
      {"ZoModelAnalysisResponseHelper", runOf<modelAnalysisResponse>},
      {"ZoExternalizeReportHelper", runOf<externalizeReport>},
      {"ZoPackagesReportHelper", runOf<packagesReport>},
  };
  return helpers;
}

}  // namespace writing
