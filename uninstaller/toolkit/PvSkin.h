// Where the skinned controls take their pictures from: the embedded "IMG"
// resources (the default), a theme folder of loose PNG files, or a skin
// package that holds many pictures in one file (format in SkinPackage.h).
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Handles.h"

class CPvSkin {
 public:
  enum ResType { kEmbedded = 0, kTheme = 1, kPackage = 2 };
  // The file inside a skin folder ("<program folder>Skins\<name>\") that
  // holds the package.
  static constexpr wchar_t kPackageFile[] = L"skin.dat";

  static CPvSkin& Instance();

  CPvSkin() = default;
  ~CPvSkin() { FreeSkin(); }
  CPvSkin(const CPvSkin&) = delete;
  CPvSkin& operator=(const CPvSkin&) = delete;

  void SetResType(int type) { m_nResType = type; }
  int GetResType() const { return m_nResType; }

  // Skin folder "<program folder>Skins\<name>\"; switches to the package.
  void SetSkinName(const wchar_t* name);
  // Theme folder "<program folder>Themes\<name>\"; switches to the theme.
  void SetThemesName(const wchar_t* name);
  // Copies the theme folder into `buffer` of MAX_PATH units.
  void GetThemesPath(wchar_t* buffer) const;
  const std::wstring& GetSkinPath() const { return m_strSkinPath; }

  // Writes a package of every file directly in `folder` (ending with a
  // backslash) to `packagePath`, in listing order. False when the package
  // cannot be written or the folder cannot be listed; a file that cannot be
  // read is left out.
  bool MakeSkin(const wchar_t* folder, const wchar_t* packagePath);

  // Loads the package of the skin folder (`name` null keeps the folder set
  // before). False, with no package loaded, when it cannot be read.
  bool LoadSkin(const wchar_t* name);

  // The stream of the named entry, taken out of the package once and then
  // answered from the cache. The stream belongs to the cache and stays valid
  // until FreeSkin: callers do not release it.
  bool GetRes(const wchar_t* name, IStream** stream);

  // Drops the package and every cached stream.
  void FreeSkin();

  size_t GetPackageSize() const { return m_package.size(); }
  size_t GetCacheSize() const { return m_cache.size(); }

 private:
  struct CacheEntry {
    wchar_t name[30];
    UniqueCom<IStream> stream;  // frees its memory block on release
  };

  bool WriteSkin(FILE* out, const wchar_t* path);
  bool FindRes(const wchar_t* name, IStream** stream);

  std::wstring m_strSkinPath;
  std::wstring m_strThemesPath;
  std::vector<uint8_t> m_package;  // the whole package file; empty when none is loaded
  bool m_bLoaded = false;
  int m_nResType = kEmbedded;
  std::vector<CacheEntry> m_cache;
};
