// The table of every helper that writes a document, shared by the well-formed writing test and
// the fuzz target that writes: each entry fills its helper through its setters and Add…
// operations with strings and choices from a Source, makes, writes and parses the document, and
// checks that every value set comes back — through the helper's own reading where it reads its
// document, else as an attribute value, text or element name of the parsed document.
#pragma once

#include <string>
#include <vector>

namespace writing {

// Where the strings and choices of one run come from.
class Source {
 public:
  virtual ~Source() = default;
  // A number in [0, bound); 0 when bound is 0.
  virtual unsigned below(unsigned bound) = 0;
  // A non-empty string. `written` tells that the document must carry it, so a string XML cannot
  // carry must end the run in ORVIDOM_DOMException; other strings may be dropped by the helper.
  virtual std::string text(bool written) = 0;
  // A non-empty run of XML name characters without a colon.
  virtual std::string nameChars() = 0;
};

// What one run gave: the document written, and the first value that did not come back ("" when
// every one did).
struct Outcome {
  std::string xml;
  std::string failure;
};

struct Helper {
  const char* name;
  void (*run)(Source& in, Outcome& out);
};

// Every writing helper of the library.
const std::vector<Helper>& AllHelpers();

}  // namespace writing
