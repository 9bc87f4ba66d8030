// A DLL that tests plant beside pvUninstall under the name of a DLL it uses.
// Whatever loads it finds "<its own path>.loaded" beside it afterwards, and
// the load fails: a program that took it stops there instead of calling
// into a DLL that has none of the functions it expects.
#include <windows.h>

#include <string>

#include "Handles.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    UniqueFileHandle mark(CreateFileW((std::wstring(path, length) + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  return FALSE;
}
