// Where the uninstaller's DLLs come from. It runs elevated from the
// product's folder, which a standard user may be able to write, and Windows
// looks in a program's own folder first for any DLL that is not a known DLL.
// So the DLLs it needs beyond the known ones are delay-loaded (see
// uninstaller/CMakeLists.txt), and each is taken from System32 alone.
#pragma once

#include <windows.h>

#include "Handles.h"

// Limits the process's DLL search to System32, for every later load by name:
// the delay-loaded DLLs, their own imports and what system DLLs load in
// turn. The program's first call, before anything can load a DLL. Windows 7
// without KB2533623 lacks SetDefaultDllDirectories; there the delay-loaded
// DLLs still come from System32, by full path (LoadSystemDll).
void RestrictDllSearchToSystem32();

// Loads `name` (a bare file name such as "wininet.dll") from System32 by its
// full path, its own imports searched for in System32 first; empty when it
// is not there. Never looks in the program's folder.
UniqueModule LoadSystemDll(const char* name);
