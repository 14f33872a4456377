#include "queryframework/QFQueryHelper.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <new>
#include <set>
#include <utility>

#include "core/Blocks.h"
#include "core/Resources.h"
#include "orvcore/ORVUtConvert.h"
#include "orvidom/ORVIDOM_Builder.h"

namespace {

const I18NString kElemQuery("query");
const I18NString kElemSelection("selection");
const I18NString kMeasureRefiner("measureRefiner");
const I18NString kAutoSort("autoSort");
const I18NString kAvoidZeroDiv("avoidZeroDiv");
const I18NString kMaxRowsRetrieved("maxRowsRetrieved");
const I18NString kElemTag("tag");
const I18NString kAttrAggregate("aggregate");
const I18NString kAttrRollupAggregate("rollupAggregate");
const I18NString kElemDetailFilter("detailFilter");
const I18NString kElemFilterExpression("filterExpression");
const I18NString kElemQueryHints("queryHints");
const I18NString kNone("none");
const I18NString kAutomatic("automatic");
const I18NString kSummarize("summarize");
const I18NString kTotal("total");
const I18NString kMinimum("minimum");
const I18NString kMaximum("maximum");
const I18NString kAverage("average");
const I18NString kCount("count");
const I18NString kCalculated("calculated");
const I18NString kAscending("ascending");
const I18NString kDescending("descending");
const I18NString kRequired("required");
const I18NString kOptional("optional");
const I18NString kProhibited("prohibited");
const I18NString kElemJoinOperation("joinOperation");
const I18NString kElemJoinOperand("joinOperand");
const I18NString kElemJoinOperands("joinOperands");
const I18NString kElemJoinFilter("joinFilter");
const I18NString kSet("set");
const I18NString kElemProjectionList("projectionList");
const I18NString kElemQueryOperation("queryOperation");
const I18NString kAttrSetOperation("setOperation");
const I18NString kElemQueryRefs("queryRefs");
const I18NString kElemQueryItem("queryItem");
const I18NString kAttrDuplicates("duplicates");
// The operand queries of every set query.
const I18NString kLeftQuery("leftQuery");
const I18NString kRightQuery("rightQuery");

// A new T in `blocks`, listed in `list`, for the caller to fill. Default-initialised: the
// members' initialisers set every field, with no zeroing before.
template <class T>
T* NextPlace(core::Blocks<T>& blocks, std::vector<T*>& list) {
  return core::AddListed(blocks, list, [](void* at) { return new (at) T; });
}

// Appends to `parent` a "queryRef" that refers to `queryName`.
void MakeQueryRef(const orvidom::Builder& parent, const I18NString& queryName) {
  parent.element(korvath_actionhelper_resources_queryRef_str)
      .attribute(korvath_actionhelper_resources_refQuery_str, queryName);
}

}  // namespace

const I18NString& QFQueryDetailFilter::ToString(EUse use) {
  switch (use) {
    case kUseOptional:
      return kOptional;
    case kUseRequired:
      return kRequired;
    case kUseProhibited:
      return kProhibited;
    default:
      return korvath_actionhelper_resources_unknown_str;
  }
}

struct QFQueryHelper::Places {
  core::Blocks<QFQueryDataItem> dataItems;
  core::Blocks<QFQueryDetailFilter> detailFilters;
};

QFQueryHelper::QFQueryHelper(const I18NString& name)
    : m_name(name), m_places(std::make_unique<Places>()) {
  m_hints[kQueryHintAvoidZeroDiv] = korvath_actionhelper_resources_true_str;
}

QFQueryHelper::~QFQueryHelper() = default;

const I18NString& QFQueryHelper::GetName() const { return m_name; }

QFQueryDataItem* QFQueryHelper::AddDataItem(const I18NString& name, const I18NString& expression) {
  return AddDataItem(I18NString(name), I18NString(expression));
}

