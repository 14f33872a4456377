// The rules of XML 1.0 over a window of the input, for the parsers of the DOM layer. Internal to
// the DOM layer.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "orvidom/NameKey.h"
#include "orvidom/ParsePosition.h"
#include "orvidom/ParseWindow.h"
#include "orvidom/XmlChars.h"
#include "orvidom/XmlDeclaration.h"
#include "orvidom/XmlScan.h"

namespace orvidom {

inline constexpr const char* kInvalidChar = "invalid UTF-8 or a character XML does not allow";

// Space, tab, line feed and carriage return.
struct SpaceTable {
  bool space[256] = {};
  constexpr SpaceTable() { space[' '] = space['\t'] = space['\n'] = space['\r'] = true; }
};
inline constexpr SpaceTable kSpaces;
inline bool isSpace(char c) { return kSpaces.space[static_cast<unsigned char>(c)]; }

// A byte that may go on a name as far as the messages go: an ASCII name character or a byte of
// a multi-byte sequence.
inline bool isNameByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return kAsciiName.rest[u] || u >= 0x80;
}

// The bytes after which a name is whole: neither a name character nor a byte of a multi-byte
// sequence, nor the zero bytes after the window.
struct AfterNameTable {
  bool ends[256] = {};
  constexpr AfterNameTable() {
    for (int c = 1; c < 0x80; ++c) ends[c] = !kAsciiName.rest[c];
  }
};
inline constexpr AfterNameTable kAfterName;

// True for a sink whose Ref of a name stays that name's for the whole input (`static constexpr
// bool kLastingNames = true`): the tokenizer then gives a name it knows again the same Ref without
// asking the sink.
template <class Sink, class = void>
struct LastingNames : std::false_type {};
template <class Sink>
struct LastingNames<Sink, std::void_t<decltype(Sink::kLastingNames)>>
    : std::bool_constant<Sink::kLastingNames> {};

// The places where the tokenizer remembers the name met last: an element's depth up to
// kKnownDepths, then an attribute's place in its tag up to kKnownAttributes.
inline constexpr std::size_t kKnownDepths = 64;
inline constexpr std::size_t kKnownAttributes = 8;
// The depths up to which the tokenizer remembers the start tag met last at each, whose element
// and first attribute have a place of their own after those above.
inline constexpr std::size_t kKnownTagDepths = 16;
inline constexpr std::size_t kKnownPlaces = kKnownDepths + kKnownAttributes + 2 * kKnownTagDepths;

// True for a sink that keeps the names the tokenizer remembers (`static constexpr bool
// kKeepsKnownNames = true`): when a place learns a name of at most NameKey::kLongest bytes, the
// tokenizer asks `Ref keepName(std::size_t place, const char*, const char*)` for a Ref that stays
// that name's while the place holds it, and gives the name known again there that Ref without
// asking. A sink whose strings last only a part at a time then copies each such name once.
template <class Sink, class = void>
struct KeepsKnownNames : std::false_type {};
template <class Sink>
struct KeepsKnownNames<Sink, std::void_t<decltype(Sink::kKeepsKnownNames)>>
    : std::bool_constant<Sink::kKeepsKnownNames> {};

// True for a sink that the tokenizer holds in itself (`static constexpr bool kHeldByTokenizer =
// true`), made from the arguments after std::in_place. The sink's fields then lie beside the
// tokenizer's: reaching them takes no load of the sink's address, which the compiler loads again
// after every byte written, since a byte may be any object's.
template <class Sink, class = void>
struct HeldByTokenizer : std::false_type {};
template <class Sink>
struct HeldByTokenizer<Sink, std::void_t<decltype(Sink::kHeldByTokenizer)>>
    : std::bool_constant<Sink::kHeldByTokenizer> {};

// Reads a document a part at a time (a tag, a run of text, a comment), checking every rule of
// XML 1.0 without a DTD, and tells `Sink` what it reads. Each part is read whole before the sink
// hears of it: a part that runs past the window's end is read again once the window has moved
// on (NeedMore), after the sink has forgotten what it was told of it (restart). The sink keeps
// the strings, what the tree or the reader needs of them, and where each problem lies:
//
//   using Ref                           a string the sink keeps
//   Ref name(const char*, const char*)  a name; plainString the same for a value without
//                                       references or line ends; beginString, copyRun, put,
//                                       putChar and endString for the others
//   string(Ref) a string's text: a const char* ended by a zero, or a std::string_view
//   void text(Ref) a whole text; beginText, pauseText (after a part of it) and closeText for
//                                       one that a comment or processing instruction may split
//   void attribute(Ref name, Ref value), Ref attributeName(std::size_t i) of the tag's so far
//   void startElement(Ref name, std::size_t tagOffset, bool empty)
//   void endElement(), const char* openName() of the innermost open element, and
//   std::string openedAt() for where its start tag lies
//   void cdata(Ref)
//   void restart(), void leaving(const char* from, const char* to) before the window moves
//   ParseErrors: fail(offset, message)
template <class Sink>
class XmlTokenizer {
 public:
  using Ref = typename Sink::Ref;

