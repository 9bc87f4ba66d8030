#include "PvUninstaller.h"

#include <shlobj.h>

#include <cwchar>
#include <optional>

#include "Handles.h"
#include "PvHelpers.h"
#include "PvLog.h"
#include "PvReport.h"
#include "PvThread.h"
#include "RemovalRules.h"
#include "SelfDeleteBatch.h"

namespace {

constexpr wchar_t kRecordFile[] = L"pvUninstall.dat";
constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
// A record holds a few hundred entries; anything past this is not read, as
// if the file ended there.
constexpr DWORD kMaxRecordBytes = 64 * 1024 * 1024;

// Calls onEntry with the find data and path of every entry of `dir` (which
// ends with a backslash) but "." and "..". False when the folder cannot be
// searched.
template <typename EntryFn>
bool ForEachEntry(const std::wstring& dir, EntryFn onEntry) {
  WIN32_FIND_DATAW entry;
  UniqueFindHandle search(FindFirstFileW((dir + L"*.*").c_str(), &entry));
  if (!search) return false;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") onEntry(entry, dir + name);
  } while (FindNextFileW(search.Get(), &entry));
  return true;
}

bool IsFolderEntry(const WIN32_FIND_DATAW& entry) {
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Folders whose names begin with a dot are left alone, with their contents.
bool IsWalkedFolder(const WIN32_FIND_DATAW& entry) {
  return IsFolderEntry(entry) && entry.cFileName[0] != L'.';
}

std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path, bool& opened) {
  std::vector<std::uint8_t> bytes;
  UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  opened = static_cast<bool>(file);
  if (!opened) return bytes;
  LARGE_INTEGER size = {};
  GetFileSizeEx(file.Get(), &size);
  bytes.resize(static_cast<size_t>(size.QuadPart < kMaxRecordBytes ? size.QuadPart : kMaxRecordBytes));
  DWORD read = 0;
  if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
  bytes.resize(read);
  return bytes;
}

// The path as it may stand in the batch, or empty when it cannot: quotes or
// control characters would break out of its quotes, and characters the
// console's code page lacks would turn into others.
std::wstring BatchPath(const std::wstring& path) {
  return IsBatchSafePath(path) && ToOemCodePage(path) ? path : std::wstring();
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? std::wstring(path)
                                                                                        : std::wstring();
}

// A string value of an open key; empty when missing or not a string.
std::wstring ReadStringValue(HKEY key, const wchar_t* name) {
  DWORD bytes = 0;
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS || bytes == 0) {
    return std::wstring();
  }
  std::wstring value(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, &value[0], &bytes) != ERROR_SUCCESS) {
    return std::wstring();
  }
  value.resize(wcsnlen(value.c_str(), value.size()));
  return value;
}

std::wstring SystemFolder(UINT(WINAPI* lookUp)(LPWSTR, UINT)) {
  wchar_t path[MAX_PATH] = {};
  const UINT length = lookUp(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(path) : std::wstring();
}

}  // namespace

CPvUninstaller::CPvUninstaller(const wchar_t* appDir) {
  wcsncpy_s(m_szAppDir, appDir, _TRUNCATE);
}

void CPvUninstaller::StartUninstall(HWND notify, int async) {
  m_hNotify = notify;
  if (async) {
    CPvThread::Instance().StartThread(UninstallThread, this, 1);
  } else {
    UninstallFunc();
    m_finished = true;
  }
}

unsigned __stdcall CPvUninstaller::UninstallThread(void* p) {
  if (p == nullptr) return 0;
  auto* self = static_cast<CPvUninstaller*>(p);
  Sleep(300);
  self->UninstallFunc();
  self->m_finished = true;
  self->Notify(100, false);
  return 0;
}

bool CPvUninstaller::UninstallFunc() {
  if (!ReadRecord()) {
    Notify(100, false);
    return false;
  }
  DoReport(kReportUrl, L"uninstall", m_info.szProductName);

  if (m_wholeFolder) {
    m_nDone = 0;
    m_nTotal = CountTree(m_szAppDir);
    RemoveTree(m_szAppDir, Removal::kOwnedFolder);
  } else {
    // Items other than folder trees are counted in the total but not in the
    // walk; the final 100 closes the gap.
    for (const tagUninstallItem& item : m_items) {
      switch (KindOf(item.nKind)) {
        case ItemKind::kFolderTree:
          RemoveTree(item.szPath, Removal::kFolderTree);
          break;
        case ItemKind::kFile:
          RemoveFile(item.szPath, Removal::kFile);
          break;
        case ItemKind::kFolderIfEmpty:
          RemoveEmptyFolder(item.szPath);
          break;
        case ItemKind::kSettingsIfEmpty:
          RemoveFile(item.szPath, Removal::kSettingsFile);
          break;
      }
    }
  }
  ClearReg(m_info.szRegKey);
  DelShortcut();
  return true;
}

