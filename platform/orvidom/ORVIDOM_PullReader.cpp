#include "orvidom/ORVIDOM_PullReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <forward_list>
#include <istream>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "orvidom/FileSource.h"
#include "orvidom/ParsePosition.h"
#include "orvidom/ParseWindow.h"
#include "orvidom/PullHandler.h"
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

// The line and column of each byte of the input, counted once as the window leaves it: lines end
// at a line feed, a carriage return or both, columns count characters, and a byte order mark is
// no character of the first line.
class LineCounter {
 public:
  // Counts on to the byte at `to` in `window`, at or after the last counted: a block of bytes at
  // a time where it holds no line end, as every byte of a document is counted here.
  void countTo(const ParseWindow& window, std::size_t to) {
    m_offset = afterByteOrderMark(window, m_offset);
    const char* p = window.at(m_offset);
    // Before the first byte after a byte order mark, `to` may lie behind `p`, by less than a word.
    const char* const end = window.at(to);
#if defined(__SSE2__)
    for (std::ptrdiff_t blocks = (end - p) / 64; blocks != 0; --blocks, p += 64) {
      if (plainBlock(p)) {
        m_column += 64;
        m_afterReturn = false;
        continue;
      }
      for (int i = 0; i < 64; i += 16) countSixteen(p + i);
    }
    for (std::ptrdiff_t blocks = (end - p) / 16; blocks != 0; --blocks, p += 16) {
      countSixteen(p);
    }
#endif
    for (std::ptrdiff_t words = (end - p) / 8; words != 0; --words, p += 8) {
      const std::uint64_t word = loadWord(p);
      if (hasLineEnd(word)) {
        countEach(p, p + 8, m_line, m_column, m_afterReturn);
        continue;
      }
      // Continuation bytes (10xxxxxx) start no character; the product sums their flags, one per
      // byte, into the top byte.
      const std::uint64_t continuations = (word & ~(word << 1) & kHighBits) >> 7;
      m_column += 8 - static_cast<int>((continuations * kLowBits) >> 56);
      m_afterReturn = false;
    }
    countEach(p, end, m_line, m_column, m_afterReturn);
    m_offset = std::max(m_offset, to);
  }
  // The line and column of the byte at `to` in `window`, at or after the last counted.
  void placeOf(const ParseWindow& window, std::size_t to, int& line, int& column) const {
    line = m_line;
    column = m_column;
    bool afterReturn = m_afterReturn;
    countEach(window.at(afterByteOrderMark(window, m_offset)), window.at(to), line, column,
              afterReturn);
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

#if defined(__SSE2__)
  // True when the 64 bytes at `p` hold neither a line end nor a byte from 0x80, as most blocks
  // do: none of them is below 14 as a signed byte.
  static bool plainBlock(const char* p) {
    const __m128i limit = _mm_set1_epi8(14);
    const auto* block = reinterpret_cast<const __m128i*>(p);
    const __m128i low =
        _mm_or_si128(_mm_or_si128(_mm_cmplt_epi8(_mm_loadu_si128(block), limit),
                                  _mm_cmplt_epi8(_mm_loadu_si128(block + 1), limit)),
                     _mm_or_si128(_mm_cmplt_epi8(_mm_loadu_si128(block + 2), limit),
                                  _mm_cmplt_epi8(_mm_loadu_si128(block + 3), limit)));
    return _mm_movemask_epi8(low) == 0;
  }
  // Counts the 16 bytes at `p`, at once where they hold no line end.
  void countSixteen(const char* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')),
                                      _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
    if (_mm_movemask_epi8(ends) != 0) {
      countEach(p, p + 16, m_line, m_column, m_afterReturn);
      return;
    }
    // Continuation bytes (0x80 to 0xBF) start no character; as signed bytes they are the ones
    // below -64.
    const int continuations = _mm_movemask_epi8(_mm_cmplt_epi8(bytes, _mm_set1_epi8(-64)));
    m_column += 16 - (continuations != 0 ? __builtin_popcount(continuations) : 0);
    m_afterReturn = false;
  }
#endif
  // `offset`, or the first byte after the byte order mark that `offset` is the start of.
  static std::size_t afterByteOrderMark(const ParseWindow& window, std::size_t offset) {
    return offset == 0 && std::memcmp(window.at(0), "\xEF\xBB\xBF", 3) == 0 ? 3 : offset;
  }
  // Counts the bytes from `p` up to `end` one at a time.
  static void countEach(const char* p, const char* end, int& line, int& column, bool& afterReturn) {
    for (; p < end; ++p) count(*p, line, column, afterReturn);
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

// Where a string of the reader lies where its data points (in the window, or a name kept for its
// place) rather than in a copy of the part's own.
constexpr std::size_t kAtData = ~std::size_t{0};

// An open element's name that is a copy of its own, not a name kept for its depth.
constexpr std::uint32_t kCopied = ~std::uint32_t{0};

}  // namespace
}  // namespace orvidom

using orvidom::kAtData;
using orvidom::kCopied;
using orvidom::kKnownPlaces;
using orvidom::LineCounter;
using orvidom::ParseWindow;

// The reader's state: its source, window and tokenizer, and what the tokenizer told it of the
// part it read last, as events not yet handed out, or handed to a PullHandler as they are read.
// Names and values are shown where they lie in the window, which stays put until the next part is
// read: only a string that references or line ends change, and one an event keeps while the
// window moves, is copied. The names the tokenizer remembers at each depth and place in a tag are
// copied once, as the place learns them, and are the strings below kKnownPlaces.
class ORVIDOM_PullReader::Impl final : public orvidom::ParseErrors {
 public:
  using Ref = std::uint32_t;
  static constexpr bool kKeepsKnownNames = true;

