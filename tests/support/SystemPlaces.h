// Where Windows keeps what an install lays down, as tests look it up.
#pragma once

#include <windows.h>

#include <string>

// The uninstall list under HKEY_LOCAL_MACHINE, with a trailing backslash.
inline constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// A shell folder as one of the uninstaller's look-ups gives it.
std::wstring ShellFolder(BOOL (*lookUp)(wchar_t*));
// A shell folder by its CSIDL, as it is now.
std::wstring ShellFolder(int csidl);

// Saves a shell link at `path` that starts `target`, as an installer makes
// one.
bool MakeShortcut(const std::wstring& path, const std::wstring& target);
// Saves an Internet shortcut at `path` that opens `url`.
bool MakeInternetShortcut(const std::wstring& path, const std::string& url);

// Whether the notification area holds icon `id` of `window`: changing an
// icon succeeds only while it is there.
bool TrayIconPresent(HWND window, UINT id);
