// Makes one kind, chosen by the first byte, from a description generated from its fields with
// choices and strings from the input; writes it, parses the text and reads it back: the
// document must parse and read back as described (the same generator drives the property
// test). A string XML cannot carry may only end in ORVIDOM_DOMException.
#include "FuzzSupport.h"
#include "KindJson.h"
#include "KindSamples.h"

namespace {

// The fuzz bytes as a source of strings: taken as they are, so that any byte, valid UTF-8 or
// not, reaches the helpers.
class BytesSource : public SampleSource {
 public:
  explicit BytesSource(fuzz::Bytes& in) : m_in(in) {}

  unsigned below(unsigned bound) override { return m_in.below(bound); }
  std::string text(bool) override {
    std::string s = m_in.string();
    return s.empty() ? std::string("v") : s;
  }

 private:
  fuzz::Bytes& m_in;
};

std::vector<const Kind*> madeKinds() {
  std::vector<const Kind*> out;
  for (const Kind& k : allKinds()) {
    if (k.make) out.push_back(&k);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<const Kind*> kinds = madeKinds();
  fuzz::Bytes in(data, size);
  const Kind& kind = *kinds[in.byte() % kinds.size()];
  BytesSource source(in);
  nlohmann::json given;
  std::string xml;
  try {
    given = sampleDescription(kind, source);
    checkDescription(kind, given);
    JsonObject description(given, "");
    xml = ORVIDOM_Writer::toString(kind.make(description));
  } catch (const ORVIDOM_DOMException&) {
    return 0;
  } catch (const std::exception& e) {
    fuzz::Check(false, kind.name + ": a generated description is refused: " + e.what());
  }
  ORVIDOM_Element back;
  try {
    back = ORVIDOM_Parser::parseString(xml).getDocumentElement();
  } catch (const ORVIDOM_ParseError& e) {
    fuzz::Check(false, kind.name + ": the written document does not parse: " + e.what());
  }
  if (!kind.read) return 0;
  const std::string difference = readBackDifference(kind, given, kind.read(back));
  fuzz::Check(difference.empty(), kind.name + ": " + difference + "\n" + xml);
  return 0;
}