  // A reader of `source` through a window of `window` bytes, which starts with the `lent` bytes
  // before those of the source where given.
  explicit Impl(std::unique_ptr<orvidom::WindowSource> source,
                std::size_t window = ParseWindow::kWindow, std::string_view lent = {})
      : m_source(std::move(source)),
        m_window(*m_source, window, nullptr, 0, lent),
        m_tokenizer(m_window, *this) {
    m_pieces.resize(2 * kKnownPlaces);
    m_attributes.resize(kFirstAttributes);
    auto piece = m_pieces.begin();
    for (char* name : m_knownNames) {
      piece->data = piece->cString = name;
      ++piece;
    }
  }

  // A reader of `text`, read where it lies up to its last "<" that a window's padding follows;
  // what is not read there goes through a window no larger than itself.
  static std::unique_ptr<Impl> reading(std::string_view text) {
    auto source = std::make_unique<orvidom::StringSource>(text);
    const std::string_view lent = source->lend();
    const std::size_t window = std::min(source->size(), ParseWindow::kWindow);
    return std::make_unique<Impl>(std::move(source), window, lent);
  }

  orvidom::PushSource& pushSource() { return static_cast<orvidom::PushSource&>(*m_source); }
  bool pushed() const { return m_pushed; }
  void setPushed() { m_pushed = true; }

  // The next event of the part read last, or nothing when all were handed out.
  bool nextShown() {
    if (m_next >= m_events.size()) return false;
    m_shown = &m_events[m_next++];
    return true;
  }
  // Reads on to the first event of the next part, out of line from the events of the last.
  [[gnu::noinline]] Event readPart() {
    forgetPart();
    for (;;) {
      switch (m_tokenizer.step()) {
        case Tokenizer::Step::kPart:
          if (m_events.empty()) continue;
          break;
        case Tokenizer::Step::kEnd:
          m_events.emplace_back(kEndDocument, 0, 0, 0, 0);
          break;
        case Tokenizer::Step::kStarved:
          // The events of a part read before the one that needs more are handed out first.
          if (m_events.empty()) return kNeedInput;
          break;
      }
      m_shown = &m_events[0];
      m_next = 1;
      return m_shown->event;
    }
  }

  // Hands the events of the parts read from now on to `handler`, each part forgotten once read:
  // memory stays that of one part.
  orvidom::Passed pass(orvidom::PullHandler& handler) {
    if (m_next != m_events.size()) return orvidom::Passed::kQueued;
    // A handler that fails, or a part that does, leaves the events to next().
    struct Handing {
      explicit Handing(Impl& impl, orvidom::PullHandler& handler) : impl(impl) {
        impl.m_handler = &handler;
      }
      ~Handing() {
        impl.m_handler = nullptr;
        impl.m_shown = nullptr;
        impl.m_gathered = 0;
      }
      Handing(const Handing&) = delete;
      Handing& operator=(const Handing&) = delete;
      Impl& impl;
    } handing(*this, handler);
    forgetPart();
    m_tokenizer.steps([this] {
      if (!m_handler) return false;
      forgetHandedPart();
      return true;
    });
    // No value is left gathered: the root's end tag, or the window moving on for more input,
    // handed them.
    return m_handler ? orvidom::Passed::kEnded : orvidom::Passed::kStopped;
  }

