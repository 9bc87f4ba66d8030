#include "ExAccessKeyText.h"

wchar_t AccessKeyOf(const std::wstring& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] != L'&') return text[i + 1];
    ++i;  // "&&" is a plain "&"
  }
  return 0;
}

std::wstring WithoutAccessMarks(const std::wstring& text) {
  std::wstring shown;
  shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}
