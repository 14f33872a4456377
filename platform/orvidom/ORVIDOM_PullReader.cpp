#include "orvidom/ORVIDOM_PullReader.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <istream>
#include <string>
#include <vector>

#include "orvidom/ParsePosition.h"
#include "orvidom/ParseWindow.h"
#include "orvidom/XmlChars.h"
#include "orvidom/XmlTokenizer.h"

namespace orvidom {
namespace {

// A stream read as it comes.
class StreamSource final : public WindowSource {
 public:
  explicit StreamSource(std::istream& in) : m_in(in) {}
  std::size_t read(char* to, std::size_t size) override {
    if (m_finished) return 0;
    const auto n = static_cast<std::size_t>(
        m_in.rdbuf() ? m_in.rdbuf()->sgetn(to, static_cast<std::streamsize>(size)) : 0);
    // A stream buffer gives fewer bytes than asked only at the end of its input.
    if (n < size) m_finished = true;
    return n;
  }
  bool finished() const override { return m_finished; }

 private:
  std::istream& m_in;
  bool m_finished = false;
};

// A file read as it comes; a file that fails to read is reported as one that cannot be read.
class FileSource final : public WindowSource {
 public:
  FileSource(std::FILE* file, std::string path) : m_file(file), m_path(std::move(path)) {}
  ~FileSource() override { std::fclose(m_file); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  std::size_t read(char* to, std::size_t size) override {
    if (m_finished) return 0;
    const std::size_t n = std::fread(to, 1, size, m_file);
    if (n < size) {
      // A directory opens on some systems and fails at the first read.
      if (std::ferror(m_file)) {
        throw ORVIDOM_ParseError("cannot read the file " + m_path + ": " + std::strerror(errno), 0,
                                 0, 0);
      }
      m_finished = true;
    }
    return n;
  }
  bool finished() const override { return m_finished; }

 private:
  std::FILE* m_file;
  std::string m_path;
  bool m_finished = false;
};

// The bytes the caller pushes, kept until the window takes them.
class PushSource final : public WindowSource {
 public:
  void push(std::string_view bytes) {
    // What the window has taken is dropped first, so that what is kept is what it has not.
    m_bytes.erase(0, m_taken);
    m_taken = 0;
    m_bytes.append(bytes.data(), bytes.size());
  }
  void finish() { m_ended = true; }
  std::size_t read(char* to, std::size_t size) override {
    const std::size_t n = std::min(size, m_bytes.size() - m_taken);
    std::memcpy(to, m_bytes.data() + m_taken, n);
    m_taken += n;
    return n;
  }
  bool finished() const override { return m_ended && m_taken == m_bytes.size(); }

 private:
  std::string m_bytes;
  std::size_t m_taken = 0;
  bool m_ended = false;
};

// The line and column of each byte of the input, counted once as the reader goes over it: lines
// end at a line feed, a carriage return or both, columns count characters, and a byte order
// mark is no character of the first line.
class LineCounter {
 public:
  // Counts on to the byte at `to` in `window`, at or after the last counted: eight bytes at a
  // time where they hold no line end, as most of a document's bytes are counted here.
  void countTo(const ParseWindow& window, std::size_t to) {
    skipByteOrderMark(window);
    const char* p = window.at(m_offset);
    for (; m_offset + 8 <= to; p += 8, m_offset += 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      if (hasLineEnd(word)) {
        for (int i = 0; i < 8; ++i) count(p[i], m_line, m_column, m_afterReturn);
        continue;
      }
      // Continuation bytes (10xxxxxx) start no character; the product sums their flags, one per
      // byte, into the top byte.
      const std::uint64_t continuations = (word & ~(word << 1) & kHighBits) >> 7;
      m_column += 8 - static_cast<int>((continuations * kLowBits) >> 56);
      m_afterReturn = false;
    }
    for (; m_offset < to; ++p, ++m_offset) count(*p, m_line, m_column, m_afterReturn);
  }
  // The line and column of the byte at `to` in `window`, at or after the last counted.
  void placeOf(const ParseWindow& window, std::size_t to, int& line, int& column) const {
    line = m_line;
    column = m_column;
    bool afterReturn = m_afterReturn;
    std::size_t offset = m_offset;
    if (offset == 0 && std::memcmp(window.at(0), "\xEF\xBB\xBF", 3) == 0) offset = 3;
    for (const char* p = window.at(offset); offset < to; ++p, ++offset) {
      count(*p, line, column, afterReturn);
    }
  }

