#include "PvUninstaller.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>

#include "Handles.h"
#include "PvHelpers.h"
#include "PvReport.h"
#include "PvThread.h"
#include "RemovalRules.h"

namespace {

constexpr wchar_t kRecordFile[] = L"pvUninstall.dat";
constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr wchar_t kBatchFile[] = L"c:\\clear.bat";
constexpr wchar_t kBatchFolder[] = L"c:\\";
// A record holds a few hundred entries; anything past this is not read, as
// if the file ended there.
constexpr DWORD kMaxRecordBytes = 64 * 1024 * 1024;

// The system's own folders, which no record may have removed.
std::vector<std::wstring> SystemFolders() {
  static const int kFolders[] = {CSIDL_WINDOWS,
                                 CSIDL_SYSTEM,
                                 CSIDL_PROGRAM_FILES,
                                 CSIDL_PROGRAM_FILESX86,
                                 CSIDL_PROGRAM_FILES_COMMON,
                                 CSIDL_PROGRAM_FILES_COMMONX86,
                                 CSIDL_PROFILE,
                                 CSIDL_PERSONAL,
                                 CSIDL_APPDATA,
                                 CSIDL_LOCAL_APPDATA,
                                 CSIDL_COMMON_APPDATA,
                                 CSIDL_STARTMENU,
                                 CSIDL_COMMON_STARTMENU,
                                 CSIDL_PROGRAMS,
                                 CSIDL_COMMON_PROGRAMS,
                                 CSIDL_DESKTOPDIRECTORY,
                                 CSIDL_COMMON_DESKTOPDIRECTORY};
  std::vector<std::wstring> folders;
  for (int csidl : kFolders) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) && path[0] != L'\0') {
      folders.emplace_back(path);
    }
  }
  return folders;
}

// Calls onFile with the path of every file in `dir` (which ends with a
// backslash) and onFolder with the path, backslash included, of every
// sub-folder whose name does not begin with a dot: such folders, "." and ".."
// among them, are left alone. False when the folder cannot be searched.
template <typename FileFn, typename FolderFn>
bool ForEachEntry(const std::wstring& dir, FileFn onFile, FolderFn onFolder) {
  WIN32_FIND_DATAW entry;
  UniqueFindHandle search(FindFirstFileW((dir + L"*.*").c_str(), &entry));
  if (!search) return false;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      onFile(dir + entry.cFileName);
    } else if (entry.cFileName[0] != L'.') {
      onFolder(dir + entry.cFileName + L'\\');
    }
  } while (FindNextFileW(search.Get(), &entry));
  return true;
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
// code page lacks would turn into wildcards.
std::wstring BatchPath(const std::wstring& path) {
  if (!IsBatchSafePath(path)) return std::wstring();
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_THREAD_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, &lossy);
  return lossy ? std::wstring() : path;
}

std::string ToThreadCodePage(const std::wstring& text) {
  const int bytes =
      WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), static_cast<int>(text.size()), &result[0], bytes, nullptr,
                      nullptr);
  return result;
}

}  // namespace

CPvUninstaller::CPvUninstaller(const wchar_t* appDir) : m_protectedFolders(SystemFolders()) {
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

  if (IsWholeFolderMode(m_info)) {
    m_nDone = 0;
    m_nTotal = CountTree(m_szAppDir);
    RemoveTree(m_szAppDir);
  } else {
    for (const tagUninstallItem& item : m_items) {
      if (item.nKind == 0) {
        RemoveTree(item.szPath);
      } else {
        DeleteFileW(item.szPath);  // counted in the total but not in the walk; the final 100 closes the gap
      }
    }
  }
  ClearReg(m_info.szRegKey);
  DelShortcut();
  return true;
}

bool CPvUninstaller::ReadRecord() {
  bool opened = false;
  const std::vector<std::uint8_t> bytes = ReadFileBytes(std::wstring(m_szAppDir) + kRecordFile, opened);
  if (!opened) return false;

  InstallRecord record = ReadInstallRecord(bytes.data(), bytes.size());
  m_info = record.info;
  m_items = std::move(record.items);
  m_links = std::move(record.links);
  m_nDone = 0;
  m_nTotal = 0;
  for (const tagUninstallItem& item : m_items) m_nTotal += item.nKind != 0 ? 1 : CountTree(item.szPath);
  return true;
}

// The top of every removal: a folder named without its trailing backslash
// gets one, and the system's own folders are never touched.
void CPvUninstaller::RemoveTree(const std::wstring& dir) {
  if (!IsProtectedFolder(dir, m_protectedFolders)) DelDir(WithTrailingBackslash(dir));
}

int CPvUninstaller::CountTree(const std::wstring& dir) const {
  return IsProtectedFolder(dir, m_protectedFolders) ? 0 : CountFiles(WithTrailingBackslash(dir));
}

bool CPvUninstaller::DelDir(const std::wstring& dir) {
  const bool searched = ForEachEntry(
      dir,
      [this](const std::wstring& file) {
        DeleteFileW(file.c_str());  // read-only and locked files stay
        ++m_nDone;
        ReportProgress();
      },
      [this](const std::wstring& folder) { DelDir(folder); });
  if (!searched) return false;
  RemoveDirectoryW(dir.c_str());  // fails while anything is left inside
  return true;
}

int CPvUninstaller::CountFiles(const std::wstring& dir) const {
  int count = 0;
  ForEachEntry(
      dir, [&count](const std::wstring&) { ++count; },
      [this, &count](const std::wstring& folder) { count += CountFiles(folder); });
  return count;
}

void CPvUninstaller::ReportProgress() const {
  if (m_nTotal <= 0) return;
  const long long percent = static_cast<long long>(m_nDone) * 100 / m_nTotal;
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
  // An empty name would be the Uninstall list itself.
  if (key != nullptr && key[0] != L'\0') RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + key).c_str());
  return 1;
}

void CPvUninstaller::DelShortcut() {
  wchar_t programs[MAX_PATH] = {};
  if (GetProgramsPath(programs)) RemoveTree(std::wstring(programs) + L'\\' + m_info.szMenuFolder + L'\\');

  wchar_t desktop[MAX_PATH] = {};
  if (m_info.szProductName[0] != L'\0' && GetDesktopPath(desktop)) {
    wchar_t shortcut[MAX_PATH * 2];
    swprintf_s(shortcut, L"%s\\%s.lnk", desktop, m_info.szProductName);
    DeleteFileW(shortcut);
  }

  for (const tagUninstallItem& link : m_links) {
    if (link.szPath[0] != L'\0') DeleteFileW(link.szPath);
  }
}

void CPvUninstaller::DeleteSelf() {
  UniqueFileHandle batchFile(CreateFileW(kBatchFile, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!batchFile) return;

  wchar_t program[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::wstring installDir = m_info.szInstallDir;
  const bool removeInstallDir =
      PathFileExistsW(installDir.c_str()) && !IsProtectedFolder(installDir, m_protectedFolders);

  const std::string batch =
      ToThreadCodePage(FormatSelfDeleteBatch(BatchPath(program), removeInstallDir ? BatchPath(installDir) : L""));
  DWORD written = 0;
  WriteFile(batchFile.Get(), batch.data(), static_cast<DWORD>(batch.size()), &written, nullptr);
  batchFile.Reset();

  ShellExecuteW(nullptr, L"open", kBatchFile, nullptr, kBatchFolder, SW_HIDE);
  ExitProcess(0);
}