QFQueryDataItem* QFQueryHelper::AddDataItem(I18NString&& name, I18NString&& expression) {
  // Each name is looked up once: giving it out says whether it was taken.
  if (!GiveOut(name)) {
    // Numbers below the remembered one were all taken when last tried, and names given out are
    // never taken back, so counting resumes there.
    unsigned long& next = m_nextSuffix.emplace(name, 1).first->second;
    I18NString candidate;
    do {
      candidate = name + ORVUtConvert::ulongCvt(next++);
    } while (!GiveOut(candidate));
    name = std::move(candidate);
  }
  QFQueryDataItem* item = NextPlace(m_places->dataItems, m_dataItems);
  item->m_name = std::move(name);
  item->m_expression = std::move(expression);
  return item;
}

bool QFQueryHelper::GiveOut(const I18NString& name) {
  // At most half the places are taken, so that a look-up ends soon after where it starts.
  if (2 * (m_givenNameEnds.size() + 1) > m_nameTable.size()) {
    std::vector<std::uint64_t> table(std::max<std::size_t>(32, 2 * m_nameTable.size()));
    const std::size_t mask = table.size() - 1;
    for (const std::uint64_t entry : m_nameTable) {
      if (entry == 0) continue;
      std::size_t i = (entry >> 32) & mask;
      while (table[i] != 0) i = (i + 1) & mask;
      table[i] = entry;
    }
    // The ends and the names grow with the table, which holds half as many names as it has
    // places: room for that many names of up to eight characters, rather than growing from one.
    m_givenNameEnds.reserve(table.size() / 2);
    m_givenNames.reserve(std::max(m_givenNames.size(), table.size() / 2 * 8));
    m_nameTable.swap(table);
  }
  const auto hash = static_cast<std::uint32_t>(std::hash<std::string>()(name.str()));
  const std::size_t mask = m_nameTable.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    std::uint64_t& entry = m_nameTable[i];
    if (entry == 0) {
      // Drops what an append that ran out of memory may have left after the last name.
      m_givenNames.resize(m_givenNameEnds.empty() ? 0 : m_givenNameEnds.back());
      m_givenNames += name.str();
      m_givenNameEnds.push_back(m_givenNames.size());
      entry = std::uint64_t{hash} << 32 | m_givenNameEnds.size();
      return true;
    }
    if (entry >> 32 == hash && GivenName((entry & 0xffffffffU) - 1) == name.str()) return false;
  }
}

std::string_view QFQueryHelper::GivenName(std::size_t number) const {
  const std::size_t begin = number == 0 ? 0 : m_givenNameEnds[number - 1];
  return std::string_view(m_givenNames).substr(begin, m_givenNameEnds[number] - begin);
}

QFQueryDetailFilter* QFQueryHelper::AddDetailFilter(const I18NString& expression,
                                                    QFQueryDetailFilter::EUse use) {
  return AddDetailFilter(I18NString(expression), use);
}

QFQueryDetailFilter* QFQueryHelper::AddDetailFilter(I18NString&& expression,
                                                    QFQueryDetailFilter::EUse use) {
  QFQueryDetailFilter* filter = NextPlace(m_places->detailFilters, m_detailFilters);
  filter->m_expression = std::move(expression);
  filter->m_use = use;
  return filter;
}

void QFQueryHelper::AddHint(EQueryHint hint, const I18NString& value) { m_hints[hint] = value; }

void QFQueryHelper::SetAutoSummary(int autoSummary) { m_autoSummary = autoSummary; }

void QFQueryHelper::SetQueryRef(const I18NString& queryRef) { m_queryRef = queryRef; }

const std::vector<QFQueryDataItem*>& QFQueryHelper::GetDataItems() const { return m_dataItems; }

const std::vector<QFQueryDetailFilter*>& QFQueryHelper::GetDetailFilters() const {
  return m_detailFilters;
}