 private:
  static constexpr std::uint64_t kLowBits = 0x0101010101010101ull;
  static constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

  // Whether a byte of `word` is a line feed or a carriage return.
  static bool hasLineEnd(std::uint64_t word) {
    const std::uint64_t feeds = word ^ (kLowBits * '\n');
    const std::uint64_t returns = word ^ (kLowBits * '\r');
    return (((feeds - kLowBits) & ~feeds) | ((returns - kLowBits) & ~returns)) & kHighBits;
  }

  void skipByteOrderMark(const ParseWindow& window) {
    if (m_offset == 0 && std::memcmp(window.at(0), "\xEF\xBB\xBF", 3) == 0) m_offset = 3;
  }
  static void count(char c, int& line, int& column, bool& afterReturn) {
    if (c == '\n' && afterReturn) {
      afterReturn = false;
      return;
    }
    afterReturn = c == '\r';
    if (c == '\n' || c == '\r') {
      ++line;
      column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++column;
    }
  }

  std::size_t m_offset = 0;
  int m_line = 1;
  int m_column = 1;
  bool m_afterReturn = false;
};

}  // namespace
}  // namespace orvidom

using orvidom::LineCounter;
using orvidom::ParseWindow;

// The reader's state: its source, window and tokenizer, and what the tokenizer told it of the
// part it read last, as events not yet handed out.
class ORVIDOM_PullReader::Impl final : public orvidom::ParseErrors {
 public:
  using Ref = std::uint32_t;

  explicit Impl(std::unique_ptr<orvidom::WindowSource> source)
      : m_source(std::move(source)), m_window(*m_source), m_tokenizer(m_window, *this) {}

  orvidom::PushSource& pushSource() { return static_cast<orvidom::PushSource&>(*m_source); }
  bool pushed() const { return m_pushed; }
  void setPushed() { m_pushed = true; }

  Event next() {
    if (++m_delivered < m_events.size()) return m_events[m_delivered].event;
    m_events.clear();
    m_delivered = 0;
    m_strings.clear();
    m_attributes.clear();
    m_tagFirst = 0;
    m_mark = {0, 0};
    for (;;) {
      switch (m_tokenizer.step()) {
        case Tokenizer::Step::kPart:
          if (m_events.empty()) continue;
          break;
        case Tokenizer::Step::kEnd:
          m_events.push_back({kEndDocument, 0, 0, 0, 0});
          break;
        case Tokenizer::Step::kStarved:
          // The events of a part read before the one that needs more are handed out first.
          if (m_events.empty()) return kNeedInput;
          break;
      }
      return m_events[0].event;
    }
  }

  // What a reader shows of the event handed out last.
  struct Shown {
    Event event;
    // The name of an element, or the text of a kText or kCData.
    Ref name;
    std::size_t depth;
    std::size_t firstAttribute;
    std::size_t attributes;
  };
  const Shown* shown() const {
    return m_delivered < m_events.size() ? &m_events[m_delivered] : nullptr;
  }
  std::string_view view(Ref ref) const {
    return std::string_view(m_strings.data() + ref, std::strlen(m_strings.data() + ref));
  }
  std::pair<Ref, Ref> attribute(std::size_t i) const { return m_attributes[i]; }
  // The text of a kText or kCData.
  std::string_view text(const Shown& shown) const {
    return shown.name == kInTextBuffer ? std::string_view(m_text) : view(shown.name);
  }

  // --- What the tokenizer tells: strings.

