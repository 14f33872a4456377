// Reads XML a piece at a time: each element's start and end, and each text, one after another,
// without a tree. The rules are the parser's (ORVIDOM_Parser), with the same messages, lines,
// columns and offsets; the memory is a window of the input and the largest single piece of it
// (a tag, a text), whatever the document's size, with the name of each open element besides.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include <Korvath_ActionHelper/orvcore/ORVExport.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_ParseError.h>

namespace orvidom {
struct PullAccess;
}

class KORVATH_API ORVIDOM_PullReader {
 public:
  // What next() reached.
  enum Event {
    // An element's start tag: name, attributes and depth. An empty element ("<a/>") gives its
    // kEndElement next.
    kStartElement = 1,
    // An element's end: name and depth.
    kEndElement,
    // Character data between markup, references replaced, around comments joined: text.
    kText,
    // A CDATA section: text.
    kCData,
    // The end of a well-formed document; next() gives it again.
    kEndDocument,
    // Input pushed with push() is used up and finish() has not been called: push more.
    kNeedInput,
  };

  // A reader of `text`, which the caller keeps as long as the reader reads it.
  explicit ORVIDOM_PullReader(std::string_view text);
  // A reader of `in`, read a window at a time; the caller keeps the stream.
  explicit ORVIDOM_PullReader(std::istream& in);
  // A reader of what the caller gives it with push(), ended by finish().
  ORVIDOM_PullReader();
  ~ORVIDOM_PullReader();
  ORVIDOM_PullReader(ORVIDOM_PullReader&&) noexcept;
  ORVIDOM_PullReader& operator=(ORVIDOM_PullReader&&) noexcept;

  // A reader of the file at `path`; ORVIDOM_ParseError (line 0) when it cannot be opened.
  static ORVIDOM_PullReader openFile(const std::string& path);

  // Gives a reader made without input the next bytes of it.
  void push(std::string_view bytes);
  // Tells such a reader that the input has no more bytes.
  void finish();

  // Reads on to the next event; ORVIDOM_ParseError at the first problem, after the events
  // before it. Names, attributes and texts read stay valid until the next call.
  Event next();

  // The element's name, for kStartElement and kEndElement.
  std::string_view getName() const noexcept;
  // The number of elements open with this one, for kStartElement and kEndElement: 1 for the
  // root element.
  std::size_t getDepth() const noexcept;
  // The number of attributes of a kStartElement, in the order written.
  std::size_t getAttributeCount() const noexcept;
  // The name and value of attribute `i`; empty past the last.
  std::string_view getAttributeName(std::size_t i) const noexcept;
  std::string_view getAttributeValue(std::size_t i) const noexcept;
  // The value of the attribute `name`, or null when the element has none: an empty value is
  // an empty string, not null. Copies the value to end it with a zero; the overload below does not.
  const char* findAttribute(std::string_view name) const noexcept;
  // True, with the value of the attribute `name` in `value`, when the element has one; false,
  // leaving `value` as it is, when it has none.
  bool findAttribute(std::string_view name, std::string_view& value) const noexcept;
  // The text of a kText or kCData.
  std::string_view getText() const noexcept;

 private:
  class Impl;
  // The library's own readers take the events as they are read (orvidom/PullHandler.h).
  friend struct orvidom::PullAccess;
  explicit ORVIDOM_PullReader(std::unique_ptr<Impl> impl) noexcept;
  std::unique_ptr<Impl> m_impl;
};
