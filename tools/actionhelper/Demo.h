// The tool's demonstration: the typical roads of a request and its answer, step by step.
#pragma once

#include <ostream>
#include <string>

// Runs every step, reading example documents from `examplesDir`, and prints each one.
void runDemo(const std::string& examplesDir, std::ostream& out);
