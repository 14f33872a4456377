// actionhelper: makes and reads the library's documents from the shell, through the helpers.
#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>

#include "Demo.h"
#include "KindJson.h"
#include "Kinds.h"
#include "TextLayout.h"

namespace {

// A problem with how the tool was called: exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A problem with the input or from a helper, already worded for standard error: exit status 1.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string displayName(const std::string& file) { return file == "-" ? "<stdin>" : file; }

std::string systemReason() { return std::strerror(errno); }

// The whole file, or standard input for "-"; Failure naming the file and the system's reason.
std::string readInput(const std::string& file) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(
      file == "-" ? stdin : std::fopen(file.c_str(), "rb"),
      [](std::FILE* f) { return f == stdin ? 0 : std::fclose(f); });
  if (!in) throw Failure(file + ": " + systemReason());
  std::string text;
  char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in.get())) > 0) text.append(buffer, n);
  if (std::ferror(in.get())) throw Failure(displayName(file) + ": " + systemReason());
  return text;
}

// Where the output goes: standard output, or the file of -o.
class Output {
 public:
  explicit Output(const std::string& file) {
    if (file.empty()) return;
    m_file.open(file, std::ios::binary);
    if (!m_file) throw Failure(file + ": " + systemReason());
    m_out = &m_file;
  }
  std::ostream& stream() { return *m_out; }
  // Failure when anything written did not reach its place.
  void finish() {
    // A write that failed earlier left its reason in errno; a flush now may fail anew.
    if (!m_out->fail()) errno = 0, m_out->flush();
    if (m_file.is_open()) m_file.close();
    if (m_out->fail()) {
      throw Failure("writing the output failed: " +
                    (errno ? systemReason() : std::string("the output refused it")));
    }
  }

 private:
  std::ofstream m_file;
  std::ostream* m_out = &std::cout;
};

const Kind& kindNamed(const std::string& name) {
  if (const Kind* k = findKind(name)) return *k;
  throw UsageError("unknown kind \"" + name + "\"; `actionhelper kinds` lists them");
}

// The line of `text` around byte `offset`, and a caret under the offset's character, as
// compilers show where a problem is; a long line is cut to the part around the offset.
std::string excerpt(const std::string& text, std::size_t offset) {
  offset = std::min(offset, text.size());
  std::size_t start = text.rfind('\n', offset == 0 ? 0 : offset - 1);
  start = (start == std::string::npos || start >= offset) ? 0 : start + 1;
  std::size_t end = text.find('\n', offset);
  if (end == std::string::npos) end = text.size();
  constexpr std::size_t kAround = 60;
  const bool cutStart = offset - start > kAround, cutEnd = end - offset > kAround;
  if (cutStart) start = offset - kAround;
  if (cutEnd) end = offset + kAround;
  // Cuts land on whole characters.
  const auto isContinuation = [&](std::size_t i) {
    return i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
  };
  while (start < offset && isContinuation(start)) ++start;
  while (end > offset && isContinuation(end)) --end;
  std::string line = text.substr(start, end - start), caret;
  for (std::size_t i = start; i < offset; ++i) {
    if (!isContinuation(i)) caret += text[i] == '\t' ? '\t' : ' ';
  }
  for (char& c : line) {
    if (c == '\r') c = ' ';
  }
  return "  " + std::string(cutStart ? "..." : "") + line + (cutEnd ? "..." : "") + "\n  " +
         std::string(cutStart ? "   " : "") + caret + "^";
}

// Line and column (from 1, columns in characters) of a byte offset.
std::string position(const std::string& text, std::size_t offset) {
  int line = 1;
  std::size_t start = 0;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') ++line, start = i + 1;
  }
  int column = 1;
  for (std::size_t i = start; i < offset && i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++column;
  }
  return std::to_string(line) + ":" + std::to_string(column);
}

// Runs a helper step, turning its errors into Failure with the command and kind named.
template <class Step>
auto runHelper(const std::string& what, Step step) {
  try {
    return step();
  } catch (const ORVAssertError& e) {
    throw Failure(what + ": " + e.what() + " (" + e.getSourceUnit() + ", line " +
                  std::to_string(e.getLine()) + ")");
  } catch (const ORVIDOM_DOMException& e) {
    throw Failure(what + ": " + e.what());
  } catch (const InputError& e) {
    throw Failure(what + ": " + e.what());
  }
}

