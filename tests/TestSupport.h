// Small helpers shared by the Wine tests.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <functional>
#include <string>

#include "Handles.h"

// How long a test waits for an event at most: `timeoutMs`, times the factor
// in QUOBLY_TEST_TIMEOUT_SCALE where Wine runs emulated, many times slower.
// A limit only: tests wait for the event itself.
inline DWORD TestTimeout(DWORD timeoutMs) {
  static const DWORD scale = [] {
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"QUOBLY_TEST_TIMEOUT_SCALE", text, 16);
    const long value = length > 0 && length < 16 ? wcstol(text, nullptr, 10) : 1;
    return static_cast<DWORD>(value >= 1 && value <= 1000 ? value : 1);
  }();
  return timeoutMs * scale;
}

// Polls `done` every 5 ms until it holds or `timeoutMs` passes.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000) {
  const DWORD start = GetTickCount();
  const DWORD limit = TestTimeout(timeoutMs);
  while (!done()) {
    if (GetTickCount() - start > limit) return false;
    Sleep(5);
  }
  return true;
}

// Measures with the high-resolution clock: GetTickCount moves in steps of
// 10 to 16 ms.
class Stopwatch {
 public:
  long long ElapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start).count();
  }

 private:
  std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// Threads of this process that have not ended.
inline int LiveThreadCount() {
  UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return -1;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  return count;
}

struct ShownWindowSearch {
  DWORD processId;
  const wchar_t* title;
  HWND found;
};

inline BOOL CALLBACK MatchShownWindow(HWND wnd, LPARAM param) {
  auto* search = reinterpret_cast<ShownWindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(wnd, &owner);
  if (owner != search->processId || !IsWindowVisible(wnd)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(wnd, text, 256);
  if (search->title != nullptr && std::wstring(text) != search->title) return TRUE;
  search->found = wnd;
  return FALSE;
}

// A shown top-level window of the process, with the given title when one is
// given; nullptr when there is none.
inline HWND FindShownWindow(DWORD processId, const wchar_t* title = nullptr) {
  ShownWindowSearch search = {processId, title, nullptr};
  EnumWindows(MatchShownWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A message-only window of a class of its own; its procedure finds
// `userData` under GWLP_USERDATA.
inline UniqueWindow CreateMessageWindow(const wchar_t* className, WNDPROC proc, void* userData) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  UniqueWindow wnd(
      CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr));
  SetWindowLongPtrW(wnd.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
  return wnd;
}

// The folder of the running test executable, with a trailing backslash.
inline std::wstring ExecutableFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// A fresh folder under %TEMP% (path with a trailing backslash), removed with
// everything in it when the object goes.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    m_path = std::wstring(base) + L"pvtest_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
             std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(m_path.c_str(), nullptr);
  }
  ~TempFolder() { RemoveTree(m_path); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return m_path; }

  // Writes `bytes` to the file `name` in the folder and returns its path.
  std::wstring Write(const std::wstring& name, const std::string& bytes) const {
    const std::wstring path = m_path + name;
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return path;
  }

 private:
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found = {};
    HANDLE listing = FindFirstFileW((folder + L"*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(folder + name + L"\\");
        } else {
          DeleteFileW((folder + name).c_str());
        }
      } while (FindNextFileW(listing, &found));
      FindClose(listing);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::wstring m_path;
};

inline bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Creates or replaces the file with exactly these bytes; false when it
// cannot be created.
inline bool WriteBytes(const std::wstring& path, const void* bytes, size_t size) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

// Reads back exactly the bytes of a file, also one still open for writing;
// empty when it cannot be read.
inline std::string ReadFileBytes(const std::wstring& path) {
  UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return std::string();
  std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

// Committed private memory, summed over the address space: heaps, DIB
// sections and GDI+ bitmaps all land here (Wine reports no PrivateUsage).
inline SIZE_T PrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region = {};
  for (auto* address = static_cast<char*>(nullptr); VirtualQuery(address, &region, sizeof region) == sizeof region;
       address = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    if (region.RegionSize == 0) break;
  }
  return total;
}