const I18NString& QFQueryHelper::ToString(EQueryHint hint) {
  switch (hint) {
    case kQueryHintAvoidZeroDiv:
      return kAvoidZeroDiv;
    case kQueryHintAutoSort:
      return kAutoSort;
    case kQueryHintMeasureRefiner:
      return kMeasureRefiner;
    case kQueryHintMaxRowsRetrieved:
      return kMaxRowsRetrieved;
    default:
      return korvath_actionhelper_resources_unknown_str;
  }
}

const I18NString& QFQueryHelper::ToString(EAggregate aggregate) {
  switch (aggregate) {
    case kAggregateNone:
      return kNone;
    case kAggregateAutomatic:
      return kAutomatic;
    case kAggregateSummarize:
      return kSummarize;
    case kAggregateTotal:
      return kTotal;
    case kAggregateMinimum:
      return kMinimum;
    case kAggregateMaximum:
      return kMaximum;
    case kAggregateAverage:
      return kAverage;
    case kAggregateCount:
      return kCount;
    case kAggregateCalculated:
      return kCalculated;
    default:
      return korvath_actionhelper_resources_unknown_str;
  }
}

const I18NString& QFQueryHelper::ToString(ESort sort) {
  switch (sort) {
    case kSortNone:
      return kNone;
    case kSortAscending:
      return kAscending;
    case kSortDescending:
      return kDescending;
    default:
      return korvath_actionhelper_resources_unknown_str;
  }
}

void QFQueryHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  const orvidom::Builder query = orvidom::Builder::detached(doc, kElemQuery);
  MakeQuery(query);
  elem = query.handle(doc);
}

void QFQueryHelper::MakeQuery(const orvidom::Builder& query) const {
  query.attribute(korvath_actionhelper_resources_name_str, m_name);
  SetSource(query);
  MakeSelection(query);
  MakeDetailFilters(query);
  // Never empty in practice: "avoidZeroDiv" is set from the start and hints are never removed.
  if (!m_hints.empty()) MakeHints(query);
}

void QFQueryHelper::SetSource(const orvidom::Builder& query) const {
  const orvidom::Builder source = query.element(korvath_actionhelper_resources_source_str);
  if (m_queryRef.empty()) {
    source.element(korvath_actionhelper_resources_model_str);
  } else {
    MakeQueryRef(source, m_queryRef);
  }
}

void QFQueryHelper::MakeSelection(const orvidom::Builder& query) const {
  // The query holds its source only, so the selection is new.
  const orvidom::Builder items = query.element(kElemSelection);
  items.vocabularyAttribute(korvath_actionhelper_resources_autoSummary_str,
                            m_autoSummary != 0 ? korvath_actionhelper_resources_true_str
                                               : korvath_actionhelper_resources_false_str);
  // The vocabulary's names, looked up once rather than once per item.
  const orvidom::Builder::Name dataItemName =
      items.name(korvath_actionhelper_resources_dataItem_str);
  const orvidom::Builder::Name nameName = items.name(korvath_actionhelper_resources_name_str);
  const orvidom::Builder::Name expressionName =
      items.name(korvath_actionhelper_resources_expression_str);
  for (const QFQueryDataItem* item : m_dataItems) {
    const orvidom::Builder dataItem = items.element(dataItemName);
    dataItem.attribute(nameName, item->m_name);
    if (item->m_sort != kSortUnknown) {
      dataItem.vocabularyAttribute(korvath_actionhelper_resources_sort_str, ToString(item->m_sort));
    }
    if (item->m_aggregate != kAggregateUnknown) {
      dataItem.vocabularyAttribute(kAttrAggregate, ToString(item->m_aggregate));
    }
    if (item->m_rollupAggregate != kAggregateUnknown) {
      dataItem.vocabularyAttribute(kAttrRollupAggregate, ToString(item->m_rollupAggregate));
    }
    dataItem.textElement(expressionName, item->m_expression);
    if (!item->m_tag.empty()) dataItem.textElement(kElemTag, item->m_tag);
  }
}