  XmlTokenizer(ParseWindow& window, Sink& sink)
      : m_window(window), m_sink(sink), m_part(window.begin()) {}
  // A tokenizer of its own sink, made of `args`.
  template <class... Args>
  XmlTokenizer(ParseWindow& window, std::in_place_t, Args&&... args)
      : m_window(window), m_sink(std::forward<Args>(args)...), m_part(window.begin()) {}

  Sink& sink() { return m_sink; }

  // Reads the whole input.
  void run() {
    for (;;) {
      try {
        while (m_phase == Phase::kProlog) m_part = prolog(m_part);
        while (m_phase == Phase::kContent) {
          moveOnNear();
          m_part = content(m_part);
        }
        while (m_phase == Phase::kEpilog) m_part = epilog(m_part);
        return;
      } catch (const NeedMore&) {
        again();
      }
    }
  }

  // What step() did.
  enum class Step { kPart, kEnd, kStarved };
  // Reads the next part: kEnd once the input has ended, kStarved when the window's source has
  // no more bytes for now (the part is read again at the next step).
  Step step() {
    return steps([] { return false; });
  }
  // Reads parts as step() does while `goOn()`, asked after each, is true; kPart after the part
  // that it is false after. A sink that takes the parts as they are read makes one call for many.
  template <class GoOn>
  [[gnu::always_inline]] Step steps(GoOn goOn) {
    for (;;) {
      try {
        for (;;) {
          switch (m_phase) {
            case Phase::kProlog:
              m_part = prolog(m_part);
              break;
            case Phase::kContent:
              moveOnNear();
              m_part = content(m_part);
              break;
            case Phase::kEpilog:
              m_part = epilog(m_part);
              break;
            case Phase::kDone:
              return Step::kEnd;
          }
          if (!goOn()) return Step::kPart;
        }
      } catch (const NeedMore&) {
        again();
        if (m_window.starved()) return Step::kStarved;
      }
    }
  }

  // The number of elements open.
  std::size_t depth() const noexcept { return m_depth; }

 private:
  enum class Phase { kProlog, kContent, kEpilog, kDone };

  // True when `text` starts with `prefix`; the window's zero bytes end every comparison in time.
  template <std::size_t N>
  static bool startsWith(const char* text, const char (&prefix)[N]) {
    return std::memcmp(text, prefix, N - 1) == 0;
  }

  // Moves the window to `from`, telling the sink first.
  char* move(char* from) {
    m_sink.leaving(m_window.begin(), from);
    return m_window.moveTo(from);
  }
  // Moves the window on when the part at m_part starts in its last bytes. The byte after the
  // part's first is then in the window, or the input has ended, as it always is before them.
  [[gnu::always_inline]] void moveOnNear() {
    if (m_part < m_window.moveAt()) return;
    m_part = move(m_part);
    if (m_part + 1 >= end()) m_window.needMoreNear(m_part);
  }
  // Reads the part at m_part again from a window that holds more of it.
  void again() {
    m_sink.restart();
    m_part = move(m_part);
  }

  // --- Messages, out of line so that the paths that may fail carry no string building.

  std::size_t offset(const char* p) const { return m_window.offset(p); }
  char* end() const { return m_window.end(); }

  // Fails at `at`, or moves the window on when what is there may lie past its end.
  [[noreturn, gnu::noinline, gnu::cold]] void fail(const char* at, const std::string& message) {
    m_window.needMoreNear(at);
    m_sink.fail(offset(at), message);
  }
  [[noreturn]] void failInvalidChar(const char* at) { fail(at, kInvalidChar); }
  // Fails at `at` for what reached the window's end at `reached`.
  [[noreturn]] void failAtEnd(const char* reached, const char* at, const std::string& message) {
    m_window.needMoreNear(reached);
    fail(at, message);
  }

  // The name written at `at`, as far as the messages go: whole, from a window that holds it.
  std::string nameAt(const char* at) const {
    const char* stop = at;
    while (stop < end() && isNameByte(*stop)) ++stop;
    if (stop >= end()) m_window.needMoreNear(stop);
    return std::string(at, stop);
  }
  // What the markup at `tag`, a "<", is.
  std::string markupAt(const char* tag) const {
    if (tag[1] == '/') return "the end tag </" + nameAt(tag + 2) + ">";
    const std::string name = nameAt(tag + 1);
    return name.empty() ? "\"<\"" : "the start tag <" + name + ">";
  }
  [[noreturn]] void failInside(const char* tag, const char* reached) {
    m_window.needMoreNear(reached);
    m_sink.fail(offset(end()), "the document ends inside " + markupAt(tag));
  }
  // Fails at `at` in the tag at `tag`; at the end of the input, as a tag the input ends inside.
  [[noreturn]] void failInTag(const char* tag, const char* at, const std::string& expected) {
    if (at >= end()) failInside(tag, at);
    fail(at, expected + " in " + markupAt(tag));
  }
  // "start tag <x> opened at 1:4" for the open element.
  std::string openedTag() const {
    return "start tag <" + std::string(m_sink.openName()) + "> opened at " + m_sink.openedAt();
  }

  // --- Outside the root element.

