// actionhelper: makes and reads the library's documents from the shell, through the helpers.
#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "Demo.h"
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

std::string readInput(const std::string& file) {
  if (file == "-") {
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Failure(file + ": cannot read the file");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const Kind& kindNamed(const std::string& name) {
  for (const Kind& k : allKinds()) {
    if (k.name == name) return k;
  }
  throw UsageError("unknown kind \"" + name + "\"; `actionhelper kinds` lists them");
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

void listKinds() {
  std::vector<std::vector<std::string>> rows{
      {"KIND", "ROOT ELEMENT", "HELPER", "MAKE", "READ", "WHAT IT IS"}};
  for (const Kind& k : allKinds()) {
    rows.push_back({k.name, k.rootElement.empty() ? "(any)" : k.rootElement, k.helperClass,
                    k.make ? "yes" : "-", k.read ? "yes" : "-", k.summary});
  }
  std::cout << layOutTable(rows);
}

void make(const std::string& kindName, const std::string& file, bool indent, bool declaration) {
  const Kind& kind = kindNamed(kindName);
  if (!kind.make) throw UsageError("kind \"" + kindName + "\" is read only");
  const std::string text = readInput(file);
  nlohmann::json description;
  try {
    description = nlohmann::json::parse(text);
  } catch (const nlohmann::json::parse_error& e) {
    throw Failure(displayName(file) + ":" + position(text, e.byte ? e.byte - 1 : 0) + ": " +
                  e.what());
  }
  const std::string xml = runHelper("make " + kindName, [&] {
    try {
      JsonObject in(description, "");
      return ORVIDOM_Writer::toString(kind.make(in), {indent, declaration});
    } catch (const InputError& e) {
      throw Failure(displayName(file) + ": " + e.what());
    }
  });
  std::cout << xml << "\n";
}

const Kind& kindForRoot(const std::string& root) {
  const Kind* found = nullptr;
  std::string candidates;
  for (const Kind& k : allKinds()) {
    if (!k.read || k.rootElement != root) continue;
    candidates += (candidates.empty() ? "" : ", ") + k.name;
    if (found) {
      throw UsageError("several kinds read \"" + root + "\" (" + candidates +
                       "); choose one with --kind");
    }
    found = &k;
  }
  if (!found) throw UsageError("no kind reads \"" + root + "\"; choose one with --kind");
  return *found;
}

void read(const std::string& kindName, const std::string& file, const std::string& format) {
  const std::string text = readInput(file);
  ORVIDOM_Element root;
  try {
    root = ORVIDOM_Parser::parseString(text).getDocumentElement();
  } catch (const ORVIDOM_ParseError& e) {
    throw Failure(displayName(file) + ":" + std::to_string(e.getLine()) + ":" +
                  std::to_string(e.getColumn()) + ": " + e.what());
  }
  const Kind& kind = kindName.empty() ? kindForRoot(root.getTagName().str()) : kindNamed(kindName);
  if (!kind.read) throw UsageError("kind \"" + kind.name + "\" is made only");
  const std::string out = runHelper("read " + kind.name, [&] {
    if (format == "json") return kind.read(root).dump(2);
    std::ostringstream textOut;
    if (kind.readText) {
      kind.readText(root, textOut);
    } else {
      textOut << layOutJson(kind.read(root));
    }
    return textOut.str();
  });
  std::cout << out << (out.empty() || out.back() != '\n' ? "\n" : "");
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Makes and reads the documents of the Korvath action helpers."};
  app.set_version_flag("--version", std::string("actionhelper ") + KORVATH_VERSION);
  app.require_subcommand(1);

  app.add_subcommand("kinds",
                     "List every document kind: its root element, helper, make/read\n"
                     "  example: actionhelper kinds")
      ->callback(listKinds);

  std::string kindName, file = "-", format = "json";
  bool indent = false, declaration = false;
  CLI::App* makeCmd = app.add_subcommand(
      "make",
      "Fill a helper from a JSON description and print the XML it makes\n"
      "  example: echo '{\"metadataClass\":\"table\"}' | actionhelper make metadata-request -");
  makeCmd->add_option("KIND", kindName, "Document kind (see `actionhelper kinds`)")->required();
  makeCmd->add_option("FILE", file, "JSON description, - for standard input");
  makeCmd->add_flag("--indent", indent, "Indent the XML");
  makeCmd->add_flag("--declaration", declaration, "Start with the XML declaration");
  makeCmd->callback([&] { make(kindName, file, indent, declaration); });

  CLI::App* readCmd = app.add_subcommand(
      "read",
      "Take an XML document with its helper and print what the getters give\n"
      "  example: actionhelper read --format text examples/kinds/data-source-fault.in.xml "
      "--kind data-source-fault");
  readCmd->add_option("--kind", kindName, "Document kind, when the root element is ambiguous");
  readCmd->add_option("FILE", file, "XML document, - for standard input");
  readCmd->add_option("--format", format, "json or text")->check(CLI::IsMember({"json", "text"}));
  readCmd->callback([&] { read(kindName, file, format); });

  std::string examples = "examples";
  CLI::App* demoCmd =
      app.add_subcommand("demo",
                         "Build, write, parse and read the typical documents, step by step\n"
                         "  example: actionhelper demo --examples examples");
  demoCmd->add_option("--examples", examples, "Folder of the example documents");
  demoCmd->callback([&] { runDemo(examples, std::cout); });

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