  Ref name(const char* start, const char* stop) { return plainString(start, stop); }
  Ref plainString(const char* start, const char* stop) {
    beginString();
    m_target->append(start, static_cast<std::size_t>(stop - start));
    return endString();
  }
  void beginString() {
    m_target = &m_strings;
    m_start = static_cast<Ref>(m_strings.size());
  }
  void copyRun(const char* run, const char* stop) {
    m_target->append(run, static_cast<std::size_t>(stop - run));
  }
  void put(char c) { m_target->push_back(c); }
  void putChar(std::uint32_t c) {
    char bytes[4];
    m_target->append(bytes, orvidom::encodeUtf8(c, bytes));
  }
  Ref endString() {
    m_strings.push_back('\0');
    return m_start;
  }
  const char* string(Ref ref) const { return m_strings.data() + ref; }

  // --- The document.

  // A text or CDATA section is shown from m_strings, but for a text a comment split, which is
  // shown from m_text.
  void text(Ref ref) { deliver({kText, ref, 0, 0, 0}); }
  void beginText() {
    m_target = &m_text;
    m_text.clear();
    m_textSize = 0;
  }
  void pauseText() { m_textSize = m_text.size(); }
  void closeText() { deliver({kText, kInTextBuffer, 0, 0, 0}); }
  void cdata(Ref ref) { deliver({kCData, ref, 0, 0, 0}); }
  void attribute(Ref name, Ref value) { m_attributes.emplace_back(name, value); }
  Ref attributeName(std::size_t i) const { return m_attributes[m_tagFirst + i].first; }
  void startElement(Ref name, std::size_t tagOffset, bool empty) {
    const std::size_t depth = m_tokenizer.depth() + 1;
    deliver({kStartElement, name, depth, m_tagFirst, m_attributes.size() - m_tagFirst});
    m_tagFirst = m_attributes.size();
    if (empty) {
      deliver({kEndElement, name, depth, 0, 0});
      return;
    }
    int line;
    int column;
    m_lines.countTo(m_window, tagOffset);
    m_lines.placeOf(m_window, tagOffset, line, column);
    m_open.push_back({m_names.size(), line, column});
    m_names.append(string(name));
    m_names.push_back('\0');
  }
  void endElement() {
    const Open open = m_open.back();
    const Ref name = static_cast<Ref>(m_strings.size());
    m_strings.append(m_names.c_str() + open.name);
    m_strings.push_back('\0');
    deliver({kEndElement, name, m_open.size(), 0, 0});
    m_names.resize(open.name);
    m_open.pop_back();
  }
  const char* openName() const { return m_names.c_str() + m_open.back().name; }
  std::string openedAt() const {
    return std::to_string(m_open.back().line) + ":" + std::to_string(m_open.back().column);
  }

  // --- Reading again.

  // Forgets what the tokenizer told of the part it reads again.
  void restart() {
    m_strings.resize(m_mark.strings);
    m_attributes.resize(m_mark.attributes);
    m_tagFirst = m_mark.attributes;
    m_text.resize(m_textSize);
  }
  void leaving(const char*, const char* to) { m_lines.countTo(m_window, m_window.offset(to)); }

  [[noreturn]] void fail(std::size_t offset, const std::string& message) const override {
    int line;
    int column;
    m_lines.placeOf(m_window, std::min(offset, m_window.offset(m_window.end())), line, column);
    throw ORVIDOM_ParseError(message, line, column, offset);
  }

 private:
  using Tokenizer = orvidom::XmlTokenizer<Impl>;

  static constexpr Ref kInTextBuffer = ~Ref{0};

  struct Mark {
    std::size_t strings;
    std::size_t attributes;
  };
  // An open element: where its name starts in m_names, and where its start tag lies.
  struct Open {
    std::size_t name;
    int line;
    int column;
  };

  void deliver(const Shown& event) {
    m_events.push_back(event);
    m_mark = {m_strings.size(), m_attributes.size()};
  }

