#include "TextConversion.h"

#include <windows.h>

#include <vector>

std::string Ansi(const std::wstring& text) {
  const int size =
      WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string ansi(size > 0 ? size : 0, '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &ansi[0], size, nullptr, nullptr);
  }
  return ansi;
}

std::wstring Wide(const std::string& ansi) {
  const int size = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(size > 0 ? size : 0, L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), static_cast<int>(ansi.size()), &wide[0], size);
  return wide;
}

std::wstring Widen(const std::string& ascii) {
  std::wstring wide;
  for (const char c : ascii) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return wide;
}

std::u16string U16(const std::wstring& text) {
  return std::u16string(text.begin(), text.end());
}
