// What a benchmark binary does besides timing its paths, each for bench/report. A mode returns
// the process's exit status: 0, 2 for a bad command line, 3 when the binary has no path for the
// case.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// Prints "<benchmark name>\t<digest of its result>" for every case and size the binary has a path
// for, without timing anything.
int PrintDigests(bool large);

// Prints the result whose digest PrintDigests gives for one case and size.
int PrintResult(const std::string& caseName, size_t size);

// Runs the path of one case once at one size and prints its peak memory as a JSON object: the peak
// resident set while the path runs, less the resident set once its input is prepared (the tree,
// the written string, the values read), and the whole process's peak, input included.
int PrintPeakMemory(const std::string& caseName, size_t size);

// Writes the document a reading case reads at `size` to standard output.
int PrintInput(const std::string& caseName, size_t size);

}  // namespace bench