  // What a reader shows of the event handed out last. Built where it is kept, as are the other
  // records here: copying one assembled on the stack costs a stalled load each.
  struct Shown {
    Shown(Event event, Ref name, std::size_t depth, std::size_t firstAttribute,
          std::size_t attributes)
        : event(event),
          name(name),
          depth(depth),
          firstAttribute(firstAttribute),
          attributes(attributes) {}
    Event event;
    // The name of an element, or the text of a kText or kCData.
    Ref name;
    std::size_t depth;
    std::size_t firstAttribute;
    std::size_t attributes;
  };
  // The event handed out last; null before the first and after kNeedInput.
  const Shown* shown() const { return m_shown; }
  // A string of the event shown: where the tokenizer told it, or its copy.
  std::string_view view(Ref ref) const {
    const Piece& piece = m_pieces[ref];
    return {piece.data, piece.size};
  }
  // The name and value of the attribute `i` of the event shown, which has more than `i`.
  std::pair<Ref, Ref> attribute(std::size_t i) const {
    return m_attributes[m_shown->firstAttribute + i];
  }
  // The attribute `name` of the event shown, or null.
  [[gnu::always_inline]] const std::pair<Ref, Ref>* findAttribute(std::string_view name) const {
    if (!m_shown) return nullptr;
    const auto* first = m_attributes.data() + m_shown->firstAttribute;
    for (const auto* a = first; a != first + m_shown->attributes; ++a) {
      if (orvidom::sameName(view(a->first), name)) return a;
    }
    return nullptr;
  }
  // The string `ref` ended by a zero, valid until the next part is read.
  const char* cString(Ref ref) {
    Piece& piece = m_pieces[ref];
    if (piece.copy != kAtData) return m_owned.data() + piece.copy;
    if (!piece.cString) piece.cString = m_cStrings.emplace_front(piece.data, piece.size).c_str();
    return piece.cString;
  }

  // --- What the tokenizer tells: strings.

  Ref name(const char* start, const char* stop) { return plainString(start, stop); }
  // The name at `start` that the place `place` learns.
  Ref keepName(std::size_t place, const char* start, const char* stop) {
    const auto size = static_cast<std::size_t>(stop - start);
    std::memcpy(m_knownNames[place], start, size);
    m_knownNames[place][size] = '\0';
    m_pieces[place].size = size;
    return static_cast<Ref>(place);
  }
  [[gnu::always_inline]] Ref plainString(const char* start, const char* stop) {
    return addPiece(start, static_cast<std::size_t>(stop - start), kAtData);
  }
  void beginString() {
    m_target = &m_owned;
    m_start = m_owned.size();
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
    m_owned.push_back('\0');
    // The copies of the part moved with the bytes when they outgrew their room.
    if (m_owned.data() != m_ownedData) {
      m_ownedData = m_owned.data();
      const auto used = m_pieces.begin() + static_cast<std::ptrdiff_t>(m_piecesUsed);
      for (auto piece = m_pieces.begin() + kKnownPlaces; piece != used; ++piece) {
        if (piece->copy != kAtData) piece->data = m_ownedData + piece->copy;
      }
    }
    return addPiece(m_ownedData + m_start, m_owned.size() - 1 - m_start, m_start);
  }
  // Where it lies: a copy ended by a zero would cost an allocation for each name compared.
  std::string_view string(Ref ref) const { return view(ref); }

  // --- The document.

