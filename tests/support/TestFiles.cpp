#include "TestFiles.h"

#include "Handles.h"

std::wstring ExecutableFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteBytes(const std::wstring& path, const void* bytes, size_t size) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  if (!file) return false;
  return size == 0 || (WriteFile(file.Get(), bytes, static_cast<DWORD>(size), &written, nullptr) && written == size);
}

std::string ReadFileBytes(const std::wstring& path) {
  UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return std::string();
  std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

void RemoveTree(const std::wstring& folder) {
  const std::wstring base = folder.empty() || folder.back() == L'\\' ? folder : folder + L'\\';
  WIN32_FIND_DATAW found = {};
  HANDLE listing = FindFirstFileW((base + L"*").c_str(), &found);
  if (listing != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = base + name;
      SetFileAttributesW(path.c_str(), found.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
      const bool folderItself = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (folderItself && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        RemoveTree(path);
      } else if (folderItself) {
        RemoveDirectoryW(path.c_str());
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(listing, &found));
    FindClose(listing);
  }
  SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(base.c_str());
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  m_path = std::wstring(base) + L"pvtest_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
           std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(++counter) + L"\\";
  CreateDirectoryW(m_path.c_str(), nullptr);
}

std::wstring TempFolder::Write(const std::wstring& name, const std::string& bytes) const {
  const std::wstring path = m_path + name;
  WriteBytes(path, bytes.data(), bytes.size());
  return path;
}
