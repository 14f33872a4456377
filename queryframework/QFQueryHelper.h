// One query definition of an execute command: the "query" element with its source, its
// selection of data items, its detail filters and its query hints. The join and set variants
// differ only in their source. Query definitions are created, owned and written by
// QFExecuteCommandHelper.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>

namespace orvidom {
class Builder;
}  // namespace orvidom

struct QFQueryDataItem;

// One detail filter of a query.
struct KORVATH_API QFQueryDetailFilter {
  // Holds any int: a value outside the uses is kept and written as "unknown".
  enum EUse : int {
    kUseUnknown = 0,
    kUseOptional = 1,
    kUseRequired = 2,
    kUseProhibited = 3,
  };

  // The XML name of the use; "unknown" for a value outside EUse.
  static const I18NString& ToString(EUse use);

  I18NString m_expression;
  EUse m_use = kUseUnknown;
};

class KORVATH_API QFQueryHelper : public ActionHandlerBase {
 public:
  // The enumerations hold any int: a value outside them is kept and written as "unknown".
  enum EAggregate : int {
    kAggregateUnknown = 0,
    kAggregateNone = 1,
    kAggregateAutomatic = 2,
    kAggregateSummarize = 3,
    kAggregateTotal = 4,
    kAggregateMinimum = 5,
    kAggregateMaximum = 6,
    kAggregateAverage = 7,
    kAggregateCount = 8,
    kAggregateCalculated = 9,
  };

  enum ESort : int {
    kSortUnknown = 0,
    kSortNone = 1,
    kSortAscending = 2,
    kSortDescending = 3,
  };

  enum EQueryHint : int {
    kQueryHintUnknown = 0,
    kQueryHintAvoidZeroDiv = 1,
    kQueryHintAutoSort = 2,
    kQueryHintMeasureRefiner = 3,
    kQueryHintMaxRowsRetrieved = 4,
  };

  ~QFQueryHelper() override;
  QFQueryHelper(const QFQueryHelper&) = delete;
  QFQueryHelper& operator=(const QFQueryHelper&) = delete;

  const I18NString& GetName() const;

  // Adds a data item named `name`, or `name` followed by the first number from 1 that makes the
  // name unique among the names this query gave out. The query keeps ownership.
  QFQueryDataItem* AddDataItem(const I18NString& name, const I18NString& expression);
  // The same, keeping the texts given instead of copying them.
  QFQueryDataItem* AddDataItem(I18NString&& name, I18NString&& expression);
  // Adds a detail filter; the query keeps ownership.
  QFQueryDetailFilter* AddDetailFilter(const I18NString& expression, QFQueryDetailFilter::EUse use);
  // The same, keeping the text given instead of copying it.
  QFQueryDetailFilter* AddDetailFilter(I18NString&& expression, QFQueryDetailFilter::EUse use);
  // Sets the hint's value, replacing an earlier one ("avoidZeroDiv" is "true" from the start).
  void AddHint(EQueryHint hint, const I18NString& value);
  // Non-zero writes the selection's "autoSummary" as "true".
  void SetAutoSummary(int autoSummary);
  // The query to take as source instead of the model; not used by join and set queries.
  void SetQueryRef(const I18NString& queryRef);

  const std::vector<QFQueryDataItem*>& GetDataItems() const;
  const std::vector<QFQueryDetailFilter*>& GetDetailFilters() const;

  // The XML names of the enumerations; "unknown" for a value outside them.
  static const I18NString& ToString(EQueryHint hint);
  static const I18NString& ToString(EAggregate aggregate);
  static const I18NString& ToString(ESort sort);

 protected:
  friend class QFExecuteCommandHelper;

  explicit QFQueryHelper(const I18NString& name);

  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Writes the "source" child of `query`, a new "query" element that holds its name only: the
  // model, or the query reference when one is set.
  virtual void SetSource(const orvidom::Builder& query) const;

 private:
  // Fills `query`, a new "query" element.
  void MakeQuery(const orvidom::Builder& query) const;
  void MakeSelection(const orvidom::Builder& query) const;
  void MakeDetailFilters(const orvidom::Builder& query) const;
  void MakeHints(const orvidom::Builder& query) const;
  // True when `name` was not given out yet; it is given out from now on.
  bool GiveOut(const I18NString& name);
  // The `number`th name given out, counted from 0.
  std::string_view GivenName(std::size_t number) const;

  I18NString m_name;
  int m_autoSummary = 0;
  std::vector<QFQueryDataItem*> m_dataItems;
  std::vector<QFQueryDetailFilter*> m_detailFilters;
  // Where the data items and detail filters live, at addresses that never move.
  struct Places;
  std::unique_ptr<Places> m_places;
  std::map<EQueryHint, I18NString> m_hints;
  I18NString m_queryRef;
  // The data item names given out, one after the other, and where each ends. Hashed in
  // m_nameTable, open addressing: a place holds a name's 32-bit hash over its number plus one (0
  // is free), so that a name needs no allocation of its own and a look-up compares texts only
  // where the hashes agree (names mostly share their first characters).
  std::string m_givenNames;
  std::vector<std::size_t> m_givenNameEnds;
  std::vector<std::uint64_t> m_nameTable;
  // Per requested name the next number to try, so that making names unique stays fast however
  // often a name is repeated.
  std::unordered_map<I18NString, unsigned long> m_nextSuffix;
};

// One data item of a query's selection, filled by the caller through the pointer AddDataItem
// returns. Sort and aggregates at 0 are not written; an empty tag is not written.
struct KORVATH_API QFQueryDataItem {
  using ESort = QFQueryHelper::ESort;
  using EAggregate = QFQueryHelper::EAggregate;

  I18NString m_name;
  I18NString m_expression;
  I18NString m_tag;
  ESort m_sort = QFQueryHelper::kSortUnknown;
  EAggregate m_aggregate = QFQueryHelper::kAggregateUnknown;
  EAggregate m_rollupAggregate = QFQueryHelper::kAggregateUnknown;
};

// A query whose source joins two other queries of the same command under a filter expression.
class KORVATH_API QFJoinQueryHelper : public QFQueryHelper {
 public:
  ~QFJoinQueryHelper() override;

 protected:
  friend class QFExecuteCommandHelper;

  QFJoinQueryHelper(const I18NString& name, const I18NString& leftQuery,
                    const I18NString& leftCardinality, const I18NString& rightQuery,
                    const I18NString& rightCardinality, const I18NString& filterExpression);

  void SetSource(const orvidom::Builder& query) const override;

 private:
  I18NString m_leftQuery;
  I18NString m_leftCardinality;
  I18NString m_rightQuery;
  I18NString m_rightCardinality;
  I18NString m_filterExpression;
};

// A query whose source combines the command's queries "leftQuery" and "rightQuery" by a set
// operation and projects the named query items.
class KORVATH_API QFSetQueryHelper : public QFQueryHelper {
 public:
  ~QFSetQueryHelper() override;

 protected:
  friend class QFExecuteCommandHelper;

  QFSetQueryHelper(const I18NString& name, std::vector<I18NString> projectionItems,
                   const I18NString& setOperation, const I18NString& duplicates);

  void SetSource(const orvidom::Builder& query) const override;

 private:
  I18NString m_setOperation;
  I18NString m_duplicates;
  std::vector<I18NString> m_projectionItems;
};
