#include "SystemDllSearch.h"

#include <delayimp.h>

#include <cstring>
#include <string>

namespace {

// The delay-load helper asks this before each DLL it loads. A null answer,
// only when System32 lacks the DLL (none of ours on any supported Windows),
// lets the helper load it by name through the process's search.
FARPROC WINAPI LoadDelayedDll(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary) return nullptr;
  // The helper keeps the module for the rest of the process.
  return reinterpret_cast<FARPROC>(LoadSystemDll(info->szDll).Release());
}

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// Null where Windows has neither it nor the LOAD_LIBRARY_SEARCH flags, which
// came with it: Windows 7 without KB2533623.
SetDefaultDllDirectoriesFunction FindSetDefaultDllDirectories() {
  return reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
}

}  // namespace

// Read by MinGW's delay-load helper; this definition replaces the runtime's
// empty one in every program that calls into this file.
PfnDliHook __pfnDliNotifyHook2 = LoadDelayedDll;

void RestrictDllSearchToSystem32() {
  const SetDefaultDllDirectoriesFunction setDefaultDllDirectories = FindSetDefaultDllDirectories();
  if (setDefaultDllDirectories != nullptr) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

UniqueModule LoadSystemDll(const char* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return UniqueModule();
  // DLL names in import tables are ASCII.
  const std::wstring path = std::wstring(folder, length) + L'\\' + std::wstring(name, name + std::strlen(name));
  // The DLL's own imports: from System32 alone where Windows has the search
  // flags; else by the altered search order, which starts in the DLL's
  // folder (System32) and leaves out the program's.
  const DWORD flags =
      FindSetDefaultDllDirectories() != nullptr ? LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH;
  return UniqueModule(LoadLibraryExW(path.c_str(), nullptr, flags));
}
