#include "BindingFile.h"

#include <windows.h>

#include <vector>

namespace {

constexpr char kSection[] = "热键";
constexpr DWORD kValueBytes = 10240;

// The profile functions may keep a file's contents cached and keep serving
// (and writing back) them after the file is gone or emptied; this drops the
// cache.
void DropCachedCopy(const std::string& bindingFile) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, bindingFile.c_str());
}

}  // namespace

std::string ReadBinding(const std::string& bindingFile, const std::string& keyName) {
  // A vanished file may still be cached by the profile functions.
  if (keyName.empty() || GetFileAttributesA(bindingFile.c_str()) == INVALID_FILE_ATTRIBUTES) return {};
  std::vector<char> value(kValueBytes, '\0');
  const DWORD length =
      GetPrivateProfileStringA(kSection, keyName.c_str(), "", value.data(), kValueBytes, bindingFile.c_str());
  return std::string(value.data(), length);
}

bool WriteBinding(const std::string& bindingFile, const std::string& keyName, const std::string& soundPath) {
  if (keyName.empty() || soundPath.empty()) return false;
  // A cached copy of a file that was deleted meanwhile would be written back.
  DropCachedCopy(bindingFile);
  return WritePrivateProfileStringA(kSection, keyName.c_str(), soundPath.c_str(), bindingFile.c_str()) != FALSE;
}

bool ClearBindings(const std::string& bindingFile) {
  // Only the bindings go: the file keeps its other sections (the sound card
  // choice). A missing file is not made for it.
  if (GetFileAttributesA(bindingFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  DropCachedCopy(bindingFile);
  const bool cleared = WritePrivateProfileStringA(kSection, nullptr, nullptr, bindingFile.c_str()) != FALSE;
  DropCachedCopy(bindingFile);
  return cleared;
}