  void text(Ref ref) { deliver(kText, ref, 0, 0, 0); }
  // A text a comment or processing instruction may split is written to m_text, which stays as it
  // is until the next part is read.
  void beginText() {
    m_target = &m_text;
    m_text.clear();
    m_textSize = 0;
  }
  void pauseText() { m_textSize = m_text.size(); }
  void closeText() { text(plainString(m_text.data(), m_text.data() + m_text.size())); }
  void cdata(Ref ref) { deliver(kCData, ref, 0, 0, 0); }
  void attribute(Ref name, Ref value) {
    if (m_attributesUsed == m_attributes.size()) doubleRoom(m_attributes);
    m_attributes[m_attributesUsed++] = {name, value};
  }
  Ref attributeName(std::size_t i) const { return m_attributes[m_tagFirst + i].first; }
  // In the tokenizer's code: a call costs about what an empty element's events do.
  [[gnu::always_inline]] void startElement(Ref name, std::size_t tagOffset, bool empty) {
    const std::size_t depth = m_tokenizer.depth() + 1;
    const std::size_t first = m_tagFirst;
    m_tagFirst = m_attributesUsed;
    deliver(kStartElement, name, depth, first, m_tagFirst - first);
    if (empty) {
      deliver(kEndElement, name, depth, 0, 0);
      return;
    }
    // A name kept for its depth stays there while the element is open.
    m_open.emplace_back(name < kKnownPlaces ? name : kCopied, m_names.size(), tagOffset);
    if (name >= kKnownPlaces) {
      const std::string_view written = view(name);
      m_names.append(written.data(), written.size());
    }
  }
  void endElement() {
    const Open& open = m_open.back();
    deliver(kEndElement, open.known != kCopied ? open.known : copiedName(open), m_open.size(), 0,
            0);
    // Its name is shown until the next part is read, when the element is closed.
    m_closing = true;
  }
  const char* openName() const {
    const Open& open = m_open.back();
    return open.known != kCopied ? m_knownNames[open.known] : m_names.c_str() + open.name;
  }
  std::string openedAt() const {
    const Open& open = m_open.back();
    int line = open.line;
    int column = open.column;
    if (line == 0) m_lines.placeOf(m_window, open.offset, line, column);
    return std::to_string(line) + ":" + std::to_string(column);
  }

  // --- Reading again.

  // Forgets what the tokenizer told of the part it reads again.
  void restart() {
    m_piecesUsed = m_mark.pieces;
    m_owned.resize(m_mark.owned);
    m_attributesUsed = m_mark.attributes;
    m_tagFirst = m_mark.attributes;
    m_text.resize(m_textSize);
  }
  // Before the window moves on: the lines are counted up to `to`, placing the start tags of the
  // open elements on the way. No event waiting to be handed out holds a string of the window: a
  // part's events are handed out before the next part is read, and the only event a part gives
  // before it may need more is the text that its tag closes, which lies in m_text.
  void leaving(const char*, const char* to) {
    // The values gathered lie in the window.
    if (m_handler) handGathered();
    for (; m_placed < m_open.size(); ++m_placed) {
      Open& open = m_open[m_placed];
      m_lines.countTo(m_window, open.offset);
      m_lines.placeOf(m_window, open.offset, open.line, open.column);
    }
    m_lines.countTo(m_window, m_window.offset(to));
  }

  [[noreturn]] void fail(std::size_t offset, const std::string& message) const override {
    int line;
    int column;
    m_lines.placeOf(m_window, std::min(offset, m_window.offset(m_window.end())), line, column);
    throw ORVIDOM_ParseError(message, line, column, offset);
  }

 private:
  using Tokenizer = orvidom::XmlTokenizer<Impl>;

  // A string: `size` bytes at `data`, which for a copy lie at `copy` in m_owned; `cString` is its
  // copy ended by a zero once one was asked for.
  struct Piece {
    Piece() = default;
    Piece(const char* data, std::size_t size, std::size_t copy)
        : data(data), size(size), copy(copy) {}
    const char* data = nullptr;
    std::size_t size = 0;
    std::size_t copy = kAtData;
    const char* cString = nullptr;
  };

  // How much the events delivered take, which a part read again keeps.
  struct Mark {
    std::size_t pieces;
    std::size_t owned;
    std::size_t attributes;
  };
  // An open element: its name, kept for its depth or else (kCopied) copied at `name` in m_names,
  // and where its start tag lies; line 0 until the window leaves the tag.
  struct Open {
    Open(Ref known, std::size_t name, std::size_t offset)
        : known(known), name(name), offset(offset) {}
    Ref known;
    std::size_t name;
    std::size_t offset;
    int line = 0;
    int column = 0;
  };

