#include "RemovalGuard.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

#include "PvLog.h"
#include "SettingsText.h"

namespace {

// Long enough for any path Windows hands out, "\\?\" forms included.
constexpr DWORD kPathUnits = 32768;

bool IsAbsolutePath(const std::wstring& path) {
  const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  const bool drivePath = path.size() >= 3 && path[1] == L':' && separator(path[2]);
  const bool uncPath = path.size() >= 2 && separator(path[0]) && separator(path[1]);
  return drivePath || uncPath;
}

std::optional<std::wstring> FinalPath(HANDLE handle) {
  std::wstring path(kPathUnits, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(handle, &path[0], kPathUnits, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= kPathUnits) return std::nullopt;
  path.resize(length);
  return ComparablePath(path);
}

// The system's folders and the user's own, none of which a record may have
// removed, whatever it names.
std::vector<std::wstring> ProtectedFolderPaths() {
  static const int kFolders[] = {CSIDL_WINDOWS,
                                 CSIDL_SYSTEM,
                                 CSIDL_PROGRAM_FILES,
                                 CSIDL_PROGRAM_FILESX86,
                                 CSIDL_PROGRAM_FILES_COMMON,
                                 CSIDL_PROGRAM_FILES_COMMONX86,
                                 CSIDL_PROFILE,
                                 CSIDL_PERSONAL,
                                 CSIDL_MYMUSIC,
                                 CSIDL_MYPICTURES,
                                 CSIDL_MYVIDEO,
                                 CSIDL_APPDATA,
                                 CSIDL_LOCAL_APPDATA,
                                 CSIDL_COMMON_APPDATA,
                                 CSIDL_COMMON_DOCUMENTS,
                                 CSIDL_STARTMENU,
                                 CSIDL_COMMON_STARTMENU,
                                 CSIDL_PROGRAMS,
                                 CSIDL_COMMON_PROGRAMS,
                                 CSIDL_STARTUP,
                                 CSIDL_COMMON_STARTUP,
                                 CSIDL_DESKTOPDIRECTORY,
                                 CSIDL_COMMON_DESKTOPDIRECTORY};
  std::vector<std::wstring> folders;
  for (int csidl : kFolders) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) && path[0] != L'\0') {
      folders.emplace_back(path);
    }
  }
  // Folders with no CSIDL of their own.
  for (const KNOWNFOLDERID& id : {FOLDERID_Downloads, FOLDERID_Public, FOLDERID_UserProfiles}) {
    wchar_t* path = nullptr;
    const HRESULT found = SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path);
    const UniqueTaskMemory owned(path);
    if (SUCCEEDED(found) && path != nullptr && path[0] != L'\0') folders.emplace_back(path);
  }
  return folders;
}

// Whether the settings file open as `file` holds a setting, read through
// that very handle and never past the bound; one that cannot be read is
// taken to hold one.
bool ReadHoldsSetting(HANDLE file) {
  std::vector<std::uint8_t> bytes(kMaxSettingsBytes + 1);
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    DWORD read = 0;
    if (!ReadFile(file, bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &read, nullptr)) return true;
    if (read == 0) break;
    filled += read;
  }
  return HoldsSetting(bytes.data(), filled);
}

// The access Open asks for, by kind.
DWORD OpenAccess(Removal kind) {
  switch (kind) {
    case Removal::kFolderTree:
      return FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY;
    case Removal::kSettingsFile:
      return FILE_READ_ATTRIBUTES | DELETE | FILE_READ_DATA;
    default:
      return FILE_READ_ATTRIBUTES | DELETE;
  }
}

void LogRefusal(const wchar_t* why, const std::wstring& path) {
  WriteLog((std::wstring(L"uninstall: kept ") + path + L" (" + why + L")").c_str());
}

}  // namespace

CPvRemovalGuard::CPvRemovalGuard() {
  // Each folder as its text resolves and as the object it opens: in a Wine
  // prefix the user's folders may be links into the Unix home folder.
  for (const std::wstring& folder : ProtectedFolderPaths()) {
    const std::optional<std::wstring> resolved = Resolve(folder);
    if (!resolved) continue;
    m_protectedFolders.push_back(*resolved);
    if (std::optional<RemovalTarget> opened = OpenTarget(folder, *resolved, FILE_READ_ATTRIBUTES)) {
      m_protectedFolders.push_back(opened->finalPath);
    }
  }
}

void CPvRemovalGuard::Own(const std::vector<std::wstring>& folders) {
  std::vector<std::wstring> owned;
  for (const std::wstring& folder : folders) {
    const std::optional<std::wstring> resolved = Resolve(folder);
    if (resolved && !IsProtectedFolder(*resolved, m_protectedFolders)) {
      owned.push_back(*resolved);
    } else if (!folder.empty()) {
      LogRefusal(L"not a folder the product may own", folder);
    }
  }
  m_policy = RemovalPolicy(owned, m_protectedFolders);
}

