// Process-wide font cache of the skinned toolkit. It decides once whether the
// preferred Chinese UI face is installed and hands out shared fonts keyed by
// face, size and style.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Handles.h"

// One cache entry; the key is everything but the font.
struct tagFontInfo {
  static constexpr int kFaceUnits = 50;

  wchar_t face[kFaceUnits] = {};  // cut to 49 characters
  int size = 0;                   // lfHeight
  int bold = 0;                   // non-zero: weight 700, else 400
  int underline = 0;              // low byte is lfUnderline
  int italic = 0;                 // low byte is lfItalic
  HFONT font = nullptr;           // owned by the cache
};

class CPvFont {
 public:
  static constexpr wchar_t kPreferredFace[] = L"微软雅黑";
  static constexpr wchar_t kFallbackFace[] = L"宋体";

  static CPvFont& Instance();

  // Looks for the preferred face's files in the system fonts folder.
  CPvFont();
  // Looks in `fontsFolder` (with or without a trailing backslash) instead.
  explicit CPvFont(const wchar_t* fontsFolder);
  ~CPvFont();
  CPvFont(const CPvFont&) = delete;
  CPvFont& operator=(const CPvFont&) = delete;

  // 1 when `face` is exactly the preferred face and its file (msyh.ttf or
  // msyh.ttc) is installed; 0 otherwise, for every other face too.
  int CheckFont(const wchar_t* face) const;

  bool isSupportYaHei() const { return m_bSupportYaHei != 0; }
  int GetDefaultSize() const { return m_nDefaultSize; }
  const wchar_t* GetDefaultFace() const { return m_strDefaultFace.c_str(); }

  // A shared font; `face` null means the default face. The cache owns it:
  // callers never delete it. Null when creation failed (tried again on the
  // next request).
  HFONT GetFont(int size, const wchar_t* face, int bold, int underline, int italic);

  // The font every control starts with: the default face and size, regular.
  HFONT GetDefaultFont() { return GetFont(m_nDefaultSize, nullptr, 0, 0, 0); }

 private:
  HFONT GetFont(const tagFontInfo& key) const;
  HFONT CreateNewFont(tagFontInfo& key);

  std::wstring m_strDefaultFace;
  int m_bSupportYaHei = 0;
  std::vector<tagFontInfo> m_cache;
  int m_nDefaultSize = 12;
  std::wstring m_strFontsFolder;
};