std::string joined(const std::vector<std::string>& names, const char* separator = ", ") {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : separator) + n;
  return out;
}

void listKinds(const std::string& format, std::ostream& out) {
  if (format == "json") {
    nlohmann::ordered_json table = nlohmann::ordered_json::array();
    for (const Kind& k : allKinds()) table.push_back(kindJson(k));
    out << table.dump(2) << "\n";
    return;
  }
  std::vector<std::vector<std::string>> rows{
      {"KIND", "ROOT ELEMENT", "HELPER", "MAKE", "READ", "WHAT IT IS"}};
  for (const Kind& k : allKinds()) {
    rows.push_back({k.name, k.roots.empty() ? "(any)" : joined(k.roots, "|"), k.helperClass,
                    k.make ? "yes" : "-", k.read ? "yes" : "-", k.summary});
  }
  out << layOutTable(rows);
}

// Tracks keys and depth while a description is parsed: a key given twice in one object and
// nesting past kMaxInputDepth are errors, with the path of the object.
class KeyTracker {
 public:
  bool operator()(int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
    using Event = nlohmann::json::parse_event_t;
    if (depth > kMaxInputDepth) {
      throw InputError(path() + ": nested deeper than " + std::to_string(kMaxInputDepth) +
                       " levels");
    }
    switch (event) {
      case Event::object_start:
      case Event::array_start:
        m_levels.push_back({event == Event::array_start, {}, "", 0});
        break;
      case Event::key: {
        Level& level = m_levels.back();
        level.key = parsed.get<std::string>();
        if (!level.keys.insert(level.key).second) {
          m_levels.back().key.clear();
          throw InputError(path() + ": the field \"" + parsed.get<std::string>() +
                           "\" is given twice");
        }
        break;
      }
      case Event::object_end:
      case Event::array_end:
        m_levels.pop_back();
        advance();
        break;
      case Event::value:
        advance();
        break;
    }
    return true;
  }

 private:
  struct Level {
    bool array;
    std::set<std::string> keys;
    std::string key;
    std::size_t index;
  };

  void advance() {
    if (!m_levels.empty() && m_levels.back().array) ++m_levels.back().index;
  }

  // The path of the innermost open value.
  std::string path() const {
    std::string out;
    for (std::size_t i = 0; i + 1 < m_levels.size(); ++i) {
      const Level& l = m_levels[i];
      if (l.array) {
        out += "[" + std::to_string(l.index) + "]";
      } else {
        out += (out.empty() ? "" : ".") + l.key;
      }
    }
    return out.empty() ? "input" : out;
  }

  std::vector<Level> m_levels;
};

nlohmann::json parseDescription(const std::string& text, const std::string& file) {
  try {
    return nlohmann::json::parse(text, KeyTracker());
  } catch (const nlohmann::json::parse_error& e) {
    const std::size_t at = e.byte ? e.byte - 1 : 0;
    throw Failure(displayName(file) + ":" + position(text, at) + ": " + e.what() + "\n" +
                  excerpt(text, at));
  } catch (const InputError& e) {
    throw Failure(displayName(file) + ": " + e.what());
  }
}

void make(const std::string& kindName, const std::string& file, bool indent, bool declaration,
          Output& output) {
  const Kind& kind = kindNamed(kindName);
  if (!kind.make) throw UsageError("kind \"" + kindName + "\" is read only");
  const std::string text = readInput(file);
  const nlohmann::json description = parseDescription(text, file);
  const std::string xml = runHelper("make " + kindName, [&] {
    try {
      checkDescription(kind, description);
      JsonObject in(description, "");
      return ORVIDOM_Writer::toString(kind.make(in), {indent, declaration});
    } catch (const InputError& e) {
      throw Failure(displayName(file) + ": " + e.what());
    }
  });
  output.stream() << xml << "\n";
}

