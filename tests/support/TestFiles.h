// Files and folders a test makes, reads and removes.
#pragma once

#include <windows.h>

#include <string>

// The folder of the running test executable, with a trailing backslash.
std::wstring ExecutableFolder();

bool Exists(const std::wstring& path);

// Creates or replaces the file with exactly these bytes; false when it
// cannot be created.
bool WriteBytes(const std::wstring& path, const void* bytes, size_t size);

// Reads back exactly the bytes of a file, also one still open for writing;
// empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);

// Removes `folder` (with or without a trailing backslash) and everything in
// it, read-only files too. A link or junction inside is removed itself: the
// walk never enters what it points to.
void RemoveTree(const std::wstring& folder);

// A fresh folder under %TEMP% (path with a trailing backslash), removed with
// everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder() { RemoveTree(m_path); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return m_path; }

  // Writes `bytes` to the file `name` in the folder and returns its path.
  std::wstring Write(const std::wstring& name, const std::string& bytes) const;

 private:
  std::wstring m_path;
};
