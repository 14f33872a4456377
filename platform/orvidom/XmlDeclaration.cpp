#include "orvidom/XmlDeclaration.h"

#include <algorithm>
#include <string>

#include "orvidom/ParsePosition.h"
#include "orvidom/XmlChars.h"

namespace orvidom {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A version the XML 1.0 rules read: "1." and digits.
bool isVersion1(std::string_view v) {
  if (v.size() < 3 || v.substr(0, 2) != "1.") return false;
  for (char c : v.substr(2)) {
    if (!isDigit(c)) return false;
  }
  return true;
}

// An encoding name as XML writes it: a letter, then letters, digits, ".", "_" or "-".
bool isEncodingName(std::string_view v) {
  if (v.empty() || !isLetter(v[0])) return false;
  for (char c : v) {
    if (!isLetter(c) && !isDigit(c) && c != '.' && c != '_' && c != '-') return false;
  }
  return true;
}

bool isUtf8(std::string_view v) {
  return v.size() == 5 && (v[0] | ' ') == 'u' && (v[1] | ' ') == 't' && (v[2] | ' ') == 'f' &&
         v[3] == '-' && v[4] == '8';
}

// The pseudo-attributes of the declaration, in the only order they may come.
constexpr std::string_view kNames[] = {"version", "encoding", "standalone"};

class DeclarationChecker {
 public:
  DeclarationChecker(const ParseErrors& errors, const ParseWindow& window, const char* p)
      : m_errors(errors), m_window(window), m_start(p), m_end(window.end()) {}

  const char* check() {
    const char* q = m_start + 5;
    std::size_t next = 0;
    for (bool spaced = false;; spaced = false) {
      while (isSpace(*q)) {
        ++q;
        spaced = true;
      }
      if (*q == '?' && q[1] == '>') {
        if (next == 0) fail(q, "the XML declaration must give the version first");
        return q + 2;
      }
      const char* name = q;
      while (kAsciiName.rest[static_cast<unsigned char>(*q)] || (*q & 0x80)) ++q;
      if (q >= m_end) failAtEnd(q);
      if (q == name) fail(q, "expected \"?>\" to end the XML declaration");
      if (!spaced) fail(name, "expected white space between attributes in the XML declaration");
      const std::string attribute(name, q);
      const std::string_view value = valueOf(attribute, q);
      next = checkPlace(attribute, name, next);
      checkValue(next - 1, value);
    }
  }

 private:
  [[noreturn]] void fail(const char* at, const std::string& message) {
    m_window.needMoreNear(at);
    m_errors.fail(m_window.offset(at), message);
    // The compiler does not carry the attribute through a call of a virtual function.
    __builtin_unreachable();
  }
  // The declaration reaches the end of the window at `at`.
  [[noreturn]] void failAtEnd(const char* at) {
    m_window.needMoreNear(at);
    fail(m_start, "unterminated XML declaration");
  }

  // Reads `= "value"` from `q`, leaving `q` after the closing quote.
  std::string_view valueOf(const std::string& attribute, const char*& q) {
    const std::string where = " in the XML declaration";
    while (isSpace(*q)) ++q;
    if (q >= m_end) failAtEnd(q);
    if (*q != '=') fail(q, "expected \"=\" after the attribute name \"" + attribute + "\"" + where);
    do {
      ++q;
    } while (isSpace(*q));
    if (q >= m_end) failAtEnd(q);
    const char quote = *q;
    if (quote != '"' && quote != '\'') {
      fail(q, "expected a quoted value for the attribute \"" + attribute + "\"" + where);
    }
    const char* value = ++q;
    q = std::find(q, m_end, quote);
    if (q >= m_end) {
      m_window.needMoreNear(q);
      fail(value - 1, "unterminated value of the attribute \"" + attribute + "\"" + where);
    }
    m_value = value;
    return std::string_view(value, static_cast<std::size_t>(q++ - value));
  }

  // The place after the attribute's among kNames; fails when it is out of order or unknown.
  std::size_t checkPlace(const std::string& attribute, const char* name, std::size_t next) {
    if (next == 0 && attribute != kNames[0]) {
      fail(name, "the XML declaration must give the version first");
    }
    const auto* const found = std::find(std::begin(kNames) + next, std::end(kNames), attribute);
    if (found != std::end(kNames)) return static_cast<std::size_t>(found - kNames) + 1;
    fail(name,
         "unexpected \"" + attribute + "\" in the XML declaration (version, encoding, standalone)");
  }

  void checkValue(std::size_t which, std::string_view value) {
    const std::string v(value);
    if (which == 0 && !isVersion1(value)) fail(m_value, "version \"" + v + "\" is not XML 1.x");
    if (which == 1 && !isEncodingName(value)) {
      fail(m_value, "malformed encoding name \"" + v + "\"");
    }
    if (which == 1 && !isUtf8(value)) {
      fail(m_value, "the document declares the encoding \"" + v + "\"; only UTF-8 is accepted");
    }
    if (which == 2 && value != "yes" && value != "no") {
      fail(m_value, "standalone is \"yes\" or \"no\", not \"" + v + "\"");
    }
  }

  const ParseErrors& m_errors;
  const ParseWindow& m_window;
  const char* m_start;
  const char* m_end;
  // Where the value last read starts.
  const char* m_value = nullptr;
};

}  // namespace

const char* checkXmlDeclaration(const ParseErrors& errors, const ParseWindow& window,
                                const char* p) {
  return DeclarationChecker(errors, window, p).check();
}

}  // namespace orvidom