  // In the tokenizer's loop, as is hand(): with the lookup of the attribute a handler wants, the
  // compiler would call them, and a call for each event costs more than their code.
  [[gnu::always_inline]] void deliver(Event event, Ref name, std::size_t depth,
                                      std::size_t firstAttribute, std::size_t attributes) {
    // The strings of an event handed out are not kept: a part read again may forget them.
    if (m_handler) {
      if (event == kEndElement && depth == m_handler->unheededEnds) return;
      return hand(event, name, depth, firstAttribute, attributes);
    }
    m_events.emplace_back(event, name, depth, firstAttribute, attributes);
    m_mark = {m_piecesUsed, m_owned.size(), m_attributesUsed};
  }
  // Hands an event to the handler, shown by the getters while it takes it; the events after the
  // one it stops at are queued.
  [[gnu::always_inline]] void hand(Event event, Ref name, std::size_t depth,
                                   std::size_t firstAttribute, std::size_t attributes) {
    const Shown shown(event, name, depth, firstAttribute, attributes);
    m_shown = &shown;
    if (event == kStartElement && !m_handler->wanted.empty()) {
      const auto* found = findAttribute(m_handler->wanted);
      // A value of the window is gathered; a copy, which the next part overwrites, is not.
      if (depth == m_handler->unheededEnds && (!found || m_pieces[found->second].copy == kAtData) &&
          orvidom::sameName(view(name), m_handler->wantedElement)) {
        if (m_gathered == kGathered) handGathered();
        m_gatheredValues[m_gathered++] = found ? view(found->second) : std::string_view();
        m_shown = nullptr;
        return;
      }
      m_handler->wantedValue = found ? view(found->second) : std::string_view();
    }
    handGathered();
    const bool goOn = m_handler->handle(event, view(name), depth);
    m_shown = nullptr;
    if (!goOn) m_handler = nullptr;
  }
  // Hands the values gathered to the handler.
  void handGathered() {
    if (m_gathered == 0) return;
    m_handler->values(m_gatheredValues, m_gathered);
    m_gathered = 0;
  }
  // The copied name of the open element `open`.
  Ref copiedName(const Open& open) {
    const char* written = m_names.data() + open.name;
    return plainString(written, written + std::strlen(written));
  }
  // A new string of the part.
  [[gnu::always_inline]] Ref addPiece(const char* data, std::size_t size, std::size_t copy) {
    if (m_piecesUsed == m_pieces.size()) doubleRoom(m_pieces);
    m_pieces[m_piecesUsed] = Piece(data, size, copy);
    return static_cast<Ref>(m_piecesUsed++);
  }
  // Twice the room in `list`, which is full: out of the tokenizer's loop, which fills lists of a
  // few dozen entries at most in most documents.
  template <class T>
  [[gnu::noinline]] static void doubleRoom(std::vector<T>& list) {
    list.resize(2 * list.size());
  }
  // Forgets the part handed out, closing the element it ended.
  void forgetPart() {
    forgetHandedPart();
    m_events.clear();
    m_next = 0;
    m_shown = nullptr;
    m_mark = {kKnownPlaces, 0, 0};
  }
  // As forgetPart(), for a part whose events all went to a handler: none was queued, and the
  // mark of what they take has stayed where the last forgetPart() put it. In pass()'s loop, which
  // runs it for every part.
  [[gnu::always_inline]] void forgetHandedPart() {
    if (m_closing) {
      m_names.resize(m_open.back().name);
      m_open.pop_back();
      m_placed = std::min(m_placed, m_open.size());
      m_closing = false;
    }
    m_piecesUsed = kKnownPlaces;
    m_owned.clear();
    m_cStrings.clear();
    m_attributesUsed = 0;
    m_tagFirst = 0;
  }

