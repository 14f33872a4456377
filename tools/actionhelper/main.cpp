// actionhelper: makes and reads the library's documents from the shell, through the helpers.
#include <CLI/CLI.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include "Demo.h"
#include "InputBuffer.h"
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

// Input past the limit of a document read whole.
std::string overLimit(const std::string& file, std::uint64_t limit) {
  return displayName(file) + ": more than the input limit of " + std::to_string(limit) +
         " bytes; --max-input raises it";
}

std::string systemReason() { return std::strerror(errno); }

// Input past this many bytes is refused unless --max-input allows more: the tool holds the text
// and the tree made from it, several times its size, so an endless input such as /dev/zero must
// end in an error rather than in exhausted memory. Kinds read as they come hold neither.
constexpr std::uint64_t kDefaultMaxInput = std::uint64_t(256) << 20;

using InputFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// The file, or standard input for "-"; Failure naming the file and the system's reason.
InputFile openInput(const std::string& file) {
  InputFile in(file == "-" ? stdin : std::fopen(file.c_str(), "rb"),
               [](std::FILE* f) { return f == stdin ? 0 : std::fclose(f); });
  if (!in) throw Failure(file + ": " + systemReason());
  return in;
}

// `text` followed by the rest of the input; Failure naming the file and the system's reason, or
// the limit when the input holds more than `limit` bytes.
std::string readRest(std::string text, InputBuffer& rest, const std::string& file,
                     std::uint64_t limit) {
  char chunk[1 << 16];
  for (std::streamsize n; (n = rest.sgetn(chunk, sizeof chunk)) > 0;) {
    if (text.size() + n > limit) throw Failure(overLimit(file, limit));
    text.append(chunk, n);
  }
  if (rest.failed()) throw Failure(displayName(file) + ": " + systemReason());
  return text;
}

// The whole file, or standard input for "-".
std::string readInput(const std::string& file, std::uint64_t limit) {
  const InputFile in = openInput(file);
  InputBuffer buffer(in.get(), nullptr, 0);
  return readRest({}, buffer, file, limit);
}

// The file's identity, when it is a regular file that exists; `file` "-" is standard input.
std::optional<std::pair<dev_t, ino_t>> regularFile(const std::string& file) {
  struct stat st {};
  if ((file == "-" ? fstat(STDIN_FILENO, &st) : stat(file.c_str(), &st)) != 0) return {};
  if (!S_ISREG(st.st_mode)) return {};
  return std::make_pair(st.st_dev, st.st_ino);
}

// Where the output goes: standard output, or the file of -o. A regular file, or one still to be
// made, is written beside itself under a temporary name and renamed over its place only when the
// run succeeds, so that a failed run leaves it as it was; anything else (a device, a pipe) is
// written directly, as it cannot be replaced.
class Output {
 public:
  // `input` is the file the command reads ("" for none); an output that is the same regular
  // file, by any path, is refused before anything is read or written.
  Output(const std::string& file, const std::string& input) : m_target(file) {
    if (file.empty()) return;
    const auto existing = regularFile(file);
    if (existing && !input.empty() && existing == regularFile(input)) {
      throw UsageError("the output " + file + " is the input " + displayName(input) +
                       "; write to another file");
    }
    struct stat st {};
    if (stat(file.c_str(), &st) == 0 && !existing) {
      open(file);
      return;
    }
    // The file a link names is the one replaced, as writing to it directly would change it.
    if (existing) {
      std::unique_ptr<char, void (*)(void*)> real(realpath(file.c_str(), nullptr), std::free);
      if (real) m_target = real.get();
    }
    std::string temporary = m_target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) throw Failure(file + ": " + systemReason());
    m_temporary = temporary;
    // The mode a file written directly would have: the old file's, or the default one.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, existing ? st.st_mode & 07777 : 0666 & ~mask);
    close(fd);
    open(m_temporary);
  }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  ~Output() {
    if (!m_temporary.empty()) std::remove(m_temporary.c_str());
  }

  std::ostream& stream() { return *m_out; }
  // Failure when anything written did not reach its place; the file then keeps what it held.
  void finish() {
    // A write that failed earlier left its reason in errno; a flush now may fail anew.
    if (!m_out->fail()) errno = 0, m_out->flush();
    if (m_file.is_open()) m_file.close();
    if (m_out->fail()) {
      throw Failure("writing the output failed: " +
                    (errno ? systemReason() : std::string("the output refused it")));
    }
    if (m_temporary.empty()) return;
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
      throw Failure(m_target + ": " + systemReason());
    }
    m_temporary.clear();
  }

 private:
  void open(const std::string& path) {
    m_file.open(path, std::ios::binary);
    if (!m_file) throw Failure(m_target + ": " + systemReason());
    m_out = &m_file;
  }

  std::string m_target, m_temporary;
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

