// Reads the query framework service's answer to an execute command as it comes, a row at a time,
// without a tree: memory stays that of one row whatever the number of rows. It gives what
// QFResponseDomHelper gives for the same document, as far as it has read: feedback that a
// document puts after the rows is known once the rows have been read.
#pragma once

#include <map>
#include <memory>
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
  ~QFResponseStreamReader();
  // Moves what the reader has read; the reader moved from may only be destroyed or assigned to.
  QFResponseStreamReader(QFResponseStreamReader&&) noexcept;
  QFResponseStreamReader& operator=(QFResponseStreamReader&&) noexcept;

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
  // What the reader knows of the response and where it is in it, kept apart so that the class's
  // size stays the same whatever it keeps.
  class State;
  // What the events say of the response, as the reader reads them.
  friend class QFResponseEvents;

  std::unique_ptr<State> m_state;
};
