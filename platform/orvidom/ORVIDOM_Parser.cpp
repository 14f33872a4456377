#include "orvidom/ORVIDOM_Parser.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "orvidom/DocumentParser.h"
#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/ParsePosition.h"

ORVIDOM_Document ORVIDOM_Parser::parseString(std::string_view xml) {
  return ORVIDOM_Access::node(orvidom::parseDocument(xml), orvidom::kDocumentNode);
}

ORVIDOM_Document ORVIDOM_Parser::parseFile(const std::string& path) {
  auto cannotRead = [&path] {
    throw ORVIDOM_ParseError("cannot read the file " + path + ": " + std::strerror(errno), 0, 0, 0);
  };
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) cannotRead();
  std::string content;
  char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) content.append(chunk, n);
  // A directory opens on some systems and fails at the first read.
  if (std::ferror(file.get())) cannotRead();
  return parseString(content);
}