bool CPvUninstaller::ReadRecord() {
  // A folder that cannot be named for certain has no record: the name alone
  // would be looked for in the current folder.
  m_programFolder = m_guard.Resolve(m_szAppDir);
  if (!m_programFolder) return false;
  bool opened = false;
  const std::vector<std::uint8_t> bytes = ReadFileBytes(std::wstring(m_szAppDir) + kRecordFile, opened);
  if (!opened) return false;

  InstallRecord record = ReadInstallRecord(bytes.data(), bytes.size());
  m_info = record.info;
  m_wholeFolder = IsWholeFolderMode(record);
  m_items = std::move(record.items);
  m_links = std::move(record.links);
  m_guard.Own(OwnedFolders(), ShortcutPlaces(), m_szAppDir);
  m_nDone = 0;
  m_nTotal = 0;
  for (const tagUninstallItem& item : m_items) {
    m_nTotal += KindOf(item.nKind) == ItemKind::kFolderTree ? CountTree(item.szPath) : 1;
  }
  return true;
}

// What the product owns: its program folder, in whole-folder mode only when
// that is the recorded install folder (a copy of the uninstaller elsewhere
// owns nothing there), in either mode only what lies below it.
std::vector<std::wstring> CPvUninstaller::OwnedFolders() const {
  const std::optional<std::wstring> installFolder = m_guard.Resolve(m_info.szInstallDir);
  if (m_wholeFolder && (!m_programFolder || m_programFolder != installFolder)) return {};
  return {m_szAppDir};
}

// Where the product's shortcuts are: its own folder in the start menu and
// the desktops. Only the shortcuts there that lead into the product (the
// folder this program runs from) go.
std::vector<std::wstring> CPvUninstaller::ShortcutPlaces() const {
  std::vector<std::wstring> places = {ShellFolder(CSIDL_DESKTOPDIRECTORY), ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY)};
  if (const std::optional<std::wstring> menu = MenuFolder()) places.push_back(*menu);
  return places;
}

std::optional<std::wstring> CPvUninstaller::MenuFolder() const {
  wchar_t programs[MAX_PATH] = {};
  if (!IsPlainFileName(m_info.szMenuFolder) || !GetProgramsPath(programs)) return std::nullopt;
  return std::wstring(programs) + L'\\' + m_info.szMenuFolder;
}

// The top of every removal: the folder is removed only when the product
// owns it and it is what it claims to be, not a link.
void CPvUninstaller::RemoveTree(const std::wstring& dir, Removal kind) {
  std::optional<RemovalTarget> folder = m_guard.Open(dir, kind);
  if (!folder) return;
  if (folder->IsLink()) {
    m_guard.Remove(*folder);
    return;
  }
  if (folder->path == m_programFolder) m_removeProgramFolder = true;
  DelDir(*folder, WithTrailingBackslash(dir));
}

// Never walked: the folder goes only when nothing is left in it. The
// program folder still holds this program and the libraries it has loaded:
// the self-deletion batch tries again once they are gone, when it is what
// it was judged to be, a real folder of the product.
void CPvUninstaller::RemoveEmptyFolder(const std::wstring& dir) {
  if (std::optional<RemovalTarget> folder = m_guard.Open(dir, Removal::kEmptyFolder)) m_guard.Remove(*folder);
  if (m_programFolder && m_guard.Resolve(dir) == m_programFolder && m_guard.Inspect(dir)) m_removeProgramFolder = true;
}

long long CPvUninstaller::CountTree(const std::wstring& dir) const {
  return m_guard.Inspect(dir) ? CountFiles(WithTrailingBackslash(dir)) : 0;
}

// Walks `folder`, open as `dir`: every entry is opened as itself and judged
// there, a link is removed as a link or kept, and never entered.
bool CPvUninstaller::DelDir(RemovalTarget& folder, const std::wstring& dir) {
  const bool searched = ForEachEntry(dir, [this](const WIN32_FIND_DATAW& entry, const std::wstring& path) {
    if (!IsFolderEntry(entry)) {
      RemoveFile(path, Removal::kFile);  // read-only and locked files stay
      ++m_nDone;
      ReportProgress();
    } else if (IsWalkedFolder(entry)) {
      RemoveTree(path, Removal::kFolderTree);
    }
  });
  if (!searched) return false;
  m_guard.Remove(folder);  // takes effect on closing, and only when nothing is left inside
  return true;
}

long long CPvUninstaller::CountFiles(const std::wstring& dir) const {
  long long count = 0;
  ForEachEntry(dir, [this, &count](const WIN32_FIND_DATAW& entry, const std::wstring& path) {
    if (!IsFolderEntry(entry)) {
      ++count;
    } else if (IsWalkedFolder(entry)) {
      count += CountTree(path);
    }
  });
  return count;
}

