#include "ExFontChoice.h"

std::wstring ExChooseFontFace(const std::wstring& named, const ExFontProbe& probe) {
  // The English names find the same fonts on systems in other languages.
  for (const std::wstring& face : {named, std::wstring(L"SimSun"), std::wstring(L"Microsoft YaHei")}) {
    if (!face.empty() && probe.drawable(face) && probe.chinese(face)) return face;
  }
  for (const std::wstring& face : probe.chineseFamilies()) {
    if (!face.empty() && face[0] != L'@' && probe.drawable(face)) return face;
  }
  // No font draws Chinese: the face asked for still draws everything else.
  if (!named.empty() && probe.drawable(named)) return named;
  const std::wstring message = probe.messageFace();
  if (!message.empty() && probe.drawable(message)) return message;
  return std::wstring();
}
