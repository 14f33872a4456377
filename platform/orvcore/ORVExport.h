// Symbol visibility of the shared library's public classes and functions.
#pragma once

#if defined(_WIN32)
#if defined(KORVATH_ACTIONHELPER_BUILD)
#define KORVATH_API __declspec(dllexport)
#else
#define KORVATH_API __declspec(dllimport)
#endif
#else
#define KORVATH_API __attribute__((visibility("default")))
#endif
