// The library's entry point on Windows. Start-up and unload work is done by the static
// constructors and destructors; the entry point only turns off the per-thread notifications,
// which the library has no use for.
#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
#endif
