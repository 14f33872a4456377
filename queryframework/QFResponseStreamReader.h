// Reads the query framework service's answer to an execute command as it comes, a row at a time,
// without a tree: memory stays that of one row whatever the number of rows. It gives what
// QFResponseDomHelper gives for the same document, as far as it has read: feedback that a
// document puts after the rows is known once the rows have been read.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_PullReader.h>
#include <Korvath_ActionHelper/queryframework/QFResponseDomHelper.h>

class KORVATH_API QFResponseStreamReader {
 public:
  // A value of a row: the attribute "v" of a "value" element, or null when it has none.
  struct Value {
    I18NString text;
    bool null = false;
  };

  // Reads the response from `reader`, which the caller keeps; nothing is read before a getter
  // asks.
  explicit QFResponseStreamReader(ORVIDOM_PullReader& reader);

  // Reads on to the next row of the first "resultData": 1 and its values in `values` (which are
  // replaced), or 0 once the whole response has been read. A row the input breaks off raises
  // the parser's error, after the rows before it.
  int GetNextRow(std::vector<Value>& values);
  // Reads on to the first row, or to the end when there is none: the feedback, the data sources
  // and the columns a response puts before its rows are then known.
  void ReadToRows();
  // Reads on to the end of the response.
  void ReadToEnd();

  // As QFResponseDomHelper's, of what has been read so far.
  int GetQueryFeedback(QFExecuteCommandHelper::EQueryFeedback feedback, I18NString& value) const;
  void GetResponseDataSources(std::vector<QFResponseDomHelper::DataSource>& dataSources) const;
  void GetColumnList(
      std::vector<std::map<QFResponseDomHelper::EColumnProp, I18NString>>& columns) const;

 private:
  // What the events say of the response, as the reader reads them.
  friend class QFResponseEvents;

  // Reads on to the next event that may end a reading (the end of a row, the start of the first)
  // and what the events on the way say of the response; false at the end of the document.
  bool step();
  // The event next() gave.
  void startElement();
  void endElement();
  void characters();
  // Reads the attributes of a "row"'s "value" child, the event the reader shows.
  void readValue();

  ORVIDOM_PullReader& m_reader;
  bool m_ended = false;
  // The depth of the innermost open element (1: the response); not kept for a row's children
  // once only values matter there, where nothing reads it.
  std::size_t m_depth = 0;
  // The depth of the first "queryFeedbackResult", "columnList" and "resultData" while they are
  // open; kNotYet before, kDone after.
  std::size_t m_feedbackDepth;
  std::size_t m_columnsDepth;
  std::size_t m_resultsDepth;
  // The name of a "property" whose first child decides its value, and the depth below it.
  std::string m_propertyName;
  std::size_t m_property = 0;
  // The first value of each property that had one, by name.
  std::map<std::string, I18NString> m_properties;
  std::vector<QFResponseDomHelper::DataSource> m_dataSources;
  // Every column's properties from the first to the last, one column after another: a caller's
  // copy is then the only map made of them.
  std::vector<I18NString> m_columnProps;
  // The row being read, and whether one has been read whole.
  std::vector<Value>* m_row = nullptr;
  bool m_rowDone = false;
  bool m_rowSeen = false;
};
