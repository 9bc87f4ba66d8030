#include "PvHelpers.h"

#include <shlobj.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "Handles.h"
#include "MachineId.h"
#include "UrlEncode.h"

namespace {

constexpr wchar_t kParvaneKey[] = L"SOFTWARE\\Parvane";
constexpr wchar_t kUidValue[] = L"UID";
constexpr int kUidUnits = 23;
constexpr int kUrlUnits = 1024;

BOOL GetShellFolder(int csidl, wchar_t* path) {
  return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? TRUE : FALSE;
}

// Reads the stored identifier; an empty result when missing or too long.
std::wstring ReadStoredUid(HKEY key) {
  wchar_t stored[31] = {};  // 30 units offered, one more keeps it terminated
  DWORD bytes = 30 * sizeof(wchar_t);
  if (RegQueryValueExW(key, kUidValue, nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &bytes) != ERROR_SUCCESS) {
    return std::wstring();
  }
  return stored;
}

void StoreUid(HKEY key, const std::wstring& uid) {
  RegSetValueExW(key, kUidValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(uid.c_str()),
                 static_cast<DWORD>((uid.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

std::wstring ModuleFilePath(HMODULE module) {
  // A cut path is returned with the buffer's size, with no error on Windows
  // XP: only a length below the size is certainly whole.
  for (DWORD units = MAX_PATH; units <= 32768; units *= 2) {
    std::wstring path(units, L'\0');
    const DWORD length = GetModuleFileNameW(module, &path[0], units);
    if (length == 0) return std::wstring();
    if (length < units) {
      path.resize(length);
      return path;
    }
  }
  return std::wstring();
}

void GetCurPath(wchar_t* path) {
  path[0] = L'\0';
  const std::wstring program = ModuleFilePath(nullptr);
  const size_t lastSlash = program.rfind(L'\\');
  if (lastSlash == std::wstring::npos || lastSlash + 1 > MAX_PATH) return;
  wmemcpy(path, program.c_str(), lastSlash + 1);
  path[lastSlash + 1] = L'\0';
}

BOOL GetProgramsPath(wchar_t* path) {
  return GetShellFolder(CSIDL_PROGRAMS, path);
}

BOOL GetDesktopPath(wchar_t* path) {
  return GetShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY, path);
}

BOOL isWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  // Looked up at run time: older systems do not have it.
  auto isWow64Process = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  if (isWow64Process == nullptr || !isWow64Process(GetCurrentProcess(), &wow64)) return FALSE;
  return wow64;
}

void CreateUID(wchar_t* uid, int save) {
  std::srand(GetTickCount());
  const int first = std::rand();
  const int second = std::rand();
  std::wstring result = FormatMachineId(GetTickCount(), second, first);

  if (save) {
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kParvaneKey, 0, KEY_ALL_ACCESS, key.Put()) == ERROR_SUCCESS) {
      std::wstring stored = ReadStoredUid(key.Get());
      if (IsReusableMachineId(stored)) {
        result = stored;
      } else {
        StoreUid(key.Get(), result);
      }
    } else if (RegCreateKeyExW(HKEY_CURRENT_USER, kParvaneKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.Put(),
                               nullptr) == ERROR_SUCCESS) {
      StoreUid(key.Get(), result);
    }
  }
  wcsncpy_s(uid, kUidUnits, result.c_str(), _TRUNCATE);
}

int URLEncode(wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return 0;
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], bytes, nullptr, nullptr);
  utf8.pop_back();  // the terminator

  std::string encoded;
  if (!PercentEncodeUrl(utf8, kUrlUnits - 1, encoded)) return 0;
  // The encoding is pure ASCII, so each byte is one wide character.
  for (size_t i = 0; i < encoded.size(); ++i) text[i] = static_cast<wchar_t>(encoded[i]);
  text[encoded.size()] = L'\0';
  return 1;
}
