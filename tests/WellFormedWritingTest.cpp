// Writing only well-formed XML: random strings from every Unicode plane, with markup characters
// and whitespace, go through every setter and Add… operation of every writing helper. Every
// document written is accepted by an independent checker (xmllint), parsed and taken, and every
// value comes back; a string with a character XML cannot carry ends in ORVIDOM_DOMException,
// never in a document.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/WritingHelpers.h"
#include "support/XmlTestSupport.h"

namespace {

constexpr int kRoundsPerHelper = 12;

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Random choices and strings; with `forbidAt`, the string of that number among those the
// document must carry gets a character XML cannot carry.
class Strings : public writing::Source {
 public:
  explicit Strings(unsigned seed, int forbidAt = -1) : m_random(seed), m_forbidAt(forbidAt) {}

  unsigned below(unsigned bound) override { return bound ? pick(bound) : 0; }
  std::string text(bool written) override {
    return written && m_written++ == m_forbidAt ? forbidden() : allowed();
  }
  std::string nameChars() override {
    static const std::string kChars =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.";
    std::string out;
    for (int n = 1 + pick(8); n-- > 0;) out += kChars[pick(kChars.size())];
    return out;
  }
  // How many strings the document had to carry.
  int written() const { return m_written; }

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
          const std::uint32_t plane = pick(17);
          std::uint32_t c = (plane << 16) | pick(0x10000);
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

 private:
  unsigned pick(std::size_t bound) {
    return std::uniform_int_distribution<unsigned>(0, static_cast<unsigned>(bound) - 1)(m_random);
  }
  std::mt19937 m_random;
  int m_forbidAt;
  int m_written = 0;
};

bool HaveXmllint() { return std::system("xmllint --version >/dev/null 2>&1") == 0; }

TEST(WellFormedWritingTest, RandomStringsComeBackAndForbiddenOnesAreRefused) {
  if (!HaveXmllint()) GTEST_SKIP() << "xmllint is not installed";
  std::vector<std::string> files;
  const std::string dir = ::testing::TempDir();
  unsigned seed = 20261205;
  for (const writing::Helper& helper : writing::AllHelpers()) {
    for (int round = 0; round < kRoundsPerHelper; ++round, ++seed) {
      SCOPED_TRACE(std::string(helper.name) + " round " + std::to_string(round));
      Strings strings(seed);
      writing::Outcome outcome;
      ASSERT_NO_THROW(helper.run(strings, outcome));
      EXPECT_EQ(outcome.failure, "") << outcome.xml;
      files.push_back(dir + "wellformed_" + std::to_string(files.size()) + ".xml");
      std::ofstream(files.back(), std::ios::binary) << outcome.xml;

      // The same run with one string the document must carry made unwritable.
      if (strings.written() == 0) continue;
      Strings bad(seed, static_cast<int>(seed % strings.written()));
      EXPECT_THROW(helper.run(bad, outcome), ORVIDOM_DOMException);
    }
  }
  std::string command = "xmllint --noout";
  for (const std::string& f : files) command += " '" + f + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << "xmllint rejected a written document";
  for (const std::string& f : files) std::remove(f.c_str());
}

}  // namespace
