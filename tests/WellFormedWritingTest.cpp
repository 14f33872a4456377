// Writing only well-formed XML: random strings from every Unicode plane, with markup characters
// and whitespace, go through the setters of writing helpers. Every document written is accepted
// by an independent checker (xmllint), parsed and taken, and every value comes back unchanged; a
// string with a character XML cannot carry ends in ORVIDOM_DOMException, never in a document.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

constexpr int kRounds = 300;

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

class Strings {
 public:
  explicit Strings(unsigned seed) : m_random(seed) {}

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
};

ORVIDOM_Element Made(const ActionHandlerBase& helper) {
  ORVIDOM_Element elem;
  helper.Make(elem);
  return elem;
}

ZoPackagesReportHelper* Packages(const std::vector<std::string>& v) {
  auto* report = new ZoPackagesReportHelper;
  for (std::size_t i = 0; i + 1 < v.size(); i += 2) report->AddPackage(v[i], v[i + 1]);
  return report;
}

std::vector<std::string> PackagesRead(ORVIDOM_Element& elem) {
  ZoPackagesReportHelper report;
  report.Take(elem);
  std::vector<std::string> out;
  for (const auto* p : report.GetPackages()) {
    out.push_back(p->defaultName.str());
    out.push_back(p->cmSearchPath.str());
  }
  return out;
}

using Task = ZoUpdateRequestTaskHelper;

ZoUpdateObjectRequestHelper* Update(const std::vector<std::string>& v) {
  auto* request = new ZoUpdateObjectRequestHelper;
  Task* task = request->AddTask(Task::kTaskUpdateProperty);
  for (std::size_t i = 0; i + 1 < v.size(); i += 2) {
    task->AddParameter(Task::kParamCaption, v[i], v[i + 1]);
  }
  return request;
}

std::vector<std::string> UpdateRead(ORVIDOM_Element& elem) {
  ZoUpdateObjectRequestHelper request;
  request.Take(elem);
  std::vector<std::string> out;
  std::vector<Task::ParamValue*> values;
  if (request.GetTasks().size() == 1)
    request.GetTasks()[0]->GetParameter(Task::kParamCaption, values);
  for (const Task::ParamValue* value : values) {
    out.push_back(value->value.str());
    out.push_back(value->locale.str());
  }
  return out;
}

ZoModelAnalysisRequestHelper* Analysis(const std::vector<std::string>& v) {
  auto* request = new ZoModelAnalysisRequestHelper;
  ZoAnalyzeRequestTaskHelper* task =
      request->AddTask(ZoAnalyzeRequestTaskHelper::kTaskDoSpecifiedChecks);
  for (const std::string& s : v) task->AddObject(s);
  return request;
}

std::vector<std::string> AnalysisRead(ORVIDOM_Element& elem) {
  ZoModelAnalysisRequestHelper request;
  request.Take(elem);
  std::vector<std::string> out;
  if (request.GetTasks().size() == 1) {
    for (const I18NString& s : request.GetTasks()[0]->GetObjects()) out.push_back(s.str());
  }
  return out;
}

// A helper family whose values all come back when read: packages (attributes), update-object
// parameters (text and locale) and model analysis objects (text).
struct Family {
  const char* name;
  ActionHandlerBase* (*make)(const std::vector<std::string>&);
  std::vector<std::string> (*read)(ORVIDOM_Element&);
};

const Family kFamilies[] = {
    {"packages",
     [](const std::vector<std::string>& v) -> ActionHandlerBase* { return Packages(v); },
     PackagesRead},
    {"update", [](const std::vector<std::string>& v) -> ActionHandlerBase* { return Update(v); },
     UpdateRead},
    {"analysis",
     [](const std::vector<std::string>& v) -> ActionHandlerBase* { return Analysis(v); },
     AnalysisRead},
};

bool HaveXmllint() { return std::system("xmllint --version >/dev/null 2>&1") == 0; }

TEST(WellFormedWritingTest, RandomStringsComeBackAndForbiddenOnesAreRefused) {
  if (!HaveXmllint()) GTEST_SKIP() << "xmllint is not installed";
  Strings strings(20261205);
  std::vector<std::string> files;
  const std::string dir = ::testing::TempDir();
  for (int round = 0; round < kRounds; ++round) {
    const Family& family = kFamilies[round % std::size(kFamilies)];
    SCOPED_TRACE(std::string(family.name) + " round " + std::to_string(round));
    std::vector<std::string> values;
    for (int n = 2 + 2 * (round % 3); n-- > 0;) values.push_back(strings.allowed());
    std::unique_ptr<ActionHandlerBase> helper(family.make(values));
    const std::string xml = ORVIDOM_Writer::toString(Made(*helper));
    files.push_back(dir + "wellformed_" + std::to_string(round) + ".xml");
    std::ofstream(files.back(), std::ios::binary) << xml;
    ORVIDOM_Element received = ORVIDOM_Parser::parseString(xml).getDocumentElement();
    EXPECT_EQ(family.read(received), values) << xml;

    // One forbidden string among allowed ones: refused when made, nothing written.
    values[round % values.size()] = strings.forbidden();
    std::unique_ptr<ActionHandlerBase> bad(family.make(values));
    EXPECT_THROW(Made(*bad), ORVIDOM_DOMException);
  }
  std::string command = "xmllint --noout";
  for (const std::string& f : files) command += " '" + f + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << "xmllint rejected a written document";
  for (const std::string& f : files) std::remove(f.c_str());
}

}  // namespace