// The kinds that read documents whose top element is `root`.
std::vector<std::string> kindsReading(const std::string& root, bool byName) {
  std::vector<std::string> names;
  for (const Kind& k : allKinds()) {
    if (k.read && (byName ? !k.roots.empty() && k.readsRoot(root) : k.roots.empty())) {
      names.push_back(k.name);
    }
  }
  return names;
}

const Kind& kindForRoot(const std::string& root) {
  const std::vector<std::string> named = kindsReading(root, true);
  if (named.size() == 1) return kindNamed(named[0]);
  if (named.size() > 1) {
    throw UsageError("several kinds read <" + root + "> (" + joined(named) +
                     "); choose one with --kind");
  }
  throw UsageError("no kind names <" + root + "> as its root; kinds that read any root: " +
                   joined(kindsReading(root, false)) + "; choose one with --kind");
}

// Refuses a document nested deeper than kMaxInputDepth, walking it without recursion.
void requireShallow(const ORVIDOM_Element& root, const std::string& file) {
  int depth = 1;
  ORVIDOM_Node node = root.getFirstChild();
  while (!node.isNull() && depth > 0) {
    if (node.getNodeType() == ORVIDOM_Node::ELEMENT_NODE && !node.getFirstChild().isNull()) {
      if (++depth > kMaxInputDepth) {
        throw Failure(displayName(file) + ": elements nested deeper than " +
                      std::to_string(kMaxInputDepth) + " levels, which the tool does not read");
      }
      node = node.getFirstChild();
      continue;
    }
    while (node.getNextSibling().isNull() && depth > 0) {
      node = node.getParentNode();
      --depth;
    }
    if (depth > 0) node = node.getNextSibling();
  }
}

void read(const std::string& kindName, const std::string& file, const std::string& format,
          Output& output) {
  const Kind* named = kindName.empty() ? nullptr : &kindNamed(kindName);
  if (named && !named->read) throw UsageError("kind \"" + kindName + "\" is made only");
  const std::string text = readInput(file);
  ORVIDOM_Element root;
  try {
    root = ORVIDOM_Parser::parseString(text).getDocumentElement();
  } catch (const ORVIDOM_ParseError& e) {
    // Without input (or at line 0, where nothing could be read) there is no line to show.
    throw Failure(displayName(file) + ":" + std::to_string(e.getLine()) + ":" +
                  std::to_string(e.getColumn()) + ": " + e.what() +
                  (e.getLine() > 0 && !text.empty() ? "\n" + excerpt(text, e.getOffset()) : ""));
  }
  const std::string rootName = root.getTagName().str();
  const Kind& kind = named ? *named : kindForRoot(rootName);
  if (!kind.readsRoot(rootName)) {
    throw Failure(displayName(file) + ": read " + kind.name + ": the root element is <" + rootName +
                  ">; " + kind.name + " reads <" + joined(kind.roots, "> or <") + ">");
  }
  requireShallow(root, file);
  std::ostream& out = output.stream();
  runHelper("read " + kind.name, [&] {
    if (format == "json" && kind.readJson) {
      kind.readJson(root, out);
    } else if (format == "json") {
      out << kind.read(root).dump(2);
    } else if (kind.readText) {
      kind.readText(root, out);
    } else {
      out << layOutJson(kind.read(root));
    }
    out << (format == "json" ? "\n" : "");
  });
}

void printSchema(const std::string& kindName, Output& output) {
  output.stream() << schemaOf(kindNamed(kindName)).dump(2) << "\n";
}

// The kinds whose made documents hold XML fragments that indentation would turn into text.
std::string fragmentKinds() {
  std::vector<std::string> names;
  for (const Kind& k : allKinds()) {
    if (!k.make || !k.read) continue;
    bool fragments = false;
    std::vector<const std::vector<Field>*> pending{&k.fields};
    while (!pending.empty() && !fragments) {
      const std::vector<Field>* fields = pending.back();
      pending.pop_back();
      for (const Field& f : *fields) {
        const Field& inner = f.type == FieldType::List ? *f.item : f;
        fragments |= inner.type == FieldType::Xml && !inner.readOnly && !f.readOnly;
        if (inner.type == FieldType::Object && inner.shape->name.empty()) {
          pending.push_back(&inner.shape->fields);
        }
      }
    }
    if (fragments) names.push_back(k.name);
  }
  return joined(names);
}

}  // namespace

