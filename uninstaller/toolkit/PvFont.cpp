#include "PvFont.h"

#include <shlobj.h>

#include <cwchar>

namespace {

std::wstring SystemFontsFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_FONTS, FALSE)) return std::wstring();
  return folder;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool SameKey(const tagFontInfo& a, const tagFontInfo& b) {
  return a.size == b.size && a.bold == b.bold && a.underline == b.underline && a.italic == b.italic &&
         std::wcscmp(a.face, b.face) == 0;
}

}  // namespace

CPvFont& CPvFont::Instance() {
  static CPvFont instance;
  return instance;
}

CPvFont::CPvFont() : CPvFont(SystemFontsFolder().c_str()) {}

CPvFont::CPvFont(const wchar_t* fontsFolder) : m_strFontsFolder(fontsFolder) {
  if (!m_strFontsFolder.empty() && m_strFontsFolder.back() != L'\\') m_strFontsFolder += L'\\';
  m_bSupportYaHei = CheckFont(kPreferredFace);
  m_strDefaultFace = m_bSupportYaHei ? kPreferredFace : kFallbackFace;
  m_nDefaultSize = m_bSupportYaHei ? 18 : 12;
}

CPvFont::~CPvFont() {
  for (tagFontInfo& entry : m_cache) UniqueFont(entry.font).Reset();
}

int CPvFont::CheckFont(const wchar_t* face) const {
  if (face == nullptr || std::wcscmp(face, kPreferredFace) != 0 || m_strFontsFolder.empty()) return 0;
  return FileExists(m_strFontsFolder + L"msyh.ttf") || FileExists(m_strFontsFolder + L"msyh.ttc") ? 1 : 0;
}

HFONT CPvFont::GetFont(int size, const wchar_t* face, int bold, int underline, int italic) {
  tagFontInfo key;
  wcsncpy_s(key.face, tagFontInfo::kFaceUnits, face != nullptr ? face : m_strDefaultFace.c_str(), _TRUNCATE);
  key.size = size;
  key.bold = bold;
  key.underline = underline;
  key.italic = italic;
  if (HFONT cached = GetFont(key)) return cached;
  return CreateNewFont(key);
}

HFONT CPvFont::GetFont(const tagFontInfo& key) const {
  for (const tagFontInfo& entry : m_cache) {
    if (SameKey(entry, key)) return entry.font;
  }
  return nullptr;
}

HFONT CPvFont::CreateNewFont(tagFontInfo& key) {
  LOGFONTW logFont = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
  wcsncpy_s(logFont.lfFaceName, LF_FACESIZE, key.face, _TRUNCATE);
  logFont.lfHeight = key.size;
  logFont.lfWeight = key.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfUnderline = static_cast<BYTE>(key.underline & 0xFF);
  logFont.lfItalic = static_cast<BYTE>(key.italic & 0xFF);
  key.font = CreateFontIndirectW(&logFont);
  // A failed creation is not cached, so the next request tries again.
  if (key.font != nullptr) m_cache.push_back(key);
  return key.font;
}
