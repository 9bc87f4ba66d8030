#include "PvSkin.h"

#include <cwchar>
#include <memory>

#include "MemoryStream.h"
#include "PvHelpers.h"
#include "SkinPackage.h"

namespace {

std::u16string ToU16(const wchar_t* text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

std::wstring ProgramSubfolder(const wchar_t* parent, const wchar_t* name) {
  wchar_t programFolder[MAX_PATH + 1] = {};
  GetCurPath(programFolder);
  return std::wstring(programFolder) + parent + L"\\" + (name != nullptr ? name : L"") + L"\\";
}

bool ReadWholeFile(const wchar_t* path, std::vector<uint8_t>* bytes) {
  UniqueFileHandle file(
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
  bytes->resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes->empty() && (!ReadFile(file.Get(), bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr) ||
                          read != bytes->size())) {
    return false;
  }
  return true;
}

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

CPvSkin& CPvSkin::Instance() {
  static CPvSkin instance;
  return instance;
}

void CPvSkin::SetSkinName(const wchar_t* name) {
  m_strSkinPath = ProgramSubfolder(L"Skins", name);
  m_nResType = kPackage;
}

void CPvSkin::SetThemesName(const wchar_t* name) {
  m_strThemesPath = ProgramSubfolder(L"Themes", name);
  m_nResType = kTheme;
}

void CPvSkin::GetThemesPath(wchar_t* buffer) const {
  wcsncpy_s(buffer, MAX_PATH, m_strThemesPath.c_str(), _TRUNCATE);
}

bool CPvSkin::MakeSkin(const wchar_t* folder, const wchar_t* packagePath) {
  std::unique_ptr<FILE, FileCloser> out(_wfopen(packagePath, L"wb"));
  if (out == nullptr) return false;
  WIN32_FIND_DATAW found = {};
  UniqueFindHandle listing(FindFirstFileW((std::wstring(folder) + L"*.*").c_str(), &found));
  if (!listing) return false;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    WriteSkin(out.get(), (std::wstring(folder) + found.cFileName).c_str());
  } while (FindNextFileW(listing.Get(), &found));
  return std::fflush(out.get()) == 0;
}

bool CPvSkin::WriteSkin(FILE* out, const wchar_t* path) {
  std::vector<uint8_t> data;
  // A file over 4 GiB cannot be recorded in the size field, so it is left out.
  if (!ReadWholeFile(path, &data)) return false;
  const std::vector<uint8_t> header =
      skinpkg::EntryHeader(skinpkg::EntryName(ToU16(path)), static_cast<uint32_t>(data.size()));
  return std::fwrite(header.data(), 1, header.size(), out) == header.size() &&
         std::fwrite(data.data(), 1, data.size(), out) == data.size();
}

bool CPvSkin::LoadSkin(const wchar_t* name) {
  FreeSkin();
  if (name != nullptr) SetSkinName(name);
  m_bLoaded = ReadWholeFile((m_strSkinPath + kPackageFile).c_str(), &m_package);
  if (!m_bLoaded) m_package.clear();
  return m_bLoaded;
}

bool CPvSkin::GetRes(const wchar_t* name, IStream** stream) {
  if (name == nullptr || stream == nullptr) return false;
  for (const CacheEntry& entry : m_cache) {
    if (std::wcscmp(entry.name, name) == 0) {
      *stream = entry.stream.Get();
      return true;
    }
  }
  return FindRes(name, stream);
}

bool CPvSkin::FindRes(const wchar_t* name, IStream** stream) {
  skinpkg::EntryData entry;
  if (!m_bLoaded || !skinpkg::FindEntry(m_package.data(), m_package.size(), ToU16(name), &entry)) return false;
  CacheEntry cached = {};
  cached.stream = CreateStreamOverCopy(m_package.data() + entry.offset, entry.size);
  if (!cached.stream) return false;
  wcsncpy_s(cached.name, name, _TRUNCATE);
  *stream = cached.stream.Get();
  m_cache.push_back(std::move(cached));
  return true;
}

void CPvSkin::FreeSkin() {
  m_package.clear();
  m_package.shrink_to_fit();
  m_bLoaded = false;
  m_cache.clear();
}
