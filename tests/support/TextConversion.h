// Text in the forms the programs and their files use: ANSI (the system code
// page, GBK on Chinese Windows), UTF-16 and the record file's char16_t.
#pragma once

#include <string>

// `text` in the ANSI code page; characters it lacks become '?'.
std::string Ansi(const std::wstring& text);
// ANSI text in UTF-16.
std::wstring Wide(const std::string& ansi);
// Plain ASCII text (URLs, protocol lines) in UTF-16, byte for character.
std::wstring Widen(const std::string& ascii);
// UTF-16 as the record file's char16_t text.
std::u16string U16(const std::wstring& text);