  // Reads the start of the input at `p`: a UTF-8 byte order mark is skipped, and a document
  // that starts as one in UTF-16 or UTF-32 does, with or without a byte order mark, is refused
  // with the encoding named.
  char* start(char* p) {
    if (end() - p < 4) m_window.needMoreNear(p);
    if (startsWith(p, "\xEF\xBB\xBF")) {
      m_start = 3;
      return p + 3;
    }
    // Markup in UTF-16 or UTF-32 starts with a zero byte or has one after its "<".
    if (p[0] == '<' && p[1] != '\0') return p;
    struct Start {
      std::string_view bytes;
      const char* encoding;
    };
    using namespace std::string_view_literals;
    static constexpr Start kStarts[] = {
        {"\x00\x00\xFE\xFF"sv, "UTF-32 (big-endian)"},
        {"\xFF\xFE\x00\x00"sv, "UTF-32 (little-endian)"},
        {"\x00\x00\x00<"sv, "UTF-32 (big-endian)"},
        {"<\x00\x00\x00"sv, "UTF-32 (little-endian)"},
        {"\xFE\xFF"sv, "UTF-16 (big-endian)"},
        {"\xFF\xFE"sv, "UTF-16 (little-endian)"},
        {"\x00<\x00?"sv, "UTF-16 (big-endian)"},
        {"<\x00?\x00"sv, "UTF-16 (little-endian)"},
    };
    const std::string_view first(p, std::min<std::size_t>(4, end() - p));
    for (const Start& s : kStarts) {
      if (first.substr(0, s.bytes.size()) == s.bytes) {
        m_sink.fail(0,
                    std::string("the document is in ") + s.encoding + "; only UTF-8 is accepted");
      }
    }
    return p;
  }

  // Skips white space, comments and processing instructions outside the root element; returns
  // at the "<" of other markup, or at the end of the input.
  char* misc(char* p, bool afterRoot) {
    for (;;) {
      while (isSpace(*p)) ++p;
      m_part = p;
      // Markup is read from a window that holds it all, or all the input has of it.
      m_window.needMoreNear(p);
      if (*p == '<' && p[1] == '?') {
        p = processingInstruction(p);
      } else if (*p == '<' && p[1] == '!' && p[2] == '-') {
        p = comment(p);
      } else if (*p == '<') {
        return p;
      } else if (p >= end()) {
        m_window.needMoreNear(p);
        return p;
      } else {
        std::uint32_t c;
        const std::size_t length = decodeUtf8(reinterpret_cast<const unsigned char*>(p),
                                              static_cast<std::size_t>(end() - p), c);
        if (length == 0 || !isXmlChar(c)) failInvalidChar(p);
        fail(p, afterRoot ? "text after the root element" : "text before the root element");
      }
    }
  }

  char* prolog(char* p) {
    if (offset(p) == 0) p = start(p);
    p = misc(p, false);
    if (p >= end()) fail(p, "no root element");
    if (p[1] == '!') markupDeclaration(p);
    if (p[1] == '/') fail(p, "end tag </" + nameAt(p + 2) + "> without a start tag");
    p = startTag(p);
    m_phase = m_depth == 0 ? Phase::kEpilog : Phase::kContent;
    return p;
  }

  char* epilog(char* p) {
    p = misc(p, true);
    if (p >= end()) {
      m_phase = Phase::kDone;
      return p;
    }
    if (p[1] == '!') markupDeclaration(p);
    if (p[1] == '/') fail(p, "end tag </" + nameAt(p + 2) + "> without a start tag");
    if (isNameByte(p[1])) fail(p, "element <" + nameAt(p + 1) + "> after the root element");
    if (p + 1 >= end()) failInside(p, p + 1);
    fail(p + 1, "expected a name, \"/\", \"?\" or \"!\" after \"<\"");
  }

  // --- Markup that holds no element.

  // "<!" that starts a comment or a CDATA section, or nothing accepted.
  char* markupDeclaration(char* p) {
    if (p[2] == '-') return comment(p);
    if (startsWith(p, "<![CDATA[")) {
      if (m_phase != Phase::kContent) fail(p, "CDATA section outside the root element");
      return cdata(p);
    }
    if (startsWith(p, "<!DOCTYPE")) fail(p, "document type declarations are not accepted");
    if (p[2] == '[') fail(p, "malformed CDATA section");
    if (p + 2 >= end()) failAtEnd(p + 2, end(), "the document ends inside a markup declaration");
    fail(p, "unexpected markup declaration");
  }

  char* comment(char* p) {
    if (p[3] != '-') fail(p, "malformed comment");
    for (char* in = p + 4;;) {
      in = runEnd(in, kCommentStops);
      if (*in == '-') {
        if (in[1] != '-') {
          ++in;
          continue;
        }
        if (in[2] == '>') return in + 3;
        fail(in, "\"--\" inside a comment");
      }
      if (in >= end()) failAtEnd(in, p, "unterminated comment");
      in += checkedChar(in);
    }
  }