// Where the parser stops on a description: its byte offset after the token it refused, and that
// token. The parser's own out-of-range error gives neither.
class ErrorLocator : public nlohmann::json_sax<nlohmann::json> {
 public:
  std::size_t end = 0;
  std::string token;

  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return true; }
  bool key(string_t&) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t at, const std::string& last,
                   const nlohmann::json::exception&) override {
    end = at, token = last;
    return false;
  }
};

// FILE:LINE:COLUMN: what, then the line with a caret under the byte `at`.
[[noreturn]] void failAt(const std::string& text, const std::string& file, std::size_t at,
                         const std::string& what) {
  throw Failure(displayName(file) + ":" + position(text, at) + ": " + what + "\n" +
                excerpt(text, at));
}

nlohmann::json parseDescription(const std::string& text, const std::string& file) {
  try {
    return nlohmann::json::parse(text, KeyTracker());
  } catch (const nlohmann::json::parse_error& e) {
    failAt(text, file, e.byte ? e.byte - 1 : 0, e.what());
  } catch (const nlohmann::json::out_of_range&) {
    // A number beyond the range of any JSON number, shown by its first digits only.
    ErrorLocator where;
    nlohmann::json::sax_parse(text, &where);
    constexpr std::size_t kShown = 20;
    const std::string shown = where.token.size() > kShown
                                  ? where.token.substr(0, kShown) + "... (" +
                                        std::to_string(where.token.size()) + " characters)"
                                  : where.token;
    failAt(text, file, where.end - std::min(where.end, where.token.size()),
           "number out of range: " + shown);
  } catch (const InputError& e) {
    throw Failure(displayName(file) + ": " + e.what());
  }
}

