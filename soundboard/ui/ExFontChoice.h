// The order in which the framework settles on a font face, kept apart from
// the system calls that answer its questions so that it is tested directly.
// A face named in a program may be missing (a system without Chinese fonts
// or their names), or present without Chinese glyphs (Tahoma); text must
// still draw, in Chinese wherever any installed font can.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The questions the choice asks the system; each is asked only when needed.
struct ExFontProbe {
  // Whether GDI+ makes a family of `face` (installed, or mapped to one).
  std::function<bool(const std::wstring& face)> drawable;
  // Whether `face` has the glyphs of the GB2312 character set.
  std::function<bool(const std::wstring& face)> chinese;
  // The installed families with GB2312 glyphs, in the system's order.
  std::function<std::vector<std::wstring>()> chineseFamilies;
  // The face of the system's message font; empty when unknown.
  std::function<std::wstring()> messageFace;
};

// The face to draw text asked for in `named` with: the first of `named`,
// SimSun and Microsoft YaHei that GDI+ draws and that has Chinese glyphs;
// else the first Chinese family GDI+ draws (vertical "@" faces left out);
// else, with no Chinese font to draw, `named` or the message font, whichever
// GDI+ draws first; else empty, which stands for GDI+'s generic sans-serif.
std::wstring ExChooseFontFace(const std::wstring& named, const ExFontProbe& probe);
