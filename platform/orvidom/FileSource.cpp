#include "orvidom/FileSource.h"

#include <cerrno>
#include <cstring>

#include "orvidom/ORVIDOM_ParseError.h"

namespace orvidom {

FileSource::FileSource(const std::string& path)
    : m_path(path), m_file(std::fopen(path.c_str(), "rb")) {
  if (!m_file) cannotRead();
}

FileSource::~FileSource() { std::fclose(m_file); }

std::size_t FileSource::read(char* to, std::size_t size) {
  if (m_finished) return 0;
  const std::size_t n = std::fread(to, 1, size, m_file);
  if (n < size) {
    // A directory opens on some systems and fails at the first read.
    if (std::ferror(m_file)) cannotRead();
    m_finished = true;
  }
  return n;
}

std::string FileSource::readAll() {
  std::string content;
  char chunk[65536];
  while (const std::size_t n = read(chunk, sizeof chunk)) content.append(chunk, n);
  return content;
}

void FileSource::cannotRead() const {
  throw ORVIDOM_ParseError("cannot read the file " + m_path + ": " + std::strerror(errno), 0, 0, 0);
}

}  // namespace orvidom
