#include "orvcore/ORVAssertError.h"

#include <cstring>
#include <utility>

namespace {

// "src/queryframework/QFCommandHelper.cpp" names the unit "QFCommandHelper".
std::string unitOf(const char* sourceFile) {
  if (!sourceFile) return {};
  const char* base = sourceFile;
  for (const char* p = sourceFile; *p; ++p) {
    if (*p == '/' || *p == '\\') base = p + 1;
  }
  const char* dot = std::strrchr(base, '.');
  return dot ? std::string(base, dot) : std::string(base);
}

}  // namespace

ORVAssertError::ORVAssertError(long code, std::string text)
    : m_code(code), m_text(std::move(text)) {}

const char* ORVAssertError::what() const noexcept { return m_text.c_str(); }

void ORVAssertError::raise(const char* sourceFile, int line, int, const char* origin) {
  m_sourceUnit = unitOf(sourceFile);
  m_line = line;
  m_origin = origin ? origin : "";
  throw *this;
}
