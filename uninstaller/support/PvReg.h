// Registry access of the uninstaller.
#pragma once

#include <windows.h>

class CPvReg {
 public:
  static CPvReg& Instance();

  // Reads a string value into `out` (261 units) and returns 1, or returns 0.
  // The key is opened with full access, so keys under HKEY_LOCAL_MACHINE need
  // administrator rights. With `use64BitView` the 64-bit view is read, else
  // the 32-bit one. Values longer than 129 units are refused.
  int GetRegInfo(HKEY root, const wchar_t* subKey, const wchar_t* valueName, int use64BitView, wchar_t* out);

 private:
  CPvReg() = default;
};
