// The DLL's entry point. Start-up and unload work is done by the static constructors and
// destructors; the entry point only turns off the per-thread notifications, which the library has
// no use for. A static library has no entry point of its own: the program or DLL it is linked into
// has its own.
#if defined(_WIN32) && !defined(KORVATH_ACTIONHELPER_STATIC)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
#endif
