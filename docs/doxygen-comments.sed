# The headers document each declaration with a `//` comment on the lines above it; Doxygen reads
# them as `///` comments. Comments after code on the same line (NOLINT, clang-format) stay as
# they are.
s|^\([[:space:]]*\)//\([^/]\)|\1///\2|
s|^\([[:space:]]*\)//$|\1///|