int main(int argc, char** argv) {
  // A closed pipe is reported as a failed write rather than ending the tool silently.
  std::signal(SIGPIPE, SIG_IGN);
  CLI::App app{"Makes and reads the documents of the Korvath action helpers."};
  app.set_version_flag("--version", std::string("actionhelper ") + KORVATH_VERSION);
  app.require_subcommand(1);

  std::string kindName, file = "-", format = "text", outputFile;
  bool indent = false, declaration = false;
  const auto addOutput = [&](CLI::App* cmd) {
    cmd->add_option("-o,--output", outputFile, "Write to this file instead of standard output");
  };
  const auto run = [&](auto step) {
    return [&, step] {
      Output output(outputFile);
      step(output);
      output.finish();
    };
  };

  CLI::App* kindsCmd =
      app.add_subcommand("kinds",
                         "List every document kind: its root element, helper, make/read\n"
                         "  example: actionhelper kinds --format json");
  kindsCmd->add_option("--format", format, "text or json (with each kind's JSON Schema)")
      ->check(CLI::IsMember({"json", "text"}));
  addOutput(kindsCmd);
  kindsCmd->callback(run([&](Output& out) { listKinds(format, out.stream()); }));

  CLI::App* makeCmd = app.add_subcommand(
      "make",
      "Fill a helper from a JSON description and print the XML it makes\n"
      "  example: echo '{\"metadataClass\":\"table\"}' | actionhelper make metadata-request -");
  makeCmd->add_option("KIND", kindName, "Document kind (see `actionhelper kinds`)")->required();
  makeCmd->add_option("FILE", file, "JSON description, - for standard input");
  makeCmd->add_flag("--indent", indent,
                    "Indent the XML. An indented document of a kind that holds XML fragments (" +
                        fragmentKinds() +
                        ") cannot be read back: a fragment must be the first child of its "
                        "element, and indentation puts text before it");
  makeCmd->add_flag("--declaration", declaration, "Start with the XML declaration");
  addOutput(makeCmd);
  makeCmd->callback(run([&](Output& out) { make(kindName, file, indent, declaration, out); }));

  std::string readFormat = "json";
  CLI::App* readCmd = app.add_subcommand(
      "read",
      "Take an XML document with its helper and print what the getters give\n"
      "  example: actionhelper read --format text examples/kinds/data-source-fault.in.xml "
      "--kind data-source-fault");
  readCmd->add_option("--kind", kindName, "Document kind, when the root element is ambiguous");
  readCmd->add_option("FILE", file, "XML document, - for standard input");
  readCmd->add_option("--format", readFormat, "json or text")
      ->check(CLI::IsMember({"json", "text"}));
  addOutput(readCmd);
  readCmd->callback(run([&](Output& out) { read(kindName, file, readFormat, out); }));

  CLI::App* schemaCmd =
      app.add_subcommand("schema",
                         "Print the JSON Schema of a kind's JSON: what make takes and read gives\n"
                         "  example: actionhelper schema metadata-request");
  schemaCmd->add_option("KIND", kindName, "Document kind (see `actionhelper kinds`)")->required();
  addOutput(schemaCmd);
  schemaCmd->callback(run([&](Output& out) { printSchema(kindName, out); }));

  CLI::App* demoCmd =
      app.add_subcommand("demo",
                         "Build, write, parse and read the typical documents, step by step\n"
                         "  example: actionhelper demo");
  addOutput(demoCmd);
  demoCmd->callback(run([&](Output& out) { runDemo(out.stream()); }));

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version end well; every other complaint about the call is a usage error.
    return app.exit(e) == 0 ? 0 : 2;
  } catch (const UsageError& e) {
    std::cerr << "actionhelper: " << e.what() << "\n";
    return 2;
  } catch (const Failure& e) {
    std::cerr << e.what() << "\n";
    return 1;
  } catch (const ORVAssertError& e) {
    std::cerr << "demo: " << e.what() << " (" << e.getSourceUnit() << ")\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "actionhelper: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
