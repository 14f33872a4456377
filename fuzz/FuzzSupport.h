// Support shared by the fuzz targets: the outcomes a helper may end with, a structural comparison
// of trees, and a reader that turns fuzz bytes into choices and strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <Korvath_ActionHelper.h>

namespace fuzz {

// Runs `body`; true when it returned. The outcomes a received or built document may have besides
// success (an assertion, a parse error, a character XML cannot carry) give false; any other
// exception escapes and the fuzzer reports it.
template <typename Body>
bool Allowed(Body&& body) {
  try {
    body();
    return true;
  } catch (const ORVAssertError&) {
  } catch (const ORVIDOM_ParseError&) {
  } catch (const ORVIDOM_DOMException&) {
  }
  return false;
}

// The first difference between two trees (kinds, names, values, attributes in order, children
// in order), or "" when they are the same. Walks without recursion.
std::string FirstDifference(const ORVIDOM_Node& a, const ORVIDOM_Node& b);

// Aborts with `what` when `ok` is false: a property the target checks does not hold.
void Check(bool ok, const std::string& what);

// Consumes fuzz bytes as small numbers and strings; reads zeros once the bytes are used up.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  bool empty() const { return m_pos >= m_size; }
  std::uint8_t byte();
  // A number in [0, bound).
  unsigned below(unsigned bound) { return bound ? byte() % bound : 0; }
  // A string of up to 32 bytes, taken as is: it may hold any byte, valid UTF-8 or not.
  std::string string();

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

// The document element of `data`, parsed; null when it is not a document.
ORVIDOM_Element ParseElement(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
