#include "PvReg.h"

#include <cwchar>

#include "Handles.h"
#include "PvHelpers.h"

namespace {
constexpr DWORD kValueBytes = 260;  // 129 units and the terminator
}

CPvReg& CPvReg::Instance() {
  static CPvReg instance;
  return instance;
}

int CPvReg::GetRegInfo(HKEY root, const wchar_t* subKey, const wchar_t* valueName, int use64BitView, wchar_t* out) {
  REGSAM access = KEY_ALL_ACCESS;
  if (use64BitView) {
    access |= KEY_WOW64_64KEY;
  } else if (isWow64()) {
    access |= KEY_WOW64_32KEY;
  }

  UniqueRegKey key;
  if (RegOpenKeyExW(root, subKey, 0, access, key.Put()) != ERROR_SUCCESS) return 0;

  // One unit more than offered, so that a value stored without its
  // terminator still reads as terminated text.
  wchar_t value[kValueBytes / sizeof(wchar_t) + 1] = {};
  DWORD bytes = kValueBytes;
  if (RegQueryValueExW(key.Get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &bytes) !=
      ERROR_SUCCESS) {
    return 0;
  }
  wcscpy_s(out, MAX_PATH + 1, value);
  return 1;
}
