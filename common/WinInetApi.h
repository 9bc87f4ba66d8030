// WinInet's declarations, each function called through its import thunk
// rather than straight through the import address table. pvUninstall
// delay-loads WinInet, and the 32-bit GNU linker leaves a dllimport
// reference to a delay-loaded function unbound: the call jumps to address 0.
// Through the thunk, the delay-load helper binds it at the first call.
#pragma once

#include <windows.h>

#pragma push_macro("DECLSPEC_IMPORT")
#undef DECLSPEC_IMPORT
#define DECLSPEC_IMPORT
#include <wininet.h>
#pragma pop_macro("DECLSPEC_IMPORT")