void QFQueryHelper::MakeDetailFilters(const orvidom::Builder& query) const {
  if (m_detailFilters.empty()) return;
  const orvidom::Builder detailFilter = query.element(kElemDetailFilter);
  // The vocabulary's names, looked up once rather than once per filter.
  const orvidom::Builder::Name filterName =
      detailFilter.name(korvath_actionhelper_resources_filter_str);
  const orvidom::Builder::Name useName = detailFilter.name(korvath_actionhelper_resources_use_str);
  const orvidom::Builder::Name expressionName = detailFilter.name(kElemFilterExpression);
  for (const QFQueryDetailFilter* item : m_detailFilters) {
    const orvidom::Builder filter = detailFilter.element(filterName);
    filter.vocabularyAttribute(useName, QFQueryDetailFilter::ToString(item->m_use));
    filter.textElement(expressionName, item->m_expression);
  }
}

void QFQueryHelper::MakeHints(const orvidom::Builder& query) const {
  const orvidom::Builder queryHints = query.element(kElemQueryHints);
  for (const auto& [hint, value] : m_hints) {
    queryHints.element(ToString(hint)).attribute(korvath_actionhelper_resources_value_str, value);
  }
}

QFJoinQueryHelper::QFJoinQueryHelper(const I18NString& name, const I18NString& leftQuery,
                                     const I18NString& leftCardinality,
                                     const I18NString& rightQuery,
                                     const I18NString& rightCardinality,
                                     const I18NString& filterExpression)
    : QFQueryHelper(name),
      m_leftQuery(leftQuery),
      m_leftCardinality(leftCardinality),
      m_rightQuery(rightQuery),
      m_rightCardinality(rightCardinality),
      m_filterExpression(filterExpression) {}

QFJoinQueryHelper::~QFJoinQueryHelper() = default;

void QFJoinQueryHelper::SetSource(const orvidom::Builder& query) const {
  const orvidom::Builder joinOperation =
      query.element(korvath_actionhelper_resources_source_str).element(kElemJoinOperation);
  const orvidom::Builder joinOperands = joinOperation.element(kElemJoinOperands);
  // Two operands even when their cardinalities are equal.
  for (const auto& [cardinality, queryName] : {std::pair(&m_leftCardinality, &m_leftQuery),
                                               std::pair(&m_rightCardinality, &m_rightQuery)}) {
    const orvidom::Builder operand = joinOperands.element(kElemJoinOperand);
    operand.attribute(korvath_actionhelper_resources_cardinality_str, *cardinality);
    MakeQueryRef(operand, *queryName);
  }
  joinOperation.element(kElemJoinFilter).textElement(kElemFilterExpression, m_filterExpression);
}

QFSetQueryHelper::QFSetQueryHelper(const I18NString& name, std::vector<I18NString> projectionItems,
                                   const I18NString& setOperation, const I18NString& duplicates)
    : QFQueryHelper(name),
      m_setOperation(setOperation),
      m_duplicates(duplicates),
      m_projectionItems(std::move(projectionItems)) {}

QFSetQueryHelper::~QFSetQueryHelper() = default;

void QFSetQueryHelper::SetSource(const orvidom::Builder& query) const {
  const orvidom::Builder queryOperation =
      query.element(korvath_actionhelper_resources_source_str).element(kElemQueryOperation);
  queryOperation.vocabularyAttribute(korvath_actionhelper_resources_name_str, kSet)
      .attribute(kAttrSetOperation, m_setOperation)
      .attribute(kAttrDuplicates, m_duplicates);
  const orvidom::Builder queryRefs = queryOperation.element(kElemQueryRefs);
  MakeQueryRef(queryRefs, kLeftQuery);
  MakeQueryRef(queryRefs, kRightQuery);
  const orvidom::Builder projectionList = queryOperation.element(kElemProjectionList);
  // An item named twice is written once; a set keeps that linear in the number of items.
  std::set<I18NString> written;
  for (const I18NString& item : m_projectionItems) {
    if (!written.insert(item).second) continue;
    projectionList.element(kElemQueryItem).attribute(korvath_actionhelper_resources_name_str, item);
  }
}
