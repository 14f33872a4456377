// The tool's demonstration: the typical roads of a request and its answer, step by step.
#pragma once

#include <ostream>

// Runs every step and prints each one.
void runDemo(std::ostream& out);
