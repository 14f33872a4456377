// Fills one writing helper, chosen by the first byte, through its setters and Add… operations
// with choices and strings from the input, writes it, parses the text and takes the result: the
// document must parse and every value set must come back (the table of helpers is shared with
// the well-formed writing test). A string XML cannot carry may only end in ORVIDOM_DOMException,
// and an operation the helper refuses in ORVAssertError.
#include "FuzzSupport.h"
#include "support/WritingHelpers.h"

namespace {

// The fuzz bytes as a source of strings: taken as they are, so that any byte, valid UTF-8 or
// not, reaches the helpers.
class BytesSource : public writing::Source {
 public:
  explicit BytesSource(fuzz::Bytes& in) : m_in(in) {}

  unsigned below(unsigned bound) override { return m_in.below(bound); }
  std::string text(bool) override {
    std::string s = m_in.string();
    return s.empty() ? std::string("v") : s;
  }
  std::string nameChars() override {
    static const char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.";
    std::string out;
    for (unsigned n = 1 + m_in.below(8); n-- > 0;) out += kChars[m_in.below(sizeof kChars - 1)];
    return out;
  }

 private:
  fuzz::Bytes& m_in;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Bytes in(data, size);
  const std::vector<writing::Helper>& helpers = writing::AllHelpers();
  const writing::Helper& helper = helpers[in.byte() % helpers.size()];
  BytesSource source(in);
  writing::Outcome outcome;
  fuzz::Allowed([&] { helper.run(source, outcome); });
  fuzz::Check(outcome.failure.empty(),
              std::string(helper.name) + ": " + outcome.failure + "\n" + outcome.xml);
  return 0;
}
