// Every kind made from random descriptions generated from its fields: random strings from every
// Unicode plane, with markup characters and whitespace, go through every field. Each document
// written is accepted by an independent checker (xmllint), parses, has a root the kind reads,
// and reads back (a kind only made, from where its fields are written) as described, but for what
// each field's round-trip rule allows, merged lists by value after their merge rule; a string XML
// cannot carry ends in ORVIDOM_DOMException, never in a document.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "KindJson.h"
#include "KindSamples.h"

namespace {

constexpr int kRoundsPerKind = 40;

// The character as UTF-8, through the string type's own encoding.
void AppendUtf8(std::string& out, std::uint32_t c) { out += (I18NString() += c).str(); }

// Random choices and strings; with `forbidAt`, the string of that number among those the
// document must carry gets a character XML cannot carry.
class Strings : public SampleSource {
 public:
  explicit Strings(unsigned seed, int forbidAt = -1) : m_random(seed), m_forbidAt(forbidAt) {}

  unsigned below(unsigned bound) override { return bound ? pick(bound) : 0; }
  std::string text(bool kept) override {
    return kept && m_kept++ == m_forbidAt ? forbidden() : allowed();
  }
  // How many strings the document had to carry.
  int kept() const { return m_kept; }

 private:
  // A non-empty string of characters XML can carry: markup, whitespace (carriage returns
  // included), and characters of every plane, the edges of the allowed ranges among them.
  std::string allowed() {
    static const std::vector<std::uint32_t> kEdges = {
        0x9,    0xA,    0xD,    0x20,    0x7F,    0x80,    0x7FF,    0x800,
        0xD7FF, 0xE000, 0xFFFD, 0x10000, 0x1F600, 0xEFFFF, 0x10FFFF, 0xFEFF};
    static const std::string kMarkup = "<>&\"' ]]>\t\n\r;#=/?!-";
    std::string out;
    for (int n = 1 + pick(12); n-- > 0;) {
      switch (pick(5)) {
        case 0:
          out += kMarkup[pick(kMarkup.size())];
          break;
        case 1:
          AppendUtf8(out, kEdges[pick(kEdges.size())]);
          break;
        case 2:
          out += static_cast<char>(0x20 + pick(0x5F));
          break;
        default: {
          // Any plane: 0 is the basic plane, the others supplementary ones.
          std::uint32_t c = (pick(17) << 16) | pick(0x10000);
          if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF) || (c & 0xFFFE) == 0xFFFE) c = 0x41;
          AppendUtf8(out, c);
        }
      }
    }
    return out;
  }

  // An allowed string with one thing XML cannot carry put into it.
  std::string forbidden() {
    static const std::vector<std::string> kBad = {
        std::string(1, '\0'), "\x01",         "\x08",         "\x0B", "\x0C",     "\x1F",
        "\xEF\xBF\xBE",       "\xEF\xBF\xBF", "\xED\xA0\x80", "\x80", "\xC0\xAF", "\xFF",
        "\xF4\x90\x80\x80",   "\xE2\x82"};
    std::string out = allowed();
    out.insert(pick(out.size() + 1), kBad[pick(kBad.size())]);
    return out;
  }

  unsigned pick(std::size_t bound) {
    return std::uniform_int_distribution<unsigned>(0, static_cast<unsigned>(bound) - 1)(m_random);
  }
  std::mt19937 m_random;
  int m_forbidAt;
  int m_kept = 0;
};

// The kind's document made from the description and written.
std::string madeText(const Kind& kind, const nlohmann::json& description) {
  JsonObject in(description, "");
  return ORVIDOM_Writer::toString(kind.make(in));
}

TEST(KindsPropertyTest, MadeDocumentsAreWellFormedAndReadBackAsDescribed) {
  // Where no xmllint runs (the Windows build under Wine), the rest of the property still holds.
  const bool checker = std::system("xmllint --version >/dev/null 2>&1") == 0;
  std::vector<std::string> files;
  // Named apart from those of a test run beside this one in the same folder.
  const std::string dir = ::testing::TempDir() + "kinds_" + std::to_string(std::random_device()());
  unsigned seed = 20261206;
  for (const Kind& kind : allKinds()) {
    if (!kind.make) continue;
    for (int round = 0; round < kRoundsPerKind; ++round, ++seed) {
      Strings strings(seed);
      const nlohmann::json given = sampleDescription(kind, strings);
      SCOPED_TRACE(kind.name + " round " + std::to_string(round) + ": " +
                   given.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
      std::string xml;
      try {
        checkDescription(kind, given);
        xml = madeText(kind, given);
      } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
        continue;
      }
      if (checker) {
        files.push_back(dir + "_" + std::to_string(files.size()) + ".xml");
        std::ofstream(files.back(), std::ios::binary) << xml;
      }
      ORVIDOM_Element back = ORVIDOM_Parser::parseString(xml).getDocumentElement();
      EXPECT_TRUE(kind.readsRoot(back.getTagName().str())) << xml;
      EXPECT_EQ(readBackDifference(kind, given, back), "") << xml;

      // The same run with one string the document must carry made unwritable.
      if (strings.kept() == 0) continue;
      Strings bad(seed, static_cast<int>(seed % strings.kept()));
      EXPECT_THROW(madeText(kind, sampleDescription(kind, bad)), ORVIDOM_DOMException);
    }
  }
  if (!checker) return;
  // Namespace prefixes a parameter's items use are declared by the document around them, so
  // only well-formedness counts, and xmllint's namespace notes are kept out of the output.
  const std::string log = dir + "_xmllint.log";
  std::string command = "xmllint --noout";
  for (const std::string& f : files) command += " '" + f + "'";
  const int status = std::system((command + " 2>'" + log + "'").c_str());
  EXPECT_EQ(status, 0) << "xmllint rejected a written document; see " << log;
  // The documents and the log stay only for a failure to look into.
  if (status != 0) return;
  for (const std::string& f : files) std::remove(f.c_str());
  std::remove(log.c_str());
}

}  // namespace