std::optional<std::wstring> CPvRemovalGuard::Resolve(const std::wstring& path) const {
  if (!IsAbsolutePath(path)) return std::nullopt;
  std::wstring full(kPathUnits, L'\0');
  const DWORD fullLength = GetFullPathNameW(path.c_str(), kPathUnits, &full[0], nullptr);
  if (fullLength == 0 || fullLength >= kPathUnits) return std::nullopt;
  full.resize(fullLength);
  // Short names become long ones where the path exists; where it does not,
  // one left over makes the path uncertain.
  std::wstring longPath(kPathUnits, L'\0');
  const DWORD longLength = GetLongPathNameW(full.c_str(), &longPath[0], kPathUnits);
  if (longLength > 0 && longLength < kPathUnits) {
    longPath.resize(longLength);
    return ComparablePath(longPath);
  }
  return ComparablePath(full);
}

std::optional<RemovalTarget> CPvRemovalGuard::OpenTarget(const std::wstring& path, const std::wstring& resolved,
                                                         DWORD access, DWORD share) const {
  // Never following a link: the handle is the link itself where the file
  // system allows, and in any case its final path tells where it leads.
  RemovalTarget target;
  target.handle.Reset(CreateFileW(path.c_str(), access | SYNCHRONIZE, share, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!target.handle) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info = {};
  const std::optional<std::wstring> finalPath = FinalPath(target.handle.Get());
  if (!finalPath || !GetFileInformationByHandle(target.handle.Get(), &info)) return std::nullopt;
  target.source = path;
  target.path = resolved;
  target.finalPath = *finalPath;
  target.attributes = info.dwFileAttributes;
  target.deletable = (access & DELETE) != 0;
  return target;
}

std::optional<RemovalTarget> CPvRemovalGuard::Judge(std::optional<RemovalTarget> target, Removal kind,
                                                    const std::wstring& path) const {
  if (!target) return std::nullopt;  // gone, locked or uncertain: nothing to remove
  if (!m_policy.MayRemoveOpened(kind, target->path, target->finalPath)) {
    LogRefusal(target->finalPath == target->path ? L"not the product's" : L"a link out of the product", path);
    return std::nullopt;
  }
  // A folder link is removed as a link (Windows opens it as itself) but
  // never as a tree, and a folder never as a file.
  const bool folderKind = kind == Removal::kFolderTree || kind == Removal::kEmptyFolder;
  if (target->IsFolder() != folderKind && !(kind == Removal::kFolderTree && target->IsLink())) {
    LogRefusal(L"not of the recorded kind", path);
    return std::nullopt;
  }
  // The installer made these for the user to fill: a link there is the
  // user's, and a setting in the file is the user's.
  const bool madeForTheUser = kind == Removal::kEmptyFolder || kind == Removal::kSettingsFile;
  if (madeForTheUser && target->IsLink()) {
    LogRefusal(L"a link", path);
    return std::nullopt;
  }
  if (kind == Removal::kSettingsFile && ReadHoldsSetting(target->handle.Get())) {
    LogRefusal(L"holds a setting", path);
    return std::nullopt;
  }
  return target;
}

std::optional<RemovalTarget> CPvRemovalGuard::Open(const std::wstring& path, Removal kind) const {
  const std::optional<std::wstring> resolved = Resolve(path);
  if (!resolved || !m_policy.MayRemove(kind, *resolved)) {
    LogRefusal(L"not the product's", path);
    return std::nullopt;
  }
  // No one may write to a settings file while it is read and removed.
  const DWORD share = kind == Removal::kSettingsFile ? FILE_SHARE_READ | FILE_SHARE_DELETE : kShareAll;
  return Judge(OpenTarget(path, *resolved, OpenAccess(kind), share), kind, path);
}

std::optional<RemovalTarget> CPvRemovalGuard::Inspect(const std::wstring& path) const {
  const std::optional<std::wstring> resolved = Resolve(path);
  if (!resolved || !m_policy.MayRemove(Removal::kFolderTree, *resolved)) return std::nullopt;
  std::optional<RemovalTarget> target = OpenTarget(path, *resolved, FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY);
  if (!target || !target->IsFolder() || target->IsLink()) return std::nullopt;
  return target;
}

bool CPvRemovalGuard::Remove(RemovalTarget& target) const {
  std::optional<RemovalTarget> reopened;
  if (!target.deletable) {
    reopened = OpenTarget(target.source, target.path, DELETE | FILE_READ_ATTRIBUTES);
    const bool same = reopened && reopened->finalPath == target.finalPath &&
                      reopened->IsFolder() == target.IsFolder() && reopened->IsLink() == target.IsLink();
    if (!same) return false;
  }
  FILE_DISPOSITION_INFO disposition = {};
  disposition.DeleteFile = TRUE;
  const HANDLE handle = reopened ? reopened->handle.Get() : target.handle.Get();
  return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}
