#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "orvidom/ParseWindow.h"

namespace orvidom {

// A file read as it comes. A file that cannot be opened, or fails to read, is reported as one
// that cannot be read, naming it and the system's reason.
class FileSource final : public WindowSource {
 public:
  // Opens the file at `path`; throws ORVIDOM_ParseError where it cannot.
  explicit FileSource(const std::string& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  std::size_t read(char* to, std::size_t size) override;
  bool finished() const override { return m_finished; }
  // The bytes left to read, all of them.
  std::string readAll();

 private:
  [[noreturn]] void cannotRead() const;

  std::string m_path;
  std::FILE* m_file;
  bool m_finished = false;
};

}  // namespace orvidom