  std::unique_ptr<orvidom::WindowSource> m_source;
  ParseWindow m_window;
  LineCounter m_lines;
  Tokenizer m_tokenizer;
  bool m_pushed = false;
  // The events of the part read last, and the one handed out last.
  std::vector<Shown> m_events;
  std::size_t m_delivered = 0;
  // The strings of those events, each ended by a zero; their attributes; and how much of both
  // the events delivered take, which a part read again keeps.
  std::string m_strings;
  std::vector<std::pair<Ref, Ref>> m_attributes;
  std::size_t m_tagFirst = 0;
  Mark m_mark{0, 0};
  // Where the string being written goes (m_strings, or m_text for a text), and where it starts.
  std::string* m_target = &m_strings;
  Ref m_start = 0;
  // A text a comment may split, and its length at the end of its last part.
  std::string m_text;
  std::size_t m_textSize = 0;
  // The names of the open elements, each ended by a zero, and where each starts.
  std::string m_names;
  std::vector<Open> m_open;
};

ORVIDOM_PullReader::ORVIDOM_PullReader(std::unique_ptr<Impl> impl) noexcept
    : m_impl(std::move(impl)) {}

ORVIDOM_PullReader::ORVIDOM_PullReader(std::string_view text)
    : ORVIDOM_PullReader(std::make_unique<Impl>(std::make_unique<orvidom::StringSource>(text))) {}

ORVIDOM_PullReader::ORVIDOM_PullReader(std::istream& in)
    : ORVIDOM_PullReader(std::make_unique<Impl>(std::make_unique<orvidom::StreamSource>(in))) {}

ORVIDOM_PullReader::ORVIDOM_PullReader()
    : ORVIDOM_PullReader(std::make_unique<Impl>(std::make_unique<orvidom::PushSource>())) {
  m_impl->setPushed();
}

ORVIDOM_PullReader::~ORVIDOM_PullReader() = default;
ORVIDOM_PullReader::ORVIDOM_PullReader(ORVIDOM_PullReader&&) noexcept = default;
ORVIDOM_PullReader& ORVIDOM_PullReader::operator=(ORVIDOM_PullReader&&) noexcept = default;

ORVIDOM_PullReader ORVIDOM_PullReader::openFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    throw ORVIDOM_ParseError("cannot read the file " + path + ": " + std::strerror(errno), 0, 0, 0);
  }
  return ORVIDOM_PullReader(
      std::make_unique<Impl>(std::make_unique<orvidom::FileSource>(file, path)));
}

void ORVIDOM_PullReader::push(std::string_view bytes) {
  if (m_impl->pushed()) m_impl->pushSource().push(bytes);
}

void ORVIDOM_PullReader::finish() {
  if (m_impl->pushed()) m_impl->pushSource().finish();
}

ORVIDOM_PullReader::Event ORVIDOM_PullReader::next() { return m_impl->next(); }

std::string_view ORVIDOM_PullReader::getName() const noexcept {
  const Impl::Shown* shown = m_impl->shown();
  return shown && (shown->event == kStartElement || shown->event == kEndElement)
             ? m_impl->view(shown->name)
             : std::string_view();
}

std::size_t ORVIDOM_PullReader::getDepth() const noexcept {
  const Impl::Shown* shown = m_impl->shown();
  return shown ? shown->depth : 0;
}

std::size_t ORVIDOM_PullReader::getAttributeCount() const noexcept {
  const Impl::Shown* shown = m_impl->shown();
  return shown ? shown->attributes : 0;
}

std::string_view ORVIDOM_PullReader::getAttributeName(std::size_t i) const noexcept {
  if (i >= getAttributeCount()) return {};
  return m_impl->view(m_impl->attribute(m_impl->shown()->firstAttribute + i).first);
}

std::string_view ORVIDOM_PullReader::getAttributeValue(std::size_t i) const noexcept {
  if (i >= getAttributeCount()) return {};
  return m_impl->view(m_impl->attribute(m_impl->shown()->firstAttribute + i).second);
}

const char* ORVIDOM_PullReader::findAttribute(std::string_view name) const noexcept {
  for (std::size_t i = 0; i < getAttributeCount(); ++i) {
    if (getAttributeName(i) == name) return getAttributeValue(i).data();
  }
  return nullptr;
}

std::string_view ORVIDOM_PullReader::getText() const noexcept {
  const Impl::Shown* shown = m_impl->shown();
  return shown && (shown->event == kText || shown->event == kCData) ? m_impl->text(*shown)
                                                                    : std::string_view();
}
