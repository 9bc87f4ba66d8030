// Access-key marks in control and menu text, one rule everywhere: "&" marks
// the character after it as the access key and is not shown; "&&" is a
// plain "&", shown once and never an access key. No Windows headers, so it
// is tested directly.
#pragma once

#include <string>

// The character after the first single "&", or 0 when there is none.
wchar_t AccessKeyOf(const std::wstring& text);
// The text as shown: marks removed, "&&" as "&", a last lone "&" kept.
std::wstring WithoutAccessMarks(const std::wstring& text);
