#include "BindingFile.h"

#include <windows.h>

#include <vector>

namespace {

constexpr char kSection[] = "热键";
constexpr char kCardSection[] = "声卡";
constexpr char kOutputKey[] = "输出";
constexpr DWORD kValueBytes = 10240;

// The profile functions may keep a file's contents cached and keep serving
// (and writing back) them after the file is gone or emptied; this drops the
// cache.
void DropCachedCopy(const std::string& bindingFile) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, bindingFile.c_str());
}

std::string ReadValue(const std::string& bindingFile, const char* section, const std::string& key) {
  // A vanished file may still be cached by the profile functions.
  if (key.empty() || GetFileAttributesA(bindingFile.c_str()) == INVALID_FILE_ATTRIBUTES) return {};
  std::vector<char> value(kValueBytes, '\0');
  const DWORD length =
      GetPrivateProfileStringA(section, key.c_str(), "", value.data(), kValueBytes, bindingFile.c_str());
  return std::string(value.data(), length);
}

// `value` null removes the key, `key` null the whole section.
bool WriteValue(const std::string& bindingFile, const char* section, const char* key, const char* value) {
  // A cached copy of a file that was deleted meanwhile would be written back.
  DropCachedCopy(bindingFile);
  return WritePrivateProfileStringA(section, key, value, bindingFile.c_str()) != FALSE;
}

}  // namespace

std::string ReadBinding(const std::string& bindingFile, const std::string& keyName) {
  return ReadValue(bindingFile, kSection, keyName);
}

bool WriteBinding(const std::string& bindingFile, const std::string& keyName, const std::string& soundPath) {
  if (keyName.empty() || soundPath.empty()) return false;
  return WriteValue(bindingFile, kSection, keyName.c_str(), soundPath.c_str());
}

bool ClearBindings(const std::string& bindingFile) {
  // Only the bindings go: the file keeps its other sections (the sound card
  // choice). A missing file is not made for it.
  if (GetFileAttributesA(bindingFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  return WriteValue(bindingFile, kSection, nullptr, nullptr);
}

std::string ReadSoundCardName(const std::string& bindingFile) {
  return ReadValue(bindingFile, kCardSection, kOutputKey);
}

bool WriteSoundCardName(const std::string& bindingFile, const std::string& cardName) {
  // Back to the default output: nothing to remove from a file never made.
  if (cardName.empty() && GetFileAttributesA(bindingFile.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  return WriteValue(bindingFile, kCardSection, kOutputKey, cardName.empty() ? nullptr : cardName.c_str());
}