  std::unique_ptr<orvidom::WindowSource> m_source;
  ParseWindow m_window;
  LineCounter m_lines;
  Tokenizer m_tokenizer;
  bool m_pushed = false;
  // The events of the part read last, the next one to hand out, and the one handed out last.
  std::vector<Shown> m_events;
  std::size_t m_next = 0;
  const Shown* m_shown = nullptr;
  // Where events go as they are read, instead of m_events, while a pass lasts.
  orvidom::PullHandler* m_handler = nullptr;
  // The values gathered for the handler and not handed yet.
  static constexpr std::size_t kGathered = 64;
  std::string_view m_gatheredValues[kGathered];
  std::size_t m_gathered = 0;
  // The names kept for the tokenizer's places, each ended by a zero.
  char m_knownNames[kKnownPlaces][orvidom::NameKey::kLongest + 1] = {};
  // The strings of those events, those names first, in the first m_piecesUsed of m_pieces (the
  // rest is room for more); the bytes of those that are copies, and copies ended by a zero (a
  // list, so that each stays where it is, which unlike a deque allocates nothing until one is
  // made: most documents ask for none); their attributes, in the first m_attributesUsed of
  // m_attributes, and where the tag's start.
  std::vector<Piece> m_pieces;
  std::size_t m_piecesUsed = kKnownPlaces;
  std::string m_owned;
  const char* m_ownedData = m_owned.data();
  std::forward_list<std::string> m_cStrings;
  // The room for attributes a reader starts with, the tags of most parts.
  static constexpr std::size_t kFirstAttributes = 32;
  std::vector<std::pair<Ref, Ref>> m_attributes;
  std::size_t m_attributesUsed = 0;
  std::size_t m_tagFirst = 0;
  Mark m_mark{kKnownPlaces, 0, 0};
  // Where the string being written goes (m_owned, or m_text for a text), and where it starts.
  std::string* m_target = &m_owned;
  std::size_t m_start = 0;
  // A text a comment may split, and its length at the end of its last part.
  std::string m_text;
  std::size_t m_textSize = 0;
  // The copied names of the open elements one after the other (only the innermost one's is read,
  // and the string's own zero ends it, as closing an element cuts its name off); the elements,
  // how many of them are placed, and whether the innermost is closed once the part is forgotten.
  std::string m_names;
  std::vector<Open> m_open;
  std::size_t m_placed = 0;
  bool m_closing = false;
};

orvidom::Passed orvidom::PullAccess::pass(ORVIDOM_PullReader& reader, PullHandler& handler) {
  return reader.m_impl->pass(handler);
}

bool orvidom::PullAccess::findAttribute(const ORVIDOM_PullReader& reader, std::string_view name,
                                        std::string_view& value) {
  const auto* found = reader.m_impl->findAttribute(name);
  if (found) value = reader.m_impl->view(found->second);
  return found != nullptr;
}

ORVIDOM_PullReader::ORVIDOM_PullReader(std::unique_ptr<Impl> impl) noexcept
    : m_impl(std::move(impl)) {}

ORVIDOM_PullReader::ORVIDOM_PullReader(std::string_view text)
    : ORVIDOM_PullReader(Impl::reading(text)) {}

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
  return ORVIDOM_PullReader(std::make_unique<Impl>(std::make_unique<orvidom::FileSource>(path)));
}

void ORVIDOM_PullReader::push(std::string_view bytes) {
  if (m_impl->pushed()) m_impl->pushSource().push(bytes);
}

void ORVIDOM_PullReader::finish() {
  if (m_impl->pushed()) m_impl->pushSource().finish();
}

ORVIDOM_PullReader::Event ORVIDOM_PullReader::next() {
  return m_impl->nextShown() ? m_impl->shown()->event : m_impl->readPart();
}

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
  return i < getAttributeCount() ? m_impl->view(m_impl->attribute(i).first) : std::string_view();
}

std::string_view ORVIDOM_PullReader::getAttributeValue(std::size_t i) const noexcept {
  return i < getAttributeCount() ? m_impl->view(m_impl->attribute(i).second) : std::string_view();
}

const char* ORVIDOM_PullReader::findAttribute(std::string_view name) const noexcept {
  const auto* found = m_impl->findAttribute(name);
  return found ? m_impl->cString(found->second) : nullptr;
}

bool ORVIDOM_PullReader::findAttribute(std::string_view name,
                                       std::string_view& value) const noexcept {
  return orvidom::PullAccess::findAttribute(*this, name, value);
}

std::string_view ORVIDOM_PullReader::getText() const noexcept {
  const Impl::Shown* shown = m_impl->shown();
  return shown && (shown->event == kText || shown->event == kCData) ? m_impl->view(shown->name)
                                                                    : std::string_view();
}