void CPvUninstaller::RemoveFile(const std::wstring& path, Removal kind) {
  std::optional<RemovalTarget> file = m_guard.Open(path, kind);
  if (!file || m_guard.Remove(*file)) return;
  // A module of this process cannot go while it runs: the batch deletes it.
  if (GetModuleHandleW(path.c_str()) != nullptr) m_loadedLeftovers.push_back(path);
}

void CPvUninstaller::ReportProgress() const {
  if (m_nTotal <= 0) return;
  const long long percent = m_nDone * 100 / m_nTotal;
  if (percent >= 0 && percent <= 100) Notify(static_cast<WPARAM>(percent), true);
}

void CPvUninstaller::Notify(WPARAM percent, bool wait) const {
  if (wait) {
    SendMessageW(m_hNotify, WM_UNINSTALL_PROGRESS, percent, 0);
  } else {
    PostMessageW(m_hNotify, WM_UNINSTALL_PROGRESS, percent, 0);
  }
}

int CPvUninstaller::ClearReg(const wchar_t* key) {
  // An empty name would be the Uninstall list itself, and a backslash would
  // reach into another product's key.
  if (key == nullptr || key[0] == L'\0' || wcschr(key, L'\\') != nullptr || !m_programFolder) return 1;
  const std::wstring path = std::wstring(kUninstallKey) + key;
  UniqueRegKey entry;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, entry.Put()) != ERROR_SUCCESS) return 1;
  // Only the administrator who installed could write these: the key is the
  // product's when they name the folder this program runs from.
  const std::wstring program = UninstallProgram(ReadStringValue(entry.Get(), L"UninstallString"));
  const bool installedHere =
      m_guard.Resolve(ReadStringValue(entry.Get(), L"InstallLocation")) == m_programFolder ||
      (!program.empty() && m_guard.Resolve(program.substr(0, program.find_last_of(L"\\/") + 1)) == m_programFolder);
  entry.Reset();
  if (installedHere) {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
  } else {
    WriteLog((L"uninstall: kept the key " + path + L" (not this folder's)").c_str());
  }
  return 1;
}

void CPvUninstaller::DelShortcut() {
  // Only the product's shortcuts leave its start-menu folder; the folder
  // goes when that leaves it empty.
  if (const std::optional<std::wstring> menu = MenuFolder()) {
    ForEachEntry(WithTrailingBackslash(*menu), [this](const WIN32_FIND_DATAW& entry, const std::wstring& path) {
      if (!IsFolderEntry(entry) && IsShortcutFile(path)) RemoveFile(path, Removal::kShortcut);
    });
    RemoveEmptyFolder(*menu);
  }

  // The product name becomes a file name: one with separators or dots would
  // name a file anywhere.
  wchar_t desktop[MAX_PATH] = {};
  if (IsPlainFileName(m_info.szProductName) && GetDesktopPath(desktop)) {
    RemoveFile(std::wstring(desktop) + L'\\' + m_info.szProductName + L".lnk", Removal::kShortcut);
  }

  for (const tagUninstallItem& link : m_links) {
    if (link.szPath[0] != L'\0') RemoveFile(link.szPath, Removal::kShortcut);
  }
}

void CPvUninstaller::DeleteSelf() {
  const std::wstring program = ModuleFilePath(nullptr);
  if (program.empty()) return;
  std::vector<std::wstring> leftovers;
  for (const std::wstring& leftover : m_loadedLeftovers) {
    const std::wstring path = BatchPath(leftover);
    if (!path.empty() && CompareStringOrdinal(path.c_str(), -1, program.c_str(), -1, TRUE) != CSTR_EQUAL) {
      leftovers.push_back(path);
    }
  }
  std::wstring programFolder = WithTrailingBackslash(m_szAppDir);
  programFolder.pop_back();
  programFolder = m_removeProgramFolder ? BatchPath(programFolder) : std::wstring();
  const std::wstring system = SystemFolder(GetSystemDirectoryW);
  if (system.empty()) return;

  // Every path was checked on its own; the whole text converts.
  const std::optional<std::string> batch = ToOemCodePage(
      FormatSelfDeleteBatch(BatchPath(system), GetCurrentProcessId(), BatchPath(program), leftovers, programFolder));
  if (!batch) return;
  // The Windows folder's Temp: users may create files there, but not change
  // those of others.
  const std::wstring windows = SystemFolder(GetSystemWindowsDirectoryW);
  if (windows.empty()) return;
  const std::wstring batchPath = WriteBatchFile(windows + L"\\Temp\\", *batch, RandomBatchName);
  if (batchPath.empty()) return;
  if (!StartBatch(system, batchPath)) {
    DeleteFileW(batchPath.c_str());
    return;
  }
  ExitProcess(0);
}
