// Writes a node and its subtree as UTF-8 XML that parses back to the same tree.
#pragma once

#include <string>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Node.h>

// How the writer lays out its output.
struct ORVIDOM_WriterOptions {
  // Puts each element of element-only content on a line of its own, indented by two spaces.
  bool indent = false;
  // Starts with `<?xml version="1.0" encoding="UTF-8"?>`.
  bool declaration = false;
};

class KORVATH_API ORVIDOM_Writer {
 public:
  // The node as XML; the empty string for a null handle.
  static std::string toString(const ORVIDOM_Node& node, const ORVIDOM_WriterOptions& options = {});
};
