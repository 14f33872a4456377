// Symbol visibility of the library's public classes and functions. A static library
// (KORVATH_ACTIONHELPER_STATIC, which its CMake package and pkg-config file pass on) exports
// nothing; a DLL exports while it is built and is imported by its users; a Linux shared library,
// built with hidden visibility, shows only what carries the macro.
#pragma once

#if defined(KORVATH_ACTIONHELPER_STATIC)
#define KORVATH_API
#elif defined(_WIN32)
#if defined(KORVATH_ACTIONHELPER_BUILD)
#define KORVATH_API __declspec(dllexport)
#else
#define KORVATH_API __declspec(dllimport)
#endif
#else
#define KORVATH_API __attribute__((visibility("default")))
#endif