  char* processingInstruction(char* p) {
    char* target = p + 2;
    char* q = name(target, "processing instruction target");
    if (q == target) {
      if (q >= end()) failAtEnd(q, p, "unterminated processing instruction");
      fail(target, "expected a processing instruction target after \"<?\"");
    }
    if (q - target == 3 && (target[0] | ' ') == 'x' && (target[1] | ' ') == 'm' &&
        (target[2] | ' ') == 'l') {
      const std::string written(target, 3);
      if (offset(p) != m_start) {
        fail(p, "\"<?" + written + "\" is only allowed at the very start of the document");
      }
      if (written != "xml") {
        fail(p, "the XML declaration is written \"<?xml\", not \"<?" + written + "\"");
      }
      return p + (checkXmlDeclaration(m_sink, m_window, p) - p);
    }
    if (*q == '?' && q[1] == '>') return q + 2;
    if (!isSpace(*q)) {
      if (q >= end()) failAtEnd(q, p, "unterminated processing instruction");
      fail(q, "expected white space or \"?>\" after the processing instruction target \"" +
                  std::string(target, q) + "\"");
    }
    for (char* in = q + 1;;) {
      in = runEnd(in, kInstructionStops);
      if (*in == '?') {
        if (in[1] == '>') return in + 2;
        ++in;
        continue;
      }
      if (in >= end()) failAtEnd(in, p, "unterminated processing instruction");
      in += checkedChar(in);
    }
  }

  // --- Names and characters.