void make(const std::string& kindName, const std::string& file, std::uint64_t maxInput, bool indent,
          bool declaration, Output& output) {
  const Kind& kind = kindNamed(kindName);
  if (!kind.make) throw UsageError("kind \"" + kindName + "\" is read only");
  const std::string text = readInput(file, maxInput);
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

const Kind& kindOfRoot(const std::string& root) {
  std::string why;
  if (const Kind* kind = kindForRoot(root, why)) return *kind;
  throw UsageError(why + "; choose one with --kind");
}

// A Failure for a parse error of input read as it comes, naming the file and showing the line
// where it is when `input` still holds it, or the reason the input could not be read.
[[noreturn]] void failParse(const ORVIDOM_ParseError& e, const InputBuffer& input,
                            const std::string& file) {
  if (input.failed()) throw Failure(displayName(file) + ": " + systemReason());
  if (input.overLimit()) throw Failure(overLimit(file, input.limit()));
  std::uint64_t first = 0;
  const std::string_view kept = input.kept(first);
  const bool shown = e.getLine() > 0 && !kept.empty() && e.getOffset() >= first &&
                     e.getOffset() <= first + kept.size();
  throw Failure(displayName(file) + ":" + std::to_string(e.getLine()) + ":" +
                std::to_string(e.getColumn()) + ": " + e.what() +
                (shown ? "\n" + excerpt(std::string(kept), e.getOffset() - first) : ""));
}

// One reading of the XML input as it comes.
struct XmlPass {
  // A reading of `in` that keeps a copy of what it reads in `copy` (unless null), up to `limit`
  // bytes; the reader reads its first window at once.
  explicit XmlPass(std::FILE* in, std::string* copy = nullptr, std::uint64_t limit = 0)
      : buffer(in, copy, limit), stream(&buffer), reader(stream) {}

  // Reads on to the root's start tag and gives its name.
  std::string root(const std::string& file) {
    try {
      reader.next();
    } catch (const ORVIDOM_ParseError& e) {
      failParse(e, buffer, file);
    }
    return std::string(reader.getName());
  }

  InputBuffer buffer;
  std::istream stream;
  ORVIDOM_PullReader reader;
};

// Reads the document whole into a tree and gives what the kind's helper reads from it.
void readTree(const Kind& kind, std::string head, InputBuffer& rest, const std::string& file,
              std::uint64_t maxInput, const std::string& format, std::ostream& out) {
  std::string text = readRest(std::move(head), rest, file, maxInput);
  ORVIDOM_Element root;
  try {
    root = ORVIDOM_Parser::parseString(text).getDocumentElement();
  } catch (const ORVIDOM_ParseError& e) {
    throw Failure(displayName(file) + ":" + std::to_string(e.getLine()) + ":" +
                  std::to_string(e.getColumn()) + ": " + e.what() +
                  (e.getLine() > 0 ? "\n" + excerpt(text, e.getOffset()) : ""));
  }
  std::string().swap(text);
  if (nestedDeeperThan(root, kMaxInputDepth)) {
    throw Failure(displayName(file) + ": elements nested deeper than " +
                  std::to_string(kMaxInputDepth) + " levels, which the tool does not read");
  }
  runHelper("read " + kind.name, [&] {
    if (format == "json") {
      out << kind.read(root).dump(2) << "\n";
    } else {
      out << layOutJson(kind.read(root));
    }
  });
}

// The document's kind is known from its root's start tag, read as the input comes. A kind
// read from a tree then reads the rest whole; one read as it comes goes on reading, memory
// staying flat whatever the size. Its text layout may need a second pass: standard input is
// then kept in a temporary file as it is read.
void read(const std::string& kindName, const std::string& file, std::uint64_t maxInput,
          const std::string& format, Output& output) {
  const Kind* named = kindName.empty() ? nullptr : &kindNamed(kindName);
  if (named && !named->read) throw UsageError("kind \"" + kindName + "\" is made only");
  const InputFile in = openInput(file);
  std::string head;
  XmlPass pass(in.get(), &head, maxInput);
  const std::string rootName = pass.root(file);
  if (pass.buffer.overLimit()) throw Failure(overLimit(file, maxInput));
  const Kind& kind = named ? *named : kindOfRoot(rootName);
  if (!kind.readsRoot(rootName)) {
    throw Failure(displayName(file) + ": read " + kind.name + ": the root element is <" + rootName +
                  ">; " + kind.name + " reads <" + joined(kind.roots, "> or <") + ">");
  }
  pass.buffer.stopCopying();
  std::ostream& out = output.stream();
  if (!kind.stream)
    return readTree(kind, std::move(head), pass.buffer, file, maxInput, format, out);
  const bool text = format == "text";
  const InputFile spool(text && !regularFile(file) ? std::tmpfile() : nullptr, std::fclose);
  if (spool) {
    std::fwrite(head.data(), 1, head.size(), spool.get());
    pass.buffer.spoolTo(spool.get());
  }
  std::string().swap(head);
  std::unique_ptr<XmlPass> second;
  InputFile reopened(nullptr, std::fclose);
  XmlPass* current = &pass;
  const std::function<ORVIDOM_PullReader&()> again = [&]() -> ORVIDOM_PullReader& {
    if (spool && (std::fflush(spool.get()) != 0 || pass.buffer.failed())) {
      throw Failure("keeping standard input in a temporary file failed: " + systemReason());
    }
    if (spool) std::rewind(spool.get());
    if (!spool) reopened = openInput(file);
    second = std::make_unique<XmlPass>(spool ? spool.get() : reopened.get());
    current = second.get();
    second->root(file);
    return second->reader;
  };
  try {
    runHelper("read " + kind.name, [&] { kind.stream(pass.reader, again, text, out); });
  } catch (const ORVIDOM_ParseError& e) {
    failParse(e, current->buffer, file);
  }
  out << (text ? "" : "\n");
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
  std::uint64_t maxInput = kDefaultMaxInput;
  const auto addOutput = [&](CLI::App* cmd) {
    cmd->add_option("-o,--output", outputFile,
                    "Write to this file instead of standard output; the file is replaced only "
                    "when the command succeeds, and may not be the input");
  };
  const auto addInput = [&](CLI::App* cmd, const char* what) {
    cmd->add_option("FILE", file, what);
    cmd->add_option("--max-input", maxInput,
                    "Refuse input larger than this (bytes, or with K, M or G); default 256M. "
                    "Query and update-object responses are read as they come, in little "
                    "memory, and have no limit")
        ->transform(CLI::AsSizeValue(false));
  };
  // `input` is the file the command reads, which the output may not be.
  const auto run = [&](auto step, const std::string* input = nullptr) {
    return [&, step, input] {
      Output output(outputFile, input ? *input : "");
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
  addInput(makeCmd, "JSON description, - for standard input");
  makeCmd->add_flag("--indent", indent,
                    "Indent the XML. An indented document of a kind that holds XML fragments (" +
                        fragmentKinds() +
                        ") cannot be read back: a fragment must be the first child of its "
                        "element, and indentation puts text before it");
  makeCmd->add_flag("--declaration", declaration, "Start with the XML declaration");
  addOutput(makeCmd);
  makeCmd->callback(
      run([&](Output& out) { make(kindName, file, maxInput, indent, declaration, out); }, &file));

  std::string readFormat = "json";
  CLI::App* readCmd = app.add_subcommand(
      "read",
      "Take an XML document with its helper and print what the getters give\n"
      "  example: actionhelper read --format text examples/kinds/data-source-fault.in.xml "
      "--kind data-source-fault");
  readCmd->add_option("--kind", kindName, "Document kind, when the root element is ambiguous");
  addInput(readCmd, "XML document, - for standard input");
  readCmd->add_option("--format", readFormat, "json or text")
      ->check(CLI::IsMember({"json", "text"}));
  addOutput(readCmd);
  readCmd->callback(
      run([&](Output& out) { read(kindName, file, maxInput, readFormat, out); }, &file));

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
    // Help and version end well when they reach standard output; every other complaint about
    // the call is a usage error.
    if (app.exit(e) != 0) return 2;
    try {
      Output(std::string(), std::string()).finish();
    } catch (const Failure& lost) {
      std::cerr << lost.what() << "\n";
      return 1;
    }
    return 0;
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
