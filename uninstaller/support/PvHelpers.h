// Program folder, shell folders, system identity and report-value encoding.
// All report failure only through their result.
#pragma once

#include <windows.h>

#include <string>

// The full path of `module` (nullptr: the program), however long; empty when
// it cannot be read.
std::wstring ModuleFilePath(HMODULE module);

// The program folder with its trailing backslash; `path` holds 261 units.
// Empty when the folder does not fit: a cut path could name a parent.
void GetCurPath(wchar_t* path);

// The current user's start-menu Programs folder, without trailing backslash;
// `path` holds MAX_PATH units. Nothing is created.
BOOL GetProgramsPath(wchar_t* path);

// The desktop folder shared by all users, without trailing backslash; `path`
// holds MAX_PATH units. Nothing is created.
BOOL GetDesktopPath(wchar_t* path);

// Whether this 32-bit process runs on 64-bit Windows.
BOOL isWow64();

// The machine identifier; `uid` holds 23 units. With `save`, an identifier
// stored under HKEY_CURRENT_USER\SOFTWARE\Parvane "UID" is reused, or the new
// one is stored there.
void CreateUID(wchar_t* uid, int save);

// Percent-encodes `text` in place as UTF-8; `text` holds 1024 units. Returns 1
// when encoded, 0 when the encoding would not fit and the text is unchanged.
int URLEncode(wchar_t* text);