  // The end of the XML name at `p` (`p` itself when no name starts there). `what` names it in
  // the message when a character of it is no name character. A name that reaches the window's
  // end may go on past it, and is read again from a window that holds it.
  [[gnu::always_inline]] char* name(char* p, const char* what) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    if (kAsciiName.start[*u]) {
      do {
        ++u;
      } while (kAsciiName.rest[*u]);
      if (*u == 0) m_window.needMoreNear(p + (u - reinterpret_cast<const unsigned char*>(p)));
      if (*u < 0x80) return p + (u - reinterpret_cast<const unsigned char*>(p));
    } else if (*u < 0x80) {
      return p;
    }
    return nameBeyondAscii(p, p + (u - reinterpret_cast<const unsigned char*>(p)), what);
  }

  // The rest of the name at `name` from `at`, a byte from 0x80.
  [[gnu::noinline]] char* nameBeyondAscii(char* name, char* at, const char* what) {
    for (;;) {
      const auto u = static_cast<unsigned char>(*at);
      if (u < 0x80) {
        if (u == 0) m_window.needMoreNear(at);
        if (!kAsciiName.rest[u]) return at;
        ++at;
        continue;
      }
      std::uint32_t c;
      const std::size_t length = decodeUtf8(reinterpret_cast<const unsigned char*>(at),
                                            static_cast<std::size_t>(end() - at), c);
      if (length == 0 || !isXmlChar(c)) failInvalidChar(at);
      if (!(at == name ? isNameStartChar(c) : isNameChar(c))) {
        fail(at, std::string(what) + " \"" + nameAt(name) + "\" is not an XML name");
      }
      at += length;
    }
  }

  // The length of the character at `at`, a control character or a byte from 0x80; fails when it
  // is not one XML allows (at the end of the window, the caller has failed first).
  std::size_t checkedChar(const char* at) {
    std::uint32_t c;
    const std::size_t length = decodeUtf8(reinterpret_cast<const unsigned char*>(at),
                                          static_cast<std::size_t>(end() - at), c);
    if (length == 0 || !isXmlChar(c)) failInvalidChar(at);
    return length;
  }
  // Copies the character at `in`, a byte from 0x80 or a control character XML allows, to the
  // string being written; returns where it ends.
  char* copyChar(char* in) {
    const std::size_t length = checkedChar(in);
    m_sink.copyRun(in, in + length);
    return in + length;
  }

  // Writes the character of the reference at `in` ("&...;") to the string being written;
  // returns where it ends.
  char* reference(char* in) {
    if (in[1] == '#') {
      const bool hex = in[2] == 'x';
      char* p = in + (hex ? 3 : 2);
      const char* digits = p;
      std::uint32_t value = 0;
      for (int d; (d = digitValue(*p, hex)) >= 0; ++p) {
        // Leading zeros may make a reference of any length; past the last character the value
        // only needs to stay too large.
        if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
      }
      if (p == digits || *p != ';') failAtEnd(p, in, "malformed character reference");
      if (!isXmlChar(value)) fail(in, "character reference to a character XML does not allow");
      m_sink.putChar(value);
      return p + 1;
    }
    char* stop = name(in + 1, "entity name");
    if (stop == in + 1) failAtEnd(stop, in, "\"&\" that starts no entity or character reference");
    const std::string_view entity(in + 1, static_cast<std::size_t>(stop - in - 1));
    if (*stop != ';') {
      fail(stop, "expected \";\" after the entity name \"" + std::string(entity) + "\"");
    }
    const char c = predefinedEntity(entity);
    if (c == '\0') fail(in, "reference to an undeclared entity \"" + std::string(entity) + "\"");
    m_sink.put(c);
    return stop + 1;
  }

  static char predefinedEntity(std::string_view name) {
    if (name == "lt") return '<';
    if (name == "gt") return '>';
    if (name == "amp") return '&';
    if (name == "quot") return '"';
    if (name == "apos") return '\'';
    return '\0';
  }

  static int digitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  // --- Elements and their content.

  // What follows in the open element's content: text or markup. What markup it is decides
  // whether an open text ends, so it is known before anything is told. p[1] is in the window
  // (moveOnNear).
  [[gnu::always_inline]] char* content(char* p) {
    if (*p != '<') return text(p);
    switch (p[1]) {
      case '/':
        return endTag(p);
      case '!':
        return markupDeclaration(p);
      case '?':
        return processingInstruction(p);
      default:
        return startTag(p);
    }
  }

  // Opens the element of the start tag at `p`, a "<"; returns after the tag.
  [[gnu::always_inline]] char* startTag(char* p) {
    closeText();
    if constexpr (kKnowsTags) {
      const KnownTag& known = tagSlot();
      if (known.matches(p)) return knownTag(p, known);
    }
    char* q;
    const Ref elementName = knownName(p + 1, elementSlot(), "element name", q);
    if (q == p + 1) {
      if (q >= end()) failInside(p, q);
      fail(q, "expected a name, \"/\", \"?\" or \"!\" after \"<\"");
    }
    const char c = *q;
    if (c == '>') {
      learnTag(p, q + 1, elementName);
      return startElement(p, elementName, false, q + 1);
    }
    if (c == '/' && q[1] == '>') {
      learnTag(p, q + 2, elementName, 0, true);
      return startElement(p, elementName, true, q + 2);
    }
    if (!isSpace(c)) failInTag(p, c == '/' ? q + 1 : q, "expected white space, \">\" or \"/>\"");
    return attributes(p, elementName, q + 1);
  }

  // Ends the start tag at `tag` of the element `elementName` (`empty` for one that ends in "/>");
  // returns `after`.
  [[gnu::always_inline]] char* startElement(const char* tag, Ref elementName, bool empty,
                                            char* after) {
    m_sink.startElement(elementName, offset(tag), empty);
    if (!empty) ++m_depth;
    return after;
  }

  // --- Names met before: most names of a document are a few written again and again, so a name
  // is known again by comparing its bytes with those of the name met last in its place (an
  // element at its depth, an attribute at its place in the tag) a few loads at a time, before it
  // is read byte by byte and looked up.

  // A name met before, as the words its bytes load as (its first eight bytes masked to its size,
  // and its last eight where it is longer), and the sink's string of it. None matches no bytes:
  // its head of 1 is left over by any masked word, and the rest of it is never read.
  struct KnownName {
    std::uint64_t head = 1;
    std::uint64_t headMask = 0;
    std::size_t size;
    std::uint64_t tail;
    std::uint64_t tailMask;
    std::size_t tailAt;
    Ref ref;

    // Becomes the name of the `n` bytes at `p`, whose string is `r`; none where it is long.
    // Written field by field in place: a name made aside and copied in one piece would be read
    // back in wider loads than its parts were stored in, which stalls on every name learnt.
    void learn(const char* p, std::size_t n, Ref r) {
      if (n > NameKey::kLongest) {
        head = 1;
        headMask = 0;
        return;
      }
      static constexpr char kOnes[NameKey::kLongest] = {-1, -1, -1, -1, -1, -1, -1, -1,
                                                        -1, -1, -1, -1, -1, -1, -1, -1};
      const NameKey key = NameKey::of(p, n);
      const NameKey mask = NameKey::of(kOnes, n);
      head = key.head;
      headMask = mask.head;
      size = n;
      tail = key.tail;
      tailMask = mask.tail;
      tailAt = n < 8 ? 0 : n - 8;
      ref = r;
    }
    // The end of the name at `p` when it is this one; null otherwise (a name that may go on past
    // the window's end is not known). Most names have eight bytes at most, and their tail is not
    // loaded.
    char* endAt(char* p) const {
      if ((loadWord(p) & headMask) != head) return nullptr;
      if (size > 8 && (loadWord(p + tailAt) & tailMask) != tail) return nullptr;
      char* after = p + size;
      return kAfterName.ends[static_cast<unsigned char>(*after)] ? after : nullptr;
    }
  };
  // --- Tags met before: most start tags repeat the one met last at their depth up to the quote
  // that opens their first attribute's value, or up to their end where they have none
  // (`<value v="`, `<row>`). Those bytes, compared two words at a time, then stand for the
  // element's name, the white space, the attribute's name and the "=" read the first time, and
  // the tag is read on from the value. For a sink whose names last, or that keeps the names at
  // their places: the names of a tag met before stand for those bytes for good, or while the
  // place of the tag holds them.
  static constexpr bool kKnowsTags = LastingNames<Sink>::value || KeepsKnownNames<Sink>::value;

  // The first bytes of a start tag met before, at most sixteen, as two words masked to their
  // size, and what they were read as. None matches no bytes: its head of 1 is left over by any
  // masked word.
  struct KnownTag {
    std::uint64_t head = 1;
    std::uint64_t headMask = 0;
    std::uint64_t tail = 0;
    std::uint64_t tailMask = 0;
    // The rest is read only once the words have matched, after learn(): a small document's parse
    // then starts without writing all of every place first.
    std::size_t size;
    Ref element;
    Ref attribute;
    // The quote of the first attribute's value; none for a tag without attributes, which ends
    // the element at once where `empty`.
    char quote;
    bool empty;

    static constexpr std::size_t kLongest = 16;

    // True when the tag at `p` starts with these bytes. The window's zero bytes, which no tag
    // holds, end the comparison in time.
    bool matches(const char* p) const {
      return (((loadWord(p) & headMask) ^ head) | ((loadWord(p + 8) & tailMask) ^ tail)) == 0;
    }
    // Becomes the `n` bytes at `p`; none where they are more than kLongest.
    void learn(const char* p, std::size_t n) {
      if (n > kLongest) {
        head = 1;
        headMask = 0;
        return;
      }
      // A mask of n bytes of ones starts n bytes before the end of the ones.
      static constexpr unsigned char kMasks[2 * kLongest] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                             0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                             0xFF, 0xFF, 0xFF, 0xFF};
      const unsigned char* mask = kMasks + kLongest - n;
      std::memcpy(&headMask, mask, 8);
      std::memcpy(&tailMask, mask + 8, 8);
      std::memcpy(&head, p, 8);
      std::memcpy(&tail, p + 8, 8);
      head &= headMask;
      tail &= tailMask;
      size = n;
    }
  };
  // The tag met last at the current depth; one place for all from kKnownTagDepths on, which
  // learns none for a sink that keeps the names at their places.
  KnownTag& tagSlot() { return m_tags[std::min(m_depth, kKnownTagDepths)]; }
  // Reads the start tag at `tag`, whose first bytes are `known`'s; returns after the tag.
  [[gnu::noinline]] char* knownTag(char* tag, const KnownTag& known) {
    char* q = tag + known.size;
    if (!known.quote) return startElement(tag, known.element, known.empty, q);
    Ref value;
    q = attributeValue(tag, q, known.quote, value);
    m_sink.attribute(known.attribute, value);
    return attributes(tag, known.element, q, 1);
  }
  // Learns the start tag at `tag` up to `after` as the one met last at its depth: the element
  // `element`, then either the first attribute `attribute`, written at `attributeAt`, and its
  // value's `quote`, or the tag's end, "/>" where `empty`.
  void learnTag(const char* tag, const char* after, Ref element, char quote = 0, bool empty = false,
                const char* attributeAt = nullptr, Ref attribute = {}) {
    if constexpr (kKnowsTags) {
      if (KeepsKnownNames<Sink>::value && m_depth >= kKnownTagDepths) return;
      KnownTag& known = tagSlot();
      const auto size = static_cast<std::size_t>(after - tag);
      known.learn(tag, size);
      if (size > KnownTag::kLongest) return;
      if constexpr (KeepsKnownNames<Sink>::value) {
        const std::size_t place = kKnownDepths + kKnownAttributes + 2 * m_depth;
        element = m_sink.keepName(place, tag + 1, nameEnd(tag + 1));
        if (quote) attribute = m_sink.keepName(place + 1, attributeAt, nameEnd(attributeAt));
      }
      known.element = element;
      known.attribute = attribute;
      known.quote = quote;
      known.empty = empty;
    }
  }
  // The end of a name read before at `name`, all of whose bytes are in the window.
  static const char* nameEnd(const char* name) {
    while (isNameByte(*name)) ++name;
    return name;
  }

  // The place of the names of elements at the current depth; none from kKnownDepths on.
  KnownName* elementSlot() { return m_depth < kKnownDepths ? &m_elements[m_depth] : nullptr; }
  // The place of the name of the attribute `count` in its tag.
  KnownName* attributeSlot(std::size_t count) {
    return count < kKnownAttributes ? &m_attributes[count] : nullptr;
  }
  // The number of the place `slot`: its depth, or kKnownDepths and its place in the tag.
  std::size_t placeOf(const KnownName* slot) const {
    return slot >= m_attributes ? kKnownDepths + static_cast<std::size_t>(slot - m_attributes)
                                : static_cast<std::size_t>(slot - m_elements);
  }

  // The sink's string of the name at `p`, which ends at `q` (at `p` when no name starts there);
  // `slot`, where given, is the name met last in its place and learns this one.
  [[gnu::always_inline]] Ref knownName(char* p, KnownName* slot, const char* what, char*& q) {
    if (slot && (q = slot->endAt(p))) {
      if constexpr (LastingNames<Sink>::value || KeepsKnownNames<Sink>::value) return slot->ref;
      return m_sink.name(p, q);
    }
    q = name(p, what);
    if (q == p) return Ref{};
    const auto size = static_cast<std::size_t>(q - p);
    if constexpr (KeepsKnownNames<Sink>::value) {
      if (slot && size <= NameKey::kLongest) {
        const Ref ref = m_sink.keepName(placeOf(slot), p, q);
        slot->learn(p, size, ref);
        return ref;
      }
    }
    const Ref ref = m_sink.name(p, q);
    if (slot) slot->learn(p, size, ref);
    return ref;
  }

  // The end of the end tag's name at `p` when it is the open element's, known by its bytes;
  // null when it must be compared byte by byte.
  char* knownEndName(char* p) {
    return m_depth <= kKnownDepths ? m_elements[m_depth - 1].endAt(p) : nullptr;
  }

  // The attributes of the start tag at `tag` of the element `elementName`, from `q` on, after
  // white space, or after the value of the first `count` of them; returns after the tag.
  [[gnu::always_inline]] char* attributes(char* tag, Ref elementName, char* q,
                                          std::size_t count = 0) {
    for (bool spaced = count == 0;;) {
      while (isSpace(*q)) {
        ++q;
        spaced = true;
      }
      if (*q == '>') return startElement(tag, elementName, false, q + 1);
      if (*q == '/') {
        if (q[1] != '>') failInTag(tag, q + 1, "expected white space, \">\" or \"/>\"");
        return startElement(tag, elementName, true, q + 2);
      }
      char* attribute = q;
      const Ref attributeName = knownName(attribute, attributeSlot(count), "attribute name", q);
      if (q == attribute) failInTag(tag, q, "expected white space, \">\" or \"/>\"");
      if (!spaced) failInTag(tag, attribute, "expected white space between attributes");
      // Most write the value's quote right after "=".
      if (q[0] != '=' || (q[1] != '"' && q[1] != '\'')) q = spacedEquals(tag, attribute, q);
      const char quote = *++q;
      if (quote != '"' && quote != '\'') {
        failInTag(tag, q,
                  "expected a quoted value for the attribute \"" + nameAt(attribute) + "\"");
      }
      if (count == 0) learnTag(tag, q + 1, elementName, quote, false, attribute, attributeName);
      Ref value;
      q = attributeValue(tag, q + 1, quote, value);
      if (count > 0) refuseRepeated(tag, attribute, attributeName, count);
      m_sink.attribute(attributeName, value);
      ++count;
      spaced = false;
    }
  }

  // The "=" after the name of the attribute at `attribute` in the tag at `tag`, from `q` on, where
  // white space may stand around it.
  char* spacedEquals(char* tag, char* attribute, char* q) {
    while (isSpace(*q)) ++q;
    if (*q != '=') {
      failInTag(tag, q, "expected \"=\" after the attribute name \"" + nameAt(attribute) + "\"");
    }
    while (isSpace(q[1])) ++q;
    return q;
  }

  // Fails when the attribute `name`, written at `at`, repeats one of the `count` before it in
  // its tag. Few are compared in place; from kLinearLimit on a table of their names, open
  // addressing by a hash of the bytes, keeps a tag of many attributes linear.
  void refuseRepeated(const char* tag, const char* at, Ref name, std::size_t count) {
    constexpr std::size_t kLinearLimit = 16;
    if (count < kLinearLimit) {
      const auto text = m_sink.string(name);
      for (std::size_t i = 0; i < count; ++i) {
        const Ref seen = m_sink.attributeName(i);
        if (seen == name || sameText(m_sink.string(seen), text)) failRepeated(tag, at);
      }
      return;
    }
    if (count == kLinearLimit || 2 * count > m_seen.size()) {
      // Twice the names it holds at least, and empty but for the names before this one.
      m_seen.assign(std::max<std::size_t>(64, std::size_t{1} << (64 - __builtin_clzll(4 * count))),
                    0);
      for (std::size_t i = 0; i < count; ++i) remember(m_sink.attributeName(i));
    }
    if (!remember(name)) failRepeated(tag, at);
  }
  // True when the names `a` and `b` are the same text. The names of a tag mostly differ in their
  // first two bytes (a name has one at least, and its zero after it), which are compared before a
  // call compares the rest.
  static bool sameText(const char* a, const char* b) {
    return a[0] == b[0] && a[1] == b[1] && std::strcmp(a, b) == 0;
  }
  static bool sameText(std::string_view a, std::string_view b) { return a == b; }
  // Adds `name` to the table; false when a name of the same text is there already.
  bool remember(Ref name) {
    const auto text = m_sink.string(name);
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : std::string_view(text))
      hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    const std::size_t mask = m_seen.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
      if (m_seen[i] == 0) {
        m_seen[i] = static_cast<std::size_t>(name) + 1;
        return true;
      }
      const Ref seen = static_cast<Ref>(m_seen[i] - 1);
      if (seen == name || sameText(m_sink.string(seen), text)) return false;
    }
  }
  [[noreturn]] void failRepeated(const char* tag, const char* at) {
    fail(at, "attribute \"" + nameAt(at) + "\" given twice on <" + nameAt(tag + 1) + ">");
  }

  // Reads the value from `in` up to `quote` of the tag at `tag`, replacing references and
  // turning white space into spaces, into `value`; returns after the closing quote. The place is
  // returned and the value written aside, not the other way round: the tag is read on from the
  // place, which a register then holds rather than memory.
  [[gnu::always_inline]] char* attributeValue(char* tag, char* in, char quote, Ref& value) {
    char* stop = attributeRunEnd(in, quote);
    if (*stop != quote) return decodedValue(tag, in, quote, value);
    value = m_sink.plainString(in, stop);
    return stop + 1;
  }
  [[gnu::noinline]] char* decodedValue(char* tag, char* in, char quote, Ref& value) {
    m_sink.beginString();
    for (;;) {
      char* run = in;
      in = attributeRunEnd(in, quote);
      m_sink.copyRun(run, in);
      const char c = *in;
      if (c == quote) break;
      if (c == '&') {
        in = reference(in);
      } else if (c == '\t' || c == '\n') {
        m_sink.put(' ');
        ++in;
      } else if (c == '\r') {
        m_sink.put(' ');
        in += in[1] == '\n' ? 2 : 1;
      } else if (c == '<') {
        fail(in, "\"<\" in an attribute value");
      } else {
        if (in >= end()) failInside(tag, in);
        in = copyChar(in);
      }
    }
    value = m_sink.endString();
    return in + 1;
  }

  // Reads character data from `in`; returns at the "<" that ends it. A text that markup other
  // than a comment or a processing instruction follows is whole; another stays open, for the
  // character data after the comment to join it, and so does one whose "<" ends the window.
  [[gnu::always_inline]] char* text(char* in) {
    char* stop = textRunEnd(in);
    if (*stop != '<' || m_textOpen || stop[1] == '!' || stop[1] == '?' || stop + 1 >= end()) {
      return decodedText(in);
    }
    m_sink.text(m_sink.plainString(in, stop));
    return stop;
  }
  [[gnu::noinline]] char* decodedText(char* in) {
    if (!m_textOpen) {
      m_sink.beginText();
      m_textOpen = true;
    }
    for (;;) {
      char* run = in;
      in = textRunEnd(in);
      m_sink.copyRun(run, in);
      const char c = *in;
      if (c == '<') break;
      if (c == '&') {
        in = reference(in);
      } else if (c == '\r') {
        m_sink.put('\n');
        in += in[1] == '\n' ? 2 : 1;
      } else if (c == ']') {
        if (in[1] == ']' && in[2] == '>') fail(in, "\"]]>\" in text");
        m_sink.put(*in++);
      } else {
        if (in >= end()) {
          failAtEnd(in, end(), "the document ends before the end tag of the " + openedTag());
        }
        in = copyChar(in);
      }
    }
    m_sink.pauseText();
    return in;
  }
  // Ends the open text, before markup that it cannot join.
  void closeText() {
    if (!m_textOpen) return;
    m_sink.closeText();
    m_textOpen = false;
  }

  // A CDATA section at `p`, which starts "<![CDATA[".
  char* cdata(char* p) {
    closeText();
    char* in = p + 9;
    m_sink.beginString();
    for (;;) {
      char* run = in;
      in = runEnd(in, kCDataStops);
      m_sink.copyRun(run, in);
      const char c = *in;
      if (c == ']') {
        if (in[1] == ']' && in[2] == '>') break;
        m_sink.put(*in++);
      } else if (c == '\r') {
        m_sink.put('\n');
        in += in[1] == '\n' ? 2 : 1;
      } else {
        if (in >= end()) failAtEnd(in, p, "unterminated CDATA section");
        in = copyChar(in);
      }
    }
    m_sink.cdata(m_sink.endString());
    return in + 3;
  }

  // The end of the name of the end tag at `p`, compared byte by byte with the open element's.
  char* endName(char* p) {
    char* q = p + 2;
    const char* expected = m_sink.openName();
    while (*expected && *q == *expected) {
      ++q;
      ++expected;
    }
    if (*expected || isNameByte(*q)) {
      m_window.needMoreNear(q);
      const std::string written = nameAt(p + 2);
      if (p + 2 + written.size() >= end()) failInside(p, end());
      fail(p, "end tag </" + written + "> does not match " + openedTag());
    }
    return q;
  }

  // Closes the open element with the end tag at `p`; returns after the tag.
  [[gnu::always_inline]] char* endTag(char* p) {
    closeText();
    char* q = knownEndName(p + 2);
    if (!q) q = endName(p);
    while (isSpace(*q)) ++q;
    if (*q != '>') {
      if (q >= end()) failInside(p, q);
      fail(q, "expected \">\" to close " + markupAt(p));
    }
    m_sink.endElement();
    if (--m_depth == 0) m_phase = Phase::kEpilog;
    return q + 1;
  }

  ParseWindow& m_window;
  std::conditional_t<HeldByTokenizer<Sink>::value, Sink, Sink&> m_sink;
  Phase m_phase = Phase::kProlog;
  // The start of the part being read, from which it is read again after the window moves on.
  char* m_part = nullptr;
  // Where the XML declaration may stand: the start, after a byte order mark.
  std::size_t m_start = 0;
  std::size_t m_depth = 0;
  // True while a text is open: character data after a comment or processing instruction joins
  // it.
  bool m_textOpen = false;
  // The attributes of a tag of many, by a hash of their names: each a string of the sink plus
  // one, 0 for a free slot.
  std::vector<std::size_t> m_seen;
  // The names met last at each depth and at each place in a tag.
  KnownName m_elements[kKnownDepths];
  KnownName m_attributes[kKnownAttributes];
  // The start tags met last at each depth, and one for those deeper; none for a sink whose
  // names neither last nor are kept.
  std::array<KnownTag, kKnowsTags ? kKnownTagDepths + 1 : 0> m_tags;
};

}  // namespace orvidom
